// The library's private push button in a real window: made through the private route,
// reached with Tab after another widget, lit while it has the focus, pressed with Enter
// or a click, every event it passes on arriving at the window's handler.
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/qt/QtControlWidget.h"

namespace talvik {
namespace {

using Lines = std::vector<std::string>;

struct Form {
    Lines events;  // outlives the window: closing the button raises Terminate
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    QtControlWidget* button;

    Form() {
        PropertyBag saved{{"CaptionText", "Next"}};
        button = new QtControlWidget(QtControlWidget::LibraryInternal{"vltGraphButton"}, &saved, &window);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(button);
        QObject::connect(button, &QtControlWidget::eventRaised, [this](const EventDecl& ev, std::span<Variant> args) {
            std::string line(ev.name);
            for (const Variant& a : args) line += " " + a.toString();
            events.push_back(line);
        });
        window.show();
        window.activateWindow();
        QApplication::processEvents();
        before->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        events.clear();
    }
    // Each of the three pieces shows one of its two sets: 1 while lit.
    bool highlighted() {
        const auto piece = [&](int k, int set) { return button->host().find("Image" + std::to_string(k), set).as<Image>().Visible(); };
        for (int k = 1; k <= 3; ++k) EXPECT_NE(piece(k, 0), piece(k, 1)) << "piece " << k;
        return piece(1, 1);
    }
};

TEST(QtGraphButton, TabFocusesItAndEnterPressesIt) {
    Form f;
    EXPECT_FALSE(f.highlighted());
    // The button is made at its design size and centres its caption there.
    EXPECT_EQ(f.button->size(), QSize(77, 31));
    EXPECT_EQ(f.button->host().find("Label1").as<Label>().Caption(), "Next");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.button);
    EXPECT_TRUE(f.highlighted());
    EXPECT_EQ(f.events, (Lines{"EnterFocus", "vltGotFocus"}));

    // Enter is a click, never a key press; another key is passed on with its character.
    f.events.clear();
    QTest::keyClick(f.button, Qt::Key_Return);
    QTest::keyClick(f.button, Qt::Key_A);
    EXPECT_EQ(f.events, (Lines{"KeyDown 13 0", "Click", "KeyUp 13 0", "KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"}));

    // A click in the middle of the face, on its caption or on an edge clicks it once.
    for (const QPoint at : {QPoint(38, 4), QPoint(38, 15), QPoint(1, 15), QPoint(75, 15)}) {
        SCOPED_TRACE(at.x() * 100 + at.y());
        f.events.clear();
        QTest::mouseClick(f.button, Qt::LeftButton, Qt::NoModifier, at);
        std::erase_if(f.events, [](const std::string& e) { return e.starts_with("MouseMove"); });
        for (std::string& e : f.events) e = e.substr(0, e.starts_with("Mouse") ? e.find(" 1 0 ") + 4 : e.size());
        EXPECT_EQ(f.events, (Lines{"MouseDown 1 0", "MouseUp 1 0", "Click"}));
    }

    // Back with Shift+Tab: the normal set again.
    f.events.clear();
    QTest::keyClick(f.button, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), f.before);
    EXPECT_FALSE(f.highlighted());
    std::erase_if(f.events, [](const std::string& e) { return e.starts_with("Key"); });  // Shift and Tab themselves
    EXPECT_EQ(f.events, (Lines{"vltLostFocus", "ExitFocus"}));
}

}  // namespace
}  // namespace talvik
