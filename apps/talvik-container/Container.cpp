#include "apps/talvik-container/Container.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <span>

#include "apps/talvik-container/Dump.h"
#include "apps/talvik-container/Script.h"
#include "apps/talvik-container/TypeLibJson.h"
#include "frame/model/DataObject.h"
#include "frame/host/HostError.h"
#include "frame/host/PropertyBag.h"

namespace talvik::container {

namespace {

void expectWords(const std::vector<std::string>& w, std::size_t min, std::size_t max, std::string_view usage) {
    if (w.size() < min || w.size() > max) throw SyntaxError{"usage: " + std::string(usage)};
}

std::int64_t wholeNumber(const std::string& word, std::int64_t min, std::int64_t max) {
    const Variant v = parseValue(word);
    std::int64_t n = 0;
    if (const auto* a = v.get<std::int16_t>()) n = *a;
    else if (const auto* b = v.get<std::int32_t>()) n = *b;
    else throw SyntaxError{"expected a whole number: " + word};
    if (n < min || n > max) throw SyntaxError{"out of range: " + word};
    return n;
}

// The value of a store entry as written: the store holds 32-bit floats, so a decimal
// is one when it fits.
Variant storeValue(Variant v) {
    if (const auto* d = v.get<double>(); d != nullptr && *d >= -std::numeric_limits<float>::max() &&
                                        *d <= std::numeric_limits<float>::max())
        return static_cast<float>(*d);
    return v;
}

}  // namespace

Container::Container(const EntryPoints& entry, std::ostream& out) : entry_(entry), out_(out) {}

Container::~Container() {
    // What Terminate raises now belongs to no script line.
    for (auto& [name, c] : controls_) {
        c->host->onEvent = nullptr;
        c->host->onServiceCall = nullptr;
    }
    controls_.clear();
}

bool Container::run(std::string_view text, int number) {
    line_ = number;
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    if (start == text.size() || text[start] == '#') return true;
    try {
        const Words w = splitWords(text);
        execute(w);
        return true;
    } catch (const SyntaxError& e) {
        emit(line().str("syntax", e.what));
        return false;
    }
}

bool Container::runScript(std::istream& in) {
    bool understood = true;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        understood = run(text, number) && understood;
    }
    return understood;
}

void Container::execute(const Words& w) {
    const std::string& c = w.front();
    if (c == "new") return create(w, false);
    if (c == "new-private") return create(w, true);
    if (c == "init") return init(w);
    if (c == "read") return read(w);
    if (c == "write") return write(w);
    if (c == "show") return show(w);
    if (c == "resize") return resize(w);
    if (c == "set") return set(w);
    if (c == "get") return get(w);
    if (c == "call") return call(w);
    if (c == "fire") return fire(w);
    if (c == "tick") return tick(w);
    if (c == "clock") return clock(w);
    if (c == "answer") return answer(w);
    if (c == "msgbox-returns") return msgboxReturns(w);
    if (c == "fail") return fail(w);
    if (c == "unfail") return unfail(w);
    if (c == "dump") return dump(w);
    if (c == "destroy") return destroy(w);
    if (c == "typelib") return typelib(w);
    if (c == "register") return registerServer(w, true);
    if (c == "unregister") return registerServer(w, false);
    if (c == "canunload") return canUnload(w);
    throw SyntaxError{"unknown command " + c};
}

// ---- Output ----

Object Container::line() const {
    Object o;
    o.num("line", std::int64_t{line_});
    return o;
}

void Container::emit(const Object& o) { out_ << o.text() << '\n' << std::flush; }

void Container::report(const ErrorInfo& error) {
    emit(line().add("error",
                    Object().num("number", std::int64_t{error.number}).str("description", error.description).text()));
}

// ---- Controls and their hosts ----

Container::Hosted& Container::control(const std::string& name) {
    const auto it = controls_.find(name);
    if (it == controls_.end()) throw SyntaxError{"no control named " + name};
    return *it->second;
}

void Container::configure(Hosted& c) {
    HeadlessHost& h = *c.host;
    h.setClock(clock_);
    h.setMsgBoxAnswer(msgBoxAnswer_);
    h.unfailAll();
    for (const std::string& id : failedResources_) h.failResource(id);
    h.failShell(failShell_);
    h.failPointer(failPointer_);
}

