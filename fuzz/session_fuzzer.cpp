// The exam's session file on arbitrary bytes: as a whole file, which the first line and
// the checksum nearly always stop, and as the content of a correctly framed file, which
// reaches the reader of the state itself. A state that reads must write and read back the
// same, and resuming a test from it must hold.
#include <QCryptographicHash>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "session/ExamSession.h"
#include "session/SessionFile.h"

using namespace talvik;
using namespace talvik::exam;

namespace {

std::string framed(std::string_view body) {
    const QByteArray hash = QCryptographicHash::hash(QByteArrayView(body.data(), static_cast<qsizetype>(body.size())),
                                                     QCryptographicHash::Sha256)
                                .toHex();
    return "TALVIK-EXAM-SESSION " + std::to_string(kSessionFormatVersion) + " " + std::to_string(body.size()) + " " +
           hash.toStdString() + "\n" + std::string(body);
}

qti::Test smallTest() {
    qti::Test test;
    test.identifier = "t";
    qti::Section section;
    for (const char* id : {"q1", "q2", "q3"}) {
        qti::Item item;
        item.identifier = id;
        item.delivered = true;
        item.shuffle = id[1] != '1';
        item.maxChoices = id[1] == '3' ? 0 : 1;
        for (const char* c : {"A", "B", "C", "D"}) item.choices.push_back({c, c, false});
        section.items.push_back(item);
    }
    test.sections.push_back(section);
    return test;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    try {
        parseSession(raw, "session.json");
    } catch (const SessionFileError&) {
    }
    try {
        const std::string written = serializeSession(parseSession(framed(raw), "session.json"));
        SessionState state = parseSession(written, "session.json");
        if (serializeSession(state) != written) std::abort();
        ExamSession session(smallTest(), std::move(state));
        if (session.state().current < 0 || session.state().current >= session.itemCount()) std::abort();
        for (std::int32_t i = 0; i < session.itemCount(); ++i)
            for (std::int32_t p = 0; p < static_cast<std::int32_t>(session.itemState(i).order.size()); ++p)
                (void)session.isChosen(i, p);
        session.toggleChoice(0, 0);
        session.setFlagged(1, true);
    } catch (const SessionFileError&) {
    }
    return 0;
}
