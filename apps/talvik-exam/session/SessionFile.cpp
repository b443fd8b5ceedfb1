#include "session/SessionFile.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <charconv>
#include <limits>
#include <optional>

namespace talvik::exam {
namespace {

constexpr std::string_view kMagic = "TALVIK-EXAM-SESSION";

std::string sha256Hex(std::string_view body) {
    return QCryptographicHash::hash(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string header(std::uint64_t version, std::uint64_t length, const std::string& hash) {
    return std::string(kMagic) + " " + std::to_string(version) + " " + std::to_string(length) + " " + hash;
}

// Text that is not UTF-8 (a path from a file system in another encoding) is kept as its bytes.
QJsonValue textValue(const std::string& text) {
    const QString s = QString::fromStdString(text);
    if (s.toStdString() == text) return s;
    return QJsonObject{{QStringLiteral("bytes"), QString::fromLatin1(QByteArray::fromStdString(text).toBase64())}};
}

std::optional<std::uint64_t> decimal(std::string_view digits) {
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
    return v;
}

class Reader {
public:
    Reader(const std::string& path) : path_(path) {}

    [[noreturn]] void fail(const std::string& what) const { throw SessionFileError(path_ + ": " + what); }

    QJsonValue field(const QJsonObject& o, const char* name, const std::string& where) const {
        const QJsonValue v = o.value(QLatin1String(name));
        if (v.isUndefined()) fail(where + "\"" + name + "\" is missing");
        return v;
    }

    std::string text(const QJsonObject& o, const char* name, const std::string& where = {}) const {
        const QJsonValue v = field(o, name, where);
        if (v.isString()) return v.toString().toStdString();
        const QJsonValue bytes = v.toObject().value(QLatin1String("bytes"));
        if (v.isObject() && bytes.isString()) {
            const auto decoded =
                QByteArray::fromBase64Encoding(bytes.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (decoded) return decoded.decoded.toStdString();
        }
        fail(where + "\"" + name + "\" is not text");
    }

    std::int64_t integer(const QJsonValue& v, const std::string& what, std::int64_t min, std::int64_t max) const {
        // toInteger gives the fallback for anything but a whole number; a second fallback
        // tells a stored `min` from the first one.
        const std::int64_t n = v.toInteger(min);
        const bool whole = v.isDouble() && (n != min || v.toInteger(max) == min);
        if (!whole || n < min || n > max)
            fail(what + " is not a whole number from " + std::to_string(min) + " to " + std::to_string(max));
        return n;
    }

    std::int64_t integer(const QJsonObject& o, const char* name, std::int64_t min, std::int64_t max,
                         const std::string& where = {}) const {
        return integer(field(o, name, where), where + "\"" + name + "\"", min, max);
    }

    bool boolean(const QJsonObject& o, const char* name, const std::string& where = {}) const {
        const QJsonValue v = field(o, name, where);
        if (!v.isBool()) fail(where + "\"" + name + "\" is not true or false");
        return v.toBool();
    }

    QJsonArray array(const QJsonObject& o, const char* name, const std::string& where = {}) const {
        const QJsonValue v = field(o, name, where);
        if (!v.isArray()) fail(where + "\"" + name + "\" is not a list");
        return v.toArray();
    }

    // Revisions beyond the range of a JSON integer are written as decimal text.
    std::uint64_t revision(const QJsonObject& o) const {
        const QJsonValue v = field(o, "revision", {});
        if (v.isString()) {
            if (const auto n = decimal(v.toString().toStdString())) return *n;
            fail("\"revision\" is not a whole number");
        }
        return static_cast<std::uint64_t>(integer(v, "\"revision\"", 0, std::numeric_limits<std::int64_t>::max()));
    }

private:
    const std::string& path_;
};

constexpr std::int64_t kI64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kI64Max = std::numeric_limits<std::int64_t>::max();

}  // namespace

std::string serializeSession(const SessionState& s) {
    QJsonArray items;
    for (const ItemState& item : s.items) {
        QJsonArray order;
        for (const std::uint32_t i : item.order) order.append(static_cast<qint64>(i));
        QJsonArray response;
        for (const std::string& id : item.response) response.append(textValue(id));
        items.append(QJsonObject{{QStringLiteral("identifier"), textValue(item.identifier)},
                                 {QStringLiteral("order"), order},
                                 {QStringLiteral("response"), response},
                                 {QStringLiteral("flagged"), item.flagged}});
    }
    const QJsonValue revision = s.revision <= static_cast<std::uint64_t>(kI64Max)
                                    ? QJsonValue(static_cast<qint64>(s.revision))
                                    : QJsonValue(QString::number(s.revision));
    const QJsonObject root{
        {QStringLiteral("testPath"), textValue(s.testPath)},
        {QStringLiteral("testIdentifier"), textValue(s.testIdentifier)},
        {QStringLiteral("candidate"), textValue(s.candidate)},
        {QStringLiteral("className"), textValue(s.className)},
        {QStringLiteral("seed"), static_cast<qint64>(s.seed)},
        {QStringLiteral("current"), static_cast<qint64>(s.current)},
        {QStringLiteral("timeLimitMs"), static_cast<qint64>(s.timeLimitMs)},
        {QStringLiteral("extraTimeMs"), static_cast<qint64>(s.extraTimeMs)},
        {QStringLiteral("elapsedMs"), static_cast<qint64>(s.elapsedMs)},
        {QStringLiteral("handedIn"), s.handedIn},
        {QStringLiteral("handedInAtMs"), static_cast<qint64>(s.handedInAtMs)},
        {QStringLiteral("revision"), revision},
        {QStringLiteral("items"), items},
    };
    const std::string body = QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
    return header(kSessionFormatVersion, body.size(), sha256Hex(body)) + "\n" + body;
}

void checkSessionIntegrity(std::string_view bytes, const std::string& path) {
    const Reader r(path);
    if (bytes.empty()) r.fail("the file is empty");
    if (bytes.substr(0, kMagic.size()) != kMagic.substr(0, bytes.size())) r.fail("not a talvik-exam session file");
    const std::size_t nl = bytes.find('\n');
    if (nl == std::string_view::npos)
        r.fail("truncated: the file ends inside its first line, at byte " + std::to_string(bytes.size()));
    const std::string_view line = bytes.substr(0, nl);
    const std::string_view body = bytes.substr(nl + 1);
    // magic version length sha256: every part in its one spelling, so that any changed bit shows.
    std::string_view parts[4];
    std::size_t count = 0;
    for (std::string_view rest = line; count < 4;) {
        const std::size_t space = rest.find(' ');
        parts[count++] = rest.substr(0, space);
        if (space == std::string_view::npos) break;
        rest.remove_prefix(space + 1);
    }
    const auto version = count >= 2 ? decimal(parts[1]) : std::nullopt;
    if (version && *version != static_cast<std::uint64_t>(kSessionFormatVersion) && parts[0] == kMagic)
        r.fail("format version " + std::to_string(*version) + " is not supported (this program reads version " +
               std::to_string(kSessionFormatVersion) + ")");
    const auto length = count >= 3 ? decimal(parts[2]) : std::nullopt;
    const std::string hash = count >= 4 ? std::string(parts[3]) : std::string();
    if (!version || !length || header(*version, *length, hash) != line || hash.size() != 64 ||
        hash.find_first_not_of("0123456789abcdef") != std::string::npos)
        r.fail("damaged: the first line is not valid");
    if (body.size() < *length)
        r.fail("truncated: the content ends after " + std::to_string(body.size()) + " of its " +
               std::to_string(*length) + " bytes (file offset " + std::to_string(bytes.size()) + ")");
    if (body.size() > *length)
        r.fail("damaged: the content is longer than the first line says (" + std::to_string(body.size()) + " of " +
               std::to_string(*length) + " bytes)");
    if (sha256Hex(body) != hash) r.fail("damaged: the checksum does not match the content");
}

SessionState parseSession(std::string_view bytes, const std::string& path) {
    checkSessionIntegrity(bytes, path);
    const Reader r(path);
    const std::size_t start = bytes.find('\n') + 1;
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray(bytes.data() + start, static_cast<qsizetype>(bytes.size() - start)), &error);
    if (error.error != QJsonParseError::NoError)
        r.fail("malformed content at byte " + std::to_string(start + static_cast<std::size_t>(error.offset)) + ": " +
               error.errorString().toStdString());
    if (!doc.isObject()) r.fail("the content is not an object");
    const QJsonObject o = doc.object();
    SessionState s;
    s.testPath = r.text(o, "testPath");
    s.testIdentifier = r.text(o, "testIdentifier");
    s.candidate = r.text(o, "candidate");
    s.className = r.text(o, "className");
    s.seed = static_cast<std::uint32_t>(r.integer(o, "seed", 0, std::numeric_limits<std::uint32_t>::max()));
    s.current = static_cast<std::int32_t>(
        r.integer(o, "current", std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    s.timeLimitMs = r.integer(o, "timeLimitMs", kI64Min, kI64Max);
    s.extraTimeMs = r.integer(o, "extraTimeMs", kI64Min, kI64Max);
    s.elapsedMs = r.integer(o, "elapsedMs", kI64Min, kI64Max);
    s.handedIn = r.boolean(o, "handedIn");
    s.handedInAtMs = r.integer(o, "handedInAtMs", kI64Min, kI64Max);
    s.revision = r.revision(o);
    const QJsonArray items = r.array(o, "items");
    for (qsizetype k = 0; k < items.size(); ++k) {
        const std::string where = "item " + std::to_string(k + 1) + ": ";
        if (!items[k].isObject()) r.fail(where + "not an object");
        const QJsonObject io = items[k].toObject();
        ItemState item;
        item.identifier = r.text(io, "identifier", where);
        for (const QJsonValue v : r.array(io, "order", where))
            item.order.push_back(static_cast<std::uint32_t>(
                r.integer(v, where + "\"order\" entry", 0, std::numeric_limits<std::uint32_t>::max())));
        const QJsonArray response = r.array(io, "response", where);
        for (qsizetype i = 0; i < response.size(); ++i) {
            const QJsonObject holder{{QStringLiteral("response"), response[i]}};
            item.response.push_back(r.text(holder, "response", where));
        }
        item.flagged = r.boolean(io, "flagged", where);
        s.items.push_back(std::move(item));
    }
    return s;
}

}  // namespace talvik::exam
