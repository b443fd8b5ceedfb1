// The exam application: a candidate sits a test of IMS QTI choice items on a screen
// made of the library's controls.
#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "ExamApp.h"
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

int fail(const QString& message) {
    std::fprintf(stderr, "talvik-exam: %s\n", qPrintable(message));
    return 2;
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

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sit a test of IMS QTI choice items."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("EXAM"),
                                 QStringLiteral("An item file, a folder of items or an assessment test."),
                                 QStringLiteral("[EXAM]"));
    const QCommandLineOption candidate(QStringLiteral("candidate"), QStringLiteral("The candidate's name."),
                                       QStringLiteral("NAME"));
    const QCommandLineOption className(QStringLiteral("class"), QStringLiteral("The candidate's class."),
                                       QStringLiteral("NAME"));
    const QCommandLineOption minutes(QStringLiteral("minutes"),
                                     QStringLiteral("Time limit in minutes, instead of the test's own."),
                                     QStringLiteral("N"));
    const QCommandLineOption extra(QStringLiteral("extra-minutes"),
                                   QStringLiteral("Extra time granted to this candidate, in minutes."),
                                   QStringLiteral("N"));
    // Not "--session": QGuiApplication takes that one for the X session manager.
    const QCommandLineOption sessionDir(QStringLiteral("session-dir"),
                                        QStringLiteral("Folder the candidate's answers are kept in."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption instructions(QStringLiteral("instructions"),
                                          QStringLiteral("Address of the instructions page."), QStringLiteral("URL"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window off-screen to a PNG file and exit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Window size, e.g. 1280x720."),
                                  QStringLiteral("WxH"));
    parser.addOptions({candidate, className, minutes, extra, sessionDir, instructions, screenshot, size});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) return fail(QStringLiteral("one EXAM at most"));
    const QString exam = positional.isEmpty() ? QStringLiteral(TALVIK_EXAM_SAMPLE) : positional.front();

    const auto minutesOf = [&](const QCommandLineOption& o, qint64& into) {
        if (!parser.isSet(o)) return true;
        bool ok = false;
        const double m = parser.value(o).toDouble(&ok);
        if (!ok || m < 0 || m > 24 * 60) return false;
        into = qint64(m * 60'000.0);
        return true;
    };
    qint64 limitMs = -1, extraMs = 0;
    if (!minutesOf(minutes, limitMs)) return fail(QStringLiteral("--minutes takes a number of minutes from 0 to 1440"));
    if (!minutesOf(extra, extraMs))
        return fail(QStringLiteral("--extra-minutes takes a number of minutes from 0 to 1440"));
    QSize windowSize(1280, 720);
    if (parser.isSet(size)) {
        const auto m = QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(parser.value(size));
        if (!m.hasMatch()) return fail(QStringLiteral("--size takes WIDTHxHEIGHT, e.g. 1280x720"));
        windowSize = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    }

    talvik::exam::ExamOptions options;
    options.exam = exam.toStdString();
    if (parser.isSet(candidate)) options.candidate = parser.value(candidate).toStdString();
    if (parser.isSet(className)) options.className = parser.value(className).toStdString();
    if (limitMs >= 0) options.limitMs = limitMs;
    if (parser.isSet(extra)) options.extraMs = extraMs;
    options.sessionDirectory = parser.value(sessionDir).toStdString();
    // A picture of the screen is no sitting: it must not start or touch a candidate's session.
    QTemporaryDir scratch;
    if (parser.isSet(screenshot) && !parser.isSet(sessionDir)) options.sessionDirectory = scratch.path().toStdString();
    if (parser.isSet(instructions)) options.instructions = QUrl::fromUserInput(parser.value(instructions));

    try {
        talvik::exam::ExamApp exam(options);
        talvik::exam::ExamWindow& window = exam.window();
        window.resize(windowSize);

        if (parser.isSet(screenshot)) {
            const QImage image = talvik::renderOffscreen(window);
            if (!image.save(parser.value(screenshot), "PNG"))
                return fail(QStringLiteral("could not write %1").arg(parser.value(screenshot)));
            std::printf("wrote %s\n", qPrintable(parser.value(screenshot)));
            return 0;
        }
        window.show();
        return QApplication::exec();
    } catch (const talvik::exam::ExamStartError& e) {
        std::fprintf(stderr, "talvik-exam: %s\n", e.what());
        return 1;
    } catch (const talvik::qti::QtiError& e) {
        std::fprintf(stderr, "talvik-exam: %s\n", e.what());
        return 1;
    } catch (const talvik::HostError& e) {
        std::fprintf(stderr, "talvik-exam: error %d: %s\n", e.number, e.description.c_str());
        return 1;
    }
}
