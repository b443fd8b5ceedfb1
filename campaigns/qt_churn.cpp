// Every control of the library, the private button included, created and destroyed over
// and over in the Qt host (offscreen), with input, property changes, paints and timer
// ticks in between. Before and after, it counts what could be left behind: widgets, the
// controls' timers, live control instances, open file descriptors; and the resident size.
//
//     talvik_qt_churn [CREATIONS]      (100,000 in all by default)
//
// Prints one line (CAMPAIGN|what|rounds|seconds|...): what, rounds, seconds, resident size at start (after a warm-up) and at
// the end in kB, findings. Exits 1 on a finding. Under the leak sanitizer a leak fails
// the run at exit.
#include <dirent.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <QtTest/QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "Rss.h"
#include "frame/com/LiveObjects.h"
#include "frame/typelib/Catalogue.h"
#include "hosts/qt/QtControlWidget.h"

namespace {

// The open file descriptors and what each is.
std::vector<std::string> openDescriptors() {
    std::vector<std::string> out;
    if (DIR* d = ::opendir("/proc/self/fd")) {
        while (const dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.' || std::atoi(e->d_name) == ::dirfd(d)) continue;
            char target[512] = {};
            const std::string link = std::string("/proc/self/fd/") + e->d_name;
            const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
            out.push_back(std::string(e->d_name) + " " + (n > 0 ? std::string(target, std::size_t(n)) : "?"));
        }
        ::closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

talvik::Variant randomValue(const talvik::TypeRef& type, std::mt19937& random) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    switch (type.coerced()) {
        case talvik::VarType::Bool: return pick(2) == 0;
        case talvik::VarType::String: {
            static const char* const texts[] = {"", "A", "Question 7", "1234", "x\ny", "\xC3\xA9t\xC3\xA9"};
            return std::string(texts[pick(std::size(texts))]);
        }
        case talvik::VarType::Float:
        case talvik::VarType::Double: return double(pick(6000) - 500);
        default: return std::int32_t(pick(120) - 10);
    }
}

// Fires every running timer of the control once, as its interval elapsing would.
int fireTimers(QWidget& w) {
    int fired = 0;
    for (QTimer* t : w.findChildren<QTimer*>()) {
        if (!t->isActive()) continue;
        QTimerEvent ev(t->timerId());
        QCoreApplication::sendEvent(t, &ev);
        ++fired;
    }
    return fired;
}

}  // namespace

int main(int argc, char** argv) {
    // A link the churn clicks asks the platform to open its address, which the offscreen
    // platform declines with a warning each time: those are expected, anything else shows.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.contains(QLatin1String("openUrl")) && !message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    const long long total = argc > 1 ? std::atoll(argv[1]) : 100'000;

    std::vector<const talvik::ControlClass*> classes;
    for (const talvik::ControlClass* c : talvik::catalogue())
        if (c->implemented()) classes.push_back(c);

    QWidget root;
    root.resize(800, 600);
    root.show();
    QCoreApplication::processEvents();

    std::mt19937 random(42);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    // Counted after the warm-up too: Qt makes some things once, on first use (the font
    // database, a tool tip), and keeps them.
    int widgetsBefore = int(QApplication::allWidgets().size());
    std::vector<std::string> fdsBefore = openDescriptors();
    const talvik::LiveCounts liveBefore = talvik::liveCounts();
    long long findings = 0, errors = 0, ticks = 0;
    int mostTimers = 0;
    long rssStart = talvik::campaigns::residentKb();
    const long long warmup = std::min<long long>(std::max<long long>(total / 20, 300), total / 2);
    const auto t0 = std::chrono::steady_clock::now();

    for (long long round = 0; round < total; ++round) {
        if (round == warmup) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            rssStart = talvik::campaigns::residentKb();
            widgetsBefore = int(QApplication::allWidgets().size());
            fdsBefore = openDescriptors();
        }
        const talvik::ControlClass& cls = *classes[std::size_t(round % classes.size())];
        {
            std::unique_ptr<talvik::QtControlWidget> w;
            try {
                w = cls.isPublic() ? std::make_unique<talvik::QtControlWidget>(cls.name, nullptr, &root)
                                   : std::make_unique<talvik::QtControlWidget>(
                                         talvik::QtControlWidget::LibraryInternal{cls.name}, nullptr, &root);
            } catch (const std::exception& e) {
                ++findings;
                std::fprintf(stderr, "%.*s: not created: %s\n", int(cls.name.size()), cls.name.data(), e.what());
                continue;
            }
            w->runMessageBox = [](QMessageBox&) { return 1; };
            w->timeOfDay = [] { return talvik::TimeOfDay{10, 30, 0}; };
            QObject::connect(w.get(), &talvik::QtControlWidget::controlError, [&](int, const QString&) { ++errors; });
            w->move(pick(200), pick(200));
            w->show();
            const int steps = 1 + pick(6);
            for (int s = 0; s < steps; ++s) {
                const QPoint at(pick(std::max(w->width(), 1)), pick(std::max(w->height(), 1)));
                switch (pick(5)) {
                    case 0: QTest::mouseClick(w.get(), pick(8) == 0 ? Qt::RightButton : Qt::LeftButton, {}, at); break;
                    case 1: QTest::mouseMove(w.get(), at); break;
                    case 2: {
                        static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                                       Qt::Key_Space, Qt::Key_Return, Qt::Key_Tab, Qt::Key_A,
                                                       Qt::Key_B, Qt::Key_1, Qt::Key_Home, Qt::Key_End};
                        QTest::keyClick(w.get(), keys[pick(std::size(keys))]);
                        break;
                    }
                    case 3: {
                        std::vector<const talvik::MemberDesc*> settable;
                        for (const talvik::MemberDesc& m : cls.members)
                            if (m.hasLet() && m.bound()) settable.push_back(&m);
                        if (settable.empty()) break;
                        const talvik::MemberDesc& m = *settable[std::size_t(pick(int(settable.size())))];
                        if (!w->let(m.name, randomValue(m.type, random))) ++errors;
                        break;
                    }
                    default: {
                        const int fired = fireTimers(*w);
                        ticks += fired;
                        mostTimers = std::max(mostTimers, int(w->findChildren<QTimer*>().size()));
                    }
                }
            }
            if (round % 64 == 0) {
                w->resize(40 + pick(500), 30 + pick(400));
                (void)w->grab();
            }
            QCoreApplication::processEvents();
        }
        // Everything a control made goes with it (deleteLater included, after the next loop).
        if (round % 256 == 255) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (!root.findChildren<QObject*>().isEmpty()) {
                ++findings;
                std::fprintf(stderr, "round %lld: %lld objects left under the form\n", round,
                             (long long)root.findChildren<QObject*>().size());
            }
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const long rssEnd = talvik::campaigns::residentKb();

