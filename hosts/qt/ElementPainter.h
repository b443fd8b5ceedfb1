#pragma once
// Draws a control as its host's element model describes it: the surface (back colour,
// back style, background picture) and then the visible windowless elements in the
// template's stacking order. Only what intersects the exposed area is drawn; the caller
// says which elements that is.
#include <QFont>
#include <QFontMetricsF>
#include <QPalette>
#include <QPixmap>
#include <QRawFont>
#include <QRegion>
#include <array>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "frame/host/ControlHost.h"
#include "hosts/qt/Twips.h"

class QPainter;

namespace talvik {

// A colour of the library (0x00BBGGRR, or 0x80000000 + n for system colour n) in Qt.
QColor qtColour(Colour c, const QPalette& palette);

class ElementPainter {
public:
    ElementPainter();

    struct Context {
        TwipScale scale;
        qreal dpi = 96;            // the widget's logical DPI
        qreal pixelRatio = 1;      // device pixels per logical pixel
        QPalette palette;
    };

    // Paints `elements` (in stacking order: those the exposed area may show) over the
    // surface; `exposed` is in the widget's logical pixels.
    void paint(QPainter& p, const ControlHost& host, const QRegion& exposed, std::span<const Element> elements,
               const Context& ctx);
    // Forgets the scaled pictures and fonts, of every painter (the screen changed).
    void clear();

private:
    void drawSurface(QPainter& p, const ControlHost& host, const QRegion& exposed,
                     std::span<const Element> elements, const Context& ctx);
    void drawImage(QPainter& p, const Image& img, const QRegion& exposed, const Context& ctx);
    void drawLabel(QPainter& p, const Label& l, const Context& ctx);
    // How a label's text reaches a contrast of 4.5:1 against everything drawn under its
    // letters: the pictures drawn so far and, where they leave it bare, the flat ground
    // (the label's own back colour when it has one). On a flat ground alone a colour that
    // falls short is moved towards white or black, keeping its hue, just far enough; over
    // pictures, whose pixels may be light and dark at once, the colour stays and a halo of
    // black or white surrounds the letters.
    struct Legible {
        QColor text;
        std::optional<QColor> halo;
    };
    Legible legible(const QRect& label, const QColor& text, std::optional<QColor> ownBack) const;
    // The lightest and darkest relative luminance of a part of a bitmap, made once.
    std::pair<float, float> luminanceRange(const Bitmap& b, const QRect& part) const;
    void drawLine(QPainter& p, const Line& l, const Context& ctx);
    void drawFrame(QPainter& p, const Frame& f, const Surface& s, const Context& ctx);
    // Draws a picture into `device`, a rectangle of whole device pixels, from its large
    // bitmap on a screen of more than one device pixel per pixel. Pictures are resampled
    // by area, each axis by the same weights for the same sizes: a corner and the edge
    // beside it, of one height in the same row, get the same rows of colour.
    void drawPicture(QPainter& p, const Picture& pic, const QRect& device, const Context& ctx);
    // The bitmap resampled to `device` pixels, made once.
    const QPixmap& pixmap(const Picture& pic, const Bitmap& source, QSize device);
    struct RowRun {
        int first, end;
        std::uint32_t colour;
    };
    // The runs of equal rows of an opaque picture whose every row is of one colour,
    // resampled to `height` device pixels, made once; empty for any other picture.
    const std::vector<RowRun>& rowRuns(const Picture& pic, const Bitmap& source, int height);
    const QPixmap& haloOf(QPainter& p, const QString& text, const QColor& glow, int reach, qreal ratio);
    struct CachedFont;
    // The Qt font for drawing on `device`, made once; setting the painter's font only
    // when it changes spares a font lookup per label.
    const CachedFont& font(const Font& f, qreal dpi, const QPaintDevice& device);
    void use(QPainter& p, const CachedFont& f);

    struct PixmapKey {
        const Bitmap* bitmap;
        int width, height;
        qreal ratio;
        friend auto operator<=>(const PixmapKey&, const PixmapKey&) = default;
    };
    struct Cached {
        Picture picture;  // keeps the bitmap, and so the key, alive
        QPixmap pixmap;
    };
    struct CachedProfile {
        Picture picture;  // keeps the bitmap, and so the key, alive
        std::vector<RowRun> runs;
    };
    struct CachedFont {
        Font font;
        qreal dpi;
        int deviceDpi;
        QFont qt;
        QFontMetricsF metrics;
        QFont drawn;  // as the painter resolves it for the device
        mutable std::array<qreal, 256> advances{};  // of Latin-1 characters, 0 until measured
        // The width of a one-line text; Latin-1 text from the characters' advances,
        // which spares shaping it once more before it is drawn.
        qreal width(const QString& text) const;
        // The glyphs and advances of the digits, found once: numbers are drawn from them.
        struct Digits {
            QRawFont font;
            std::array<quint32, 10> glyphs{};
            std::array<qreal, 10> advances{};
            bool found = false;  // the font itself has every digit; else shaping falls back
        };
        const Digits& digits() const;
        // No line drawn with the text, which glyphs alone would not draw alike.
        bool plain() const;
        mutable std::optional<Digits> digitGlyphs;  // found on first use
    };
    // The longest number drawn from the digits' glyphs.
    static constexpr std::size_t kMaxDigitRun = 8;
    // The caches every painter shares: sheets show the same pictures in the same fonts.
    struct Shared;
    static Shared& shared();
    std::map<PixmapKey, Cached>& pixmaps_;
    std::map<PixmapKey, CachedProfile>& profiles_;
    std::deque<CachedFont>& fonts_;
    const CachedFont* current_ = nullptr;  // the painter's font in this paint
    // The pictures drawn so far in this paint, in logical pixels, for the labels above
    // them, and the lightness found under a label: shared like the caches (painting
    // happens on one thread), so that a sheet keeps none of it between paints.
    std::vector<std::pair<QRect, const Bitmap*>>& beneath_;
    // The lightest and darkest relative luminance of what shows where no picture is drawn
    // in this paint: the surface's back colour, or through a transparent surface the
    // container, whose window or base colour it may be.
    std::pair<float, float> ground_{0, 1};
    std::map<std::tuple<const Bitmap*, int, int, int, int>, std::pair<float, float>>& luminance_;
};

}  // namespace talvik
