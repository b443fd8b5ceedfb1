// The controls under the palette of the application: every text reads under a light and
// a dark palette, colours that read keep the control's own colour, and a palette change
// repaints the control in the new colours.
#include <QApplication>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "frame/host/HostError.h"
#include "legibility.h"

namespace talvik {
namespace {

using testing::Shown;

struct LabelRef {
    const char* name;
    int index;  // -1: not an array
};

Label labelOf(const QtControlWidget& w, const LabelRef& r) {
    const Element e = r.index < 0 ? w.host().find(r.name) : w.host().find(r.name, r.index);
    return e.as<Label>();
}

// Replaces the application's palette while it lives: controls made meanwhile are made
// under it.
class AppPalette {
public:
    explicit AppPalette(const QPalette& p) : saved_(QApplication::palette()) { QApplication::setPalette(p); }
    ~AppPalette() { QApplication::setPalette(saved_); }
    AppPalette(const AppPalette&) = delete;
    AppPalette& operator=(const AppPalette&) = delete;

private:
    QPalette saved_;
};

// The texts of the controls other than the boxes' captions, each on what its control
// draws under it: the answer sheet's numbers on the button face, the option strip's
// labels on its background picture (WindowXP, Veltrane) or on the button face (Window2k3,
// FireFox2007), the header's label, the link's text, a transparent info box's texts on
// the window, and the graphic button's caption on its pictures. Where the control's own
// colour reads on the light palette it is drawn as it is; under the dark one a colour
// that falls short keeps its hue.
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
        {"answer sheet, 40 questions", "Matrix", {{"MaxItems", std::int16_t{40}}, {"MaxCols", std::int16_t{2}}},
         {{"Label1", 0}, {"Label1", 39}}, true},
        {"option strip WindowXP", "VelOptionToolBar", {{"VelStyle", std::int32_t{1}}}, strip, true},
        {"option strip Window2k3", "VelOptionToolBar", {{"VelStyle", std::int32_t{2}}}, strip, true},
        {"option strip Veltrane", "VelOptionToolBar", {{"VelStyle", std::int32_t{3}}}, strip, true},
        {"option strip FireFox2007", "VelOptionToolBar", {{"VelStyle", std::int32_t{4}}, {"VelOptionChar", std::int32_t{1}}},
         strip, true},
        {"exam header", "vltHeaderExam", {}, {{"Label1", -1}}, true},
        {"link", "URLLink", {}, {{"lblURL", -1}}, true},
        {"link with its own text", "URLLink", {{"Text", "Exam rules and help"}, {"URL", "https://talvik.example/help"}},
         {{"lblURL", -1}}, true},
        {"transparent info box", "vltInfoBox",
         {{"Style", std::int32_t{2}}, {"Caption", "Transparent"}, {"Info", "Read every question"}, {"BackStyle", std::int32_t{0}}},
         {{"Label1", -1}, {"Label2", -1}}, false},
        {"transparent info box, white caption", "vltInfoBox",
         {{"Style", std::int32_t{4}}, {"Caption", "Transparent"}, {"Info", "Read every question"}, {"BackStyle", std::int32_t{0}}},
         {{"Label1", -1}, {"Label2", -1}}, false},
        {"graphic button", "vltGraphButton", {{"CaptionText", "Next"}}, {{"Label1", -1}}, false},
    };
    const std::pair<const char*, QPalette> palettes[] = {{"light", testing::lightPalette()},
                                                         {"dark", testing::darkPalette()}};
    ASSERT_GT(testing::luminance(palettes[0].second.color(QPalette::Window)), 0.5);
    for (const Case& c : cases)
        for (const auto& [paletteName, palette] : palettes) {
            double worst = 21;
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
                for (const LabelRef& ref : c.labels) {
                    const Label l = labelOf(shown->widget, ref);
                    ASSERT_TRUE(l && l.isVisible() && l.Enabled() && !l.Caption().empty()) << ref.name << " " << ref.index;
                    const testing::Reading r = testing::read(shown->widget, l, ratio);
                    ASSERT_GT(r.pixels, 0) << ref.name << " " << ref.index;
                    EXPECT_GE(r.worst, 4.5) << ref.name << " " << ref.index << " drawn in " << r.drawn.name().toStdString();
                    worst = std::min(worst, r.worst);
                    const QColor own = qtColour(l.ForeColor(), palette);
                    if (palette == palettes[0].second && c.ownColourReadsOnLight) {
                        EXPECT_TRUE(testing::near(r.drawn, own)) << ref.name << " drawn in " << r.drawn.name().toStdString();
                    }
                    if (own.hsvSaturation() > 80 && r.drawn.hsvSaturation() > 0) {
                        const int turn = std::abs(r.drawn.hsvHue() - own.hsvHue());
                        EXPECT_LE(std::min(turn, 360 - turn), 6)
                            << ref.name << " drawn in " << r.drawn.name().toStdString() << ", its own colour "
                            << own.name().toStdString();
                    }
                }
            }
            if (worst < 21) std::printf("%s, %s palette: worst contrast %.2f\n", c.title, paletteName, worst);
        }
}

// A palette change repaints the whole control, and it then looks as a control made
// under the new palette does; going back brings back the first picture.
TEST(QtPalette, PaletteChangeRepaintsInTheNewColours) {
    struct Case {
        const char* className;
        PropertyBag bag;
    };
    const Case cases[] = {
        {"Matrix", {{"MaxItems", std::int16_t{20}}}},
        {"VelOptionToolBar", {{"VelStyle", std::int32_t{2}}}},
        {"URLLink", {}},
        {"vltBox", {{"Style", std::int32_t{0}}, {"Caption", "Answer sheet"}}},
        {"vltInfoBox", {{"Style", std::int32_t{2}}, {"Caption", "Notes"}, {"BackStyle", std::int32_t{0}}}},
        {"vltHeaderExam", {}},
    };
    const QPalette light = testing::lightPalette(), dark = testing::darkPalette();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        Shown shown(c.className, c.bag);
        shown.widget.clearFocus();  // compared with a control that has never had the focus
        shown.settle();
        const QImage before = shown.image();
        const QRegion repainted = shown.repaintedBy([&] { shown.form.setPalette(dark); });
        EXPECT_TRUE((QRegion(shown.widget.rect()) - repainted).isEmpty());
        const QImage switched = shown.image();
        EXPECT_NE(switched, before);
        {
            const AppPalette under(dark);
            Shown fresh(c.className, c.bag);
            fresh.widget.clearFocus();
            fresh.settle();
            EXPECT_EQ(switched, fresh.image());
        }
        shown.form.setPalette(light);
        shown.settle();
        EXPECT_EQ(shown.image(), before);
    }
}

}  // namespace
}  // namespace talvik