void Container::onEvent(Hosted& c, const EventDecl& ev, std::span<Variant> args) {
    Object named;
    for (std::size_t i = 0; i < args.size() && i < ev.args.size(); ++i) named.add(ev.args[i].name, value(args[i]));
    emit(line().str("event", ev.name).str("control", c.name).add("args", named.text()));
    const auto it = c.answers.find(std::string(ev.name));
    if (it == c.answers.end()) return;
    for (const auto& [arg, v] : it->second)
        for (std::size_t i = 0; i < args.size() && i < ev.args.size(); ++i) {
            if (ev.args[i].name != arg) continue;
            try {
                args[i] = v.as(ev.args[i].type);
            } catch (const HostError& e) {
                report({e.number, e.description});
            }
        }
}

void Container::onServiceCall(Hosted& c, const ServiceCall& call) {
    switch (call.kind) {
        case ServiceCall::Kind::MsgBox:
            emit(line().add("msgbox", Object()
                                          .str("text", call.text)
                                          .num("flags", std::int64_t{call.flags})
                                          .add("title", call.title ? quoted(*call.title) : "null")
                                          .text()));
            break;
        case ServiceCall::Kind::Shell:
            emit(line().add("shell", Object()
                                         .str("verb", call.shell.verb)
                                         .str("target", call.shell.target)
                                         .str("params", call.shell.params)
                                         .str("dir", call.shell.dir)
                                         .num("show", std::int64_t{call.shell.show})
                                         .text()));
            break;
        case ServiceCall::Kind::Pointer: emit(line().str("pointer", call.name)); break;
        case ServiceCall::Kind::PropertyChanged: emit(line().str("changed", call.name).str("control", c.name)); break;
        case ServiceCall::Kind::Event:  // written by onEvent, which knows the arguments' names
        case ServiceCall::Kind::LoadResPicture:
        case ServiceCall::Kind::Now: break;
    }
}

std::optional<ErrorInfo> Container::element(Hosted& c, const std::string& word, Element& out) {
    out = Element();
    if (word == "surface") return std::nullopt;
    const std::optional<ElementName> n = parseElementName(word);
    if (!n) throw SyntaxError{"not an element name: " + word};
    const HeadlessHost& h = *c.host;
    if ((out = h.find(n->name, n->index))) return std::nullopt;
    bool isArray = false, isSingle = false;
    for (const Element e : h.elements())
        if (e.name() == n->name) (e.inArray() ? isArray : isSingle) = true;
    if (isArray && n->index >= 0)
        return ErrorInfo{err::NoSuchArrayElement,
                         "Control array element '" + std::to_string(n->index) + "' doesn't exist"};
    if (isArray) throw SyntaxError{word + " is an element array: name one of its elements"};
    if (isSingle) throw SyntaxError{word + " is not an element array"};
    throw SyntaxError{c.name + " has no element " + word};
}

// ---- Commands ----

void Container::create(const Words& w, bool isPrivate) {
    expectWords(w, 3, 3, w[0] + " CLASS NAME");
    const std::string& cls = w[1];
    const std::string& name = w[2];
    if (name == "surface" || controls_.count(name) != 0) throw SyntaxError{"the name " + name + " is taken"};

    auto c = std::make_unique<Hosted>();
    c->name = name;
    c->host = std::make_shared<HeadlessHost>();
    // Every service call is printed as it happens; keeping them too would only grow.
    c->host->setRecordLimit(0);
    configure(*c);
    Hosted& self = *c;
    c->host->onEvent = [this, &self](const EventDecl& ev, std::span<Variant> args) { onEvent(self, ev, args); };
    c->host->onServiceCall = [this, &self](const ServiceCall& call) { onServiceCall(self, call); };

    const Outcome made = isPrivate ? createPrivateControl(cls, c->host, c->control, entry_)
                                   : createControl(cls, c->host, c->control, entry_);
    if (!made) return report(made);
    if (isPrivate) {
        c->row = findCatalogued(cls);
    } else {
        const std::optional<Guid> id = Guid::parse(cls);
        const ClassDesc* desc = id ? findClass(*id) : findClass(cls);
        c->row = desc != nullptr ? desc->source : nullptr;
    }
    c->className = c->row != nullptr ? std::string(c->row->name) : cls;
    controls_.emplace(name, std::move(c));

    const Outcome init = self.control.initialize();
    if (!init) return report(init);
    const Surface& s = self.host->surface();
    emit(line().str("new", name).str("class", self.className).num("width", s.Width()).num("height", s.Height()));
}

void Container::init(const Words& w) {
    expectWords(w, 2, 2, "init NAME");
    if (const Outcome o = control(w[1]).control.initProperties(); !o) report(o);
}

