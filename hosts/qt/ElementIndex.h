#pragma once
// Which elements lie where on the widget, in pixels: a uniform grid of element numbers,
// so that a repaint visits only the elements under the repainted area and a mouse event
// finds its element with one lookup. The grid follows the model's damage: an element
// that moved is found under its old rectangle, which the damage always covers.
//
//     index.update(host, scale, host.takeDamage());
//     Element hit = index.at(host, point);
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <span>
#include <vector>

#include "frame/host/ControlHost.h"
#include "hosts/qt/Twips.h"

namespace talvik {

class ElementIndex {
public:
    // Follows what changed since the model last gave its damage. Call with every damage
    // the model gives, right when it gives it; a change too large to follow (a new
    // layout, another scale) leaves the index stale, to be rebuilt by rebuild().
    void update(const ControlHost& host, const TwipScale& scale, std::span<const RectF> damage);
    bool stale(const ControlHost& host, const TwipScale& scale) const;
    // Places every element anew. Only right after taking the model's damage: the next
    // damage then covers where each element is placed.
    void rebuild(const ControlHost& host, const TwipScale& scale);
    void invalidate() { stale_ = true; }

    // The visible elements whose pixels may meet `region`, in stacking order.
    void visibleIn(const ControlHost& host, const QRegion& region, std::vector<Element>& out) const;
    // The same for a region that covers much of the surface (a first paint): every
    // element is looked at, and no index is needed.
    static void visibleInAll(const ControlHost& host, const TwipScale& scale, const QRegion& region,
                             std::vector<Element>& out);
    // Whether a region is better served by visibleInAll.
    static bool large(const QRegion& region, QSize surface);
    // The topmost visible element that takes the mouse at a point in pixels, or null.
    Element at(const ControlHost& host, QPointF px) const;

private:
    using Id = std::uint16_t;
    static constexpr Id kGone = 0xFFFF;  // an entry whose element moved away

    struct Cells {
        int x0, y0, x1, y1;  // inclusive
        int count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
    };
    static QRect cover(const TwipScale& scale, const RectF& twips);
    QRect cover(const RectF& twips) const { return cover(scale_, twips); }
    Cells cellsOf(const QRect& px) const;
    // Calls f(id) for every live entry of the cells.
    template <class F>
    void forEachIn(const Cells& c, F&& f) const;
    void addCandidates(const QRect& px, std::vector<Id>& out) const;

    TwipScale scale_;
    QSize extent_;  // the surface in pixels when built
    int shift_ = 6, columns_ = 0, rows_ = 0;
    std::vector<std::uint32_t> start_;  // entries of cell i: ids_[start_[i], start_[i + 1])
    std::vector<Id> ids_;
    std::vector<Id> loose_;  // not in the grid: hidden, very large, or moved since the build
    std::size_t elements_ = 0;
    int gone_ = 0;
    bool stale_ = true;
};

}  // namespace talvik
