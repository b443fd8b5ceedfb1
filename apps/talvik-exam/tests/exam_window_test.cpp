// The exam screen over a session of six items (one answer, several answers, five
// choices, shuffled, three choices, at most two answers), driven as a candidate drives
// it: clicks on the sheet, the strip and the switch, and the keyboard.
//
// Where things are, at 96 DPI (15 twips a pixel). The sheet of six items has one column
// of six rows with a spacing of 30 twips: bubble k (0 = A) of item i is 240 twips square
// at Left 465 + 470 k, Top 50 + 270 i + 20 (i div 5), and the item's number label is 375
// x 195 at Left 50, 22.5 lower. The strip's box i is 32 pixels square at (20 + 42 i, 4).
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <functional>
#include <gtest/gtest.h>

#include "AnswerSheet.h"
#include "ExamWindow.h"
#include "hosts/qt/widgets/ScrollBox.h"
#include "hosts/qt/widgets/URLLink.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/vltInfoBox.h"
#include "hosts/qt/widgets/vltSwitch.h"
#include "hosts/qt/widgets/vltZoomBox.h"
#include "screen_fixture.h"
#include "session/ExamSession.h"

namespace talvik::exam {
namespace {

using testing::settle;
enum Item { kSingle, kMultiple, kFive, kShuffled, kThree, kAtMostTwo, kItems };

qti::Item choiceItem(const std::string& id, int choices, int maxChoices, bool shuffle = false) {
    qti::Item item;
    item.identifier = item.title = id;
    item.delivered = true;
    item.prompt = "Prompt of " + id;
    item.body = "<p>Body of " + id + "</p>";
    item.maxChoices = maxChoices;
    item.shuffle = shuffle;
    for (int k = 0; k < choices; ++k)
        item.choices.push_back({id + "-" + char('a' + k), "Choice " + std::string(1, char('a' + k)), false});
    return item;
}

qti::Test sixItems() {
    qti::Test test;
    test.identifier = "t";
    test.title = "Sample test";
    qti::Section s;
    s.items = {choiceItem("single", 4, 1), choiceItem("multiple", 4, 0), choiceItem("five", 5, 1),
               choiceItem("shuffled", 4, 1, true), choiceItem("three", 3, 1), choiceItem("two", 4, 2)};
    test.sections.push_back(std::move(s));
    return test;
}

int rowTop(int item) { return int((50 + 270 * item + 20 * (item / 5)) / 15.0); }

struct Screen {
    ExamSession session;
    ExamWindow window{session, ExamScreenOptions{}};
    int handIns = 0, reviews = 0;

    explicit Screen(QSize size = {1280, 720}, qti::Test test = sixItems()) : session(std::move(test), 20261206u) {
        session.onChange([this] { window.refresh(); });
        QObject::connect(&window, &ExamWindow::handInRequested, [this] { ++handIns; });
        QObject::connect(&window, &ExamWindow::reviewRequested, [this] { ++reviews; });
        window.resize(size);
        window.show();
        QApplication::setActiveWindow(&window);
        settle();
    }

