// The exam screen over a session of six items (one answer, several answers, five
// choices, shuffled, three choices, at most two answers), driven as a candidate drives
// it: clicks on the sheet, the strip and the switch, and the keyboard.
//
// Where things are, at 96 DPI (15 twips a pixel). The sheet of six items has one column
// of six rows with a spacing of 30 twips: bubble k (0 = A) of item i is 240 twips square
// at Left 465 + 470 k, Top 50 + 270 i + 20 (i div 5), and the item's number label is 375
// x 195 at Left 50, 22.5 lower. The strip's box i is 32 pixels square at (20 + 42 i, 4).
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <functional>
#include <gtest/gtest.h>
#include <map>

#include "AnswerSheet.h"
#include "ExamWindow.h"
#include "hosts/qt/widgets/ScrollBox.h"
#include "hosts/qt/widgets/URLLink.h"
#include "hosts/qt/widgets/VelOptionToolBar.h"
#include "hosts/qt/widgets/vltInfoBox.h"
#include "hosts/qt/widgets/vltSwitch.h"
#include "hosts/qt/widgets/vltZoomBox.h"
#include "session/ExamSession.h"

namespace talvik::exam {
namespace {

enum Item { kSingle, kMultiple, kFive, kShuffled, kThree, kAtMostTwo, kItems };

qti::Item choiceItem(const std::string& id, int choices, int maxChoices, bool shuffle = false) {
    qti::Item item;
    item.identifier = id;
    item.title = id;
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

void settle() {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

// A press and a release sent straight to the widget: clicks in a row stay single clicks,
// where the platform would pair two quick ones into a double click.
void click(QWidget* w, QPoint at) {
    const QPointF p(at);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
    settle();
}

qti::Test longQuestion() {
    qti::Test test = sixItems();
    std::string body;
    for (int i = 0; i < 60; ++i) body += "<p>A paragraph of a long question, line " + std::to_string(i) + ".</p>";
    test.sections[0].items[0].body = body;
    return test;
}

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

    // The choice identifiers of an item's response.
    std::vector<std::string> response(int item) const { return session.itemState(item).response; }
    // The identifier of the choice shown at a display position.
    std::string shown(int item, int position) const { return session.choiceAt(item, position).identifier; }

    static QPoint bubble(int item, int k) {
        const double left = 465 + 470 * k, top = 50 + 270 * item + 20 * (item / 5);
        return {int(left / 15) + 8, int(top / 15) + 8};
    }
    static QPoint number(int item) { return {int((50 + 187) / 15.0), int((50 + 270 * item + 20 * (item / 5)) / 15.0) + 8}; }

    void clickSheet(QPoint at) {
        click(&window.sheet(), at);
    }
    void clickStrip(int box) {
        click(&window.strip(), {36 + 42 * box, 20});
    }
    // A button of a box, found by what the box calls it.
    void press(QtControlWidget& box, const char* name) {
        for (const AccessiblePart& p : box.accessibleParts().parts)
            if (p.name == name) {
                const QRect r = box.scale().snapped(p.bounds);
                click(&box, r.center());
                return;
            }
        ADD_FAILURE() << "no button " << name;
    }
    void key(int k, Qt::KeyboardModifiers m = {}) {
        QWidget* to = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
        QTest::keyClick(to, Qt::Key(k), m);
        settle();
    }
    void focus(QWidget& w) {
        w.setFocus(Qt::TabFocusReason);
        settle();
    }
    QString sheetRow(int item) const { return window.sheet().result().at(item); }
};

TEST(ExamScreenAnswers, EveryWayOfAnsweringReachesTheSession) {
    struct Case {
        const char* name;
        std::function<void(Screen&)> act;
        int item;                           // the item whose response is checked
        std::vector<int> chosen;            // display positions in its response
        const char* sheet;                  // what the sheet's row reports
        int current;
    };
    const Case cases[] = {
        {"a click on bubble B", [](Screen& s) { s.clickSheet(Screen::bubble(kSingle, 1)); }, kSingle, {1}, "2", kSingle},
        {"bubbles A and C of a several-answer item",
         [](Screen& s) { s.clickSheet(Screen::bubble(kMultiple, 0)); s.clickSheet(Screen::bubble(kMultiple, 2)); },
         kMultiple, {0, 2}, "1,3", kMultiple},
        {"a second bubble of a one-answer item moves the answer",
         [](Screen& s) { s.clickSheet(Screen::bubble(kSingle, 0)); s.clickSheet(Screen::bubble(kSingle, 2)); },
         kSingle, {2}, "3", kSingle},
        {"the marked bubble again clears it",
         [](Screen& s) { s.clickSheet(Screen::bubble(kSingle, 3)); s.clickSheet(Screen::bubble(kSingle, 3)); },
         kSingle, {}, "", kSingle},
        {"bubble D of a three-choice item is no answer", [](Screen& s) { s.clickSheet(Screen::bubble(kThree, 3)); },
         kThree, {}, "", kThree},
        {"a third bubble where two are allowed",
         [](Screen& s) { for (int k : {0, 1, 2}) s.clickSheet(Screen::bubble(kAtMostTwo, k)); },
         kAtMostTwo, {0, 1}, "1,2", kAtMostTwo},
        {"Space on the sheet clears the current answer",
         [](Screen& s) { s.clickSheet(Screen::bubble(kMultiple, 1)); s.clickSheet(Screen::bubble(kMultiple, 3));
                         s.focus(s.window.sheet()); s.key(Qt::Key_Space); },
         kMultiple, {}, "", kMultiple},
        {"the letter key B", [](Screen& s) { s.key(Qt::Key_B); }, kSingle, {1}, "2", kSingle},
        {"the digit keys 1 and 4 on several answers",
         [](Screen& s) { s.key(Qt::Key_PageDown); s.key(Qt::Key_1); s.key(Qt::Key_4); }, kMultiple, {0, 3}, "1,4", kMultiple},
        {"Delete clears", [](Screen& s) { s.key(Qt::Key_C); s.key(Qt::Key_Delete); }, kSingle, {}, "", kSingle},
        {"E on a five-choice item: nothing on the bubbles",
         [](Screen& s) { s.session.goTo(kFive); s.key(Qt::Key_E); }, kFive, {4}, "", kFive},
        {"A then E on a five-choice item moves the answer off the sheet",
         [](Screen& s) { s.clickSheet(Screen::bubble(kFive, 0)); s.key(Qt::Key_5); }, kFive, {4}, "", kFive},
        {"the strip's third box", [](Screen& s) { s.clickStrip(2); }, kSingle, {2}, "3", kSingle},
        {"the strip's boxes 1 and 4 on several answers",
         [](Screen& s) { s.session.goTo(kMultiple); s.clickStrip(0); s.clickStrip(3); }, kMultiple, {0, 3}, "1,4", kMultiple},
        {"the strip's second option after the first",
         [](Screen& s) { s.clickStrip(0); s.clickStrip(1); }, kSingle, {1}, "2", kSingle},
        {"a letter in the pane",
         [](Screen& s) { emit s.window.pane().anchorClicked(QUrl(QStringLiteral("choice:3"))); settle(); }, kSingle, {3}, "4",
         kSingle},
        {"A on a shuffled item answers the choice shown first",
         [](Screen& s) { s.session.goTo(kShuffled); s.key(Qt::Key_A); }, kShuffled, {0}, "1", kShuffled},
        {"nothing after hand-in", [](Screen& s) { s.session.handIn(0); s.clickSheet(Screen::bubble(kSingle, 0)); s.key(Qt::Key_B); },
         kSingle, {}, "", kSingle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen s;
        c.act(s);
        std::vector<std::string> expected;
        for (int p : c.chosen) expected.push_back(s.shown(c.item, p));
        EXPECT_EQ(s.response(c.item), expected);
        EXPECT_EQ(s.sheetRow(c.item).toStdString(), c.sheet);
        EXPECT_EQ(s.session.state().current, c.current);
        // The strip shows the current item's answer by letters.
        QString letters;
        for (int p : c.chosen) letters += QChar(u'A' + p);
        if (c.item == c.current) {
            EXPECT_EQ(s.window.strip().VelValue(), letters);
        }
    }
}

TEST(ExamScreenAnswers, AnAnswerPastTheLimitIsRefusedWithANotice) {
    const std::pair<const char*, std::function<void(Screen&)>> cases[] = {
        {"on the sheet", [](Screen& s) { for (int k : {0, 1, 2}) s.clickSheet(Screen::bubble(kAtMostTwo, k)); }},
        {"by the keys", [](Screen& s) { s.session.goTo(kAtMostTwo); for (int k : {Qt::Key_A, Qt::Key_B, Qt::Key_C}) s.key(k); }},
        {"on the strip", [](Screen& s) { s.session.goTo(kAtMostTwo); for (int box : {0, 1, 2}) s.clickStrip(box); }},
    };
    for (const auto& [name, act] : cases) {
        SCOPED_TRACE(name);
        Screen s;
        act(s);
        EXPECT_EQ(s.response(kAtMostTwo), (std::vector<std::string>{"two-a", "two-b"}));
        EXPECT_EQ(s.window.strip().VelValue(), QStringLiteral("AB"));
        EXPECT_TRUE(s.window.noticeLabel().isVisible());
        EXPECT_EQ(s.window.noticeLabel().text(), QStringLiteral("Question 6 takes at most 2 answers: unchoose one first."));
    }
}

TEST(ExamScreenAnswers, TheStripTakesTheItemsKindAndCount) {
    struct Case {
        Item item;
        VelOptionToolBar::TypeOfOptionEnum box;
        int count;
    };
    const Case cases[] = {{kSingle, VelOptionToolBar::VelOption, 4}, {kMultiple, VelOptionToolBar::VelCheck, 4},
                          {kFive, VelOptionToolBar::VelOption, 5}, {kThree, VelOptionToolBar::VelOption, 3},
                          {kAtMostTwo, VelOptionToolBar::VelCheck, 4}};
    Screen s;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        s.session.goTo(c.item);
        settle();
        EXPECT_EQ(s.window.strip().VelOptionBox(), c.box);
        EXPECT_EQ(s.window.strip().VelCountItems(), c.count);
        EXPECT_EQ(s.window.strip().VelOptionChar(), VelOptionToolBar::VelUChar);
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
    settle();
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
    s.key(Qt::Key_A);
    s.key(Qt::Key_PageDown);
    s.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(s.session.state().revision, 0u);
}

TEST(ExamScreenNavigation, SwitchKeysAndSheetMoveBetweenQuestions) {
    struct Case {
        const char* name;
        std::function<void(Screen&)> act;
        int current;
    };
    const Case cases[] = {
        {"next", [](Screen& s) { s.press(s.window.questionSwitch(), "Next question"); }, 1},
        {"last", [](Screen& s) { s.press(s.window.questionSwitch(), "Last question"); }, 5},
        {"last, previous", [](Screen& s) { s.press(s.window.questionSwitch(), "Last question");
                                           s.press(s.window.questionSwitch(), "Previous question"); }, 4},
        {"next twice, first", [](Screen& s) { s.press(s.window.questionSwitch(), "Next question");
                                              s.press(s.window.questionSwitch(), "Next question");
                                              s.press(s.window.questionSwitch(), "First question"); }, 0},
        {"previous on the first stays", [](Screen& s) { s.press(s.window.questionSwitch(), "Previous question"); }, 0},
        {"Page Down twice", [](Screen& s) { s.key(Qt::Key_PageDown); s.key(Qt::Key_PageDown); }, 2},
        {"Alt+N, Alt+N, Alt+P", [](Screen& s) { s.key(Qt::Key_N, Qt::AltModifier); s.key(Qt::Key_N, Qt::AltModifier);
                                               s.key(Qt::Key_P, Qt::AltModifier); }, 1},
        {"Ctrl+End, Page Up", [](Screen& s) { s.key(Qt::Key_End, Qt::ControlModifier); s.key(Qt::Key_PageUp); }, 4},
        {"Ctrl+End, Ctrl+Home", [](Screen& s) { s.key(Qt::Key_End, Qt::ControlModifier);
                                               s.key(Qt::Key_Home, Qt::ControlModifier); }, 0},
        {"Page Down past the last stays", [](Screen& s) { for (int i = 0; i < 8; ++i) s.key(Qt::Key_PageDown); }, 5},
        {"Right and End on the focused switch", [](Screen& s) { s.focus(s.window.questionSwitch()); s.key(Qt::Key_Right);
                                                              s.key(Qt::Key_Right); }, 2},
        {"End then Left on the focused switch", [](Screen& s) { s.focus(s.window.questionSwitch()); s.key(Qt::Key_End);
                                                               s.key(Qt::Key_Left); }, 4},
        {"Down three times on the sheet", [](Screen& s) { s.focus(s.window.sheet());
                                                          for (int i = 0; i < 3; ++i) s.key(Qt::Key_Down); }, 3},
        {"a click on a row's number", [](Screen& s) { s.clickSheet(Screen::number(4)); }, 4},
        {"a click on a bubble of another row", [](Screen& s) { s.clickSheet(Screen::bubble(3, 2)); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen s;
        c.act(s);
        EXPECT_EQ(s.session.state().current, c.current);
        // The sheet's marker and current row follow; the strip and switch name the item.
        EXPECT_EQ(s.window.sheet().RowSel(), c.current);
        EXPECT_EQ(s.window.sheet().markerRow(), c.current);
        EXPECT_EQ(s.window.questionSwitch().Caption(), QStringLiteral("Question %1 of 6").arg(c.current + 1));
        EXPECT_TRUE(s.window.pane().toPlainText().contains(
            QString::fromStdString("Prompt of " + s.session.item(c.current).identifier)));
    }
}

// Orange pixels of the flag's pennant around the number of an item.
int pennantPixels(const QImage& sheet, int item) {
    const int top = int((50 + 270 * item + 20 * (item / 5)) / 15.0);
    int n = 0;
    for (int y = std::max(0, top - 4); y < top + 18; ++y)
        for (int x = 0; x < 14; ++x) {
            const QColor c = sheet.pixelColor(x, y);
            n += c.red() > 200 && c.green() > 110 && c.green() < 190 && c.blue() < 90;
        }
    return n;
}

TEST(ExamScreenFlags, FlagsShowInTheStatusAndOnTheSheet) {
    struct Case {
        const char* name;
        std::function<void(Screen&)> act;
        std::vector<int> flagged;
        const char* status;
    };
    const Case cases[] = {
        {"none", [](Screen&) {}, {}, "Answered 0 of 6, 0 flagged"},
        {"Ctrl+F", [](Screen& s) { s.key(Qt::Key_F, Qt::ControlModifier); }, {0}, "Answered 0 of 6, 1 flagged"},
        {"Ctrl+F twice", [](Screen& s) { s.key(Qt::Key_F, Qt::ControlModifier); s.key(Qt::Key_F, Qt::ControlModifier); },
         {}, "Answered 0 of 6, 0 flagged"},
        {"the button on two items, one answer",
         [](Screen& s) { s.window.flagButton().click(); s.key(Qt::Key_PageDown); s.key(Qt::Key_A);
                         s.key(Qt::Key_PageDown); s.window.flagButton().click(); settle(); },
         {0, 2}, "Answered 1 of 6, 2 flagged"},
        {"F chooses, it does not flag", [](Screen& s) { s.session.goTo(kAtMostTwo); s.key(Qt::Key_F); }, {},
         "Answered 0 of 6, 0 flagged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen s;
        c.act(s);
        EXPECT_EQ(s.window.status().Info(), QString::fromLatin1(c.status));
        // From the window, which paints the background the sheet lets through.
        ExamWindow& w = s.window;
        const QImage sheet = w.grab(QRect(w.sheet().mapTo(&w, QPoint(0, 0)), w.sheet().size())).toImage();
        for (int i = 0; i < kItems; ++i) {
            const bool flagged = std::find(c.flagged.begin(), c.flagged.end(), i) != c.flagged.end();
            EXPECT_EQ(s.session.itemState(i).flagged, flagged) << "item " << i;
            EXPECT_EQ(s.window.sheet().showsFlag(i), flagged) << "item " << i;
            if (flagged) {
                EXPECT_GT(pennantPixels(sheet, i), 6) << "item " << i;
            } else {
                EXPECT_EQ(pennantPixels(sheet, i), 0) << "item " << i;
            }
        }
        EXPECT_EQ(s.window.flagButton().isChecked(), s.session.itemState(s.session.state().current).flagged);
    }
}

// Dark pixels of the tab right of bubble D, which ends at 1875 + 240 twips (141 pixels),
// in the 8 pixels to the sheet's edge (2235 twips, 149 pixels).
int darkTabPixels(ExamWindow& w, int item) {
    const QImage sheet = w.grab(QRect(w.sheet().mapTo(&w, QPoint(0, 0)), w.sheet().size())).toImage();
    const int top = int((50 + 270 * item + 20 * (item / 5)) / 15.0);
    int n = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = 142; x < 149; ++x) {
            const QColor c = sheet.pixelColor(x, y);
            n += c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
    return n;
}

TEST(ExamScreenFlags, AnAnswerAfterDShowsOnTheTabBesideTheRow) {
    Screen s;
    s.session.goTo(kFive);
    settle();
    EXPECT_EQ(darkTabPixels(s.window, kFive), 0);
    s.key(Qt::Key_E);
    EXPECT_GT(darkTabPixels(s.window, kFive), 20);
    s.key(Qt::Key_A);  // one answer: A replaces E, and the bubble shows it
    EXPECT_EQ(darkTabPixels(s.window, kFive), 0);
    EXPECT_EQ(s.sheetRow(kFive), QStringLiteral("1"));
    // Items with four choices or fewer have no tab.
    EXPECT_EQ(darkTabPixels(s.window, kSingle), 0);
}

TEST(ExamScreenStatus, TimeSavingAndNotices) {
    Screen s;
    EXPECT_TRUE(s.window.timeLabel().isHidden());  // the test has no limit
    s.window.setRemaining(754'000);
    EXPECT_FALSE(s.window.timeLabel().isHidden());
    EXPECT_EQ(s.window.timeLabel().text(), QStringLiteral("12:34"));
    s.window.setRemaining(3'600'000 + 61'500);  // a begun second counts
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

    s.window.showNotice(QStringLiteral("Five minutes left"));
    EXPECT_TRUE(s.window.noticeLabel().isVisible());
    s.window.showNotice(QString());
    EXPECT_FALSE(s.window.noticeLabel().isVisible());
}

TEST(ExamScreenKeys, RequestsZoomAndScroll) {
    Screen s;
    s.key(Qt::Key_Return, Qt::ControlModifier);
    s.key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(s.handIns, 1);
    EXPECT_EQ(s.reviews, 1);
    s.window.handInButton().click();
    s.window.reviewButton().click();
    EXPECT_EQ(s.handIns, 2);
    EXPECT_EQ(s.reviews, 2);

    EXPECT_EQ(s.window.zoomPercent(), 100);
    s.key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(s.window.zoomPercent(), 115);
    s.press(s.window.zoomBox(), "Zoom in");
    EXPECT_EQ(s.window.zoomPercent(), 130);
    s.press(s.window.zoomBox(), "Zoom out");
    s.key(Qt::Key_Minus, Qt::ControlModifier);
    s.key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(s.window.zoomPercent(), 90);
    // A short question fits larger than normal, and one step more would not fit.
    s.press(s.window.zoomBox(), "Fit");
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
    Screen s({1280, 720}, longQuestion());
    QScrollBar* bar = s.window.pane().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    s.press(s.window.scrollBox(), "Scroll down");
    const int down = bar->value();
    EXPECT_GT(down, 0);
    s.press(s.window.scrollBox(), "Scroll up");
    EXPECT_EQ(bar->value(), 0);
    // Fit cannot make it fit: it stays at the normal size.
    s.press(s.window.zoomBox(), "Fit");
    EXPECT_EQ(s.window.zoomPercent(), 100);
    s.focus(s.window.scrollBox());
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
        EXPECT_EQ(order[i]->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    }
    // Every key the list names is one the screen answers to: a shortcut's text parses.
    for (const auto& [key, what] : w.shortcuts()) {
        EXPECT_FALSE(key.isEmpty());
        EXPECT_FALSE(what.isEmpty());
    }
}

TEST(ExamScreenLock, AfterHandInNothingAnswersAndTheReceiptShows) {
    Screen s;
    auto* receipt = new QLabel(QStringLiteral("Handed in"));
    s.window.lock(receipt);
    settle();
    EXPECT_TRUE(receipt->isVisible());
    EXPECT_FALSE(s.window.pane().isVisible());
    s.key(Qt::Key_B);
    s.key(Qt::Key_PageDown);
    s.key(Qt::Key_F, Qt::ControlModifier);
    s.clickSheet(Screen::bubble(kSingle, 0));
    EXPECT_TRUE(s.session.itemState(kSingle).response.empty());
    EXPECT_EQ(s.session.state().current, 0);
    EXPECT_EQ(s.session.flaggedCount(), 0);
    EXPECT_EQ(s.sheetRow(kSingle), QString());
    for (QWidget* w : QList<QWidget*>{&s.window.strip(), &s.window.sheet(), &s.window.questionSwitch(),
                                      &s.window.flagButton(), &s.window.handInButton()})
        EXPECT_FALSE(w->isEnabled());
}

TEST(ExamScreenLock, CloseAsksTheOwner) {
    Screen s;
    bool allow = false;
    int asked = 0;
    s.window.confirmClose = [&] { ++asked; return allow; };
    s.window.close();
    settle();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(s.window.isVisible());
    allow = true;
    s.window.close();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(s.window.isVisible());
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
