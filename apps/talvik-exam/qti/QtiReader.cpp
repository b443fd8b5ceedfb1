#include "qti/QtiReader.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QXmlStreamReader>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
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

// The length of the block tag (<p>, </li>, ...) at s[at], 0 when there is none there.
std::size_t blockTagAt(const std::string& s, std::size_t at) {
    if (s[at] != '<') return 0;
    std::size_t i = at + 1;
    if (i < s.size() && s[i] == '/') ++i;
    for (const char* name : {"p>", "ul>", "ol>", "li>"}) {
        const std::size_t n = std::char_traits<char>::length(name);
        if (s.compare(i, n, name) == 0) return i + n - at;
    }
    return 0;
}

// Spaces next to block tags are only source layout. (A hand loop: a regular expression
// here was a fifth of the time taken to load a test.)
std::string tidyMarkup(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t tag = blockTagAt(s, i);
        if (tag == 0) {
            out += s[i++];
            continue;
        }
        while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back()))) out.pop_back();
        out.append(s, i, tag);
        i += tag;
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    }
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

// Content files are small: a device, a pipe or a huge file named by a test is not one,
// and reading it could block or exhaust memory.
constexpr std::uintmax_t kMaxContentFileBytes = 16u << 20;

// Names a test makes up (too long, in no folder that exists) are a file that is missing,
// not a reason to throw.
bool isRegularFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::optional<std::string> readFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error) || fs::file_size(path, error) > kMaxContentFileBytes || error)
        return std::nullopt;
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
        else if (!isRegularFile(file))
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

// A content package's manifest: the resources it lists, in its order, with their line.
struct Resource {
    std::string identifier;
    std::string type;
    std::string href;  // resolved against the package folder and any xml:base
    qint64 line = 0;
};

struct Manifest {
    std::string identifier;
    std::string title;
    std::vector<Resource> resources;
};

bool startsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

std::string lowercase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool isTestResource(const Resource& r) { return startsWith(lowercase(r.type), "imsqti_test_xml"); }
bool isItemResource(const Resource& r) { return startsWith(lowercase(r.type), "imsqti_item_xml"); }

class ManifestParser {
public:
    ManifestParser(QXmlStreamReader& reader, std::string path) : r_(reader), path_(std::move(path)) {}

    // The reader stands on the root element.
    Manifest run() {
        if (r_.name() != QLatin1String("manifest"))
            fail("not a content package manifest: <" + r_.name().toString().toStdString() + ">");
        m_.identifier = attribute(r_, "identifier").value_or("");
        while (r_.readNextStartElement()) {
            const QStringView n = r_.name();
            if (n == QLatin1String("metadata"))
                readMetadata();
            else if (n == QLatin1String("organizations"))
                readOrganizations();
            else if (n == QLatin1String("resources"))
                readResources(joinBase("", xmlBase()));
            else
                r_.skipCurrentElement();
        }
        if (r_.hasError()) fail("malformed XML: " + r_.errorString().toStdString());
        return std::move(m_);
    }

private:
    [[noreturn]] void fail(const std::string& what) const { throw QtiError(lineMessage(path_, r_, what)); }

    std::string xmlBase() const {
        return r_.attributes()
            .value(QStringLiteral("http://www.w3.org/XML/1998/namespace"), QStringLiteral("base"))
            .toString()
            .trimmed()
            .toStdString();
    }

    static std::string joinBase(const std::string& base, const std::string& more) {
        if (more.empty()) return base;
        if (base.empty() || more.find("://") != std::string::npos || more.front() == '/') return more;
        return base.back() == '/' ? base + more : base + "/" + more;
    }