void Container::read(const Words& w) {
    expectWords(w, 2, std::numeric_limits<std::size_t>::max(), "read NAME [KEY=VALUE ...]");
    Hosted& c = control(w[1]);
    PropertyBag bag;
    for (std::size_t i = 2; i < w.size(); ++i) {
        auto [key, v] = parseAssignment(w[i]);
        if (bag.contains(key)) throw SyntaxError{"the key " + key + " is given twice"};
        bag.WriteProperty(key, storeValue(std::move(v)), Variant());
    }
    if (const Outcome o = c.control.readProperties(bag); !o) report(o);
}

void Container::write(const Words& w) {
    expectWords(w, 2, 2, "write NAME");
    Hosted& c = control(w[1]);
    PropertyBag bag;
    if (const Outcome o = c.control.writeProperties(bag); !o) report(o);
    Array calls;
    for (const PropertyBag::Write& e : bag.writes())
        calls.add(Array().add(quoted(e.key)).add(value(e.value)).add(value(e.defaultValue)).text());
    emit(line().str("write", c.name).add("bag", calls.text()));
}

void Container::show(const Words& w) {
    expectWords(w, 2, 2, "show NAME");
    if (const Outcome o = control(w[1]).control.show(); !o) report(o);
}

void Container::resize(const Words& w) {
    expectWords(w, 4, 4, "resize NAME W H");
    Hosted& c = control(w[1]);
    const Variant width = parseValue(w[2]), height = parseValue(w[3]);
    float fw = 0, fh = 0;
    try {
        fw = width.toFloat();
        fh = height.toFloat();
    } catch (const HostError& e) {
        return report({e.number, e.description});
    }
    if (const Outcome o = c.control.resize(fw, fh); !o) report(o);
    const Surface& s = c.host->surface();
    emit(line().str("resize", c.name).num("width", s.Width()).num("height", s.Height()));
}

void Container::set(const Words& w) {
    expectWords(w, 4, 4, "set NAME PROPERTY VALUE");
    Hosted& c = control(w[1]);
    if (const Outcome o = c.control.let(w[2], parseValue(w[3])); !o) report(o);
}

void Container::get(const Words& w) {
    expectWords(w, 3, 3, "get NAME PROPERTY");
    const Outcome o = control(w[1]).control.get(w[2]);
    if (!o) return report(o);
    Object out = line().str("get", w[2]);
    if (const auto* a = o.value.get<StringArray>()) out.num("lbound", std::int64_t{a->lbound});
    emit(out.add("value", value(o.value)));
}

void Container::call(const Words& w) {
    expectWords(w, 3, 3, "call NAME METHOD");
    const Outcome o = control(w[1]).control.call(w[2]);
    if (!o) return report(o);
    emit(line().str("call", w[2]).add("value", value(o.value)));
}

namespace {

// The arguments of an input event on a `fire` line, in the order they are written.
enum class FireArg : std::uint8_t { Button, Shift, X, Y, Key, Dragged, State, Effect, Cursors, Format };

struct FireSpec {
    EventKind kind;
    std::size_t count;
    FireArg args[6];
};

// The arguments of an event; none for the events not listed.
std::span<const FireArg> fireArgs(EventKind kind) {
    using enum FireArg;
    static constexpr FireSpec specs[] = {
        {EventKind::MouseDown, 4, {Button, Shift, X, Y}},
        {EventKind::MouseUp, 4, {Button, Shift, X, Y}},
        {EventKind::MouseMove, 4, {Button, Shift, X, Y}},
        {EventKind::KeyDown, 2, {Key, Shift}},
        {EventKind::KeyUp, 2, {Key, Shift}},
        {EventKind::KeyPress, 1, {Key}},
        {EventKind::AccessKeyPress, 1, {Key}},
        {EventKind::DragDrop, 3, {Dragged, X, Y}},
        {EventKind::DragOver, 4, {Dragged, X, Y, State}},
        {EventKind::OLEStartDrag, 1, {Effect}},
        {EventKind::OLEDragDrop, 5, {Effect, Button, Shift, X, Y}},
        {EventKind::OLEDragOver, 6, {Effect, Button, Shift, X, Y, State}},
        {EventKind::OLEGiveFeedback, 2, {Effect, Cursors}},
        {EventKind::OLESetData, 1, {Format}},
        {EventKind::OLECompleteDrag, 1, {Effect}},
    };
    for (const FireSpec& s : specs)
        if (s.kind == kind) return {s.args, s.count};
    return {};
}

bool carriesData(EventKind kind) {
    return kind == EventKind::OLEStartDrag || kind == EventKind::OLEDragDrop || kind == EventKind::OLEDragOver ||
           kind == EventKind::OLESetData;
}

// The most Timer events one `tick` delivers per timer: a day of a one-second timer.
constexpr std::int64_t kMostTicks = 86400;

}  // namespace

