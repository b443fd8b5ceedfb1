// The exam screen, the library's first application: a candidate marks the answer sheet
// with the mouse or the keyboard and hands it in.
#include <QApplication>
#include <cstdio>

#include "ExamWindow.h"
#include "frame/host/HostError.h"
#include "hosts/qt/AppWindow.h"

int main(int argc, char** argv) {
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
