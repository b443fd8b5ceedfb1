// `talvik-exam --report SESSION OUT [EXAM]`: the results report written again from a saved
// session, with the test it names (or EXAM, for a test that has moved).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace talvik::exam {

// Exit codes of the command.
enum ReportExit : int {
    kReportWritten = 0,
    kReportUsage = 2,
    kReportBadSession = 3,  // no session there, or it cannot be read
    kReportBadTest = 4,     // the test cannot be loaded
    kReportNotWritten = 5,  // the report files cannot be written
};

// args: what follows `--report` on the command line.
int reportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace talvik::exam
