// The review before hand-in on a session of six items: questions 1, 2 and 5 answered,
// 2 and 4 flagged; item 3 has no title.
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

TEST(ReviewDialog, GroupsTheQuestionsWithTheirCounts) {
    const ExamSession session = sixItems();
    const ReviewDialog dialog(session);
    const QString q2 = QStringLiteral("Question 2 \u2014 Item 2"), q4 = QStringLiteral("Question 4 \u2014 Item 4");
    const std::vector<std::pair<const char*, QStringList>> groups = {
        {"Unanswered (3)", {QStringLiteral("Question 3"), q4, QStringLiteral("Question 6 \u2014 Item 6")}},
        {"Flagged (2)", {q2, q4}},
        {"Answered (3)", {QStringLiteral("Question 1 \u2014 Item 1"), q2, QStringLiteral("Question 5 \u2014 Item 5")}},
    };
    for (const auto& [title, buttons] : groups) {
        const QString name = QString::fromLatin1(title).section(u' ', 0, 0).toLower();
        const auto* box = dialog.findChild<QGroupBox*>(name);
        ASSERT_NE(box, nullptr) << title;
        EXPECT_EQ(box->title(), QLatin1String(title));
        QStringList texts;
        for (const QPushButton* b : box->findChildren<QPushButton*>()) texts << b->text();
        EXPECT_EQ(texts, buttons) << title;
    }
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("summary"))->text(),
              QStringLiteral("You have answered 3 of 6 questions. 3 unanswered, 2 flagged."));
    EXPECT_EQ(dialog.backButton()->text(), QStringLiteral("Back to the test"));
    EXPECT_EQ(dialog.handInButton()->text(), QStringLiteral("Hand in\u2026"));
}

TEST(ReviewDialog, ConfirmationTellsHowManyAreUnanswered) {
    const QString base = QStringLiteral("Hand in your answers? You cannot change them afterwards.");
    const std::vector<std::pair<int, QString>> cases = {  // the first this many of four answered
        {4, base},
        {3, base + QStringLiteral("\n1 question is unanswered.")},
        {1, base + QStringLiteral("\n3 questions are unanswered.")},
    };
    for (const auto& [answered, text] : cases) {
        ExamSession session(makeTest(4), 1u);
        for (int i = 0; i < answered; ++i) session.toggleChoice(i, 1);
        EXPECT_EQ(ReviewDialog::confirmationText(session), text) << answered;
    }
}

TEST(ReviewDialog, EachWayOutEndsWithItsOutcome) {
    const ExamSession session = sixItems();
    // The confirmation's answer: "Hand in" confirms; Enter (the default) and Esc do not.
    enum Answer { kNotAsked, kYes, kNo, kEnter, kEscape };
    struct Case {
        const char* name;
        std::function<void(ReviewDialog&)> act;
        Answer answer;
        int wentTo;  // -1: no question
        bool handedIn;
        int outcome;  // -1: still open
    };
    const auto viaKey = [](const char* group, int index, Qt::Key key) {
        return [=](ReviewDialog& d) {
            QPushButton* button = testing::questionButtons(d, group)[index];
            ASSERT_NE(button, nullptr);
            button->setFocus();  // from the keyboard: the button focused and Space or Enter pressed
            QTest::keyClick(button, key);
        };
    };
    const auto handIn = [](ReviewDialog& d) { d.handInButton()->click(); };
    const std::vector<Case> cases = {
        {"an unanswered question, Space", viaKey("unanswered", 5, Qt::Key_Space), kNotAsked, 5, false,
         ReviewDialog::GoToQuestion},
        {"a flagged question, Return", viaKey("flagged", 3, Qt::Key_Return), kNotAsked, 3, false,
         ReviewDialog::GoToQuestion},
        {"an answered question, Enter", viaKey("answered", 0, Qt::Key_Enter), kNotAsked, 0, false,
         ReviewDialog::GoToQuestion},
        {"Escape", [](ReviewDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, kNotAsked, -1, false,
         ReviewDialog::Back},
        {"back", [](ReviewDialog& d) { d.backButton()->click(); }, kNotAsked, -1, false, ReviewDialog::Back},
        {"hand in, confirmed", handIn, kYes, -1, true, ReviewDialog::HandIn},
        {"hand in, not yet", handIn, kNo, -1, false, -1},
        {"hand in, Enter", handIn, kEnter, -1, false, -1},
        {"hand in, Escape", handIn, kEscape, -1, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReviewDialog dialog(session);
        dialog.show();
        QSignalSpy went(&dialog, &ReviewDialog::goToQuestion);
        QSignalSpy handedIn(&dialog, &ReviewDialog::handInConfirmed);
        QString asked;
        if (c.answer != kNotAsked)
            testing::whenModal<QMessageBox>([&](QMessageBox* box) {
                asked = box->text();
                EXPECT_EQ(box->parentWidget(), &dialog);
                if (c.answer == kYes) box->button(QMessageBox::Yes)->click();
                else if (c.answer == kNo) box->button(QMessageBox::No)->click();
                else QTest::keyClick(box, c.answer == kEnter ? Qt::Key_Return : Qt::Key_Escape);
            });
        c.act(dialog);
        EXPECT_EQ(asked, c.answer == kNotAsked ? QString() : ReviewDialog::confirmationText(session));
        EXPECT_EQ(went.count(), c.wentTo >= 0 ? 1 : 0);
        if (c.wentTo >= 0 && went.count() == 1) {
            EXPECT_EQ(went.at(0).at(0).toInt(), c.wentTo);
        }
        EXPECT_EQ(handedIn.count(), c.handedIn ? 1 : 0);
        EXPECT_EQ(dialog.isVisible(), c.outcome < 0);
        if (c.outcome >= 0) {
            EXPECT_EQ(dialog.result(), c.outcome);
        }
    }
}

TEST(ReviewDialog, AfterHandInThereIsNothingToHandIn) {
    ExamSession session = sixItems();
    session.handIn(1'000);
    const ReviewDialog dialog(session);
    EXPECT_FALSE(dialog.handInButton()->isEnabled());
}

}  // namespace
}  // namespace talvik::exam
