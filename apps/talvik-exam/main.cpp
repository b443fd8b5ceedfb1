// The exam screen, the library's first application: a candidate marks the answer sheet
// with the mouse or the keyboard and hands it in.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "ExamWindow.h"
#include "frame/host/HostError.h"
#include "hosts/qt/AppWindow.h"
#include "qti/QtiReader.h"
#include "session/ReportCommand.h"

namespace {

// `--list EXAM`: one JSON line per item, for scripts and a quick check of a package.
int listExam(const char* path) {
    try {
        const talvik::qti::Test test = talvik::qti::loadTest(path);
        for (const talvik::qti::Item* item : test.items()) std::printf("%s\n", talvik::qti::listLine(*item).c_str());
        return 0;
    } catch (const talvik::qti::QtiError& e) {
        std::fprintf(stderr, "talvik-exam: %s\n", e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--list") == 0) {
        if (argc != 3) {
            std::fprintf(stderr, "usage: talvik-exam --list EXAM\n");
            return 2;
        }
        return listExam(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--report") == 0)
        return talvik::exam::reportCommand({argv + 2, argv + argc}, std::cout, std::cerr);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvik-exam"));
    QApplication::setApplicationDisplayName(QStringLiteral("Talvik exam"));
    try {
        talvik::ExamWindow window;
        return talvik::runMainWindow(window);
    } catch (const talvik::HostError& e) {
        std::fprintf(stderr, "talvik-exam: error %d: %s\n", e.number, e.description.c_str());
        return 1;
    }
}