void Container::fire(const Words& w) {
    expectWords(w, 4, 10, "fire NAME TARGET EVENT [ARGS]");
    Hosted& c = control(w[1]);
    InputEvent ev;
    if (!eventByName(w[3], ev.kind)) throw SyntaxError{"unknown event " + w[3]};
    const std::span<const FireArg> expected = fireArgs(ev.kind);
    if (w.size() != 4 + expected.size())
        throw SyntaxError{w[3] + " takes " + std::to_string(expected.size()) + " arguments"};
    // Every word is read before anything is looked up, so a malformed line does nothing.
    std::vector<Variant> args;
    std::size_t i = 4;
    for (const FireArg a : expected) {
        if (a != FireArg::Dragged) args.push_back(parseValue(w[i]));
        else if (w[i] != "none" && !parseElementName(w[i])) throw SyntaxError{"not an element name: " + w[i]};
        else args.emplace_back();
        ++i;
    }
    Element target;
    if (const auto missing = element(c, w[2], target)) return report(*missing);
    ev.source = target;
    DataObject data;
    if (carriesData(ev.kind)) ev.data = &data;
    try {
        i = 4;
        auto arg = args.begin();
        for (const FireArg a : expected) {
            const Variant& v = *arg++;
            const std::string& word = w[i++];
            switch (a) {
                case FireArg::Button: ev.button = v.toInt16(); break;
                case FireArg::Shift: ev.shift = v.toInt16(); break;
                case FireArg::X: ev.x = v.toFloat(); break;
                case FireArg::Y: ev.y = v.toFloat(); break;
                case FireArg::Key: ev.key = v.toInt16(); break;
                case FireArg::State: ev.state = v.toInt16(); break;
                case FireArg::Effect: ev.effect = v.toInt32(); break;
                case FireArg::Cursors: ev.defaultCursors = v.toBool(); break;
                case FireArg::Format: ev.format = v.toInt16(); break;
                case FireArg::Dragged:
                    if (word == "none") break;
                    if (word == "surface") throw SyntaxError{"the dragged source is an element or none, not surface"};
                    if (const auto missing = element(c, word, ev.dragged)) return report(*missing);
                    break;
            }
        }
    } catch (const HostError& e) {
        return report({e.number, e.description});
    }
    if (const Outcome o = c.control.deliver(ev); !o) report(o);
}

void Container::tick(const Words& w) {
    expectWords(w, 2, 3, "tick NAME [COUNT]");
    Hosted& c = control(w[1]);
    const std::int64_t count = w.size() == 3 ? wholeNumber(w[2], 0, kMostTicks) : 1;
    std::vector<Timer> timers;
    for (const Element e : c.host->elements())
        if (e.kind() == ElementKind::Timer) timers.push_back(e.as<Timer>());
    // A handler may enable or disable timers, so each round looks again; a round in
    // which no timer was enabled ends the command.
    for (std::int64_t i = 0; i < count; ++i) {
        bool ticked = false;
        for (const Timer& t : timers) {
            if (c.host->destroyed()) return;
            if (!t.Enabled()) continue;
            ticked = true;
            if (const Outcome o = c.control.tick(t); !o) report(o);
        }
        if (!ticked) return;
    }
}

void Container::clock(const Words& w) {
    expectWords(w, 2, 2, "clock HH:MM:SS");
    const std::string& t = w[1];
    int parts[3] = {};
    const char* p = t.data();
    const char* end = t.data() + t.size();
    for (int i = 0; i < 3; ++i) {
        const auto [q, ec] = std::from_chars(p, end, parts[i]);
        if (ec != std::errc() || q - p != 2) throw SyntaxError{"expected HH:MM:SS: " + t};
        p = q;
        if (i < 2) {
            if (p == end || *p != ':') throw SyntaxError{"expected HH:MM:SS: " + t};
            ++p;
        }
    }
    if (p != end || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) throw SyntaxError{"expected HH:MM:SS: " + t};
    clock_ = {parts[0], parts[1], parts[2]};
    for (auto& [name, c] : controls_) c->host->setClock(clock_);
}

