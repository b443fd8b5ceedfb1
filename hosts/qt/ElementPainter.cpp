#include "hosts/qt/ElementPainter.h"

#include <QStaticText>

#include <QCoreApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>
#include <QGlyphRun>
#include <algorithm>
#include <cmath>

#include "hosts/qt/QtText.h"

namespace talvik {

struct ElementPainter::Shared {
    std::map<PixmapKey, Cached> pixmaps;
    std::map<PixmapKey, CachedProfile> profiles;
    std::deque<CachedFont> fonts;
    std::vector<std::pair<QRect, const Bitmap*>> beneath;
    std::map<std::tuple<const Bitmap*, int, int, int, int>, std::pair<float, float>> luminance;
    std::map<std::tuple<QString, QString, QRgb, int, qreal, int>, QPixmap> halos;
    void clear() {
        pixmaps.clear();
        profiles.clear();
        fonts.clear();
        beneath.clear();
        luminance.clear();
        halos.clear();
    }
};

namespace {

// Which source pixels make up each of `to` pixels taking the place of `from`, and by how
// much: each covers its share of the source's length, so a run of one colour stays that
// colour, and a boundary between two runs lands on the same pixel for every picture
// resampled between the same two lengths.
std::vector<std::vector<std::pair<int, float>>> areaWeights(int from, int to) {
    std::vector<std::vector<std::pair<int, float>>> taps(std::size_t(std::max(to, 0)));
    const double step = double(from) / double(to);
    for (int i = 0; i < to; ++i) {
        const double start = i * step, end = (i + 1) * step;
        auto& t = taps[std::size_t(i)];
        for (int k = int(std::floor(start)); k < int(std::ceil(end)) && k < from; ++k) {
            const double w = std::min(end, double(k + 1)) - std::max(start, double(k));
            if (w > 1e-9) t.emplace_back(k, float(w / step));
        }
    }
    return taps;
}

using Channels = std::array<float, 4>;  // premultiplied a, r, g, b

Channels premultiplied(std::uint32_t argb) {
    const float a = float(argb >> 24) / 255.0f;
    return {float(argb >> 24), float((argb >> 16) & 0xFF) * a, float((argb >> 8) & 0xFF) * a, float(argb & 0xFF) * a};
}

int channel(float v) { return std::clamp(int(v + 0.5f), 0, 255); }

// The bitmap resampled by area to `size`, premultiplied.
QImage resampled(const Bitmap& b, QSize size) {
    const auto across = areaWeights(b.width, size.width());
    const auto down = areaWeights(b.height, size.height());
    const auto w = std::size_t(size.width());
    std::vector<Channels> rows(w * std::size_t(b.height));
    for (int y = 0; y < b.height; ++y) {
        const std::uint32_t* src = b.argb.data() + std::size_t(y) * std::size_t(b.width);
        for (std::size_t x = 0; x < w; ++x) {
            Channels acc{};
            for (const auto& [k, weight] : across[x]) {
                const Channels c = premultiplied(src[k]);
                for (int i = 0; i < 4; ++i) acc[std::size_t(i)] += c[std::size_t(i)] * weight;
            }
            rows[std::size_t(y) * w + x] = acc;
        }
    }
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (std::size_t x = 0; x < w; ++x) {
            Channels acc{};
            for (const auto& [k, weight] : down[std::size_t(y)]) {
                const Channels& c = rows[std::size_t(k) * w + x];
                for (int i = 0; i < 4; ++i) acc[std::size_t(i)] += c[std::size_t(i)] * weight;
            }
            line[x] = qRgba(channel(acc[1]), channel(acc[2]), channel(acc[3]), channel(acc[0]));
        }
    }
    return out;
}

// Edges snapped to device pixels one by one from twips: slices that touch in twips touch
// in device pixels, at every pixel ratio, whatever their widths.
QRect deviceRect(const RectF& r, const TwipScale& scale, qreal pixelRatio) {
    const qreal k = scale.pxPerTwip() * pixelRatio;
    const auto at = [k](float twips) { return qRound(qreal(twips) * k); };
    return QRect(QPoint(at(r.left), at(r.top)), QPoint(at(r.right()) - 1, at(r.bottom()) - 1));
}

// Each channel's share of light, looked up: the halo test reads every pixel under a
// caption at each new size of its box.
float relativeLuminance(QRgb c) {
    static const std::array<float, 256> linear = [] {
        std::array<float, 256> t{};
        for (int v = 0; v < 256; ++v) {
            const float s = float(v) / 255.0f;
            t[std::size_t(v)] = s <= 0.04045f ? s / 12.92f : std::pow((s + 0.055f) / 1.055f, 2.4f);
        }
        return t;
    }();
    return 0.2126f * linear[std::size_t(qRed(c))] + 0.7152f * linear[std::size_t(qGreen(c))] +
           0.0722f * linear[std::size_t(qBlue(c))];
}

float contrast(float a, float b) { return (std::max(a, b) + 0.05f) / (std::min(a, b) + 0.05f); }

// The lowest contrast of luminance `l` against any from `low` to `high`.
float worstContrast(float l, float low, float high) {
    if (l >= low && l <= high) return 1;
    return std::min(contrast(l, low), contrast(l, high));
}

constexpr float kReadable = 4.5f;

}  // namespace

