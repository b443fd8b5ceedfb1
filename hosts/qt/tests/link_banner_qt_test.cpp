// The hyperlink and the banner in real widgets: a press on the link goes through the
// container's GoToURL answer to QDesktopServices with the hourglass up, and the banner's
// three pieces meet without a seam at fractional pixel ratios.
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SheetFixture.h"

namespace talvik {
namespace {

// Stands in for the desktop's browser: records what it is asked to open and whether the
// hourglass was up meanwhile.
class Browser : public QObject {
    Q_OBJECT

public:
    Browser() {
        for (const char* scheme : {"http", "https"}) QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~Browser() override {
        for (const char* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    }
    std::vector<std::string> opened;
    bool hourglass = false;

public slots:
    void open(const QUrl& url) {
        opened.push_back(url.toString().toStdString());
        const QCursor* c = QGuiApplication::overrideCursor();
        hourglass = c != nullptr && c->shape() == Qt::WaitCursor;
    }
};

TEST(QtURLLink, PressGoesThroughTheContainersAnswer) {
    const struct {
        const char* what;
        Qt::MouseButton button;
        bool cancel;
        const char* replace;  // nullptr: the address stays
        std::vector<std::string> opened;
        int events;
    } cases[] = {
        {"left press opens the address", Qt::LeftButton, false, nullptr, {"http://a.example/"}, 1},
        {"the container's address is opened", Qt::LeftButton, false, "http://b.example/", {"http://b.example/"}, 1},
        {"the container cancels", Qt::LeftButton, true, nullptr, {}, 1},
        {"right press opens nothing", Qt::RightButton, false, nullptr, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::Shown shown("URLLink", PropertyBag{{"Text", "Open the example"}, {"URL", "http://a.example/"}});
        Browser browser;
        int events = 0;
        QObject::connect(&shown.widget, &QtControlWidget::eventRaised,
                         [&](const EventDecl& ev, std::span<Variant> args) {
                             ++events;
                             EXPECT_EQ(ev.name, "GoToURL");
                             EXPECT_EQ(args[0].toString(), "http://a.example/");
                             if (c.replace) args[0] = Variant(c.replace);
                             if (c.cancel) args[1] = Variant(true);
                         });
        // The label lies at the corner with its text's extent.
        const Element lbl = shown.widget.host().find("lblURL");
        const QRect at = shown.widget.scale().snapped(lbl.bounds());
        ASSERT_EQ(at.topLeft(), QPoint(0, 0));
        ASSERT_GT(at.width(), 20);
        QTest::mouseClick(&shown.widget, c.button, {}, at.center());
        shown.settle();
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(browser.opened, c.opened);
        if (!c.opened.empty()) {
            EXPECT_TRUE(browser.hourglass);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(shown.widget.get("URL").value.toString(), "http://a.example/");
    }
}

// The three pieces come from one drawing whose middle is the same in every column, so
// across each seam a row keeps its colour; a gap, an overlap or a piece one pixel off
// shows a step or the background.
TEST(QtBanner, PiecesMeetWithoutSeamsAtFractionalRatios) {
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0})
        for (const int width : {491, 700, 803}) {
            SCOPED_TRACE(std::to_string(ratio) + " at " + std::to_string(width));
            testing::Shown shown("Banner");
            shown.widget.resize(QSize(width, 194));
            shown.settle();
            const QImage img = testing::renderAt(shown.widget, ratio);
            const auto device = [&](float twips) { return qRound(qreal(twips) / 15 * ratio); };
            const int leftEnd = device(75), rightStart = device(width * 15.0f - 2745), end = device(width * 15.0f);
            const int stripBottom = device(1830);
            ASSERT_EQ(end, img.width());
            // Away from the rounded corners and the banner's top and bottom borders.
            int steps = 0, rows = 0;
            for (int y = stripBottom / 8; y < stripBottom * 7 / 8; ++y, ++rows) {
                for (int x = 0; x < end; ++x) steps += img.pixel(x, y) == qRgb(255, 0, 255);
                steps += testing::difference(img.pixel(leftEnd - 1, y), img.pixel(leftEnd, y)) > 3;
                steps += testing::difference(img.pixel(leftEnd, y), img.pixel(rightStart - 1, y)) > 0;
                steps += testing::difference(img.pixel(rightStart - 1, y), img.pixel(rightStart, y)) > 3;
            }
            EXPECT_GT(rows, stripBottom / 2);
            EXPECT_EQ(steps, 0);
        }
}

}  // namespace
}  // namespace talvik

#include "link_banner_qt_test.moc"