    // Only a title is taken: the LOM general title (LOM 1.0 `string` or IMS MD 1.2 `langstring`)
    // when there is no organization title.
    void readMetadata() {
        std::vector<QString> open;
        while (!r_.atEnd()) {
            r_.readNext();
            if (r_.isStartElement()) {
                open.push_back(r_.name().toString());
                const std::size_t depth = open.size();
                const bool text = open[depth - 1] == QLatin1String("string") || open[depth - 1] == QLatin1String("langstring");
                if (depth >= 4 && text && open[depth - 2] == QLatin1String("title") &&
                    open[depth - 3] == QLatin1String("general") && metadataTitle_.empty()) {
                    metadataTitle_ = collapseSpace(r_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
                    open.pop_back();
                }
            } else if (r_.isEndElement()) {
                if (open.empty()) break;
                open.pop_back();
            }
        }
        if (m_.title.empty()) m_.title = metadataTitle_;
    }

    void readOrganizations() {
        while (r_.readNextStartElement()) {
            if (r_.name() != QLatin1String("organization") || !organizationTitle_.empty()) {
                r_.skipCurrentElement();
                continue;
            }
            while (r_.readNextStartElement()) {
                if (r_.name() == QLatin1String("title") && organizationTitle_.empty())
                    organizationTitle_ = collapseSpace(r_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
                else
                    r_.skipCurrentElement();
            }
        }
        if (!organizationTitle_.empty()) m_.title = organizationTitle_;
    }

    void readResources(const std::string& base) {
        while (r_.readNextStartElement()) {
            if (r_.name() != QLatin1String("resource")) {
                r_.skipCurrentElement();
                continue;
            }
            Resource res;
            res.line = r_.lineNumber();
            res.identifier = attribute(r_, "identifier").value_or("");
            res.type = attribute(r_, "type").value_or("");
            if (const auto href = attribute(r_, "href"); href && !href->empty())
                res.href = QUrl::fromPercentEncoding(QByteArray::fromStdString(joinBase(joinBase(base, xmlBase()), *href)))
                               .toStdString();
            m_.resources.push_back(std::move(res));
            r_.skipCurrentElement();
        }
    }

    QXmlStreamReader& r_;
    std::string path_;
    Manifest m_;
    std::string metadataTitle_;
    std::string organizationTitle_;
};

std::string resourceMessage(const std::string& manifest, const Resource& r, const std::string& what) {
    return manifest + ":" + std::to_string(r.line) + ": " + what;
}

Test readTestText(const std::string& text, const std::string& path, bool packageAllowed);

// The package's test when it lists one (the first), otherwise its items in the
// manifest's order as one section. Nothing when it lists no QTI resource at all.
std::optional<Test> readPackage(const std::string& manifestText, const std::string& manifestPath) {
    QXmlStreamReader r(QByteArray::fromStdString(manifestText));
    if (!r.readNextStartElement()) {
        const std::string why = r.hasError() ? "malformed XML: " + r.errorString().toStdString() : "no root element";
        throw QtiError(lineMessage(manifestPath, r, why));
    }
    const Manifest m = ManifestParser(r, manifestPath).run();
    const fs::path dir = fs::path(manifestPath).parent_path();
    const auto local = [&](const Resource& res) -> std::optional<std::string> {
        if (res.href.empty() || res.href.find("://") != std::string::npos || fs::path(res.href).is_absolute())
            return std::nullopt;
        return (dir / res.href).lexically_normal().string();
    };

    const auto test = std::find_if(m.resources.begin(), m.resources.end(), isTestResource);
    if (test != m.resources.end()) {
        const auto file = local(*test);
        if (!file)
            throw QtiError(resourceMessage(manifestPath, *test, "test resource without a file in the package: \"" +
                                                                     test->href + "\""));
        const auto text = readFile(*file);
        if (!text)
            throw QtiError(resourceMessage(manifestPath, *test, "test resource file missing: " + *file));
        Test t = readTestText(*text, *file, false);
        if (t.title.empty()) t.title = m.title;
        if (t.identifier.empty()) t.identifier = m.identifier;
        return t;
    }

    Test t;
    t.identifier = m.identifier;
    t.title = m.title;
    Section section;
    for (const Resource& res : m.resources) {
        if (!isItemResource(res)) continue;
        const auto file = local(res);
        if (!file)
            section.items.push_back(notDelivered(manifestPath, res.identifier,
                                                 resourceMessage(manifestPath, res,
                                                                 "item resource without a file in the package: \"" +
                                                                     res.href + "\"")));
        else if (!isRegularFile(*file))
            section.items.push_back(
                notDelivered(*file, "", resourceMessage(manifestPath, res, "item resource file missing: " + *file)));
        else
            section.items.push_back(readItemFile(*file));
    }
    if (section.items.empty()) return std::nullopt;
    t.sections.push_back(std::move(section));
    return t;
}

bool isZip(const std::string& path, const std::string& bytes) {
    return lowercase(fs::path(path).extension().string()) == ".zip" || startsWith(bytes, "PK\x03\x04");
}

// A test, an item or (when allowed) a package manifest, by its root element.
Test readTestText(const std::string& text, const std::string& path, bool packageAllowed) {
    Test test;
    if (isZip(path, text))
        throw QtiError(path + ": a zipped content package cannot be read directly; unzip it first and open its folder");
    QXmlStreamReader r(QByteArray::fromStdString(text));
    if (!r.readNextStartElement()) {
        const std::string why = r.hasError() ? "malformed XML: " + r.errorString().toStdString() : "no root element";
        throw QtiError(lineMessage(path, r, why));
    }
    const std::string root = elementName(r);
    if (root == "assessmentItem") {
        Item item = readItemText(text, path);
        test.identifier = item.identifier;
        test.title = item.title;
        test.sections.push_back(Section{{}, {}, {std::move(item)}});
        return test;
    }
    if (root == "manifest" && packageAllowed) {
        if (auto package = readPackage(text, path)) return std::move(*package);
        throw QtiError(path + ": the manifest lists no QTI test or item");
    }
    if (root != "assessmentTest")
        throw QtiError(lineMessage(path, r, "not a QTI item or test: <" + r.name().toString().toStdString() + ">"));
    TestParser(r, test, path).run();
    return test;
}

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
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        // A folder with a manifest is a content package; one whose manifest lists no QTI
        // resource is read as a plain folder of items.
        const fs::path manifest = fs::path(path) / "imsmanifest.xml";
        if (fs::is_regular_file(manifest, ec)) {
            const auto text = readFile(manifest.string());
            if (!text) throw QtiError(manifest.string() + ": cannot be read");
            if (auto package = readPackage(*text, manifest.string())) return std::move(*package);
        }
        Test test;
        std::vector<fs::path> files;
        for (fs::directory_iterator entry(path, ec), end; !ec && entry != end; entry.increment(ec)) {
            std::error_code notAFile;
            if (entry->is_regular_file(notAFile) && lowercase(entry->path().extension().string()) == ".xml" &&
                entry->path().filename() != "imsmanifest.xml")
                files.push_back(entry->path());
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
    if (!text && fs::exists(path, ec)) throw QtiError(path + ": not a content file (a regular file of at most 16 MB)");
    if (!text) throw QtiError(path + ": no such file or folder");
    return readTestText(*text, path, true);
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
