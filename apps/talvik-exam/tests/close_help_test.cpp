// Closing the window asks during the test and not after hand-in; the help overlay opens
// over the window, takes the keys while open, and closes by Esc, F1 or a click with the
// focus back where it was.
#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "flow/CloseConfirmation.h"
#include "flow/HelpOverlay.h"
#include "flow_fixture.h"

namespace talvik::exam {
namespace {

using testing::makeTest;

TEST(CloseConfirmation, AsksDuringTheTestWithNoAsTheDefaultAndNotAfterHandIn) {
    struct Case {
        const char* how;
        bool handedIn;
        bool closes;
    };
    for (const Case c : {Case{"yes", false, true}, Case{"no", false, false}, Case{"enter", false, false},
                         Case{"escape", false, false}, Case{"no", true, true}}) {
        SCOPED_TRACE(std::string(c.how) + (c.handedIn ? " after hand-in" : ""));
        ExamSession session(makeTest(2), 1u);
        if (c.handedIn) session.handIn(5);
        QString text;
        testing::whenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            const QString how = QLatin1String(c.how);
            if (how == u"yes") box->button(QMessageBox::Yes)->click();
            else if (how == u"no") box->button(QMessageBox::No)->click();
            else QTest::keyClick(box, how == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
        });
        EXPECT_EQ(confirmClose(nullptr, session), c.closes);
        // A box that should not come gets its chance to appear before the next case.
        if (c.handedIn)
            for (int i = 0; i < 400; ++i) QCoreApplication::processEvents();
        EXPECT_EQ(text, c.handedIn ? QString()
                                   : QStringLiteral("Close the test? Your answers are saved and you can continue where "
                                                    "you left off."));
    }
}

const HelpOverlay::Shortcuts kShortcuts = {
    {QStringLiteral("A \u2013 E"), QStringLiteral("Choose an answer")},
    {QStringLiteral("\u2190 \u2192"), QStringLiteral("Previous or next question")},
    {QStringLiteral("F"), QStringLiteral("Flag the question for review")},
    {QStringLiteral("Ctrl+R"), QStringLiteral("Review your answers")},
    {QStringLiteral("F1"), QStringLiteral("Show or hide this help")},
};

// A window with two fields and a window shortcut of its own.
struct Window {
    QWidget widget;
    QLineEdit* first = new QLineEdit;
    QPushButton* second = new QPushButton(QStringLiteral("Next"));
    int shortcutUsed = 0;

    Window() {
        auto* layout = new QVBoxLayout(&widget);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addStretch();
        auto* n = new QShortcut(QKeySequence(Qt::Key_F6), &widget);
        QObject::connect(n, &QShortcut::activated, [this] { ++shortcutUsed; });
        widget.resize(800, 600);
        widget.show();
        QApplication::setActiveWindow(&widget);
    }
};

TEST(HelpOverlay, ClosesByEscF1OrClickAndGivesTheFocusBack) {
    enum class Way { Escape, F1, ClickBackdrop, ClickPanel, Dismiss };
    struct Case {
        const char* name;
        Way way;
        bool focusSecond;
    };
    const std::vector<Case> cases = {
        {"escape", Way::Escape, false},        {"f1", Way::F1, true},
        {"click on the backdrop", Way::ClickBackdrop, false}, {"click on the panel", Way::ClickPanel, true},
        {"dismissed by the program", Way::Dismiss, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        HelpOverlay help(&w.widget, kShortcuts);
        QWidget* focused = c.focusSecond ? static_cast<QWidget*>(w.second) : w.first;
        focused->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focused);
        EXPECT_FALSE(help.isOpen());

        QTest::keyClick(focused, Qt::Key_F1);
        ASSERT_TRUE(help.isOpen());
        EXPECT_EQ(help.geometry(), w.widget.rect());
        EXPECT_EQ(QApplication::focusWidget(), &help);

        // The window behind takes neither Tab nor its own shortcuts meanwhile.
        QTest::keyClick(&help, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &help);
        QTest::keyClick(&help, Qt::Key_F6);
        EXPECT_EQ(w.shortcutUsed, 0);

        QSignalSpy closed(&help, &HelpOverlay::closed);
        switch (c.way) {
            case Way::Escape: QTest::keyClick(&help, Qt::Key_Escape); break;
            case Way::F1: QTest::keyClick(&help, Qt::Key_F1); break;
            case Way::ClickBackdrop: QTest::mouseClick(&help, Qt::LeftButton, {}, QPoint(5, 5)); break;
            case Way::ClickPanel:
                QTest::mouseClick(help.panel(), Qt::LeftButton, {}, help.panel()->rect().center());
                break;
            case Way::Dismiss: help.dismiss(); break;
        }
        EXPECT_FALSE(help.isOpen());
        EXPECT_EQ(closed.count(), 1);
        EXPECT_EQ(QApplication::focusWidget(), focused);

        // Back in the window, its shortcut works again.
        QTest::keyClick(focused, Qt::Key_F6);
        EXPECT_EQ(w.shortcutUsed, 1);
    }
}

TEST(HelpOverlay, FollowsTheWindowsSizeAndIsADialogToAssistiveTechnology) {
    Window w;
    HelpOverlay help(&w.widget, kShortcuts);
    help.open();
    w.widget.resize(1000, 700);
    EXPECT_EQ(help.geometry(), QRect(0, 0, 1000, 700));
    const QRect panel = help.panel()->geometry();
    EXPECT_TRUE(help.rect().contains(panel));
    EXPECT_LE(std::abs(panel.center().x() - 500), 1);
    EXPECT_LE(std::abs(panel.center().y() - 350), 1);

    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&help);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Dialog);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Keyboard shortcuts"));
    EXPECT_EQ(a->text(QAccessible::Description),
              QStringLiteral("A \u2013 E: Choose an answer; \u2190 \u2192: Previous or next question; "
                             "F: Flag the question for review; Ctrl+R: Review your answers; F1: Show or hide this help"));

    // Every key and action is there to read.
    QStringList texts;
    for (const QLabel* l : help.panel()->findChildren<QLabel*>()) texts << l->text();
    for (const auto& [key, action] : kShortcuts) {
        EXPECT_TRUE(texts.contains(key)) << key.toStdString();
        EXPECT_TRUE(texts.contains(action)) << action.toStdString();
    }
}

TEST(HelpOverlay, GoneBeforeTheWindowLeavesF1Harmless) {
    Window w;
    auto help = std::make_unique<HelpOverlay>(&w.widget, kShortcuts);
    help.reset();
    w.first->setFocus();
    QTest::keyClick(w.first, Qt::Key_F1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::keyClick(w.first, Qt::Key_F1);
    EXPECT_EQ(w.widget.findChildren<QShortcut*>().size(), 1);  // the window's own F6
    EXPECT_EQ(QApplication::focusWidget(), w.first);
}

}  // namespace
}  // namespace talvik::exam
