#include "hosts/qt/ElementIndex.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace talvik {

namespace {

// The grid keeps at most this many cells, whatever the surface's size.
constexpr int kMaxCells = 256;
// An element over more cells than this (a border line, a skin slice, a frame) is looked
// at by every query instead of being listed in each of its cells.
constexpr int kWide = 32;
// Elements moved since the build are looked at by every query; past this many, the
// grid is rebuilt.
constexpr std::size_t kMaxLoose = 64;

// The few things the index needs to know of an element.
bool everDrawn(const Element& e) { return e.kind() != ElementKind::PictureBox && e.kind() != ElementKind::Timer; }
bool takesMouseAt(const Element& e, float x, float y) {
    if (!e.takesMouse() || !e.isVisible()) return false;
    const RectF b = e.bounds();
    return x >= b.left && x < b.right() && y >= b.top && y < b.bottom();
}

}  // namespace

// As TwipScale::covering: every pixel the rectangle touches and one more on each side.
QRect ElementIndex::cover(const TwipScale& scale, const RectF& r) {
    const qreal k = scale.pxPerTwip();
    const int l = int(std::floor(qreal(r.left) * k)), t = int(std::floor(qreal(r.top) * k));
    const int rt = int(std::ceil(qreal(r.left) * k + qreal(r.width) * k));
    const int b = int(std::ceil(qreal(r.top) * k + qreal(r.height) * k));
    return QRect(QPoint(l - 1, t - 1), QPoint(rt, b));
}

ElementIndex::Cells ElementIndex::cellsOf(const QRect& px) const {
    const auto clampX = [&](int v) { return std::clamp(v >> shift_, 0, columns_ - 1); };
    const auto clampY = [&](int v) { return std::clamp(v >> shift_, 0, rows_ - 1); };
    return {clampX(px.left()), clampY(px.top()), clampX(px.right()), clampY(px.bottom())};
}

template <class F>
void ElementIndex::forEachIn(const Cells& c, F&& f) const {
    for (int y = c.y0; y <= c.y1; ++y)
        for (int x = c.x0; x <= c.x1; ++x) {
            const int cell = y * columns_ + x;
            for (std::uint32_t i = start_[cell]; i < start_[cell + 1]; ++i)
                if (ids_[i] != kGone) f(ids_[i], cell, i);
        }
}

bool ElementIndex::stale(const ControlHost& host, const TwipScale& scale) const {
    return stale_ || scale != scale_ || host.elements().size() != elements_ ||
           extent_ != scale.size(host.surface().Width(), host.surface().Height());
}

void ElementIndex::rebuild(const ControlHost& host, const TwipScale& scale) {
    scale_ = scale;
    extent_ = scale.size(host.surface().Width(), host.surface().Height());
    const ElementRange elements = host.elements();
    elements_ = elements.size();
    shift_ = 5;
    const auto fit = [&](int extent) { return std::max(1, (extent + (1 << shift_) - 1) >> shift_); };
    while (fit(extent_.width()) * fit(extent_.height()) > kMaxCells) ++shift_;
    columns_ = fit(extent_.width());
    rows_ = fit(extent_.height());
    const int cells = columns_ * rows_;

    loose_.clear();
    gone_ = 0;
    std::vector<Cells> placed(std::min<std::size_t>(elements.size(), kGone));
    std::vector<std::uint32_t> count(std::size_t(cells) + 1, 0);
    for (Id id = 0; id < placed.size(); ++id) {
        const Element e = elements[id];
        placed[id] = {0, 0, -1, -1};
        if (!everDrawn(e)) continue;
        const Cells c = cellsOf(cover(e.bounds()));
        if (!e.isVisible() || c.count() > kWide) {
            loose_.push_back(id);
            continue;
        }
        placed[id] = c;
        for (int y = c.y0; y <= c.y1; ++y)
            for (int x = c.x0; x <= c.x1; ++x) ++count[std::size_t(y * columns_ + x) + 1];
    }
    start_.assign(count.size(), 0);
    for (std::size_t i = 1; i < count.size(); ++i) start_[i] = start_[i - 1] + count[i];
    ids_.assign(start_.back(), kGone);
    std::vector<std::uint32_t> next(start_.begin(), start_.end() - 1);
    for (Id id = 0; id < placed.size(); ++id) {
        const Cells& c = placed[id];
        for (int y = c.y0; y <= c.y1; ++y)
            for (int x = c.x0; x <= c.x1; ++x) ids_[next[std::size_t(y * columns_ + x)]++] = id;
    }
    ids_.shrink_to_fit();
    start_.shrink_to_fit();
    loose_.shrink_to_fit();
    stale_ = false;
}