ElementPainter::Shared& ElementPainter::shared() {
    static Shared caches;
    // Pixmaps and fonts go before the application that made them.
    static const bool registered = [] {
        qAddPostRoutine([] { shared().clear(); });
        return true;
    }();
    (void)registered;
    return caches;
}

ElementPainter::ElementPainter()
    : pixmaps_(shared().pixmaps),
      profiles_(shared().profiles),
      fonts_(shared().fonts),
      beneath_(shared().beneath),
      luminance_(shared().luminance) {}

QColor qtColour(Colour c, const QPalette& palette) {
    if ((c & kSystemColourFlag) == 0) return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    // Each system colour from the role that Qt draws the same thing with, so that a text
    // colour and the background it is meant for come from one pair of the palette
    // (window text on window, button text on button face, caption text on caption).
    using R = QPalette::ColorRole;
    constexpr auto inactive = QPalette::Inactive;
    switch (c & ~kSystemColourFlag) {
        case 0: return palette.color(R::Midlight);                 // scroll bar track
        case 1: return palette.color(R::Dark);                     // desktop
        case 2: return palette.color(R::Highlight);                // active caption
        case 3: return palette.color(inactive, R::Highlight);      // inactive caption
        case 4: return palette.color(R::Window);                   // menu
        case 5: return palette.color(R::Base);                     // window background
        case 6: return palette.color(R::Shadow);                   // window frame
        case 7: return palette.color(R::WindowText);               // menu text
        case 8: return palette.color(R::Text);                     // window text, on 5
        case 9: return palette.color(R::HighlightedText);          // caption text, on 2
        case 10: return palette.color(R::Mid);                     // active border
        case 11: return palette.color(inactive, R::Mid);           // inactive border
        case 12: return palette.color(R::Dark);                    // application workspace
        case 13: return palette.color(R::Highlight);               // selected item
        case 14: return palette.color(R::HighlightedText);         // selected text, on 13
        case 15: return palette.color(R::Button);                  // button face
        case 16: return palette.color(R::Dark);                    // button shadow
        case 17: return palette.color(QPalette::Disabled, R::WindowText);  // grey text
        case 18: return palette.color(R::ButtonText);              // button text, on 15
        case 19: return palette.color(inactive, R::HighlightedText);  // inactive caption text, on 3
        case 20: return palette.color(R::Light);                   // button highlight
        case 21: return palette.color(R::Shadow);                  // 3-D dark shadow
        case 22: return palette.color(R::Midlight);                // 3-D light
        case 23: return palette.color(R::ToolTipText);             // info text, on 24
        case 24: return palette.color(R::ToolTipBase);             // info background
        case 26: return palette.color(R::Link);                    // hot-tracked item
        case 27: return palette.color(R::Highlight);               // active caption gradient
        case 28: return palette.color(inactive, R::Highlight);     // inactive caption gradient
        case 29: return palette.color(R::Highlight);               // menu highlight
        case 30: return palette.color(R::Window);                  // menu bar
        default: return palette.color(R::WindowText);              // no such system colour
    }
}

