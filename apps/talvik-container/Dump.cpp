#include "apps/talvik-container/Dump.h"

#include "frame/text/TextEncoding.h"

namespace talvik::container {

namespace {

void box(const BoxElement& b, Object& out) {
    out.num("Left", b.Left()).num("Top", b.Top()).num("Width", b.Width()).num("Height", b.Height());
}

}  // namespace

std::string pictureText(const Picture& p) {
    if (p.empty()) return "null";
    return quoted(p.bitmap()->origin.empty() ? std::string("bitmap") : p.bitmap()->origin);
}

void dumpSurface(const Surface& s, Object& out) {
    out.str("element", "surface").str("kind", "surface");
    out.num("Width", s.Width()).num("Height", s.Height()).num("BackStyle", std::int64_t{s.BackStyle()});
    out.add("Picture", pictureText(s.picture()));
}

void dumpElement(const Element& e, Object& out) {
    out.str("element", e.displayName()).str("kind", kindName(e.kind()));
    switch (e.kind()) {
        case ElementKind::Image: {
            const Image i = e.as<Image>();
            box(i, out);
            out.add("Picture", pictureText(i.picture())).boolean("Stretch", i.Stretch());
            out.boolean("Visible", i.Visible()).boolean("Enabled", i.Enabled()).str("ToolTipText", i.ToolTipText());
            break;
        }
        case ElementKind::Label: {
            const Label l = e.as<Label>();
            box(l, out);
            out.str("Caption", toUtf8(l.Caption(), l.encoding()));
            out.num("ForeColor", std::int64_t{l.ForeColor()});
            out.num("Alignment", std::int64_t{static_cast<std::int16_t>(l.alignment())});
            out.num("FontSize", l.font().size);
            out.boolean("Visible", l.Visible()).boolean("Enabled", l.Enabled()).str("ToolTipText", l.ToolTipText());
            break;
        }
        case ElementKind::Line: {
            const Line l = e.as<Line>();
            out.num("X1", l.X1()).num("Y1", l.Y1()).num("X2", l.X2()).num("Y2", l.Y2());
            out.num("BorderColor", std::int64_t{l.BorderColor()}).num("BorderWidth", std::int64_t{l.BorderWidth()});
            out.boolean("Visible", l.Visible());
            break;
        }
        case ElementKind::PictureBox: {
            const PictureBox p = e.as<PictureBox>();
            out.add("Picture", pictureText(p.picture())).boolean("Enabled", p.Enabled());
            break;
        }
        case ElementKind::Timer: {
            const Timer t = e.as<Timer>();
            out.boolean("Enabled", t.Enabled()).num("Interval", std::int64_t{t.Interval()});
            break;
        }
        case ElementKind::Frame: box(e.as<Frame>(), out); break;
    }
}

}  // namespace talvik::container
