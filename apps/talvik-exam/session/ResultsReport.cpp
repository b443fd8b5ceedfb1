#include "session/ResultsReport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QXmlStreamWriter>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <functional>

#include "session/AtomicFile.h"

namespace talvik::exam {
namespace {

const QString kResultNamespace = QStringLiteral("http://www.imsglobal.org/xsd/imsqti_result_v2p2");

bool hasMapping(const qti::Item& item) { return !item.mapping.empty() || item.mappingDefault.has_value(); }

double mappedValue(const qti::Item& item, const std::string& key) {
    // The first entry of a key counts, as a mapping's keys are meant to be unique.
    for (const qti::MapEntry& e : item.mapping)
        if (e.key == key) return e.value;
    return item.mappingDefault.value_or(0.0);
}

double bounded(const qti::Item& item, double v) {
    if (item.mappingLowerBound) v = std::max(v, *item.mappingLowerBound);
    if (item.mappingUpperBound) v = std::min(v, *item.mappingUpperBound);
    return v;
}

std::string number(double v) {
    if (v == 0.0) v = 0.0;  // no "-0"
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

QString q(const std::string& s) { return QString::fromStdString(s); }

std::string isoDate(std::int64_t epochMs) {
    return QDateTime::fromMSecsSinceEpoch(epochMs, Qt::UTC).toString(Qt::ISODate).toStdString();
}

std::string readableDate(std::int64_t epochMs) {
    return QDateTime::fromMSecsSinceEpoch(epochMs, Qt::UTC)
               .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
               .toStdString() +
           " UTC";
}

std::string duration(std::int64_t ms) {
    const std::int64_t s = std::max<std::int64_t>(0, ms) / 1000;
    char buf[32];
    if (s >= 3600)
        std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                      static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    else
        std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
    return buf;
}

// A, B, ... Z, AA, AB, ...: the letter the candidate saw beside the choice.
std::string letter(std::size_t position) {
    std::string out;
    for (std::size_t n = position + 1; n > 0; n = (n - 1) / 26)
        out.insert(out.begin(), static_cast<char>('A' + (n - 1) % 26));
    return out;
}

std::string join(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) out += (out.empty() ? "" : ", ") + p;
    return out;
}

std::int64_t reportTime(const ExamSession& session, std::int64_t nowEpochMs) {
    return session.state().handedIn ? session.state().handedInAtMs : nowEpochMs;
}

double totalScore(const ExamSession& session) {
    double total = 0.0;
    for (std::int32_t k = 0; k < session.itemCount(); ++k)
        total += itemScore(session.item(k), session.itemState(k).response).value_or(0.0);
    return total;
}

void writeValues(QXmlStreamWriter& w, const QString& element, const std::vector<std::string>& values) {
    w.writeStartElement(element);
    for (const std::string& v : values) w.writeTextElement(QStringLiteral("value"), q(v));
    w.writeEndElement();
}

void writeScore(QXmlStreamWriter& w, double score) {
    w.writeStartElement(QStringLiteral("outcomeVariable"));
    w.writeAttribute(QStringLiteral("identifier"), QStringLiteral("SCORE"));
    w.writeAttribute(QStringLiteral("cardinality"), QStringLiteral("single"));
    w.writeAttribute(QStringLiteral("baseType"), QStringLiteral("float"));
    w.writeTextElement(QStringLiteral("value"), q(number(score)));
    w.writeEndElement();
}

}  // namespace

std::optional<double> itemScore(const qti::Item& item, const std::vector<std::string>& response) {
    if (hasMapping(item)) {
        if (response.empty()) return 0.0;  // the template's rule for a NULL response
        double sum = 0.0;
        std::vector<std::string> counted;
        for (const std::string& id : response) {
            if (std::find(counted.begin(), counted.end(), id) != counted.end()) continue;
            counted.push_back(id);
            sum += mappedValue(item, id);
        }
        return bounded(item, sum);
    }
    if (!item.correctResponse.empty()) {
        std::vector<std::string> a = response;
        std::vector<std::string> b = item.correctResponse;
        std::sort(a.begin(), a.end());
        a.erase(std::unique(a.begin(), a.end()), a.end());
        std::sort(b.begin(), b.end());
        b.erase(std::unique(b.begin(), b.end()), b.end());
        return a == b ? 1.0 : 0.0;
    }
    return std::nullopt;
}

std::optional<double> itemMaxScore(const qti::Item& item) {
    if (hasMapping(item)) {
        std::vector<double> values;
        for (const qti::Choice& c : item.choices) values.push_back(mappedValue(item, c.identifier));
        if (values.empty()) return 0.0;
        std::sort(values.begin(), values.end(), std::greater<>());
        const std::size_t limit = item.maxChoices > 0 ? static_cast<std::size_t>(item.maxChoices) : values.size();
        // The best answer takes every positive value it may, or else the single best one.
        double best = values.front();
        if (best > 0.0) {
            best = 0.0;
            for (std::size_t i = 0; i < std::min(limit, values.size()) && values[i] > 0.0; ++i) best += values[i];
        }
        return std::max(0.0, bounded(item, best));  // not answering gives 0
    }
    if (!item.correctResponse.empty()) return 1.0;
    return std::nullopt;
}

std::string resultsXml(const ExamSession& session, std::int64_t nowEpochMs) {
    const SessionState& state = session.state();
    const QString date = q(isoDate(reportTime(session, nowEpochMs)));
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeDefaultNamespace(kResultNamespace);
    w.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("xsi"));
    w.writeStartElement(kResultNamespace, QStringLiteral("assessmentResult"));
    w.writeAttribute(
        QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("schemaLocation"),
        kResultNamespace + QStringLiteral(" http://www.imsglobal.org/xsd/qti/qtiv2p2/imsqti_result_v2p2.xsd"));

