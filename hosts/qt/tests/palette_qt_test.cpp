// How the controls' texts read: every label under a light and a dark palette, colours
// that read keep the control's own, a palette change repaints in the new colours, and
// the exam header's word is decoded from its code page.
#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <array>
#include <map>

#include "SheetFixture.h"
#include "hosts/qt/DarkPalette.h"
#include "hosts/qt/ElementPainter.h"
#include "hosts/qt/QtText.h"

namespace talvik {
namespace {

using testing::difference;
using testing::Shown;

// The application's own palette, which on the test platform is a light one, and the dark
// palette with a link colour as hard to read as its highlight, so that the tint of a
// link's text is put to the test.
using Palettes = std::array<std::pair<const char*, QPalette>, 2>;
Palettes lightAndDark() {
    QPalette dark = talvik::darkPalette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        dark.setColor(group, QPalette::Link, dark.color(group, QPalette::Highlight));
    return {{{"light", QApplication::palette()}, {"dark", dark}}};
}

// A colour of another hue and about the same luminance: recoloured to it, a label changes
// its letters and keeps whatever is drawn to make them read.
QColor sameLightnessOtherHue(QColor c) {
    const double want = testing::luminance(c);
    QColor best;
    double gap = 2;
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) {
                const QColor other(r, g, b);
                if (difference(other.rgb(), c.rgb()) < 64) continue;
                if (const double d = std::abs(testing::luminance(other) - want); d < gap) {
                    gap = d;
                    best = other;
                }
            }
    return best;
}

struct Reading {
    int pixels = 0;    // letter pixels found
    QColor drawn;      // the colour the letters are drawn in
    double worst = 0;  // the lowest contrast of a letter pixel against its surroundings
};

// Reads a visible, enabled label of a shown control. Its letters are the pixels that
// change when the label is recoloured, in the colour of those that change most; each
// counts with the best contrast met walking out from it (four ways, up to 8 device
// pixels) until the control's own drawing without the label resumes, and the worst of
// those is the label's.
Reading read(QtControlWidget& w, const Label& l, qreal ratio) {
    const QColor window = w.palette().color(QPalette::Window);
    const QImage with = testing::renderAt(w, ratio, window);
    l.Visible(false);
    const QImage without = testing::renderAt(w, ratio, window);
    l.Visible(true);
    const Colour own = l.ForeColor();
    // The colour's channels as the library writes them, red lowest.
    const QColor other = sameLightnessOtherHue(qtColour(own, w.palette()));
    l.ForeColor(Colour(other.red()) | Colour(other.green()) << 8 | Colour(other.blue()) << 16);
    const QImage recoloured = testing::renderAt(w, ratio, window);
    l.ForeColor(own);

    const QRect label = testing::devicePixels(w, l.bounds(), ratio) & with.rect();

    Reading out;
    // Where a letter covers a pixel whole, recolouring changes it most; at its edges only
    // by the share the letter covers.
    std::map<QRgb, int> counts;
    int most = 16;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            const int d = difference(with.pixel(x, y), recoloured.pixel(x, y));
            if (d < most) continue;
            if (d > most) counts.clear();
            most = d;
            ++counts[with.pixel(x, y)];
        }
    if (counts.empty()) return out;
    out.drawn = QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& c) {
                           return a.second < c.second;
                       })->first);
    out.worst = 21;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) {
            const QRgb c = with.pixel(x, y);
            if (difference(c, out.drawn.rgb()) > 16 || difference(c, recoloured.pixel(x, y)) <= 16) continue;
            ++out.pixels;
            double best = 1;
            for (const auto& [dx, dy] : {std::pair(1, 0), std::pair(-1, 0), std::pair(0, 1), std::pair(0, -1)})
                for (int step = 1; step <= 8; ++step) {
                    const QPoint q(x + dx * step, y + dy * step);
                    if (!with.rect().contains(q)) break;
                    // Where the control's own drawing resumes, its own pixel: the last
                    // faint edge of a letter does not count as what lies around it.
                    const bool resumed = difference(with.pixel(q), without.pixel(q)) <= 4;
                    best = std::max(best, testing::contrast(out.drawn, QColor((resumed ? without : with).pixel(q))));
                    if (resumed) break;
                }
            out.worst = std::min(out.worst, best);
        }
    return out;
}

struct LabelRef {
    const char* name;
    int index;  // -1: not an array
};

