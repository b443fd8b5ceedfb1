#include "hosts/qt/ElementPainter.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QGlyphRun>
#include <algorithm>
#include <cmath>

#include "hosts/qt/QtText.h"

namespace talvik {

struct ElementPainter::Shared {
    std::map<PixmapKey, Cached> pixmaps;
    std::map<const Bitmap*, CachedRuns> rowRuns;
    std::deque<CachedFont> fonts;
    void clear() {
        pixmaps.clear();
        rowRuns.clear();
        fonts.clear();
    }
};

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
    : pixmaps_(shared().pixmaps), rowRuns_(shared().rowRuns), fonts_(shared().fonts) {}

QColor qtColour(Colour c, const QPalette& palette) {
    if ((c & kSystemColourFlag) == 0) return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    using R = QPalette::ColorRole;
    switch (c & 0xFF) {
        case 0: return palette.color(R::Button);             // scroll bars
        case 1: return palette.color(R::Dark);               // desktop
        case 2: return palette.color(R::Highlight);          // active caption
        case 3: return palette.color(R::Mid);                // inactive caption
        case 4: return palette.color(R::Window);             // menu
        case 5: return palette.color(R::Base);               // window
        case 6: return palette.color(R::Shadow);             // window frame
        case 7: return palette.color(R::WindowText);         // menu text
        case 8: return palette.color(R::Text);               // window text
        case 9: return palette.color(R::HighlightedText);    // caption text
        case 10: case 11: return palette.color(R::Mid);      // borders
        case 12: return palette.color(R::Dark);              // workspace
        case 13: return palette.color(R::Highlight);
        case 14: return palette.color(R::HighlightedText);
        case 15: return palette.color(R::Button);            // button face
        case 16: return palette.color(R::Dark);              // button shadow
        case 17: return palette.color(QPalette::Disabled, R::Text);  // grey text
        case 18: return palette.color(R::ButtonText);
        case 19: return palette.color(QPalette::Inactive, R::WindowText);
        case 20: return palette.color(R::Light);             // button highlight
        case 21: return palette.color(R::Shadow);            // 3D dark shadow
        case 22: return palette.color(R::Midlight);          // 3D light
        case 23: return palette.color(R::ToolTipText);
        case 24: return palette.color(R::ToolTipBase);
        default: return palette.color(R::WindowText);
    }
}

void ElementPainter::paint(QPainter& p, const ControlHost& host, const QRegion& exposed,
                           std::span<const Element> elements, const Context& ctx) {
    current_ = nullptr;
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
            if (const QRect at = ctx.scale.snapped(e.bounds()); exposed.intersects(at)) back -= at;
        }
        const QColor colour = qtColour(s.BackColor(), ctx.palette);
        for (const QRect& r : back) p.fillRect(r, colour);
    }
    const Picture& pic = s.picture();
    if (pic.empty()) return;
    const QRect at = ctx.scale.snapped({0, 0, pic.widthTwips(), pic.heightTwips()});
    if (!exposed.intersects(at)) return;
    const QSize device(qRound(at.width() * ctx.pixelRatio), qRound(at.height() * ctx.pixelRatio));
    p.drawPixmap(at.topLeft(), pixmap(pic, device, ctx.pixelRatio));
}

void ElementPainter::drawImage(QPainter& p, const Image& img, const QRegion& exposed, const Context& ctx) {
    const Picture& pic = img.picture();
    if (pic.empty()) return;
    const QRect at = ctx.scale.snapped(img.bounds());
    if (at.isEmpty()) return;
    const QSize device(qRound(at.width() * ctx.pixelRatio), qRound(at.height() * ctx.pixelRatio));
    const Bitmap& b = *pic.bitmap();
    // A picture shrunk below its own size (the answer sheet's marker) needs blending,
    // which the cached, smoothly scaled pixmap gives; skins are only ever stretched up.
    const bool shrunk = device.width() < b.width || device.height() < b.height;
    if (img.Stretch() && !shrunk && device != QSize(b.width, b.height) * qRound(ctx.pixelRatio)) {
        // A stretched slice of a skin takes a new size with every resize of its control:
        // it is scaled from its own pixels as it is drawn, not made and kept at each size.
        // Skin slices repeat along the stretch, so taking the nearest pixel reproduces
        // them exactly and keeps their rows sharp.
        if (const std::vector<RowRun>& runs = rowRuns(pic); !runs.empty()) {
            // Rows of one colour each (the edges and centre of a skin) are filled, which
            // writes the pixels several times faster than scaling does.
            for (const RowRun& r : runs) {
                const int top = at.top() + r.first * at.height() / b.height;
                const int bottom = at.top() + r.end * at.height() / b.height;
                if (bottom > top) p.fillRect(QRect(at.left(), top, at.width(), bottom - top), QColor::fromRgb(r.colour));
            }
            return;
        }
        const QPixmap& own = pixmap(pic, QSize(b.width, b.height), 1.0);
        const bool smooth = p.testRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (exposed.rectCount() > 1) {
            // Under a clip of one rectangle at a time: at a fractional pixel ratio the rows
            // the nearest pixel takes depend on where the clip starts, and a slice painted
            // in two parts must look as one painted whole there.
            for (const QRect& r : exposed) {
                if (!r.intersects(at)) continue;
                p.setClipRect(r);
                p.drawPixmap(QRectF(at), own, QRectF(own.rect()));
            }
            p.setClipping(false);
        } else {
            p.drawPixmap(QRectF(at), own, QRectF(own.rect()));
        }
        p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        return;
    }
    p.drawPixmap(at.topLeft(), pixmap(pic, device, ctx.pixelRatio));
}