    const int widgetsAfter = int(QApplication::allWidgets().size());
    const std::vector<std::string> fdsAfter = openDescriptors();
    const talvik::LiveCounts liveAfter = talvik::liveCounts();
    const int timersAfter = int(root.findChildren<QTimer*>().size());
    if (widgetsAfter != widgetsBefore || fdsAfter != fdsBefore || liveAfter.instances != liveBefore.instances ||
        timersAfter != 0) {
        ++findings;
        for (QWidget* w : QApplication::allWidgets())
            if (w != &root) std::fprintf(stderr, "widget alive: %s\n", w->metaObject()->className());
        for (const std::string& fd : fdsAfter)
            if (std::find(fdsBefore.begin(), fdsBefore.end(), fd) == fdsBefore.end())
                std::fprintf(stderr, "descriptor opened since: %s\n", fd.c_str());
        std::fprintf(stderr, "left behind: widgets %d -> %d, descriptors %d -> %d, control instances %d -> %d, timers %d\n",
                     widgetsBefore, widgetsAfter, int(fdsBefore.size()), int(fdsAfter.size()), liveBefore.instances, liveAfter.instances,
                     timersAfter);
    }
    if (rssEnd - rssStart > talvik::campaigns::kGrowthMarginKb) {
        ++findings;
        std::fprintf(stderr, "resident size grew by %ld kB\n", rssEnd - rssStart);
    }
    std::printf("CAMPAIGN|%s|%lld|%.1f|%ld|%ld|%lld|%zu classes, %lld timer ticks, at most %d timers a control, "
                "%lld errors the controls raised\n",
                "Qt create/destroy all", total, seconds, rssStart, rssEnd, findings, classes.size(), ticks, mostTimers,
                errors);
    return findings == 0 ? 0 : 1;
}