// Each label, visible and enabled, reads at 4.5:1 at `ratio`; where `ownColour`, its
// letters are in the control's own colour; a saturated colour keeps its hue.
void expectReadable(Shown& s, const std::vector<LabelRef>& labels, const QPalette& palette, qreal ratio, bool ownColour) {
    for (const auto& [name, index] : labels) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(index));
        const Label l = (index < 0 ? s.widget.host().find(name) : s.widget.host().find(name, index)).as<Label>();
        ASSERT_TRUE(l && l.isVisible() && l.Enabled() && !l.Caption().empty());
        const Reading r = read(s.widget, l, ratio);
        ASSERT_GT(r.pixels, 0);
        EXPECT_GE(r.worst, 4.5) << "drawn in " << r.drawn.name().toStdString();
        const QColor own = qtColour(l.ForeColor(), palette);
        if (ownColour) {
            EXPECT_TRUE(testing::near(r.drawn, own)) << "drawn in " << r.drawn.name().toStdString();
        }
        if (own.hsvSaturation() > 80 && r.drawn.hsvSaturation() > 0) {
            const int turn = std::abs(r.drawn.hsvHue() - own.hsvHue());
            EXPECT_LE(std::min(turn, 360 - turn), 6)
                << "drawn in " << r.drawn.name().toStdString() << ", its own colour " << own.name().toStdString();
        }
    }
}

// The texts of the controls other than the boxes' captions, each on what its control
// draws under it. Where the control's own colour reads on the light palette it is drawn
// as it is; under the dark one a colour that falls short keeps its hue.
TEST(QtPalette, TextsReadUnderLightAndDarkPalettes) {
    struct Case {
        const char* title;
        const char* className;
        PropertyBag bag;
        std::vector<LabelRef> labels;
        bool ownColourReadsOnLight;
    };
    const std::vector<LabelRef> strip = {{"Label1", 0}, {"Label1", 1}, {"Label1", 2}, {"Label1", 3}};
    const Case cases[] = {
        {"answer sheet", "Matrix", {}, {{"Label1", 0}, {"Label1", 9}, {"Label1", 99}}, true},
        {"option strip WindowXP", "VelOptionToolBar", {{"VelStyle", 1}}, strip, true},
        {"option strip Window2k3", "VelOptionToolBar", {{"VelStyle", 2}}, strip, true},
        {"option strip Veltrane", "VelOptionToolBar", {{"VelStyle", 3}}, strip, true},
        {"option strip FireFox2007", "VelOptionToolBar", {{"VelStyle", 4}, {"VelOptionChar", 1}}, strip, true},
        {"exam header", "vltHeaderExam", {}, {{"Label1", -1}}, true},
        {"link", "URLLink", {}, {{"lblURL", -1}}, true},
        {"transparent info box", "vltInfoBox",
         {{"Style", 2}, {"Caption", "Transparent"}, {"Info", "Read every question"}, {"BackStyle", 0}},
         {{"Label1", -1}, {"Label2", -1}}, false},
        {"transparent info box, white caption", "vltInfoBox",
         {{"Style", 4}, {"Caption", "Transparent"}, {"Info", "Read every question"}, {"BackStyle", 0}},
         {{"Label1", -1}, {"Label2", -1}}, false},
        {"graphic button", "vltGraphButton", {{"CaptionText", "Next"}}, {{"Label1", -1}}, false},
    };
    const Palettes palettes = lightAndDark();
    ASSERT_GT(testing::luminance(palettes[0].second.color(QPalette::Window)), 0.5);
    for (const Case& c : cases)
        for (const auto& [paletteName, palette] : palettes)
            for (const qreal ratio : {1.0, 2.0}) {
                SCOPED_TRACE(std::string(c.title) + ", " + paletteName + " palette at " + std::to_string(ratio));
                std::optional<Shown> shown;
                if (std::string_view(c.className) == "vltGraphButton")
                    shown.emplace(QtControlWidget::LibraryInternal{c.className}, c.bag);
                else
                    shown.emplace(c.className, c.bag);
                shown->widget.clearFocus();  // the focus ring is no part of the text's ground
                shown->form.setPalette(palette);
                shown->settle();
                expectReadable(*shown, c.labels, palette, ratio, c.ownColourReadsOnLight && &palette == &palettes[0].second);
            }
}

