// The review before hand-in on a session of six items: questions 1, 2 and 5 answered,
// 2 and 4 flagged; item 3 has no title.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "flow/ReviewDialog.h"
#include "flow_fixture.h"

namespace talvik::exam {
namespace {

using testing::makeTest;

ExamSession sixItems() {
    ExamSession session(makeTest(6, 3600), 7u);
    session.toggleChoice(0, 0);
    session.toggleChoice(1, 2);
    session.toggleChoice(4, 3);
    session.setFlagged(1, true);
    session.setFlagged(3, true);
    return session;
}

QStringList buttonsOf(const ReviewDialog& dialog, const char* group) {
    QStringList texts;
    const auto* box = dialog.findChild<QGroupBox*>(QLatin1String(group));
    if (box == nullptr) return {QStringLiteral("no group")};
    for (const QPushButton* b : box->findChildren<QPushButton*>()) texts << b->text();
    return texts;
}

QPushButton* questionButton(const ReviewDialog& dialog, const char* group, int index) {
    for (QPushButton* b : dialog.findChild<QGroupBox*>(QLatin1String(group))->findChildren<QPushButton*>())
        if (b->property("question").toInt() == index) return b;
    return nullptr;
}

TEST(ReviewDialog, GroupsTheQuestionsWithTheirCounts) {
    const ExamSession session = sixItems();
    ReviewDialog dialog(session);
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("unanswered"))->title(), QStringLiteral("Unanswered (3)"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("flagged"))->title(), QStringLiteral("Flagged (2)"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("answered"))->title(), QStringLiteral("Answered (3)"));
    EXPECT_EQ(buttonsOf(dialog, "unanswered"),
              (QStringList{QStringLiteral("Question 3"), QStringLiteral("Question 4 \u2014 Item 4"),
                           QStringLiteral("Question 6 \u2014 Item 6")}));
    EXPECT_EQ(buttonsOf(dialog, "flagged"),
              (QStringList{QStringLiteral("Question 2 \u2014 Item 2"), QStringLiteral("Question 4 \u2014 Item 4")}));
    EXPECT_EQ(buttonsOf(dialog, "answered"),
              (QStringList{QStringLiteral("Question 1 \u2014 Item 1"), QStringLiteral("Question 2 \u2014 Item 2"),
                           QStringLiteral("Question 5 \u2014 Item 5")}));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("summary"))->text(),
              QStringLiteral("You have answered 3 of 6 questions. 3 unanswered, 2 flagged."));
    EXPECT_EQ(dialog.backButton()->text(), QStringLiteral("Back to the test"));
    EXPECT_EQ(dialog.handInButton()->text(), QStringLiteral("Hand in\u2026"));

    dialog.resize(520, 560);
    testing::renderPng(dialog, QStringLiteral("review"), 1);
    testing::renderPng(dialog, QStringLiteral("review"), 1.25);
    testing::renderPng(dialog, QStringLiteral("review"), 2);
}

TEST(ReviewDialog, ConfirmationTellsHowManyAreUnanswered) {
    const QString base = QStringLiteral("Hand in your answers? You cannot change them afterwards.");
    struct Case {
        int answered;  // the first this many of four items
        QString text;
    };
    const std::vector<Case> cases = {
        {4, base},
        {3, base + QStringLiteral("\n1 question is unanswered.")},
        {1, base + QStringLiteral("\n3 questions are unanswered.")},
        {0, base + QStringLiteral("\n4 questions are unanswered.")},
    };
    for (const Case& c : cases) {
        ExamSession session(makeTest(4), 1u);
        for (int i = 0; i < c.answered; ++i) session.toggleChoice(i, 1);
        EXPECT_EQ(ReviewDialog::confirmationText(session), c.text) << c.answered;
    }
}