void ElementPainter::drawLabel(QPainter& p, const Label& l, const Context& ctx) {
    const QRect at = ctx.scale.snapped(l.bounds());
    if (at.isEmpty()) return;
    if (!l.transparent()) p.fillRect(at, qtColour(l.BackColor(), ctx.palette));
    if (l.captionView().empty()) return;
    const QColor colour = l.Enabled() ? qtColour(l.ForeColor(), ctx.palette)
                                      : ctx.palette.color(QPalette::Disabled, QPalette::WindowText);
    // A label sized to its caption keeps it on one line: its edges rounded to pixels may
    // leave it a fraction of a pixel narrower than the text, which must not wrap a word.
    int flags = l.AutoSize() ? Qt::AlignTop : Qt::AlignTop | Qt::TextWordWrap;
    switch (l.alignment()) {
        case Alignment::Left: flags |= Qt::AlignLeft; break;
        case Alignment::Right: flags |= Qt::AlignRight; break;
        case Alignment::Center: flags |= Qt::AlignHCenter; break;
    }
    const CachedFont& f = font(l.font(), ctx.dpi, *p.device());
    use(p, f);
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

void ElementPainter::drawLine(QPainter& p, const Line& l, const Context& ctx) {
    const qreal width = std::max<qreal>(1.0, std::round(l.BorderWidth() * ctx.dpi / 96.0));
    // Whole pixels, centred on the pixel for odd widths, keep a one-pixel line crisp.
    const qreal centre = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
    const auto at = [&](float x, float y) {
        return QPointF(std::round(ctx.scale.px(x)) + centre, std::round(ctx.scale.px(y)) + centre);
    };
    const QColor colour = qtColour(l.BorderColor(), ctx.palette);
    const QPointF a = at(l.X1(), l.Y1()), b = at(l.X2(), l.Y2());
    // Borders are mostly straight up or across; a rectangle fills faster than a pen, and
    // like the pen's flat cap it ends where the second point begins.
    if (a.x() == b.x()) {
        p.fillRect(QRectF(a.x() - width / 2, std::min(a.y(), b.y()) - centre, width, std::abs(b.y() - a.y())), colour);
        return;
    }
    if (a.y() == b.y()) {
        p.fillRect(QRectF(std::min(a.x(), b.x()) - centre, a.y() - width / 2, std::abs(b.x() - a.x()), width), colour);
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.restore();
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

const QPixmap& ElementPainter::pixmap(const Picture& pic, QSize device, qreal ratio) {
    static const QPixmap none;
    const Bitmap& b = *pic.bitmap();
    if (b.width <= 0 || b.height <= 0 || device.isEmpty()) return none;
    // The same size or a whole multiple keeps every pixel sharp; any other factor
    // (a stretched skin, a fractional pixel ratio) only looks right blended.
    const bool smooth = !(device.width() % b.width == 0 && device.height() % b.height == 0 &&
                          device.width() / b.width == device.height() / b.height);
    const PixmapKey key{&b, device.width(), device.height(), ratio};
    if (const auto it = pixmaps_.find(key); it != pixmaps_.end()) return it->second.pixmap;

    // A resize of a skinned control makes new sizes each time; old ones are not kept.
    if (pixmaps_.size() >= 512) pixmaps_.clear();
    const QImage source(reinterpret_cast<const uchar*>(b.argb.data()), b.width, b.height,
                        qsizetype(b.width) * 4, QImage::Format_ARGB32);
    QImage scaled = QSize(b.width, b.height) == device
                        ? source.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                        : source.scaled(device, Qt::IgnoreAspectRatio,
                                        smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
    QPixmap pm = QPixmap::fromImage(std::move(scaled));
    pm.setDevicePixelRatio(ratio);
    return pixmaps_.emplace(key, Cached{pic, std::move(pm)}).first->second.pixmap;
}

const std::vector<ElementPainter::RowRun>& ElementPainter::rowRuns(const Picture& pic) {
    const Bitmap& b = *pic.bitmap();
    if (const auto it = rowRuns_.find(&b); it != rowRuns_.end()) return it->second.runs;
    std::vector<RowRun> runs;
    bool uniform = !b.hasMask;
    for (int y = 0; uniform && y < b.height; ++y) {
        const std::uint32_t* row = b.argb.data() + std::size_t(y) * std::size_t(b.width);
        uniform = std::all_of(row, row + b.width, [&](std::uint32_t c) { return c == row[0]; });
        if (!uniform) break;
        if (!runs.empty() && runs.back().colour == row[0])
            runs.back().end = y + 1;
        else
            runs.push_back({y, y + 1, row[0]});
    }
    if (!uniform) runs.clear();
    if (rowRuns_.size() >= 512) rowRuns_.clear();
    return rowRuns_.emplace(&b, CachedRuns{pic, std::move(runs)}).first->second.runs;
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
