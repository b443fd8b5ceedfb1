// The results report read back with an XML reader, as a results system would take it.
#pragma once

#include <QXmlStreamReader>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace talvik::exam::testing {

struct ItemRead {
    std::map<std::string, std::string> attributes;  // itemResult's
    std::string cardinality;
    std::vector<std::string> correct, candidate;
    bool hasCandidate = false;
    std::optional<std::string> score;
};

struct ReportRead {
    std::string rootNamespace;
    std::optional<std::string> sourcedId;
    std::map<std::string, std::string> test;  // testResult's attributes
    std::optional<std::string> testScore;
    std::vector<std::pair<std::string, ItemRead>> items;
    std::string error;
};

inline ReportRead readReport(const std::string& xml) {
    const auto attributesOf = [](const QXmlStreamReader& r) {
        std::map<std::string, std::string> out;
        for (const QXmlStreamAttribute& a : r.attributes())
            out[a.name().toString().toStdString()] = a.value().toString().toStdString();
        return out;
    };
    ReportRead out;
    QXmlStreamReader r(QByteArray::fromStdString(xml));
    ItemRead* item = nullptr;
    std::vector<std::string>* values = nullptr;
    std::optional<std::string>* score = nullptr;
    while (!r.atEnd()) {
        r.readNext();
        const std::string n = r.name().toString().toStdString();
        if (r.isStartElement()) {
            if (n == "assessmentResult") out.rootNamespace = r.namespaceUri().toString().toStdString();
            if (n == "context" && r.attributes().hasAttribute("sourcedId"))
                out.sourcedId = r.attributes().value("sourcedId").toString().toStdString();
            if (n == "testResult") out.test = attributesOf(r);
            if (n == "itemResult") item = &out.items.emplace_back(attributesOf(r).at("identifier"), ItemRead{attributesOf(r)}).second;
            if (n == "responseVariable" && item) item->cardinality = attributesOf(r)["cardinality"];
            if (n == "correctResponse" && item) values = &item->correct;
            if (n == "candidateResponse" && item) {
                values = &item->candidate;
                item->hasCandidate = true;
            }
            if (n == "outcomeVariable" && attributesOf(r)["identifier"] == "SCORE")
                score = item ? &item->score : &out.testScore;
            if (n == "value") {
                const std::string v = r.readElementText().toStdString();
                if (score) *score = v;
                else if (values) values->push_back(v);
            }
        } else if (r.isEndElement()) {
            if (n == "correctResponse" || n == "candidateResponse") values = nullptr;
            if (n == "outcomeVariable") score = nullptr;
        }
    }
    if (r.hasError()) out.error = r.errorString().toStdString();
    return out;
}

}  // namespace talvik::exam::testing