void ElementPainter::paint(QPainter& p, const ControlHost& host, const QRegion& exposed,
                           std::span<const Element> elements, const Context& ctx) {
    current_ = nullptr;
    beneath_.clear();
    const Surface& surface = host.surface();
    if (surface.BackStyle() != 0) {
        const float back = relativeLuminance(qtColour(surface.BackColor(), ctx.palette).rgb());
        ground_ = {back, back};
    } else {
        const float window = relativeLuminance(ctx.palette.color(QPalette::Window).rgb());
        const float base = relativeLuminance(ctx.palette.color(QPalette::Base).rgb());
        ground_ = std::minmax(window, base);
    }
    drawSurface(p, host, exposed, elements, ctx);
    for (const Element& e : elements) {
        switch (e.kind()) {
            case ElementKind::Image: drawImage(p, e.as<Image>(), exposed, ctx); break;
            case ElementKind::Label: drawLabel(p, e.as<Label>(), ctx); break;
            case ElementKind::Line: drawLine(p, e.as<Line>(), ctx); break;
            case ElementKind::Frame: drawFrame(p, e.as<Frame>(), host.surface(), ctx); break;
            case ElementKind::PictureBox:
            case ElementKind::Timer: break;
        }
    }
}

void ElementPainter::clear() {
    shared().clear();
    current_ = nullptr;
}

void ElementPainter::drawSurface(QPainter& p, const ControlHost& host, const QRegion& exposed,
                                 std::span<const Element> elements, const Context& ctx) {
    const Surface& s = host.surface();
    if (s.BackStyle() != 0) {
        // The back colour is filled only where no opaque picture covers it: a skinned box
        // is covered whole by its slices, and filling under them would write every pixel twice.
        QRegion back(exposed);
        for (const Element& e : elements) {
            if (e.kind() != ElementKind::Image) continue;
            const Picture& pic = e.as<Image>().picture();
            if (pic.empty() || pic.bitmap()->hasMask) continue;
            // Pictures fall on whole device pixels, which at a fractional pixel ratio may
            // leave the edge pixels of the rounded rectangle to the back colour.
            QRect at = ctx.scale.snapped(e.bounds());
            if (ctx.pixelRatio != 1) at.adjust(1, 1, -1, -1);
            if (exposed.intersects(at)) back -= at;
        }
        const QColor colour = qtColour(s.BackColor(), ctx.palette);
        for (const QRect& r : back) p.fillRect(r, colour);
    }
    const Picture& pic = s.picture();
    if (pic.empty()) return;
    const RectF bounds{0, 0, pic.widthTwips(), pic.heightTwips()};
    beneath_.emplace_back(ctx.scale.snapped(bounds), pic.bitmap());
    if (!exposed.intersects(ctx.scale.snapped(bounds))) return;
    drawPicture(p, pic, deviceRect(bounds, ctx.scale, ctx.pixelRatio), ctx);
}

void ElementPainter::drawImage(QPainter& p, const Image& img, const QRegion& exposed, const Context& ctx) {
    const Picture& pic = img.picture();
    if (pic.empty()) return;
    const QRect at = deviceRect(img.bounds(), ctx.scale, ctx.pixelRatio);
    if (at.isEmpty()) return;
    const QRect logical = ctx.scale.snapped(img.bounds());
    beneath_.emplace_back(logical, pic.bitmap());
    if (!exposed.intersects(logical)) return;
    drawPicture(p, pic, at, ctx);
}

