// The exam's option strip and answer sheet in step: a mark made on either, with the
// mouse or the keyboard, shows on the other, and the strip follows the current question.
//
// At 96 DPI a pixel is 15 twips. On the sheet (spacing 150) choice k of question q in the
// first column is a 16-pixel bubble at Left 465 + 590 (k - 1) and Top 50 + 390 i +
// 20 (i div 5) twips, i = q - 1; on the strip box i is a 32-pixel box at (20 + 42 i, 4).
#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>

#include "AnswerStrip.h"
#include "hosts/qt/QtControlWidget.h"

namespace talvik {
namespace {

const PropertyBag kSheetLayout{{"MaxItems", std::int16_t{40}}, {"MaxCols", std::int16_t{2}},
                               {"MaxItemPerCol", std::int16_t{20}}};

struct Exam {
    QWidget form;
    QtControlWidget sheet{"Matrix", &kSheetLayout, &form};
    AnswerStrip answer{sheet, &form};

    Exam() {
        answer.move(sheet.width() + 10, 0);
        answer.resize(answer.sizeHint());
        form.resize(sheet.width() + answer.sizeHint().width() + 20, sheet.height());
        form.show();
        settle();
    }
    static void settle() {
        for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
    }
    void clickSheet(int k, int q) {  // at the bubble's centre
        const int i = q - 1;
        const QPoint corner(qRound((465 + 590 * (k - 1)) / 15.0), qRound((50 + 390 * i + 20 * (i / 5)) / 15.0));
        QTest::mouseClick(&sheet, Qt::LeftButton, {}, corner + QPoint(8, 8));
        settle();
    }
    void clickStrip(int i) {
        QTest::mouseClick(&answer.strip(), Qt::LeftButton, {}, {20 + 42 * i + 16, 4 + 16});
        settle();
    }
    void key(Qt::Key k) {
        QTest::keyClick(&sheet, k);
        settle();
    }
    std::string stripValue() { return answer.strip().get("VelValue").value.toString(); }
    std::string sheetAnswer(int q) { return sheet.get("result").value.toStringArray().at(q); }
};

TEST(ExamAnswerStrip, MarksOnEitherShowOnTheOther) {
    // Afterwards: the question the strip shows, its value, and answers on the sheet.
    struct Case {
        const char* name;
        std::function<void(Exam&)> act;
        int question;
        const char* strip;
        std::map<int, const char*> sheet;
    };
    const Case cases[] = {
        {"new exam", [](Exam&) {}, 1, "", {{1, ""}}},
        {"Down, then C on the sheet's keyboard", [](Exam& e) { e.key(Qt::Key_Down); e.key(Qt::Key_C); }, 2, "C",
         {{1, ""}, {2, "3"}}},
        {"two choices on the sheet", [](Exam& e) { e.clickSheet(4, 6); e.key(Qt::Key_A); }, 6, "AD", {{6, "1,4"}}},
        {"A and C on the strip", [](Exam& e) { e.clickStrip(0); e.clickStrip(2); }, 1, "AC", {{1, "1,3"}, {2, ""}}},
        {"the strip unmarks a sheet mark", [](Exam& e) { e.clickSheet(4, 7); e.clickStrip(3); }, 7, "", {{7, ""}}},
        {"the strip marks the question the sheet moved to",
         [](Exam& e) { for (int i = 0; i < 4; ++i) e.key(Qt::Key_Down); e.clickStrip(1); }, 5, "B", {{1, ""}, {5, "2"}}},
        {"moving on shows the next question's marks, moving back the earlier ones",
         [](Exam& e) { e.clickStrip(0); e.key(Qt::Key_Down); e.key(Qt::Key_Up); }, 1, "A", {{1, "1"}, {2, ""}}},
        {"moving on from a marked question", [](Exam& e) { e.clickStrip(0); e.key(Qt::Key_Down); }, 2, "", {{1, "1"}}},
        {"Space on the sheet clears the strip", [](Exam& e) { e.clickStrip(0); e.clickStrip(3); e.key(Qt::Key_Space); },
         1, "", {{1, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exam e;
        c.act(e);
        EXPECT_EQ(e.answer.question(), c.question);
        EXPECT_EQ(e.stripValue(), c.strip);
        for (const auto& [q, answer] : c.sheet) EXPECT_EQ(e.sheetAnswer(q), answer) << "question " << q;
    }
}

TEST(ExamAnswerStrip, ChoicesInEitherSpelling) {
    const std::pair<const char*, unsigned long> cases[] = {
        {"", 0}, {"1,3", 0b0101}, {"ac", 0b0101}, {"1,2,3,4", 0b1111}, {"E5e0", 0}, {"dB", 0b1010}};
    for (const auto& [text, bits] : cases) EXPECT_EQ(choicesIn(text).to_ulong(), bits) << text;
}

}  // namespace
}  // namespace talvik
