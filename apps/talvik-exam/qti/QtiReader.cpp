#include "qti/QtiReader.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

namespace talvik::qti {
namespace fs = std::filesystem;
namespace {

// QTI 3.0 spells `choiceInteraction` as `qti-choice-interaction`; one set of names serves
// both by turning the prefixed kebab-case names into the camelCase ones.
std::string elementName(const QXmlStreamReader& r) {
    const QString local = r.name().toString();
    if (!local.startsWith(QStringLiteral("qti-"))) return local.toStdString();
    std::string out;
    bool upper = false;
    for (const QChar c : local.mid(4)) {
        if (c == QLatin1Char('-')) {
            upper = true;
            continue;
        }
        const char ch = static_cast<char>(c.toLatin1());
        out += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
        upper = false;
    }
    return out;
}

std::string kebab(const std::string& camel) {
    std::string out;
    for (const char c : camel) {
        if (std::isupper(static_cast<unsigned char>(c))) {
            out += '-';
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> attribute(const QXmlStreamReader& r, const std::string& camel) {
    const QXmlStreamAttributes a = r.attributes();
    for (const std::string& n : {camel, kebab(camel)}) {
        const QString key = QString::fromStdString(n);
        if (a.hasAttribute(key)) return a.value(key).toString().trimmed().toStdString();
    }
    return std::nullopt;
}

std::string escapeHtml(const std::string& s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string collapseSpace(const QString& text) {
    QString out;
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            space = true;
            continue;
        }
        if (space) out += QLatin1Char(' ');
        space = false;
        out += c;  // surrogate pairs stay together: the string is converted once, below
    }
    if (space) out += QLatin1Char(' ');
    return out.toStdString();
}

// Spaces next to block tags are only source layout.
std::string tidyMarkup(const std::string& s) {
    static const std::regex around(R"(\s*(</?(p|ul|ol|li)>)\s*)");
    std::string out = std::regex_replace(s, around, "$1");
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::string lineMessage(const std::string& path, const QXmlStreamReader& r, const std::string& what) {
    return path + ":" + std::to_string(r.lineNumber()) + ": " + what;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

struct Declaration {
    std::vector<std::string> correct;
    std::vector<MapEntry> mapping;
    std::optional<double> mappingDefault;
    std::optional<double> lowerBound;
    std::optional<double> upperBound;
};

class ItemParser {
public:
    ItemParser(QXmlStreamReader& reader, Item& item)
        : r_(reader), item_(item), dir_(fs::path(item.path).parent_path()) {}

    void run() {
        if (!r_.readNextStartElement()) {
            checkXml();
            fail("no root element");
        }
        const std::string root = elementName(r_);
        if (root != "assessmentItem") fail("not an assessmentItem: <" + r_.name().toString().toStdString() + ">");
        item_.identifier = attribute(r_, "identifier").value_or("");
        item_.title = attribute(r_, "title").value_or("");
        while (r_.readNextStartElement()) {
            const std::string n = elementName(r_);
            if (n == "responseDeclaration") {
                readDeclaration();
            } else if (n == "itemBody") {
                std::string body;
                readMarkup(body);
                item_.body = tidyMarkup(body);
            } else {
                r_.skipCurrentElement();
            }
        }
        checkXml();
        finish();
    }

private:
    [[noreturn]] void fail(const std::string& what) const { throw QtiError(lineMessage(item_.path, r_, what)); }

    void checkXml() const {
        if (r_.hasError()) fail("malformed XML: " + r_.errorString().toStdString());
    }

    double number(const std::string& name, const std::string& text) const {
        bool ok = false;
        const double v = QString::fromStdString(text).toDouble(&ok);
        if (!ok) fail(name + " is not a number: \"" + text + "\"");
        return v;
    }

    int count(const std::string& name, int fallback) const {
        const auto text = attribute(r_, name);
        if (!text) return fallback;
        bool ok = false;
        const int v = QString::fromStdString(*text).toInt(&ok);
        if (!ok || v < 0) fail(name + " is not a count: \"" + *text + "\"");
        return v;
    }

    void readDeclaration() {
        const std::string id = attribute(r_, "identifier").value_or("");
        Declaration d;
        while (r_.readNextStartElement()) {
            const std::string n = elementName(r_);
            if (n == "correctResponse") {
                while (r_.readNextStartElement()) {
                    if (elementName(r_) == "value")
                        d.correct.push_back(r_.readElementText().trimmed().toStdString());
                    else
                        r_.skipCurrentElement();
                }
            } else if (n == "mapping") {
                if (const auto def = attribute(r_, "defaultValue")) d.mappingDefault = number("defaultValue", *def);
                if (const auto low = attribute(r_, "lowerBound")) d.lowerBound = number("lowerBound", *low);
                if (const auto high = attribute(r_, "upperBound")) d.upperBound = number("upperBound", *high);
                while (r_.readNextStartElement()) {
                    if (elementName(r_) == "mapEntry") {
                        const auto key = attribute(r_, "mapKey");
                        const auto value = attribute(r_, "mappedValue");
                        if (!key || !value) fail("mapEntry needs mapKey and mappedValue");
                        d.mapping.push_back({*key, number("mappedValue", *value)});
                    }
                    r_.skipCurrentElement();
                }
            } else {
                r_.skipCurrentElement();
            }
        }
        declarations_[id] = std::move(d);
    }

    // Reads to the end of the current element, keeping the markup Qt's rich text shows.
    void readMarkup(std::string& out) {
        while (!r_.atEnd()) {
            r_.readNext();
            if (r_.isEndElement()) return;
            if (r_.isCharacters()) {
                out += escapeHtml(collapseSpace(r_.text().toString()));
                continue;
            }
            if (!r_.isStartElement()) continue;
            const std::string n = elementName(r_);
            static const std::map<std::string, std::string> kept = {
                {"p", "p"},   {"em", "em"}, {"i", "em"},  {"strong", "strong"},
                {"b", "strong"}, {"ul", "ul"}, {"ol", "ol"}, {"li", "li"}};
            static const std::set<std::string> dropped = {
                "feedbackInline", "feedbackBlock", "modalFeedback", "rubricBlock", "templateBlock",
                "templateInline", "printedVariable"};
            if (endsWith(n, "Interaction")) {
                readInteraction(n);
            } else if (const auto k = kept.find(n); k != kept.end()) {
                out += "<" + k->second + ">";
                readMarkup(out);
                out += "</" + k->second + ">";
            } else if (n == "img") {
                out += image();
                r_.skipCurrentElement();
            } else if (n == "br") {
                out += "<br/>";
                r_.skipCurrentElement();
            } else if (dropped.count(n)) {
                r_.skipCurrentElement();
            } else {
                readMarkup(out);  // keep the text of elements the screen has no style for
            }
        }
    }

    std::string image() const {
        const std::string src = attribute(r_, "src").value_or("");
        std::string resolved = src;
        if (!src.empty() && src.find("://") == std::string::npos && !fs::path(src).is_absolute())
            resolved = (dir_ / src).lexically_normal().generic_string();
        std::string tag = "<img src=\"" + escapeHtml(resolved) + "\"";
        if (const auto alt = attribute(r_, "alt")) tag += " alt=\"" + escapeHtml(*alt) + "\"";
        return tag + "/>";
    }

    void readInteraction(const std::string& name) {
        if (name != "choiceInteraction") {
            if (unsupported_.empty()) unsupported_ = name;
            r_.skipCurrentElement();
            return;
        }
        if (++choiceInteractions_ > 1) {
            r_.skipCurrentElement();
            return;
        }
        item_.maxChoices = count("maxChoices", 1);
        item_.minChoices = count("minChoices", 0);
        item_.shuffle = attribute(r_, "shuffle").value_or("false") == "true";
        responseIdentifier_ = attribute(r_, "responseIdentifier").value_or("");
        while (r_.readNextStartElement()) {
            const std::string n = elementName(r_);
            if (n == "prompt") {
                std::string prompt;
                readMarkup(prompt);
                item_.prompt = tidyMarkup(prompt);
            } else if (n == "simpleChoice") {
                Choice c;
                c.identifier = attribute(r_, "identifier").value_or("");
                if (c.identifier.empty()) fail("simpleChoice without identifier");
                for (const Choice& other : item_.choices)
                    if (other.identifier == c.identifier) fail("simpleChoice identifier repeated: " + c.identifier);
                c.fixed = attribute(r_, "fixed").value_or("false") == "true";
                readMarkup(c.markup);
                c.markup = tidyMarkup(c.markup);
                item_.choices.push_back(std::move(c));
            } else {
                r_.skipCurrentElement();
            }
        }
    }

    void finish() {
        if (!unsupported_.empty()) {
            item_.reason = "not supported: " + unsupported_;
            return;
        }
        if (choiceInteractions_ > 1) {
            item_.reason = "not supported: more than one choiceInteraction";
            return;
        }
        if (choiceInteractions_ == 0) {
            item_.reason = "not supported: no interaction";
            return;
        }
        if (item_.choices.empty()) {
            item_.reason = item_.path + ": choiceInteraction has no simpleChoice";
            return;
        }
        auto d = declarations_.find(responseIdentifier_);
        if (d == declarations_.end() && declarations_.size() == 1) d = declarations_.begin();
        if (d != declarations_.end()) {
            item_.correctResponse = d->second.correct;
            item_.mapping = d->second.mapping;
            item_.mappingDefault = d->second.mappingDefault;
            item_.mappingLowerBound = d->second.lowerBound;
            item_.mappingUpperBound = d->second.upperBound;
        }
        item_.delivered = true;
    }

    QXmlStreamReader& r_;
    Item& item_;
    fs::path dir_;
    std::map<std::string, Declaration> declarations_;
    std::string responseIdentifier_;
    std::string unsupported_;
    int choiceInteractions_ = 0;
};

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Item notDelivered(const std::string& path, const std::string& identifier, const std::string& reason) {
    Item item;
    item.path = path;
    item.identifier = identifier.empty() ? fs::path(path).stem().string() : identifier;
    item.reason = reason;
    return item;
}

class TestParser {
public:
    TestParser(QXmlStreamReader& reader, Test& test, std::string path)
        : r_(reader), test_(test), path_(std::move(path)), dir_(fs::path(path_).parent_path()) {}

    void run() {
        test_.identifier = attribute(r_, "identifier").value_or("");
        test_.title = attribute(r_, "title").value_or("");
        std::optional<double> partTime;
        std::size_t context = npos;
        while (r_.readNextStartElement()) {
            const std::string n = elementName(r_);
            if (n == "timeLimits") {
                test_.maxTimeSeconds = maxTime();
                r_.skipCurrentElement();
            } else if (n == "testPart") {
                std::optional<double> t;
                walk(context, &t);
                if (t) partTime = partTime.value_or(0.0) + *t;
            } else {
                r_.skipCurrentElement();
            }
        }
        if (r_.hasError())
            throw QtiError(lineMessage(path_, r_, "malformed XML: " + r_.errorString().toStdString()));
        if (!test_.maxTimeSeconds) test_.maxTimeSeconds = partTime;
    }

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::optional<double> maxTime() const {
        const auto text = attribute(r_, "maxTime");
        if (!text) return std::nullopt;
        bool ok = false;
        const double v = QString::fromStdString(*text).toDouble(&ok);
        if (!ok || v < 0) throw QtiError(lineMessage(path_, r_, "maxTime is not a number: \"" + *text + "\""));
        return v;
    }

    // Items go to the innermost section around them; a section's items that follow a
    // nested section continue in a new entry so the order stays the authored one.
    void walk(std::size_t context, std::optional<double>* partTime) {
        while (r_.readNextStartElement()) {
            const std::string n = elementName(r_);
            if (n == "timeLimits") {
                if (partTime) *partTime = maxTime();
                r_.skipCurrentElement();
            } else if (n == "assessmentSection") {
                Section s;
                s.identifier = attribute(r_, "identifier").value_or("");
                s.title = attribute(r_, "title").value_or("");
                test_.sections.push_back(std::move(s));
                walk(test_.sections.size() - 1, nullptr);
            } else if (n == "assessmentItemRef") {
                addItem(context);
                r_.skipCurrentElement();
            } else {
                r_.skipCurrentElement();
            }
        }
    }

    void addItem(std::size_t& context) {
        if (context == npos || context != test_.sections.size() - 1) {
            Section s;
            if (context != npos) {
                s.identifier = test_.sections[context].identifier;
                s.title = test_.sections[context].title;
            }
            test_.sections.push_back(std::move(s));
            context = test_.sections.size() - 1;
        }
        const std::string ref = attribute(r_, "identifier").value_or("");
        const std::string href = attribute(r_, "href").value_or("");
        const std::string file = (dir_ / href).lexically_normal().string();
        Item item;
        if (href.empty())
            item = notDelivered(path_, ref, lineMessage(path_, r_, "assessmentItemRef without href"));
        else if (!fs::is_regular_file(file))
            item = notDelivered(file, ref, lineMessage(path_, r_, "referenced item file missing: " + href));
        else
            item = readItemFile(file);
        if (item.identifier.empty()) item.identifier = ref;
        test_.sections[context].items.push_back(std::move(item));
    }

    QXmlStreamReader& r_;
    Test& test_;
    std::string path_;
    fs::path dir_;
};

void appendJson(std::string& out, const std::string& s) {
    out += '"';
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

Item readItemText(const std::string& xml, const std::string& path) {
    Item item;
    item.path = path;
    QXmlStreamReader r(QByteArray::fromStdString(xml));
    try {
        ItemParser(r, item).run();
    } catch (const QtiError& e) {
        item.delivered = false;
        item.reason = e.what();
    }
    if (item.identifier.empty()) item.identifier = fs::path(path).stem().string();
    return item;
}

Item readItemFile(const std::string& path) {
    const auto text = readFile(path);
    if (!text) return notDelivered(path, "", path + ": cannot be read");
    return readItemText(*text, path);
}

Test loadTest(const std::string& path) {
    Test test;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(path, ec)) {
            std::string ext = entry.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
            if (entry.is_regular_file() && ext == ".xml" && entry.path().filename() != "imsmanifest.xml")
                files.push_back(entry.path());
        }
        if (ec) throw QtiError(path + ": cannot list the folder: " + ec.message());
        if (files.empty()) throw QtiError(path + ": no item files (*.xml) in the folder");
        std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
        test.identifier = fs::path(path).lexically_normal().filename().string();
        Section section;
        for (const fs::path& f : files) section.items.push_back(readItemFile(f.string()));
        test.sections.push_back(std::move(section));
        return test;
    }
    const auto text = readFile(path);
    if (!text || fs::is_directory(path, ec)) throw QtiError(path + ": no such file or folder");
    QXmlStreamReader r(QByteArray::fromStdString(*text));
    if (!r.readNextStartElement()) {
        const std::string why = r.hasError() ? "malformed XML: " + r.errorString().toStdString() : "no root element";
        throw QtiError(lineMessage(path, r, why));
    }
    const std::string root = elementName(r);
    if (root == "assessmentItem") {
        Item item = readItemText(*text, path);
        test.identifier = item.identifier;
        test.title = item.title;
        test.sections.push_back(Section{{}, {}, {std::move(item)}});
        return test;
    }
    if (root != "assessmentTest")
        throw QtiError(lineMessage(path, r, "not a QTI item or test: <" + r.name().toString().toStdString() + ">"));
    TestParser(r, test, path).run();
    return test;
}

std::string listLine(const Item& item) {
    std::string out = "{\"identifier\":";
    appendJson(out, item.identifier);
    out += ",\"title\":";
    appendJson(out, item.title);
    if (item.delivered) {
        out += ",\"choices\":" + std::to_string(item.choices.size());
        out += ",\"maxChoices\":" + std::to_string(item.maxChoices);
        out += ",\"delivered\":true}";
    } else {
        out += ",\"delivered\":false,\"reason\":";
        appendJson(out, item.reason);
        out += '}';
    }
    return out;
}

}  // namespace talvik::qti