void ElementPainter::drawPicture(QPainter& p, const Picture& pic, const QRect& device, const Context& ctx) {
    const Bitmap& b = *pic.bitmap();
    if (b.width <= 0 || b.height <= 0) return;
    const Bitmap& source = ctx.pixelRatio > 1 && b.large ? *b.large : b;
    // Drawn in device pixels, where the rectangle's edges are whole.
    const bool scaled = ctx.pixelRatio != 1;
    if (scaled) {
        p.save();
        p.setWorldTransform(QTransform::fromScale(1 / ctx.pixelRatio, 1 / ctx.pixelRatio), true);
    }
    if (device.size() != QSize(source.width, source.height)) {
        // A stretched slice of a skin takes a new size with every resize of its control:
        // rows of one colour each (the edges and centre of a skin) are filled from the
        // rows resampled to its height, which no new size needs to be made and kept for.
        if (const std::vector<RowRun>& runs = rowRuns(pic, source, device.height()); !runs.empty()) {
            for (const RowRun& r : runs)
                p.fillRect(QRect(device.left(), device.top() + r.first, device.width(), r.end - r.first),
                           QColor::fromRgba(r.colour));
            if (scaled) p.restore();
            return;
        }
        // Stretched along one axis only, its rows (or columns) are the picture's own:
        // repeated as they are, they meet the unscaled corners beside them exactly, and
        // no resampled copy is made for each new size.
        if (device.width() == source.width || device.height() == source.height) {
            const QPixmap& own = pixmap(pic, source, QSize(source.width, source.height));
            p.save();
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            p.drawPixmap(device, own);
            p.restore();
            if (scaled) p.restore();
            return;
        }
    }
    p.drawPixmap(device.topLeft(), pixmap(pic, source, device.size()));
    if (scaled) p.restore();
}