    std::vector<std::string> response(int item) const { return session.itemState(item).response; }
    QString sheetRow(int item) const { return window.sheet().result().at(item); }
    void key(int k, Qt::KeyboardModifiers m = {}) { testing::key(window, k, m); }
    // The sheet as the window paints it, with the background the sheet lets through.
    QImage sheetImage() {
        return window.grab(QRect(window.sheet().mapTo(&window, QPoint(0, 0)), window.sheet().size())).toImage();
    }
};

// What a candidate does, for the tables.
using Act = std::function<void(Screen&)>;
Act bubbles(int item, std::vector<int> ks) {
    return [=](Screen& s) {
        for (const int k : ks) testing::click(&s.window.sheet(), {int((465 + 470 * k) / 15) + 8, rowTop(item) + 8});
    };
}
Act keys(std::vector<int> ks, Qt::KeyboardModifiers m = {}) {
    return [=](Screen& s) {
        for (const int k : ks) s.key(k, m);
    };
}
Act boxes(std::vector<int> bs) {
    return [=](Screen& s) {
        for (const int b : bs) testing::click(&s.window.strip(), testing::stripBox(b));
    };
}
Act switches(std::vector<const char*> names) {
    return [=](Screen& s) {
        for (const char* n : names) testing::press(s.window.questionSwitch(), n);
    };
}
Act go(int item) {
    return [=](Screen& s) {
        s.session.goTo(item);
        settle();
    };
}
const Act focusSheet = [](Screen& s) { testing::focus(s.window.sheet()); };
const Act focusSwitch = [](Screen& s) { testing::focus(s.window.questionSwitch()); };
Act then(std::vector<Act> acts) {
    return [=](Screen& s) {
        for (const Act& a : acts) a(s);
    };
}

TEST(ExamScreenAnswers, EveryWayOfAnsweringReachesTheSession) {
    struct Case {
        const char* name;
        Act act;
        int item;                 // the item whose response is checked, the current one
        std::vector<int> chosen;  // display positions in its response
        const char* sheet;        // what the sheet's row reports
        bool refused = false;     // an answer past the item's limit
    };
    const QString limit = QStringLiteral("Question 6 takes at most 2 answers: unchoose one first.");
    const Case cases[] = {
        {"a click on bubble B", bubbles(kSingle, {1}), kSingle, {1}, "2"},
        {"bubbles A and C of a several-answer item", bubbles(kMultiple, {0, 2}), kMultiple, {0, 2}, "1,3"},
        {"a second bubble of a one-answer item moves the answer", bubbles(kSingle, {0, 2}), kSingle, {2}, "3"},
        {"the marked bubble again clears it", bubbles(kSingle, {3, 3}), kSingle, {}, ""},
        {"bubble D of a three-choice item is no answer", bubbles(kThree, {3}), kThree, {}, ""},
        {"a third bubble where two are allowed", bubbles(kAtMostTwo, {0, 1, 2}), kAtMostTwo, {0, 1}, "1,2", true},
        {"a third letter where two are allowed", then({go(kAtMostTwo), keys({Qt::Key_A, Qt::Key_B, Qt::Key_C})}),
         kAtMostTwo, {0, 1}, "1,2", true},
        {"a third box where two are allowed", then({go(kAtMostTwo), boxes({0, 1, 2})}), kAtMostTwo, {0, 1}, "1,2",
         true},
        {"Space on the sheet clears the current answer",
         then({bubbles(kMultiple, {1, 3}), focusSheet, keys({Qt::Key_Space})}), kMultiple, {}, ""},
        {"the letter key B", keys({Qt::Key_B}), kSingle, {1}, "2"},
        {"the digit keys 1 and 4 on several answers", keys({Qt::Key_PageDown, Qt::Key_1, Qt::Key_4}), kMultiple,
         {0, 3}, "1,4"},
        {"Delete clears", keys({Qt::Key_C, Qt::Key_Delete}), kSingle, {}, ""},
        {"E on a five-choice item: nothing on the bubbles", then({go(kFive), keys({Qt::Key_E})}), kFive, {4}, ""},
        {"A then E on a five-choice item moves the answer off the sheet", then({bubbles(kFive, {0}), keys({Qt::Key_5})}),
         kFive, {4}, ""},
        {"the strip's third box", boxes({2}), kSingle, {2}, "3"},
        {"the strip's boxes 1 and 4 on several answers", then({go(kMultiple), boxes({0, 3})}), kMultiple, {0, 3}, "1,4"},
        {"the strip's second option after the first", boxes({0, 1}), kSingle, {1}, "2"},
        {"a letter in the pane",
         [](Screen& s) {
             emit s.window.pane().anchorClicked(QUrl(QStringLiteral("choice:3")));
             settle();
         },
         kSingle, {3}, "4"},
        {"A on a shuffled item answers the choice shown first", then({go(kShuffled), keys({Qt::Key_A})}), kShuffled, {0},
         "1"},
        {"nothing after hand-in",
         then({[](Screen& s) { s.session.handIn(0); }, bubbles(kSingle, {0}), keys({Qt::Key_B})}), kSingle, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen s;
        c.act(s);
        std::vector<std::string> expected;
        QString letters;  // the strip shows the current item's answer by letters
        for (const int p : c.chosen) {
            expected.push_back(s.session.choiceAt(c.item, p).identifier);
            letters += QChar(u'A' + p);
        }
        EXPECT_EQ(s.response(c.item), expected);
        EXPECT_EQ(s.sheetRow(c.item).toStdString(), c.sheet);
        EXPECT_EQ(s.session.state().current, c.item);
        EXPECT_EQ(s.window.strip().VelValue(), letters);
        if (c.refused) {
            EXPECT_TRUE(s.window.noticeLabel().isVisible());
            EXPECT_EQ(s.window.noticeLabel().text(), limit);
        }
    }
}

TEST(ExamScreenAnswers, ChoicesAfterTheNinthAreChosenInThePane) {
    qti::Test test = sixItems();
    test.sections[0].items[0] = choiceItem("twelve", 12, 0);
    Screen s({1280, 720}, std::move(test));
    EXPECT_EQ(s.window.strip().VelCountItems(), 9);
    EXPECT_TRUE(s.window.pane().toPlainText().contains(QStringLiteral("Choice l")));
    emit s.window.pane().anchorClicked(QUrl(QStringLiteral("choice:11")));
    s.key(Qt::Key_I);
    EXPECT_EQ(s.response(0), (std::vector<std::string>{"twelve-i", "twelve-l"}));
    EXPECT_EQ(s.window.strip().VelValue(), QStringLiteral("I"));
    EXPECT_EQ(s.sheetRow(0), QString());
}

TEST(ExamScreenAnswers, TheSheetTakesColumnsOfAtMostTenRows) {
    // (items, columns, rows per column)
    const std::tuple<int, int, int> cases[] = {{1, 1, 2},   {6, 1, 6},   {10, 1, 10},  {11, 2, 6},
                                               {40, 4, 10}, {41, 4, 11}, {150, 4, 38}, {400, 4, 38}};
    for (const auto& [items, columns, rows] : cases)
        EXPECT_EQ(AnswerSheet::gridFor(items), std::make_pair(columns, rows)) << items << " items";
}

TEST(ExamScreenAnswers, ATestWithoutItemsSaysSo) {
    qti::Test test;
    test.title = "Empty";
    Screen s({1280, 720}, std::move(test));
    EXPECT_TRUE(s.window.pane().toPlainText().contains(QStringLiteral("no questions")));
    keys({Qt::Key_A, Qt::Key_PageDown})(s);
    s.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(s.session.state().revision, 0u);
}

TEST(ExamScreenNavigation, SwitchKeysAndSheetMoveBetweenQuestions) {
    const std::tuple<const char*, Act, int> cases[] = {
        {"next", switches({"Next question"}), 1},
        {"last", switches({"Last question"}), 5},
        {"last, previous", switches({"Last question", "Previous question"}), 4},
        {"next twice, first", switches({"Next question", "Next question", "First question"}), 0},
        {"previous on the first stays", switches({"Previous question"}), 0},
        {"Page Down twice", keys({Qt::Key_PageDown, Qt::Key_PageDown}), 2},
        {"Alt+N, Alt+N, Alt+P", then({keys({Qt::Key_N, Qt::Key_N}, Qt::AltModifier), keys({Qt::Key_P}, Qt::AltModifier)}),
         1},
        {"Ctrl+End, Page Up", then({keys({Qt::Key_End}, Qt::ControlModifier), keys({Qt::Key_PageUp})}), 4},
        {"Ctrl+End, Ctrl+Home", keys({Qt::Key_End, Qt::Key_Home}, Qt::ControlModifier), 0},
        {"Page Down past the last stays", keys(std::vector<int>(8, Qt::Key_PageDown)), 5},
        {"Right twice on the focused switch",
         then({focusSwitch, keys({Qt::Key_Right, Qt::Key_Right})}), 2},
        {"End then Left on the focused switch",
         then({focusSwitch, keys({Qt::Key_End, Qt::Key_Left})}), 4},
        {"Down three times on the sheet", then({focusSheet, keys(std::vector<int>(3, Qt::Key_Down))}),
         3},
        {"a click on a row's number",
         [](Screen& s) { testing::click(&s.window.sheet(), {int((50 + 187) / 15.0), rowTop(4) + 8}); }, 4},
        {"a click on a bubble of another row", bubbles(3, {2}), 3},
    };
    const int choices[kItems] = {4, 4, 5, 4, 3, 4};
    for (const auto& [name, act, current] : cases) {
        SCOPED_TRACE(name);
        Screen s;
        act(s);
        EXPECT_EQ(s.session.state().current, current);
        // The sheet's marker and current row follow; the strip and switch name the item.
        EXPECT_EQ(s.window.sheet().RowSel(), current);
        EXPECT_EQ(s.window.sheet().markerRow(), current);
        EXPECT_EQ(s.window.questionSwitch().Caption(), QStringLiteral("Question %1 of 6").arg(current + 1));
        EXPECT_TRUE(s.window.pane().toPlainText().contains(
            QString::fromStdString("Prompt of " + s.session.item(current).identifier)));
        // The strip offers the item's choices, as options for one answer, else as checks.
        EXPECT_EQ(s.window.strip().VelCountItems(), choices[current]);
        EXPECT_EQ(s.window.strip().VelOptionBox(), current == kMultiple || current == kAtMostTwo
                                                       ? VelOptionToolBar::VelCheck
                                                       : VelOptionToolBar::VelOption);
        EXPECT_EQ(s.window.strip().VelOptionChar(), VelOptionToolBar::VelUChar);
    }
}

// Pixels in a box of the sheet's image that pass a test of their colour.
int pixels(const QImage& sheet, QRect box, bool (*test)(QColor)) {
    int n = 0;
    for (int y = std::max(0, box.top()); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) n += test(sheet.pixelColor(x, y));
    return n;
}
// The flag's orange pennant around the number of an item.
int pennantPixels(const QImage& sheet, int item) {
    return pixels(sheet, QRect(0, rowTop(item) - 4, 14, 22),
                  [](QColor c) { return c.red() > 200 && c.green() > 110 && c.green() < 190 && c.blue() < 90; });
}
// The dark tab right of bubble D, which ends at 1875 + 240 twips (141 pixels), in the 8
// pixels to the sheet's edge (2235 twips, 149 pixels).
int darkTabPixels(const QImage& sheet, int item) {
    return pixels(sheet, QRect(142, rowTop(item), 7, 16),
                  [](QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; });
}

TEST(ExamScreenFlags, FlagsShowInTheStatusAndOnTheSheet) {
    const std::tuple<const char*, Act, std::vector<int>, const char*> cases[] = {
        {"none", [](Screen&) {}, {}, "Answered 0 of 6, 0 flagged"},
        {"Ctrl+F", keys({Qt::Key_F}, Qt::ControlModifier), {0}, "Answered 0 of 6, 1 flagged"},
        {"Ctrl+F twice", keys({Qt::Key_F, Qt::Key_F}, Qt::ControlModifier), {}, "Answered 0 of 6, 0 flagged"},
        {"the button on two items, one answer",
         [](Screen& s) {
             s.window.flagButton().click();
             keys({Qt::Key_PageDown, Qt::Key_A, Qt::Key_PageDown})(s);
             s.window.flagButton().click();
             settle();
         },
         {0, 2}, "Answered 1 of 6, 2 flagged"},
        {"F chooses, it does not flag", then({go(kAtMostTwo), keys({Qt::Key_F})}), {}, "Answered 0 of 6, 0 flagged"},
    };
    for (const auto& [name, act, flagged, status] : cases) {
        SCOPED_TRACE(name);
        Screen s;
        act(s);
        EXPECT_EQ(s.window.status().Info(), QString::fromLatin1(status));
        const QImage sheet = s.sheetImage();
        for (int i = 0; i < kItems; ++i) {
            const bool on = std::find(flagged.begin(), flagged.end(), i) != flagged.end();
            EXPECT_EQ(s.session.itemState(i).flagged, on) << "item " << i;
            EXPECT_EQ(s.window.sheet().showsFlag(i), on) << "item " << i;
            EXPECT_EQ(pennantPixels(sheet, i) > 6, on) << "item " << i;
            if (!on) {
                EXPECT_EQ(pennantPixels(sheet, i), 0) << "item " << i;
            }
        }
        EXPECT_EQ(s.window.flagButton().isChecked(), s.session.itemState(s.session.state().current).flagged);
    }
}

TEST(ExamScreenFlags, AnAnswerAfterDShowsOnTheTabBesideTheRow) {
    Screen s;
    go(kFive)(s);
    EXPECT_EQ(darkTabPixels(s.sheetImage(), kFive), 0);
    s.key(Qt::Key_E);
    EXPECT_GT(darkTabPixels(s.sheetImage(), kFive), 20);
    s.key(Qt::Key_A);  // one answer: A replaces E, and the bubble shows it
    EXPECT_EQ(darkTabPixels(s.sheetImage(), kFive), 0);
    EXPECT_EQ(s.sheetRow(kFive), QStringLiteral("1"));
    EXPECT_EQ(darkTabPixels(s.sheetImage(), kSingle), 0);  // four choices or fewer: no tab
}

TEST(ExamScreenStatus, TimeSavingAndNotices) {
    Screen s;
    EXPECT_TRUE(s.window.timeLabel().isHidden());  // the test has no limit
    s.window.setRemaining(3'600'000 + 61'500);     // a begun second counts
    EXPECT_FALSE(s.window.timeLabel().isHidden());
    EXPECT_EQ(s.window.timeLabel().text(), QStringLiteral("1:01:02"));
    s.window.setRemaining(-1);
    EXPECT_TRUE(s.window.timeLabel().isHidden());

    EXPECT_EQ(s.window.status().Caption(), QStringLiteral("Not saved yet"));
    s.window.setLastSaved(QDateTime(QDate(2026, 12, 6), QTime(14, 2, 31)));
    EXPECT_EQ(s.window.status().Caption(), QStringLiteral("Saved 14:02:31"));
    s.window.setSaveProblem(QStringLiteral("the disk is full"));
    EXPECT_EQ(s.window.status().Caption(), QStringLiteral("Not saved!"));
    EXPECT_TRUE(s.window.noticeLabel().isVisible());
    EXPECT_TRUE(s.window.noticeLabel().text().contains(QStringLiteral("the disk is full")));
    s.window.setSaveProblem(QString());
    EXPECT_EQ(s.window.status().Caption(), QStringLiteral("Saved 14:02:31"));
    EXPECT_FALSE(s.window.noticeLabel().isVisible());
}

TEST(ExamScreenKeys, RequestsZoomAndScroll) {
    Screen s;
    s.key(Qt::Key_Return, Qt::ControlModifier);
    s.key(Qt::Key_R, Qt::ControlModifier);
    s.window.handInButton().click();
    s.window.reviewButton().click();
    EXPECT_EQ(s.handIns, 2);
    EXPECT_EQ(s.reviews, 2);

    EXPECT_EQ(s.window.zoomPercent(), 100);
    s.key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(s.window.zoomPercent(), 115);
    testing::press(s.window.zoomBox(), "Zoom in");
    EXPECT_EQ(s.window.zoomPercent(), 130);
    testing::press(s.window.zoomBox(), "Zoom out");
    keys({Qt::Key_Minus, Qt::Key_Minus}, Qt::ControlModifier)(s);
    EXPECT_EQ(s.window.zoomPercent(), 90);
    // A short question fits larger than normal, and one step more would not fit.
    testing::press(s.window.zoomBox(), "Fit");
    const int fit = s.window.zoomPercent();
    EXPECT_GT(fit, 100);
    EXPECT_EQ(s.window.zoomBox().Caption(), QStringLiteral("Text size %1%").arg(fit));
    EXPECT_EQ(s.window.pane().verticalScrollBar()->maximum(), 0);
    if (fit < 200) {
        s.key(Qt::Key_Equal, Qt::ControlModifier);
        EXPECT_GT(s.window.pane().verticalScrollBar()->maximum(), 0);
    }
}

TEST(ExamScreenKeys, TheScrollBoxScrollsALongQuestion) {
    qti::Test test = sixItems();
    test.sections[0].items[0].body.clear();
    for (int i = 0; i < 60; ++i)
        test.sections[0].items[0].body += "<p>A paragraph of a long question, line " + std::to_string(i) + ".</p>";
    Screen s({1280, 720}, std::move(test));
    QScrollBar* bar = s.window.pane().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    testing::press(s.window.scrollBox(), "Scroll down");
    const int down = bar->value();
    EXPECT_GT(down, 0);
    testing::press(s.window.scrollBox(), "Scroll up");
    EXPECT_EQ(bar->value(), 0);
    // Fit cannot make it fit: it stays at the normal size.
    testing::press(s.window.zoomBox(), "Fit");
    EXPECT_EQ(s.window.zoomPercent(), 100);
    testing::focus(s.window.scrollBox());
    s.key(Qt::Key_Down);
    EXPECT_EQ(bar->value(), down);
}

TEST(ExamScreenKeys, TabVisitsThePartsInOrder) {
    Screen s;
    ExamWindow& w = s.window;
    const std::vector<QWidget*> order{&w.pane(), &w.zoomBox(), &w.scrollBox(), &w.strip(), &w.questionSwitch(),
                                      &w.sheet(), &w.flagButton(), &w.reviewButton(), &w.handInButton(),
                                      &w.instructionsLink()};
    EXPECT_EQ(QApplication::focusWidget(), order.front());
    for (std::size_t i = 1; i < order.size(); ++i) {
        s.key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << "step " << i;
    }
}

// Run once as is and once with QT_SCALE_FACTOR=1.25.
TEST(ExamScreenLayout, EveryControlIsInsideA1280x720Window) {
    Screen s({1280, 720});
    const QRect window = s.window.rect();
    for (QWidget* w : s.window.controls()) {
        SCOPED_TRACE(w->metaObject()->className());
        EXPECT_TRUE(w->isVisible() || w == &s.window.timeLabel());
        const QRect at(w->mapTo(&s.window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(window.contains(at)) << at.x() << "," << at.y() << " " << at.width() << "x" << at.height();
    }
    EXPECT_EQ(s.window.scrollArea().verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(s.window.scrollArea().horizontalScrollBar()->maximum(), 0);
    // The controls keep their own sizes: the strip 6150 x 1020 twips, the header 9285 x 4785.
    EXPECT_EQ(s.window.strip().size(), QSize(410, 68));
    EXPECT_EQ(s.window.header().size(), QSize(619, 319));
}

TEST(ExamScreenLayout, ASmallWindowScrollsAndALargeOneGivesThePaneTheRoom) {
    Screen normal({1280, 720});
    Screen small({800, 500});
    EXPECT_GT(small.window.scrollArea().verticalScrollBar()->maximum(), 0);
    EXPECT_GT(small.window.scrollArea().horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(small.window.strip().size(), QSize(410, 68));
    Screen large({1920, 1080});
    EXPECT_GE(large.window.pane().height(), normal.window.pane().height() + 300);
    EXPECT_GE(large.window.pane().width(), normal.window.pane().width() + 600);
}

}  // namespace
}  // namespace talvik::exam