void Container::answer(const Words& w) {
    expectWords(w, 3, std::numeric_limits<std::size_t>::max(), "answer NAME EVENT [ARG=VALUE ...]");
    Hosted& c = control(w[1]);
    const std::string& event = w[2];
    const EventDecl* decl = nullptr;
    if (c.row != nullptr) {
        for (const EventDecl& e : c.row->events)
            if (e.name == event) decl = &e;
        if (decl == nullptr) throw SyntaxError{c.className + " has no event " + event};
    }
    std::vector<std::pair<std::string, Variant>> sets;
    for (std::size_t i = 3; i < w.size(); ++i) {
        auto [arg, v] = parseAssignment(w[i]);
        if (decl != nullptr) {
            const ArgDecl* a = nullptr;
            for (const ArgDecl& d : decl->args)
                if (d.name == arg) a = &d;
            if (a == nullptr) throw SyntaxError{event + " has no argument " + arg};
            // The control never sees what a handler does to its copy of a by-value argument.
            if (!a->byRef) throw SyntaxError{event + " passes " + arg + " by value"};
            try {
                v = v.as(a->type);
            } catch (const HostError& e) {
                return report({e.number, e.description});
            }
        }
        sets.emplace_back(std::move(arg), std::move(v));
    }
    if (sets.empty())
        c.answers.erase(event);
    else
        c.answers[event] = std::move(sets);
}

void Container::msgboxReturns(const Words& w) {
    expectWords(w, 2, 2, "msgbox-returns N");
    msgBoxAnswer_ = static_cast<std::int32_t>(
        wholeNumber(w[1], std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    for (auto& [name, c] : controls_) c->host->setMsgBoxAnswer(msgBoxAnswer_);
}

void Container::fail(const Words& w) {
    expectWords(w, 2, 3, "fail resource ID | fail shell | fail pointer");
    if (w[1] == "resource" && w.size() == 3) {
        const std::string id = w[2].front() == '"' ? parseValue(w[2]).toString() : w[2];
        failedResources_.insert(id);
        for (auto& [name, c] : controls_) c->host->failResource(id);
    } else if (w[1] == "shell" && w.size() == 2) {
        failShell_ = true;
        for (auto& [name, c] : controls_) c->host->failShell();
    } else if (w[1] == "pointer" && w.size() == 2) {
        failPointer_ = true;
        for (auto& [name, c] : controls_) c->host->failPointer();
    } else {
        throw SyntaxError{"usage: fail resource ID | fail shell | fail pointer"};
    }
}

void Container::unfail(const Words& w) {
    expectWords(w, 1, 1, "unfail");
    failedResources_.clear();
    failShell_ = failPointer_ = false;
    for (auto& [name, c] : controls_) c->host->unfailAll();
}

void Container::dump(const Words& w) {
    expectWords(w, 2, std::numeric_limits<std::size_t>::max(), "dump NAME [ELEMENT ...]");
    Hosted& c = control(w[1]);
    const auto dumpOne = [&](const Element e) {
        Object o = line().str("dump", c.name);
        !e ? dumpSurface(c.host->surface(), o) : dumpElement(e, o);
        emit(o);
    };
    if (w.size() == 2) {
        dumpOne(Element());
        for (const Element e : c.host->elements()) dumpOne(e);
        return;
    }
    // Every name is checked before anything is written, so a misspelt one leaves no
    // half-written dump behind.
    std::vector<std::pair<Element, std::optional<ErrorInfo>>> targets;
    for (std::size_t i = 2; i < w.size(); ++i) {
        Element e;
        std::optional<ErrorInfo> missing = element(c, w[i], e);
        targets.emplace_back(e, std::move(missing));
    }
    for (const auto& [e, missing] : targets) missing ? report(*missing) : dumpOne(e);
}

void Container::destroy(const Words& w) {
    expectWords(w, 2, 2, "destroy NAME");
    Hosted& c = control(w[1]);
    if (const Outcome o = c.control.destroy(); !o) report(o);
    c.control.reset();
    controls_.erase(w[1]);
}

void Container::typelib(const Words& w) {
    expectWords(w, 1, 1, "typelib");
    emit(line().add("typelib", typeLibraryJson()));
}

void Container::registerServer(const Words& w, bool reg) {
    expectWords(w, 1, 1, reg ? "register" : "unregister");
    const HRESULT hr = reg ? entry_.registerServer() : entry_.unregisterServer();
    emit(line().num(reg ? "register" : "unregister", std::int64_t{hr}));
}

void Container::canUnload(const Words& w) {
    expectWords(w, 1, 1, "canunload");
    emit(line().num("canunload", std::int64_t{entry_.canUnloadNow()}));
}

}  // namespace talvik::container