void ElementPainter::drawLabel(QPainter& p, const Label& l, const Context& ctx) {
    const QRect at = ctx.scale.snapped(l.bounds());
    if (at.isEmpty()) return;
    std::optional<QColor> back;
    if (!l.transparent()) {
        back = qtColour(l.BackColor(), ctx.palette);
        p.fillRect(at, *back);
    }
    if (l.captionView().empty()) return;
    const CachedFont& f = font(l.font(), ctx.dpi, *p.device());
    const QColor own = l.Enabled() ? qtColour(l.ForeColor(), ctx.palette)
                                   : ctx.palette.color(QPalette::Disabled, QPalette::WindowText);
    Legible how = legible(at, own, back);
    if (how.halo && !back) {
        // A picture may reach into the label where no letter is, such as the leading above
        // a line of text: what counts is what lies around the letters themselves.
        const QString text = decodeText(l.Caption(), l.encoding());
        if ((l.AutoSize() || f.width(text) <= at.width()) && !text.contains(u'\n')) {
            qreal x = at.left();
            if (l.alignment() == Alignment::Center) x += (at.width() - f.width(text)) / 2;
            else if (l.alignment() == Alignment::Right) x += at.width() - f.width(text);
            const QRectF ink = f.metrics.tightBoundingRect(text).translated(x, at.top() + f.metrics.ascent());
            how = legible(ink.toAlignedRect().adjusted(-1, -1, 1, 1), own, back);
        }
    }
    const auto& [colour, glow] = how;
    // A label sized to its caption keeps it on one line: its edges rounded to pixels may
    // leave it a fraction of a pixel narrower than the text, which must not wrap a word.
    int flags = l.AutoSize() ? Qt::AlignTop : Qt::AlignTop | Qt::TextWordWrap;
    switch (l.alignment()) {
        case Alignment::Left: flags |= Qt::AlignLeft; break;
        case Alignment::Right: flags |= Qt::AlignRight; break;
        case Alignment::Center: flags |= Qt::AlignHCenter; break;
    }
    use(p, f);
    if (glow) {
        // The text is drawn in the halo's colour shifted by up to a pixel each way first,
        // as glass window captions are, so that it reads on any part of the picture.
        p.save();
        p.setPen(*glow);
        const int reach = std::max(1, qRound(ctx.pixelRatio));
        const qreal d = 1 / ctx.pixelRatio;
        const QString text = decodeText(l.Caption(), l.encoding());
        const bool oneLine = (l.AutoSize() || f.width(text) <= at.width()) && !text.contains(u'\n');
        qreal x = at.left();
        if (oneLine && l.alignment() == Alignment::Center) x += (at.width() - f.width(text)) / 2;
        else if (oneLine && l.alignment() == Alignment::Right) x += at.width() - f.width(text);
        if (oneLine) {
            p.drawPixmap(QPointF(x - reach * d, at.top() - reach * d), haloOf(p, text, *glow, reach, ctx.pixelRatio));
        } else {
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                    if (dx != 0 || dy != 0) p.drawText(QRectF(at).translated(dx * d, dy * d), flags, text);
        }
        p.restore();
        current_ = nullptr;
        use(p, f);
    }
    p.setPen(colour);
    // A number is drawn from the font's glyphs of the digits placed by their advances, as
    // shaping places them: nothing to shape, and nothing kept per caption. The answer
    // sheet's 150 numbers are most of what it draws.
    const std::string& caption = l.Caption();
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (caption.size() <= kMaxDigitRun && std::all_of(caption.begin(), caption.end(), digit) && f.plain()) {
        const CachedFont::Digits& d = f.digits();
        qreal width = 0;
        for (const char c : caption) width += d.advances[std::size_t(c - '0')];
        if (d.found && width <= at.width() && f.metrics.height() <= at.height()) {
            qreal x = at.left();
            if (l.alignment() == Alignment::Center) x += (at.width() - width) / 2;
            else if (l.alignment() == Alignment::Right) x += at.width() - width;
            QList<quint32> glyphs;
            QList<QPointF> positions;
            qreal advance = 0;
            for (const char c : caption) {
                glyphs.push_back(d.glyphs[std::size_t(c - '0')]);
                positions.push_back(QPointF(advance, 0));
                advance += d.advances[std::size_t(c - '0')];
            }
            QGlyphRun run;
            run.setRawFont(d.font);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            p.drawGlyphRun(QPointF(x, at.top() + f.metrics.ascent()), run);
            return;
        }
    }
    // Other captions that fit on one line are drawn without laying them out for wrapping.
    const QString text = decodeText(caption, l.encoding());
    const qreal width = f.width(text);
    if (width > at.width() || f.metrics.height() > at.height() || text.contains(u'\n')) {
        p.drawText(at, flags, text);
        return;
    }
    qreal x = at.left();
    if (l.alignment() == Alignment::Center) x += (at.width() - width) / 2;
    else if (l.alignment() == Alignment::Right) x += at.width() - width;
    p.drawText(QPointF(x, at.top() + f.metrics.ascent()), text);
}

