#include "hosts/qt/AppWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QPixmap>
#include <cstdio>

namespace talvik {

QImage renderOffscreen(QWidget& window) {
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    // Layouts settle and hosted controls get their first Resize over a few rounds.
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    return window.grab().toImage();
}

int runMainWindow(QWidget& window, QWidget* whole) {
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window off-screen to a PNG file and exit."),
                                        QStringLiteral("FILE"));
    parser.addOption(screenshot);
    parser.process(*QCoreApplication::instance());

    if (!parser.isSet(screenshot)) {
        window.show();
        return QApplication::exec();
    }
    const QString file = parser.value(screenshot);
    QImage image = renderOffscreen(window);
    if (whole != nullptr) {
        whole->resize(whole->sizeHint().expandedTo(whole->size()));
        image = whole->grab().toImage();
    }
    if (!image.save(file, "PNG")) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("wrote %s\n", qPrintable(file));
    return 0;
}

}  // namespace talvik
