#include "session/ReportCommand.h"

#include <QDateTime>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "qti/QtiReader.h"
#include "session/AtomicFile.h"
#include "session/ExamSession.h"
#include "session/ResultsReport.h"
#include "session/SessionFile.h"
#include "session/SessionStore.h"

namespace talvik::exam {

int reportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2 || args.size() > 3) {
        err << "usage: talvik-exam --report SESSION OUT [EXAM]\n"
               "  SESSION  a session file or the folder it is in\n"
               "  OUT      the results report to write (QTI XML); the summary goes beside it as .txt\n"
               "  EXAM     the test, where it is not where the session says\n";
        return kReportUsage;
    }
    const std::string& sessionPath = args[0];
    const std::string& outPath = args[1];

    std::optional<SessionState> state;
    std::error_code ec;
    if (std::filesystem::is_directory(sessionPath, ec)) {
        LoadedSession loaded = SessionStore(sessionPath).read();
        for (const std::string& detail : loaded.details) err << "talvik-exam: " << detail << "\n";
        if (!loaded.state) {
            err << "talvik-exam: no readable session in " << sessionPath << "\n";
            return kReportBadSession;
        }
        if (!loaded.details.empty()) err << "talvik-exam: using " << loaded.path << "\n";
        state = std::move(loaded.state);
    } else {
        try {
            state = parseSession(readWholeFile(sessionPath), sessionPath);
        } catch (const FileReadError& e) {
            err << "talvik-exam: " << e.what() << "\n";
            return kReportBadSession;
        } catch (const SessionFileError& e) {
            err << "talvik-exam: " << e.what() << "\n";
            return kReportBadSession;
        }
    }

    const std::string testPath = args.size() == 3 ? args[2] : state->testPath;
    if (testPath.empty()) {
        err << "talvik-exam: the session does not name its test; give it after OUT\n";
        return kReportBadTest;
    }
    qti::Test test;
    try {
        test = qti::loadTest(testPath);
    } catch (const qti::QtiError& e) {
        err << "talvik-exam: " << e.what() << "\n";
        return kReportBadTest;
    }
    if (!state->testIdentifier.empty() && test.identifier != state->testIdentifier)
        err << "talvik-exam: warning: " << testPath << " is the test \"" << test.identifier
            << "\", the session was of \"" << state->testIdentifier << "\"\n";

    const std::vector<ItemState> savedItems = state->items;
    const ExamSession session(std::move(test), std::move(*state));
    // An answer to an item the test no longer delivers cannot be reported: say so.
    for (const ItemState& saved : savedItems) {
        bool found = false;
        for (std::int32_t k = 0; k < session.itemCount() && !found; ++k)
            found = session.item(k).identifier == saved.identifier;
        if (!found)
            err << "talvik-exam: warning: the session's item \"" << saved.identifier
                << "\" is not delivered by the test" << (saved.response.empty() ? "" : "; its answer is left out")
                << "\n";
    }

    try {
        writeReport(session, outPath, QDateTime::currentMSecsSinceEpoch());
    } catch (const FileWriteError& e) {
        err << "talvik-exam: " << e.what() << "\n";
        return kReportNotWritten;
    }
    out << "Wrote " << outPath << " and " << summaryPath(outPath) << "\n";
    return kReportWritten;
}

}  // namespace talvik::exam