// A one-line caption's halo, drawn once and kept while the caption, its font and the
// pixel ratio stay: a box's resize moves its caption but does not change it.
const QPixmap& ElementPainter::haloOf(QPainter& p, const QString& text, const QColor& glow, int reach, qreal ratio) {
    auto& cache = shared().halos;
    const auto key = std::tuple(text, p.font().key(), glow.rgba(), reach, ratio, p.device()->logicalDpiX());
    if (const auto it = cache.find(key); it != cache.end()) return it->second;
    const qreal d = 1 / ratio;
    const QFontMetricsF metrics(p.font(), p.device());
    const QSizeF size(metrics.horizontalAdvance(text) + 2 * reach * d + 2, metrics.height() + 2 * reach * d + 2);
    QImage image((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(qRound(p.device()->logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(p.device()->logicalDpiY() / 0.0254));
    image.fill(Qt::transparent);
    {
        QPainter q(&image);
        q.setFont(p.font());
        q.setPen(glow);
        q.setRenderHints(p.renderHints());
        QStaticText shaped(text);
        shaped.setTextFormat(Qt::PlainText);
        shaped.prepare(q.transform(), q.font());
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (dx != 0 || dy != 0) q.drawStaticText(QPointF((reach + dx) * d, (reach + dy) * d), shaped);
    }
    if (cache.size() >= 256) cache.clear();
    return cache.emplace(key, QPixmap::fromImage(std::move(image))).first->second;
}

std::pair<float, float> ElementPainter::luminanceRange(const Bitmap& b, const QRect& part) const {
    const auto key = std::tuple(&b, part.left(), part.top(), part.width(), part.height());
    if (const auto it = luminance_.find(key); it != luminance_.end()) return it->second;
    float low = 1, high = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x) {
            const std::uint32_t c = b.argb[std::size_t(y) * std::size_t(b.width) + std::size_t(x)];
            if ((c >> 24) < 128) continue;  // what shows through is some other picture's
            const float l = relativeLuminance(c);
            low = std::min(low, l);
            high = std::max(high, l);
        }
    if (luminance_.size() >= 1024) luminance_.clear();
    return luminance_.emplace(key, std::pair(low, high)).first->second;
}

namespace {

// The text colour moved towards white or black, hue kept, by as little as makes it reach
// a readable contrast against every luminance from `low` to `high`; none when even white
// or black would not.
std::optional<QColor> readableTint(const QColor& text, float low, float high) {
    const float t = relativeLuminance(text.rgb());
    // A little over the mark, so that no rounding of the channels or of the sums leaves
    // a tint short of it.
    const auto reads = [&](float l) { return worstContrast(l, low, high) >= kReadable + 0.05f; };
    // Towards the side the text already leans to, from the ground's middle; the other
    // side when that one cannot be reached.
    const bool lighter = t >= (low + high) / 2;
    for (const bool up : {lighter, !lighter}) {
        if (!reads(up ? 1.0f : 0.0f)) continue;
        const QColor end = up ? QColor(Qt::white) : QColor(Qt::black);
        const auto mix = [&](float k) {
            const auto at = [k](int a, int b) { return qRound(float(a) + (float(b) - float(a)) * k); };
            return QColor(at(text.red(), end.red()), at(text.green(), end.green()), at(text.blue(), end.blue()));
        };
        float short_ = 0, enough = 1;
        for (int i = 0; i < 12; ++i) {
            const float k = (short_ + enough) / 2;
            (reads(relativeLuminance(mix(k).rgb())) ? enough : short_) = k;
        }
        // Rounding the channels may land a hair short: step on until it reads.
        QColor out = mix(enough);
        while (!reads(relativeLuminance(out.rgb())) && enough < 1) out = mix(enough = std::min(1.0f, enough + 1.0f / 255));
        return out;
    }
    return std::nullopt;
}

}  // namespace

ElementPainter::Legible ElementPainter::legible(const QRect& label, const QColor& text,
                                                std::optional<QColor> ownBack) const {
    const float t = relativeLuminance(text.rgb());
    float low = 1, high = 0;
    bool pictures = false;
    if (ownBack) {
        low = high = relativeLuminance(ownBack->rgb());
    } else {
        // Where no opaque picture covers the label the ground shows; most labels lie
        // on no picture, and need no region worked out.
        std::optional<QRegion> bare;
        for (const auto& [at, b] : beneath_) {
            const QRect common = at & label;
            if (common.isEmpty() || at.width() <= 0 || at.height() <= 0) continue;
            // The bitmap's pixels under the label, as the picture is stretched over `at`.
            const auto source = [](int v, int from, int length, int size) {
                return std::clamp(int(std::floor(double(v - from) * size / length)), 0, size - 1);
            };
            const QRect part(QPoint(source(common.left(), at.left(), at.width(), b->width),
                                    source(common.top(), at.top(), at.height(), b->height)),
                             QPoint(source(common.right(), at.left(), at.width(), b->width),
                                    source(common.bottom(), at.top(), at.height(), b->height)));
            const auto [l, h] = luminanceRange(*b, part);
            if (!b->hasMask) {
                if (!bare) bare = QRegion(label);
                *bare -= common;
            }
            if (l > h) continue;
            pictures = true;
            low = std::min(low, l);
            high = std::max(high, h);
        }
        if (!bare || !bare->isEmpty()) {
            low = std::min(low, ground_.first);
            high = std::max(high, ground_.second);
        }
    }
    if (low > high || worstContrast(t, low, high) >= kReadable) return {text, std::nullopt};
    if (!pictures)
        if (const std::optional<QColor> tint = readableTint(text, low, high)) return {*tint, std::nullopt};
    return {text, contrast(t, 0) >= contrast(t, 1) ? QColor(Qt::black) : QColor(Qt::white)};
}

void ElementPainter::drawLine(QPainter& p, const Line& l, const Context& ctx) {
    const QColor colour = qtColour(l.BorderColor(), ctx.palette);
    // A slanted line (a clock hand) cannot be crisp on a pixel grid: it is drawn
    // antialiased where its twips put it, in device pixels, with round ends that hide
    // the steps. The line's bounds leave room for the pen's half width and a pixel more.
    if (l.X1() != l.X2() && l.Y1() != l.Y2()) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour, std::max<qreal>(1.0, l.BorderWidth() * ctx.dpi / 96.0), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(ctx.scale.point(l.X1(), l.Y1()), ctx.scale.point(l.X2(), l.Y2()));
        p.restore();
        return;
    }
    const qreal width = std::max<qreal>(1.0, std::round(l.BorderWidth() * ctx.dpi / 96.0));
    // Whole pixels, centred on the pixel for odd widths, keep a one-pixel line crisp.
    const qreal centre = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
    const auto at = [&](float x, float y) {
        return QPointF(std::round(ctx.scale.px(x)) + centre, std::round(ctx.scale.px(y)) + centre);
    };
    const QPointF a = at(l.X1(), l.Y1()), b = at(l.X2(), l.Y2());
    // Borders are straight up or across; a rectangle fills faster than a pen, and like
    // a flat cap it ends where the second point begins.
    if (a.x() == b.x()) {
        p.fillRect(QRectF(a.x() - width / 2, std::min(a.y(), b.y()) - centre, width, std::abs(b.y() - a.y())), colour);
        return;
    }
    p.fillRect(QRectF(std::min(a.x(), b.x()) - centre, a.y() - width / 2, std::abs(b.x() - a.x()), width), colour);
}

void ElementPainter::drawFrame(QPainter& p, const Frame& f, const Surface& s, const Context& ctx) {
    const QRect at = ctx.scale.snapped(f.bounds());
    if (at.isEmpty()) return;
    p.save();
    const CachedFont& cf = font(s.font(), ctx.dpi, *p.device());
    p.setFont(cf.qt);
    const QFontMetrics metrics(cf.qt, p.device());
    const QString caption = decodeText(f.Caption());
    // The etched border runs through the middle of the caption, as a group box does.
    const int top = caption.isEmpty() ? at.top() : at.top() + metrics.height() / 2;
    const QRect border(QPoint(at.left(), top), at.bottomRight());
    p.setPen(ctx.palette.color(QPalette::Dark));
    p.drawRect(border.adjusted(0, 0, -1, -1));
    p.setPen(ctx.palette.color(QPalette::Light));
    p.drawRect(border.adjusted(1, 1, 0, 0));
    if (!caption.isEmpty()) {
        const int pad = qRound(ctx.dpi / 96.0 * 8);
        QRect text(at.left() + pad, at.top(), metrics.horizontalAdvance(caption) + 4, metrics.height());
        text &= at;
        if (s.BackStyle() != 0) p.fillRect(text, qtColour(s.BackColor(), ctx.palette));
        p.setPen(f.isEnabled() ? ctx.palette.color(QPalette::WindowText)
                             : ctx.palette.color(QPalette::Disabled, QPalette::WindowText));
        p.drawText(text, Qt::AlignCenter, caption);
    }
    p.restore();
}

const QPixmap& ElementPainter::pixmap(const Picture& pic, const Bitmap& source, QSize device) {
    static const QPixmap none;
    if (source.width <= 0 || source.height <= 0 || device.isEmpty()) return none;
    const PixmapKey key{&source, device.width(), device.height(), 1};
    if (const auto it = pixmaps_.find(key); it != pixmaps_.end()) return it->second.pixmap;

    // A resize of a skinned control makes new sizes each time; old ones are not kept.
    if (pixmaps_.size() >= 512) pixmaps_.clear();
    QImage image = QSize(source.width, source.height) == device
                       ? QImage(reinterpret_cast<const uchar*>(source.argb.data()), source.width, source.height,
                                qsizetype(source.width) * 4, QImage::Format_ARGB32)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                       : resampled(source, device);
    return pixmaps_.emplace(key, Cached{pic, QPixmap::fromImage(std::move(image))}).first->second.pixmap;
}

const std::vector<ElementPainter::RowRun>& ElementPainter::rowRuns(const Picture& pic, const Bitmap& b, int height) {
    const PixmapKey key{&b, -1, height, 0};
    if (const auto it = profiles_.find(key); it != profiles_.end()) return it->second.runs;
    std::vector<RowRun> runs;
    bool uniform = !b.hasMask && height > 0;
    for (int y = 0; uniform && y < b.height; ++y) {
        const std::uint32_t* row = b.argb.data() + std::size_t(y) * std::size_t(b.width);
        uniform = std::all_of(row, row + b.width, [&](std::uint32_t c) { return c == row[0]; });
    }
    if (uniform) {
        // The first column is the whole picture's profile, resampled as a corner's rows are.
        Bitmap column;
        column.width = 1;
        column.height = b.height;
        for (int y = 0; y < b.height; ++y) column.argb.push_back(b.argb[std::size_t(y) * std::size_t(b.width)]);
        const QImage rows = resampled(column, QSize(1, height));
        for (int y = 0; y < height; ++y) {
            const QRgb c = rows.pixel(0, y);
            if (!runs.empty() && runs.back().colour == c)
                runs.back().end = y + 1;
            else
                runs.push_back({y, y + 1, c});
        }
    }
    if (profiles_.size() >= 512) profiles_.clear();
    return profiles_.emplace(key, CachedProfile{pic, std::move(runs)}).first->second.runs;
}

const ElementPainter::CachedFont& ElementPainter::font(const Font& f, qreal dpi, const QPaintDevice& device) {
    const int deviceDpi = device.logicalDpiY();
    for (const CachedFont& c : fonts_)
        if (c.dpi == dpi && c.deviceDpi == deviceDpi && c.font == f) return c;
    if (fonts_.size() >= 64) clear();
    const QFont qt = qtFontFor(f, dpi, device);
    return fonts_.emplace_back(CachedFont{f, dpi, deviceDpi, qt, QFontMetricsF(qt, &device), QFont(qt, &device)});
}

qreal ElementPainter::CachedFont::width(const QString& text) const {
    qreal w = 0;
    for (const QChar c : text) {
        if (c.unicode() >= advances.size()) return metrics.horizontalAdvance(text);
        qreal& a = advances[c.unicode()];
        if (a == 0) a = metrics.horizontalAdvance(c);
        w += a;
    }
    return w;
}

bool ElementPainter::CachedFont::plain() const {
    return !qt.underline() && !qt.strikeOut() && !qt.overline();
}

const ElementPainter::CachedFont::Digits& ElementPainter::CachedFont::digits() const {
    if (!digitGlyphs) {
        Digits d;
        d.font = QRawFont::fromFont(drawn);
        const QList<quint32> ids = d.font.glyphIndexesForString(QStringLiteral("0123456789"));
        d.found = ids.size() == qsizetype(d.glyphs.size());
        for (std::size_t i = 0; d.found && i < d.glyphs.size(); ++i) {
            d.glyphs[i] = ids[qsizetype(i)];
            d.found = d.glyphs[i] != 0;
        }
        for (std::size_t i = 0; i < d.advances.size(); ++i) d.advances[i] = width(QString(QChar(u'0' + int(i))));
        digitGlyphs = std::move(d);
    }
    return *digitGlyphs;
}

void ElementPainter::use(QPainter& p, const CachedFont& f) {
    if (current_ == &f) return;
    p.setFont(f.qt);
    current_ = &f;
}

}  // namespace talvik
