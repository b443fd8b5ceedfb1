// The exam header shows its Vietnamese word: the label's TCVN3 bytes 4C ED 70 3A are
// drawn as "Lớp:", not as the Windows-1252 reading "Líp:".
#include <QPainter>

#include "SheetFixture.h"
#include "frame/Catalogue.h"
#include "hosts/qt/QtText.h"

namespace talvik {
namespace {

using testing::Shown;

// The label drawn by hand: the text in the label's font at its place (Left 240,
// Top 240, 735 x 375 twips: 16, 16, 49 x 25 pixels), over the rendered picture with the
// label's area cleared to the surface's colour.
QImage drawnByHand(const QImage& rendered, const QWidget& w, const QString& text) {
    QImage img = rendered;
    QPainter p(&img);
    const QRect label(16, 16, 49, 25);
    p.fillRect(label, w.palette().color(QPalette::Button));
    p.setFont(qtFontFor(Font{}, 96, img));
    p.setPen(w.palette().color(QPalette::ButtonText));
    p.drawText(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    return img;
}

int differingPixels(const QImage& a, const QImage& b, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST(QtExamHeader, ShowsTheVietnameseWord) {
    if (findControlClass("vltHeaderExam") == nullptr) GTEST_SKIP() << "no exam header in this build";
    Shown s("vltHeaderExam");
    ASSERT_EQ(s.widget.logicalDpiX(), 96);
    EXPECT_EQ(s.widget.size(), QSize(619, 319));  // 9285 x 4785 twips
    const QImage rendered = s.image();
    const QRect label(16, 16, 49, 25);
    const QImage vietnamese = drawnByHand(rendered, s.widget, QStringLiteral(u"L\u1edbp:"));
    const QImage western = drawnByHand(rendered, s.widget, QStringLiteral(u"L\u00edp:"));
    EXPECT_EQ(differingPixels(rendered, vietnamese, label), 0);
    // The two readings differ on screen, so the comparison above tells them apart.
    EXPECT_GT(differingPixels(rendered, western, label), 0);
}

}  // namespace
}  // namespace talvik
