// A candidate for the kill-and-resume loop: runs the exam program on the sample test in
// the session folder DIR (resuming what is saved there) and makes random changes through
// the screen from SEED, one every TICK milliseconds (2 by default): clicks on the sheet
// and the strip, letter keys, flags, next and previous. It writes the lines the loop reads
// (kill_support.h) and runs until it is killed.
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "ExamApp.h"
#include "ExamWindow.h"
#include "session/Autosaver.h"
#include "session/ExamSession.h"
#include "random_candidate.h"
#include "session_test_support.h"

using namespace talvik::exam;
using testing::say;

int main(int argc, char** argv) {
    // The offscreen platform's warnings, once per start, would drown the test's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    if (argc < 3) {
        std::fprintf(stderr, "usage: talvik_exam_driver DIR SEED [TICK]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    std::mt19937 rng(static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    const int tick = argc > 3 ? std::atoi(argv[3]) : 2;

    ExamOptions options;
    options.exam = TALVIK_EXAM_SAMPLE;
    options.candidate = "driver";
    options.sessionDirectory = argv[1];
    // The time stands still: the test never runs out while the driver works.
    ExamApp::Clocks clocks{[] { return std::int64_t{0}; }, {}};
    try {
        ExamApp app(options, std::move(clocks));
        QObject::connect(&app, &ExamApp::sessionChanged, &app,
                         [&app] { testing::sayState("change", app.session().state(), testing::answerDigest); });
        QObject::connect(
            &app.saver(), &Autosaver::saved, &app.saver(),
            [](quint64 revision, qint64) { say("saved " + std::to_string(revision)); }, Qt::DirectConnection);
        app.window().resize(1280, 720);
        app.window().show();
        QApplication::setActiveWindow(&app.window());
        testing::sayState("start", app.session().state(), testing::answerDigest);

        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, &app, [&] { testing::actAtRandom(app, rng); });
        timer.start(tick);
        return QApplication::exec();
    } catch (const std::exception& e) {
        say(std::string("error ") + e.what());
        return 1;
    }
}
