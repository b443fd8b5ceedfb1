// The exam header shows its Vietnamese word: the label's TCVN3 bytes 4C ED 70 3A are
// drawn as "Lớp:", not as the Windows-1252 reading "Líp:".
#include <QPainter>

#include "SheetFixture.h"
#include "hosts/qt/QtText.h"

namespace talvik {
namespace {

using testing::Shown;

// The label's place: Left 240, Top 240, 735 x 375 twips.
const QRect kLabel(16, 16, 49, 25);

// How many pixels of the label differ from the text drawn by hand in the label's font
// over the rendered picture with the label's area cleared to the surface's colour.
int differsFromHandDrawn(const QImage& rendered, const QWidget& w, const QString& text) {
    QImage img = rendered;
    QPainter p(&img);
    p.fillRect(kLabel, w.palette().color(QPalette::Button));
    p.setFont(qtFontFor(Font{}, 96, img));
    p.setPen(w.palette().color(QPalette::ButtonText));
    p.drawText(kLabel, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    p.end();
    int n = 0;
    for (int y = kLabel.top(); y <= kLabel.bottom(); ++y)
        for (int x = kLabel.left(); x <= kLabel.right(); ++x) n += rendered.pixel(x, y) != img.pixel(x, y);
    return n;
}

TEST(QtExamHeader, ShowsTheVietnameseWord) {
    Shown s("vltHeaderExam");
    ASSERT_EQ(s.widget.logicalDpiX(), 96);
    EXPECT_EQ(s.widget.size(), QSize(619, 319));  // 9285 x 4785 twips
    const QImage rendered = s.image();
    EXPECT_EQ(differsFromHandDrawn(rendered, s.widget, QStringLiteral(u"L\u1edbp:")), 0);
    // The two readings differ on screen, so the comparison above tells them apart.
    EXPECT_GT(differsFromHandDrawn(rendered, s.widget, QStringLiteral(u"L\u00edp:")), 0);
}

}  // namespace
}  // namespace talvik