// Every caption and text label of every box, in every style, in the design's colour on a
// new box and in the white a box keeps after a skin that turns its captions white: over
// the skins the letters keep their colour.
TEST(QtPalette, BoxCaptionsReadOnEverySkin) {
    const Palettes palettes = lightAndDark();
    for (const auto& [paletteName, palette] : palettes)
        for (const std::string& box : testing::BoxClasses())
            for (std::int32_t style = 0; style <= 5; ++style)
                for (const bool afterWhite : {false, true})
                    for (const qreal ratio : {1.0, 1.5, 2.0}) {
                        SCOPED_TRACE(box + " style " + std::to_string(style) + (afterWhite ? " after style 4" : "") +
                                     " at " + std::to_string(ratio) + ", " + paletteName + " palette");
                        Shown shown(box, PropertyBag{{"Style", afterWhite ? 4 : style},
                                                     {"Caption", "Answer sheet, page 1"},
                                                     {"Info", "Read each question"}});
                        shown.form.setPalette(palette);
                        if (afterWhite) shown.widget.let("Style", Variant(style));
                        shown.widget.resize(QSize(420, 240));
                        shown.settle();
                        std::vector<LabelRef> shownLabels;
                        for (const char* name : {"Label1", "Label2"})
                            if (const Element e = shown.widget.host().find(name);
                                e && e.isVisible() && !e.as<Label>().Caption().empty())
                                shownLabels.push_back({name, -1});
                        expectReadable(shown, shownLabels, palette, ratio, true);
                    }
}

// A palette change repaints the whole control, and it then looks as a control made
// under the new palette does; going back brings back the first picture.
TEST(QtPalette, PaletteChangeRepaintsInTheNewColours) {
    const std::pair<const char*, PropertyBag> cases[] = {
        {"Matrix", {{"MaxItems", std::int16_t{20}}}},
        {"VelOptionToolBar", {{"VelStyle", 2}}},
        {"URLLink", {}},
        {"vltBox", {{"Style", 0}, {"Caption", "Answer sheet"}}},
        {"vltInfoBox", {{"Style", 2}, {"Caption", "Notes"}, {"BackStyle", 0}}},
        {"vltHeaderExam", {}},
    };
    const Palettes palettes = lightAndDark();
    const QPalette &light = palettes[0].second, &dark = palettes[1].second;
    for (const auto& [className, bag] : cases) {
        SCOPED_TRACE(className);
        const auto made = [&](Shown& s) {
            s.widget.clearFocus();  // compared with a control that has never had the focus
            s.settle();
            return s.image();
        };
        Shown shown(className, bag);
        const QImage before = made(shown);
        const QRegion repainted = shown.repaintedBy([&] { shown.form.setPalette(dark); });
        EXPECT_TRUE((QRegion(shown.widget.rect()) - repainted).isEmpty());
        const QImage switched = shown.image();
        EXPECT_NE(switched, before);
        QApplication::setPalette(dark);  // a control made under it
        {
            Shown fresh(className, bag);
            EXPECT_EQ(switched, made(fresh));
        }
        QApplication::setPalette(light);
        shown.form.setPalette(light);
        shown.settle();
        EXPECT_EQ(shown.image(), before);
    }
}

// The exam header's label holds the TCVN3 bytes 4C ED 70 3A: drawn as "Lớp:", not as the
// Windows-1252 reading "Líp:". Its place: Left 240, Top 240, 735 x 375 twips.
TEST(QtPalette, ExamHeaderShowsTheVietnameseWord) {
    Shown s("vltHeaderExam");
    ASSERT_EQ(s.widget.logicalDpiX(), 96);
    EXPECT_EQ(s.widget.size(), QSize(619, 319));  // 9285 x 4785 twips
    const QRect label(16, 16, 49, 25);
    const QImage rendered = s.image();
    // The pixels of the label that differ from the text drawn by hand in the label's font
    // over the label's area cleared to the surface's colour.
    const auto differsFrom = [&](const QString& text) {
        QImage img = rendered;
        QPainter p(&img);
        p.fillRect(label, s.widget.palette().color(QPalette::Button));
        p.setFont(qtFontFor(Font{}, 96, img));
        p.setPen(s.widget.palette().color(QPalette::ButtonText));
        p.drawText(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        p.end();
        int n = 0;
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x) n += rendered.pixel(x, y) != img.pixel(x, y);
        return n;
    };
    EXPECT_EQ(differsFrom(QStringLiteral(u"L\u1edbp:")), 0);
    EXPECT_GT(differsFrom(QStringLiteral(u"L\u00edp:")), 0);  // the two readings differ on screen
}

}  // namespace
}  // namespace talvik
