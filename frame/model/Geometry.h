#pragma once
// Rectangles in twips and the damage region: the parts of a surface that changed since
// the host last painted.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace talvik {

struct RectF {
    float left = 0, top = 0, width = 0, height = 0;

    float right() const { return left + width; }
    float bottom() const { return top + height; }
    bool isEmpty() const { return !(width > 0) || !(height > 0); }
    bool contains(const RectF& r) const {
        return r.left >= left && r.top >= top && r.right() <= right() && r.bottom() <= bottom();
    }
    bool intersects(const RectF& r) const {
        return r.left < right() && left < r.right() && r.top < bottom() && top < r.bottom();
    }
    RectF united(const RectF& r) const {
        const float l = std::min(left, r.left), t = std::min(top, r.top);
        return {l, t, std::max(right(), r.right()) - l, std::max(bottom(), r.bottom()) - t};
    }
    friend bool operator==(const RectF&, const RectF&) = default;
};

// Scheduling is separate from painting: changes add their rectangles here, and the host
// later paints only what the region covers.
class DamageRegion {
public:
    void add(const RectF& r) {
        if (r.isEmpty()) return;
        if (merged_) {
            rects_.front() = rects_.front().united(r);
            return;
        }
        for (const RectF& d : rects_)
            if (d.contains(r)) return;
        rects_.push_back(r);
        if (rects_.size() > kMaxRects) mergeAll();
    }
    // Changes too many to keep apart: from here on one bounding box grows with them.
    void mergeAll() {
        if (rects_.size() > 1) {
            RectF all = rects_.front();
            for (const RectF& d : rects_) all = all.united(d);
            rects_.assign(1, all);
        }
        merged_ = !rects_.empty();
    }
    bool isEmpty() const { return rects_.empty(); }
    const std::vector<RectF>& rects() const { return rects_; }
    std::vector<RectF> take() {
        merged_ = false;
        return std::exchange(rects_, {});
    }

private:
    static constexpr std::size_t kMaxRects = 32;
    std::vector<RectF> rects_;
    bool merged_ = false;
};

}  // namespace talvik
