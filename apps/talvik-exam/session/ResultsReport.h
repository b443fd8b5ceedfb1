// What a handed-in session produces: an IMS QTI 2.2 results report (assessmentResult)
// for the results system and a plain-text summary a person can read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "qti/QtiItem.h"
#include "session/ExamSession.h"

namespace talvik::exam {

// The item's score as QTI's standard response processing gives it: map_response when the
// item declares a mapping (sum of the mapped values of the chosen identifiers, others at
// the mapping's default, then the bounds; 0 when unanswered), otherwise match_correct
// when it declares a correct response (1 when the response is the correct set, else 0).
// No value when it declares neither.
std::optional<double> itemScore(const qti::Item& item, const std::vector<std::string>& response);
// The most the item can give under the same rule.
std::optional<double> itemMaxScore(const qti::Item& item);

// `nowEpochMs` dates a report of a session not handed in; a handed-in one carries its time.
std::string resultsXml(const ExamSession& session, std::int64_t nowEpochMs);
std::string resultsSummary(const ExamSession& session, std::int64_t nowEpochMs);

// Where the summary of the report `outPath` goes: its name with `.txt` in place of the
// extension (`results.xml` -> `results.txt`), or `.txt` added where that would be itself.
std::string summaryPath(const std::string& outPath);

// Writes both, each atomically; returns the report's bytes (a receipt can be made from
// them). Throws FileWriteError.
std::string writeReport(const ExamSession& session, const std::string& outPath, std::int64_t nowEpochMs);
std::string writeReport(const qti::Test& test, const SessionState& state, const std::string& outPath,
                        std::int64_t nowEpochMs);

}  // namespace talvik::exam