    w.writeStartElement(QStringLiteral("context"));
    if (!state.candidate.empty()) w.writeAttribute(QStringLiteral("sourcedId"), q(state.candidate));
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("testResult"));
    w.writeAttribute(QStringLiteral("identifier"),
                     q(state.testIdentifier.empty() ? session.test().identifier : state.testIdentifier));
    w.writeAttribute(QStringLiteral("datestamp"), date);
    writeScore(w, totalScore(session));
    w.writeEndElement();

    for (std::int32_t k = 0; k < session.itemCount(); ++k) {
        const qti::Item& item = session.item(k);
        const ItemState& s = session.itemState(k);
        w.writeStartElement(QStringLiteral("itemResult"));
        w.writeAttribute(QStringLiteral("identifier"), q(item.identifier));
        w.writeAttribute(QStringLiteral("sequenceIndex"), QString::number(k + 1));
        w.writeAttribute(QStringLiteral("datestamp"), date);
        w.writeAttribute(QStringLiteral("sessionStatus"), QStringLiteral("final"));

        w.writeStartElement(QStringLiteral("responseVariable"));
        w.writeAttribute(QStringLiteral("identifier"), QStringLiteral("RESPONSE"));
        w.writeAttribute(QStringLiteral("cardinality"),
                         item.maxChoices == 1 ? QStringLiteral("single") : QStringLiteral("multiple"));
        w.writeAttribute(QStringLiteral("baseType"), QStringLiteral("identifier"));
        if (!item.correctResponse.empty()) writeValues(w, QStringLiteral("correctResponse"), item.correctResponse);
        writeValues(w, QStringLiteral("candidateResponse"), s.response);
        w.writeEndElement();

        if (const auto score = itemScore(item, s.response)) writeScore(w, *score);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out.toStdString();
}

std::string resultsSummary(const ExamSession& session, std::int64_t nowEpochMs) {
    const SessionState& state = session.state();
    const qti::Test& test = session.test();
    std::string out = "Results: " + (test.title.empty() ? test.identifier : test.title);
    if (!test.title.empty() && !test.identifier.empty()) out += " (" + test.identifier + ")";
    out += "\nCandidate: " + (state.candidate.empty() ? std::string("(not given)") : state.candidate);
    if (!state.className.empty()) out += ", class " + state.className;
    out += "\n";
    out += state.handedIn ? "Handed in: " + readableDate(state.handedInAtMs) + "\n"
                          : "Not handed in; report made " + readableDate(nowEpochMs) + "\n";
    out += "Time used: " + duration(state.elapsedMs);
    if (state.timeLimitMs > 0) out += " of " + duration(state.timeLimitMs);
    if (state.extraTimeMs > 0) out += " and " + duration(state.extraTimeMs) + " extra";
    out += "\n\n";

    double total = 0.0;
    double maximum = 0.0;
    for (std::int32_t k = 0; k < session.itemCount(); ++k) {
        const qti::Item& item = session.item(k);
        const ItemState& s = session.itemState(k);
        out += std::to_string(k + 1) + ". " + (item.title.empty() ? item.identifier : item.title);
        if (s.flagged) out += " [flagged]";
        out += "\n   ";
        if (s.response.empty()) {
            out += "Not answered.";
        } else {
            std::vector<std::string> letters;
            for (std::size_t p = 0; p < s.order.size(); ++p)
                if (std::find(s.response.begin(), s.response.end(), item.choices[s.order[p]].identifier) !=
                    s.response.end())
                    letters.push_back(letter(p));
            out += "Answer " + join(letters) + " (" + join(s.response) + ").";
        }
        const auto score = itemScore(item, s.response);
        if (score) {
            const double max = itemMaxScore(item).value_or(0.0);
            out += " Score " + number(*score) + " of " + number(max) + ".";
            total += *score;
            maximum += max;
        } else {
            out += " Not scored.";
        }
        out += "\n";
    }
    out += "\nAnswered " + std::to_string(session.answeredCount()) + " of " + std::to_string(session.itemCount()) +
           ", flagged " + std::to_string(session.flaggedCount()) + ".\n";
    out += "Total score: " + number(total) + " of " + number(maximum) + ".\n";
    return out;
}

std::string summaryPath(const std::string& outPath) {
    std::filesystem::path p(outPath);
    p.replace_extension(".txt");
    return p.string() == outPath ? outPath + ".txt" : p.string();
}

std::string writeReport(const ExamSession& session, const std::string& outPath, std::int64_t nowEpochMs) {
    std::string xml = resultsXml(session, nowEpochMs);
    writeFileAtomically(outPath, xml);
    writeFileAtomically(summaryPath(outPath), resultsSummary(session, nowEpochMs));
    return xml;
}

std::string writeReport(const qti::Test& test, const SessionState& state, const std::string& outPath,
                        std::int64_t nowEpochMs) {
    return writeReport(ExamSession(test, state), outPath, nowEpochMs);
}

}  // namespace talvik::exam