TEST(ReviewDialog, AQuestionClickedGoesThereAndCloses) {
    const ExamSession session = sixItems();
    struct Case {
        const char* group;
        int index;
        Qt::Key key;
    };
    for (const Case c : {Case{"unanswered", 5, Qt::Key_Space}, Case{"flagged", 3, Qt::Key_Return},
                         Case{"answered", 0, Qt::Key_Enter}, Case{"unanswered", 2, Qt::Key_Return}}) {
        ReviewDialog dialog(session);
        dialog.show();
        QSignalSpy went(&dialog, &ReviewDialog::goToQuestion);
        QSignalSpy handedIn(&dialog, &ReviewDialog::handInConfirmed);
        QPushButton* button = questionButton(dialog, c.group, c.index);
        ASSERT_NE(button, nullptr) << c.group << c.index;
        // From the keyboard: the button focused and Space or Enter pressed.
        button->setFocus();
        QTest::keyClick(button, c.key);
        ASSERT_EQ(went.count(), 1) << c.group;
        EXPECT_EQ(went.at(0).at(0).toInt(), c.index);
        EXPECT_EQ(handedIn.count(), 0);
        EXPECT_EQ(dialog.result(), ReviewDialog::GoToQuestion);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(ReviewDialog, EscapeAndBackReturnToTheTest) {
    const ExamSession session = sixItems();
    for (const bool escape : {true, false}) {
        ReviewDialog dialog(session);
        dialog.show();
        QSignalSpy went(&dialog, &ReviewDialog::goToQuestion);
        QSignalSpy handedIn(&dialog, &ReviewDialog::handInConfirmed);
        if (escape) QTest::keyClick(&dialog, Qt::Key_Escape);
        else dialog.backButton()->click();
        EXPECT_FALSE(dialog.isVisible()) << escape;
        EXPECT_EQ(dialog.result(), ReviewDialog::Back);
        EXPECT_EQ(went.count() + handedIn.count(), 0);
    }
}

TEST(ReviewDialog, HandsInOnlyWhenConfirmed) {
    const ExamSession session = sixItems();
    for (const bool yes : {false, true}) {
        ReviewDialog dialog(session);
        dialog.show();
        QStringList asked;
        dialog.setConfirmation([&](QWidget* parent, const QString& text) {
            EXPECT_EQ(parent, &dialog);
            asked << text;
            return yes;
        });
        QSignalSpy handedIn(&dialog, &ReviewDialog::handInConfirmed);
        dialog.handInButton()->click();
        EXPECT_EQ(asked, QStringList{ReviewDialog::confirmationText(session)});
        EXPECT_EQ(handedIn.count(), yes ? 1 : 0);
        EXPECT_EQ(dialog.isVisible(), !yes);
        if (yes) {
            EXPECT_EQ(dialog.result(), ReviewDialog::HandIn);
        }
    }
}

// The message box itself: "Hand in" confirms; Enter (the default) and Esc do not.
TEST(ReviewDialog, TheMessageBoxDefaultsToNotHandingIn) {
    const ExamSession session = sixItems();
    struct Case {
        const char* how;
        bool handsIn;
    };
    for (const Case c : {Case{"hand in", true}, Case{"enter", false}, Case{"escape", false}, Case{"not yet", false}}) {
        ReviewDialog dialog(session);
        dialog.show();
        QSignalSpy handedIn(&dialog, &ReviewDialog::handInConfirmed);
        QString text;
        testing::whenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            const QString how = QLatin1String(c.how);
            if (how == u"hand in") box->button(QMessageBox::Yes)->click();
            else if (how == u"not yet") box->button(QMessageBox::No)->click();
            else QTest::keyClick(box, how == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
        });
        dialog.handInButton()->click();
        EXPECT_EQ(text, QStringLiteral("Hand in your answers? You cannot change them afterwards.\n"
                                       "3 questions are unanswered."))
            << c.how;
        EXPECT_EQ(handedIn.count(), c.handsIn ? 1 : 0) << c.how;
    }
}

TEST(ReviewDialog, AFullTestScrolls) {
    ExamSession session(makeTest(40, 3600), 7u);
    for (int i = 0; i < 40; i += 3) session.toggleChoice(i, 0);
    for (const int i : {4, 17, 38}) session.setFlagged(i, true);
    ReviewDialog dialog(session);
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("unanswered"))->title(), QStringLiteral("Unanswered (26)"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("answered"))->title(), QStringLiteral("Answered (14)"));
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    questionButton(dialog, "unanswered", 2)->setFocus();
    testing::renderPng(dialog, QStringLiteral("review40"), 1);
}

TEST(ReviewDialog, AfterHandInThereIsNothingToHandIn) {
    ExamSession session = sixItems();
    session.handIn(1'000);
    ReviewDialog dialog(session);
    EXPECT_FALSE(dialog.handInButton()->isEnabled());
}

}  // namespace
}  // namespace talvik::exam