void ElementIndex::update(const ControlHost& host, const TwipScale& scale, std::span<const RectF> damage) {
    if (damage.empty() || stale(host, scale)) return;
    const ElementRange elements = host.elements();
    // A damaged element is listed either where it is now or, moved, under its old
    // rectangle, which the damage covers. Each element found is checked: listed in just
    // the damaged cells it now covers, it stays; anywhere else, it leaves the grid.
    // A few small changes (a click) are followed on the stack; more (a new layout) cost
    // less to build anew than to follow.
    struct Found {
        Id id;
        int cell;
        std::uint32_t entry;
    };
    constexpr std::size_t kMaxAreas = 16, kMaxFound = 256;
    std::array<Cells, kMaxAreas> areas;
    std::array<Found, kMaxFound> found;
    std::size_t nAreas = 0, nFound = 0;
    int damagedCells = 0;
    bool many = damage.size() > kMaxAreas;
    for (std::size_t i = 0; i < damage.size() && !many; ++i) {
        const Cells c = cellsOf(cover(damage[i]));
        damagedCells += c.count();
        many = damagedCells * 2 > columns_ * rows_;
        areas[nAreas++] = c;
        forEachIn(c, [&](Id id, int cell, std::uint32_t entry) {
            if (nFound == kMaxFound) many = true;
            else found[nFound++] = {id, cell, entry};
        });
    }
    if (many) {
        stale_ = true;
        return;
    }
    const auto foundEnd = found.begin() + std::ptrdiff_t(nFound);
    std::sort(found.begin(), foundEnd, [](const Found& a, const Found& b) {
        return a.id != b.id ? a.id < b.id : a.entry < b.entry;
    });
    const auto uniqueEnd =
        std::unique(found.begin(), foundEnd, [](const Found& a, const Found& b) { return a.entry == b.entry; });
    const auto damaged = [&](int cell) {
        const int x = cell % columns_, y = cell / columns_;
        return std::any_of(areas.begin(), areas.begin() + std::ptrdiff_t(nAreas),
                           [&](const Cells& c) { return x >= c.x0 && x <= c.x1 && y >= c.y0 && y <= c.y1; });
    };
    for (auto first = found.begin(); first != uniqueEnd;) {
        const auto last = std::find_if(first, uniqueEnd, [&](const Found& f) { return f.id != first->id; });
        const Element e = elements[first->id];
        bool stays = e.isVisible();
        if (stays) {
            const Cells now = cellsOf(cover(e.bounds()));
            int expected = 0;
            for (int y = now.y0; y <= now.y1; ++y)
                for (int x = now.x0; x <= now.x1; ++x) expected += damaged(y * columns_ + x) ? 1 : 0;
            stays = expected == int(last - first) && std::all_of(first, last, [&](const Found& f) {
                const int x = f.cell % columns_, y = f.cell / columns_;
                return x >= now.x0 && x <= now.x1 && y >= now.y0 && y <= now.y1;
            });
        }
        if (!stays) {
            for (auto f = first; f != last; ++f) ids_[f->entry] = kGone;
            gone_ += int(last - first);
            loose_.push_back(first->id);
        }
        first = last;
    }
    if (loose_.size() > kMaxLoose || gone_ * 4 > int(ids_.size())) stale_ = true;
}

void ElementIndex::addCandidates(const QRect& px, std::vector<Id>& out) const {
    forEachIn(cellsOf(px), [&](Id id, int, std::uint32_t) { out.push_back(id); });
}

void ElementIndex::visibleIn(const ControlHost& host, const QRegion& region, std::vector<Element>& out) const {
    out.clear();
    if (region.isEmpty()) return;
    // One UI thread paints; the candidates' buffer is kept for the next paint.
    static thread_local std::vector<Id> ids;
    ids.clear();
    for (const QRect& r : region) addCandidates(r, ids);
    ids.insert(ids.end(), loose_.begin(), loose_.end());
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const ElementRange elements = host.elements();
    const bool oneRect = region.rectCount() == 1;
    const QRect bounds = region.boundingRect();
    for (const Id id : ids) {
        const Element e = elements[id];
        if (!e.isVisible()) continue;
        const QRect px = cover(e.bounds());
        if (!px.intersects(bounds) || (!oneRect && !region.intersects(px))) continue;
        out.push_back(e);
    }
}

bool ElementIndex::large(const QRegion& region, QSize surface) {
    const QRect b = region.boundingRect();
    return qint64(b.width()) * b.height() * 4 >= qint64(surface.width()) * surface.height();
}

void ElementIndex::visibleInAll(const ControlHost& host, const TwipScale& scale, const QRegion& region,
                                std::vector<Element>& out) {
    out.clear();
    const bool oneRect = region.rectCount() == 1;
    const QRect bounds = region.boundingRect();
    for (const Element e : host.elements()) {
        if (!e.isVisible()) continue;
        const QRect px = cover(scale, e.bounds());
        if (!px.intersects(bounds) || (!oneRect && !region.intersects(px))) continue;
        out.push_back(e);
    }
}

Element ElementIndex::at(const ControlHost& host, QPointF px) const {
    const float x = scale_.twips(px.x()), y = scale_.twips(px.y());
    const ElementRange elements = host.elements();
    // The topmost is the last in stacking order: the largest number.
    int best = -1;
    for (const Id id : loose_)
        if (id > best && takesMouseAt(elements[id], x, y)) best = id;
    const QPoint p(int(std::floor(px.x())), int(std::floor(px.y())));
    forEachIn(cellsOf(QRect(p, p)), [&](Id id, int, std::uint32_t) {
        if (id > best && takesMouseAt(elements[id], x, y)) best = id;
    });
    return best < 0 ? Element() : elements[std::size_t(best)];
}

}  // namespace talvik
