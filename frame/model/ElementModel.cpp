#include "frame/model/ElementModel.h"

#include <bit>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>

#include "frame/describe/Control.h"
#include "frame/model/Elements.h"
#include "frame/host/HostError.h"
#include "frame/host/ResourceStore.h"
#include "frame/model/Template.h"

namespace talvik {

static_assert(std::endian::native == std::endian::little, "CompactText keeps its bytes above the tag byte");
static_assert(sizeof(CompactText) == 8);

// ---- CompactText ----

std::string_view CompactText::view() const {
    if ((bits_ & 1) == 0) return *reinterpret_cast<const std::string*>(bits_);
    return {reinterpret_cast<const char*>(&bits_) + 1, static_cast<std::size_t>((bits_ >> 1) & 7)};
}

void CompactText::assignLong(std::string_view s) { bits_ = reinterpret_cast<std::uintptr_t>(new std::string(s)); }

void CompactText::releaseLong() noexcept { delete reinterpret_cast<std::string*>(bits_); }

// ---- groups ----

void ElementGroup::copyFrom(const ElementGroup& o) {
    name = o.name;
    kind = o.kind;
    isArray = o.isArray;
    count = o.count;
    first = o.first;
    backColor = o.backColor;
    transparent = o.transparent;
    autoSize = o.autoSize;
    encoding = o.encoding;
    cursor = o.cursor;
    left.copyFrom(o.left, count);
    top.copyFrom(o.top, count);
    width.copyFrom(o.width, count);
    height.copyFrom(o.height, count);
    flags.copyFrom(o.flags, count);
    picture.copyFrom(o.picture, count);
    colour.copyFrom(o.colour, count);
    font.copyFrom(o.font, count);
    alignment.copyFrom(o.alignment, count);
    borderWidth.copyFrom(o.borderWidth, count);
    interval.copyFrom(o.interval, count);
    text.copyFrom(o.text, count);
}

void ElementGroup::compact() {
    left.compact(count);
    top.compact(count);
    width.compact(count);
    height.compact(count);
    flags.compact(count);
    picture.compact(count);
    colour.compact(count);
    font.compact(count);
    alignment.compact(count);
    borderWidth.compact(count);
    interval.compact(count);
    text.compact(count);
}

// ---- building from a template ----

const ElementModel& ElementModel::prototype(const ControlClass& cls) {
    static std::mutex mutex;
    static std::map<const ControlClass*, std::unique_ptr<ElementModel>> built;
    const std::lock_guard lock(mutex);
    std::unique_ptr<ElementModel>& m = built[&cls];
    if (!m) {
        auto p = std::make_unique<ElementModel>();
        p->build(cls);
        m = std::move(p);
    }
    return *m;
}

void ElementModel::build(const ControlClass& cls) {
    static const PictureFiles noPictures;
    const ControlTemplate& tpl = cls.design();
    const PictureFiles& files = cls.pictures != nullptr ? *cls.pictures : noPictures;
    ownPictureTable_.assign(1, Picture());
    ownFontTable_.assign(1, Font());
    basePictures_ = &ownPictureTable_;
    baseFonts_ = &ownFontTable_;
    // Every template picture is resolved once, however many elements show it.
    std::map<std::string, PictureId, std::less<>> pictureIds;
    const auto pictureOf = [&](const std::string& name) -> PictureId {
        if (name.empty()) return 0;
        if (const auto it = pictureIds.find(name); it != pictureIds.end()) return it->second;
        const PictureId id = internPicture(templatePicture(files, cls.name, name));
        pictureIds.emplace(name, id);
        return id;
    };
    // Counting first: each group's columns are sized once.
    for (const ElementSpec& s : tpl.elements) {
        const bool continues = s.index > 0 && !groups_.empty() && groups_.back().name == s.name &&
                               groups_.back().isArray && groups_.back().kind == s.kind;
        if (continues) {
            if (s.index != groups_.back().count) throw std::logic_error("template array " + s.name + " out of order");
            ++groups_.back().count;
        } else {
            if (s.index > 0) throw std::logic_error("template array " + s.name + " is not contiguous");
            for (const ElementGroup& g : groups_)
                if (g.name == s.name) throw std::logic_error("template names " + s.name + " twice");
            ElementGroup g;
            g.name = s.name;
            g.kind = s.kind;
            g.isArray = s.index == 0;
            g.count = 1;
            g.first = count_;
            g.backColor = s.backColor;
            g.transparent = s.transparent;
            g.autoSize = s.autoSize;
            g.encoding = s.encoding;
            g.cursor = {pictureOf(s.cursor), s.cursorX, s.cursorY};
            // The first element's values are the shared ones, so a uniform array stays
            // one value per member.
            const bool box = s.kind != ElementKind::Line;
            g.left = Column<float>(box ? s.left : s.x1);
            g.top = Column<float>(box ? s.top : s.y1);
            g.width = Column<float>(box ? s.width : s.x2);
            g.height = Column<float>(box ? s.height : s.y2);
            g.colour = Column<Colour>(s.kind == ElementKind::Line ? s.borderColor : s.foreColor);
            g.font = Column<FontId>(internFont(s.font));
            g.alignment = Column<Alignment>(s.alignment);
            g.borderWidth = Column<std::int16_t>(s.borderWidth);
            g.interval = Column<std::int32_t>(s.interval);
            g.text = Column<CompactText>(CompactText(s.caption));
            groups_.push_back(std::move(g));
        }
        ++count_;
        if (count_ >= kNone) throw std::logic_error("template has too many elements");
    }
    std::size_t g = 0;
    for (std::size_t k = 0; k < tpl.elements.size(); ++k) {
        const ElementSpec& s = tpl.elements[k];
        while (g + 1 < groups_.size() && groups_[g + 1].first <= k) ++g;
        ElementGroup& grp = groups_[g];
        if (s.backColor != grp.backColor || s.transparent != grp.transparent || s.autoSize != grp.autoSize ||
            s.encoding != grp.encoding || pictureOf(s.cursor) != grp.cursor.picture || s.cursorX != grp.cursor.x ||
            s.cursorY != grp.cursor.y)
            throw std::logic_error("design-time settings differ within template array " + s.name);
        const std::size_t i = k - grp.first, n = grp.count;
        const bool box = s.kind != ElementKind::Line;
        if (!(s.width >= 0 && s.height >= 0)) throw std::logic_error("negative size in template " + s.name);
        grp.left.set(i, box ? s.left : s.x1, n);
        grp.top.set(i, box ? s.top : s.y1, n);
        grp.width.set(i, box ? s.width : s.x2, n);
        grp.height.set(i, box ? s.height : s.y2, n);
        std::uint8_t f = 0;
        if (s.visible) f |= flag::Visible;
        if (s.enabled) f |= flag::Enabled;
        if (s.stretch && s.kind == ElementKind::Image) f |= flag::Stretch;
        grp.flags.set(i, FlagSet(f), n);
        const PictureId pic = s.kind == ElementKind::Image || s.kind == ElementKind::PictureBox ? pictureOf(s.picture) : 0;
        grp.picture.set(i, pic, n);
        if (s.kind == ElementKind::Image && !s.stretch && pic != 0) {
            const Picture& p = picture(pic);
            grp.width.set(i, p.widthTwips(), n);
            grp.height.set(i, p.heightTwips(), n);
        }
        grp.colour.set(i, s.kind == ElementKind::Line ? s.borderColor : s.foreColor, n);
        grp.font.set(i, internFont(s.font), n);
        grp.alignment.set(i, s.alignment, n);
        if (s.borderWidth < 1) throw std::logic_error("border width below 1 in template " + s.name);
        grp.borderWidth.set(i, s.borderWidth, n);
        if (s.interval < 0) throw std::logic_error("negative interval in template " + s.name);
        grp.interval.set(i, s.interval, n);
        grp.text.set(i, CompactText(s.caption), n);
    }
    for (ElementGroup& grp : groups_) grp.compact();
}

void ElementModel::instantiate(const ElementModel& proto, ElementOwner& owner) {
    owner_ = &owner;
    count_ = proto.count_;
    basePictures_ = proto.basePictures_;
    baseFonts_ = proto.baseFonts_;
    groups_.clear();
    groups_.resize(proto.groups_.size());
    for (std::size_t g = 0; g < groups_.size(); ++g) groups_[g].copyFrom(proto.groups_[g]);
    // Text extents depend on the host's fonts, so they are measured here, not in the
    // prototype.
    for (std::size_t g = 0; g < groups_.size(); ++g)
        if (groups_[g].kind == ElementKind::Label && groups_[g].autoSize)
            for (std::uint16_t i = 0; i < groups_[g].count; ++i) fitToText({static_cast<std::uint16_t>(g), i});
    if (pendingCount_ != 0 || overflow_) takeDamage();
    damage_.take();
}

// ---- structure ----

std::optional<std::uint16_t> ElementModel::findGroup(std::string_view name) const {
    for (std::size_t g = 0; g < groups_.size(); ++g)
        if (groups_[g].name == name) return static_cast<std::uint16_t>(g);
    return std::nullopt;
}

ElementSlot ElementModel::slotOf(std::uint32_t id) const {
    const auto it = std::upper_bound(groups_.begin(), groups_.end(), id,
                                     [](std::uint32_t v, const ElementGroup& g) { return v < g.first; });
    const auto g = static_cast<std::uint16_t>(it - groups_.begin() - 1);
    return {g, static_cast<std::uint16_t>(id - groups_[g].first)};
}

PictureId ElementModel::internPicture(const Picture& p) {
    if (p.empty()) return 0;
    if (basePictures_ == &ownPictureTable_) {  // building a prototype
        for (std::size_t k = 0; k < ownPictureTable_.size(); ++k)
            if (ownPictureTable_[k] == p) return static_cast<PictureId>(k);
        ownPictureTable_.push_back(p);
        return static_cast<PictureId>(ownPictureTable_.size() - 1);
    }
    const std::size_t base = basePictures_ ? basePictures_->size() : 0;
    for (std::size_t k = 0; k < base; ++k)
        if ((*basePictures_)[k] == p) return static_cast<PictureId>(k);
    for (std::size_t k = 0; k < pictures_.size(); ++k)
        if (*pictures_[k] == p) return static_cast<PictureId>(base + k);
    if (base + pictures_.size() >= kNone) throw std::length_error("too many pictures on one control");
    pictures_.push_back(std::make_unique<const Picture>(p));
    return static_cast<PictureId>(base + pictures_.size() - 1);
}

FontId ElementModel::internFont(const Font& f) {
    if (baseFonts_ == &ownFontTable_) {
        for (std::size_t k = 0; k < ownFontTable_.size(); ++k)
            if (ownFontTable_[k] == f) return static_cast<FontId>(k);
        ownFontTable_.push_back(f);
        return static_cast<FontId>(ownFontTable_.size() - 1);
    }
    const std::size_t base = baseFonts_ ? baseFonts_->size() : 0;
    for (std::size_t k = 0; k < base; ++k)
        if ((*baseFonts_)[k] == f) return static_cast<FontId>(k);
    for (std::size_t k = 0; k < fonts_.size(); ++k)
        if (*fonts_[k] == f) return static_cast<FontId>(base + k);
    if (base + fonts_.size() >= kNone) throw std::length_error("too many fonts on one control");
    fonts_.push_back(std::make_unique<const Font>(f));
    return static_cast<FontId>(base + fonts_.size() - 1);
}

const std::string& ElementModel::toolTip(ElementSlot s) const {
    static const std::string none;
    const std::uint32_t id = idOf(s);
    const auto it = std::lower_bound(toolTips_.begin(), toolTips_.end(), id,
                                     [](const auto& e, std::uint32_t v) { return e.first < v; });
    return it != toolTips_.end() && it->first == id ? it->second : none;
}

// ---- reading ----

RectF ElementModel::bounds(ElementSlot s) const {
    const ElementGroup& g = at(s);
    const std::size_t i = s.index;
    switch (g.kind) {
        case ElementKind::Image:
        case ElementKind::Label:
        case ElementKind::Frame: return {g.left.get(i), g.top.get(i), g.width.get(i), g.height.get(i)};
        case ElementKind::Line: {
            // The pen is centred on the line, and a pixel's worth of slack covers rounding.
            const float x1 = g.left.get(i), y1 = g.top.get(i), x2 = g.width.get(i), y2 = g.height.get(i);
            const float pad = g.borderWidth.get(i) * kTwipsPerPixel / 2 + kTwipsPerPixel;
            const float l = std::min(x1, x2), t = std::min(y1, y2);
            return {l - pad, t - pad, std::fabs(x2 - x1) + 2 * pad, std::fabs(y2 - y1) + 2 * pad};
        }
        case ElementKind::PictureBox:
        case ElementKind::Timer: return {};
    }
    return {};
}

// ---- changing ----

namespace {
bool finite(float v) { return std::isfinite(v); }
}  // namespace

void ElementModel::recordOld(ElementGroup& g, ElementSlot s) {
    g.flags.set(s.index, FlagSet(std::uint8_t(g.flags.get(s.index)) | flag::Queued), g.count);
    if (!overflow_ && pendingCount_ == kQueued) {
        // Many changes: the whole round repaints one bounding box.
        overflow_ = true;
        overflowOld_.clear();
        for (std::size_t k = 0; k < pendingCount_; ++k) overflowOld_.add(pending_[k].old);
        pendingCount_ = 0;
    }
    if ((std::uint8_t(g.flags.get(s.index)) & flag::Visible) == 0) {
        if (!overflow_) pending_[pendingCount_++] = {idOf(s), RectF{}};
        return;
    }
    const std::size_t i = s.index;
    const bool box = g.kind == ElementKind::Image || g.kind == ElementKind::Label || g.kind == ElementKind::Frame;
    if (overflow_ && box) return overflowOld_.add(g.left.get(i), g.top.get(i), g.width.get(i), g.height.get(i));
    RectF old;
    if (box) old = {g.left.get(i), g.top.get(i), g.width.get(i), g.height.get(i)};
    else if (g.kind == ElementKind::Line) old = bounds(s);
    if (overflow_) return overflowOld_.add(old);
    pending_[pendingCount_++] = {idOf(s), old};
}

void ElementModel::storeBox(ElementSlot s, float l, float t, float w, float h) {
    if (!finite(l) || !finite(t) || !finite(w) || !finite(h) || w < 0 || h < 0) err::invalidPropertyValue();
    ElementGroup& g = edit(s);
    const std::size_t i = s.index;
    if (l == g.left.get(i) && t == g.top.get(i) && w == g.width.get(i) && h == g.height.get(i)) return;
    beginChange(g, s);
    g.left.set(i, l, g.count);
    g.top.set(i, t, g.count);
    g.width.set(i, w, g.count);
    g.height.set(i, h, g.count);
    moved(s);
}

void ElementModel::setLine(ElementSlot s, float x1, float y1, float x2, float y2) {
    if (!finite(x1) || !finite(y1) || !finite(x2) || !finite(y2)) err::invalidPropertyValue();
    ElementGroup& g = edit(s);
    const std::size_t i = s.index;
    if (x1 == g.left.get(i) && y1 == g.top.get(i) && x2 == g.width.get(i) && y2 == g.height.get(i)) return;
    beginChange(g, s);
    g.left.set(i, x1, g.count);
    g.top.set(i, y1, g.count);
    g.width.set(i, x2, g.count);
    g.height.set(i, y2, g.count);
}

void ElementModel::setEnabled(ElementSlot s, bool v) {
    ElementGroup& g = edit(s);
    const std::uint8_t f = std::uint8_t(g.flags.get(s.index));
    if (((f & flag::Enabled) != 0) == v) return;
    g.flags.set(s.index, FlagSet(v ? f | flag::Enabled : f & ~flag::Enabled), g.count);
    if (g.kind == ElementKind::Timer && owner_ != nullptr) owner_->timerChanged(Timer(this, s));
}

void ElementModel::setToolTip(ElementSlot s, std::string v) {
    const std::uint32_t id = idOf(s);
    const auto it = std::lower_bound(toolTips_.begin(), toolTips_.end(), id,
                                     [](const auto& e, std::uint32_t x) { return e.first < x; });
    const bool present = it != toolTips_.end() && it->first == id;
    if (v.empty()) {
        if (present) toolTips_.erase(it);
        if (toolTips_.empty()) toolTips_.shrink_to_fit();
    } else if (present) {
        it->second = std::move(v);
    } else {
        toolTips_.emplace(it, id, std::move(v));
    }
}

void ElementModel::storePicture(ElementSlot s, const Picture& p) {
    ElementGroup& g = edit(s);
    if (picture(g.picture.get(s.index)) == p) return;
    const PictureId id = internPicture(p);
    if (g.kind != ElementKind::Image) {
        g.picture.set(s.index, id, g.count);
        return;
    }
    beginChange(g, s);
    g.picture.set(s.index, id, g.count);
    if ((std::uint8_t(g.flags.get(s.index)) & flag::Stretch) == 0 && !p.empty())
        setBox(s, g.left.get(s.index), g.top.get(s.index), p.widthTwips(), p.heightTwips());
}

void ElementModel::setStretch(ElementSlot s, bool v) {
    ElementGroup& g = edit(s);
    const std::uint8_t f = std::uint8_t(g.flags.get(s.index));
    if (((f & flag::Stretch) != 0) == v) return;
    beginChange(g, s);
    g.flags.set(s.index, FlagSet(v ? f | flag::Stretch : f & ~flag::Stretch),
                g.count);
    const Picture& p = picture(g.picture.get(s.index));
    if (!v && !p.empty()) setBox(s, g.left.get(s.index), g.top.get(s.index), p.widthTwips(), p.heightTwips());
}

void ElementModel::storeCaption(ElementSlot s, std::string_view v) {
    ElementGroup& g = edit(s);
    if (g.kind == ElementKind::Frame) {
        beginChange(g, s);
        g.text.set(s.index, CompactText(v), g.count);
        return;
    }
    if (g.text.get(s.index).equals(v)) return;
    beginChange(g, s);
    g.text.set(s.index, CompactText(v), g.count);
    if (g.autoSize) fitToText(s);
    if (owner_ != nullptr) owner_->captionChanged(Label(this, s));
}

void ElementModel::setColour(ElementSlot s, Colour c) {
    ElementGroup& g = edit(s);
    if (g.colour.get(s.index) == c) return;
    beginChange(g, s);
    g.colour.set(s.index, c, g.count);
}

void ElementModel::setFont(ElementSlot s, const Font& f) {
    if (font(at(s).font.get(s.index)) == f) return;
    setFontId(s, internFont(f));
}

void ElementModel::setFontSize(ElementSlot s, float points) {
    if (!(points > 0) || points > 2048) err::invalidPropertyValue();
    const FontId from = at(s).font.get(s.index);
    if (font(from).size == points) return;
    // A layout gives every label of an array the same size: the font is looked up once.
    if (!(sizeMemo_.from == from && sizeMemo_.size == points)) {
        Font f = font(from);
        f.size = points;
        sizeMemo_ = {from, points, internFont(f)};
    }
    setFontId(s, sizeMemo_.to);
}

void ElementModel::setFontId(ElementSlot s, FontId id) {
    ElementGroup& g = edit(s);
    if (g.font.get(s.index) == id) return;
    beginChange(g, s);
    g.font.set(s.index, id, g.count);
    if (g.autoSize) fitToText(s);
}

void ElementModel::setBorderWidth(ElementSlot s, std::int16_t w) {
    if (w < 1) err::invalidPropertyValue();
    ElementGroup& g = edit(s);
    if (g.borderWidth.get(s.index) == w) return;
    beginChange(g, s);
    g.borderWidth.set(s.index, w, g.count);
}

void ElementModel::setInterval(ElementSlot s, std::int32_t ms) {
    if (ms < 0) err::invalidPropertyValue();
    ElementGroup& g = edit(s);
    if (!g.interval.set(s.index, ms, g.count)) return;
    if (owner_ != nullptr) owner_->timerChanged(Timer(this, s));
}

void ElementModel::fitToText(ElementSlot s) {
    const ElementGroup& g = at(s);
    const TextExtent e = owner_->measure(g.text.get(s.index).view(), font(g.font.get(s.index)));
    setBox(s, g.left.get(s.index), g.top.get(s.index), e.width, e.height);
}

// ---- damage ----

std::vector<RectF> ElementModel::takeDamage() {
    if (overflow_) {
        // One box covers the old and the new rectangles of everything that changed.
        Box box = overflowOld_;
        const auto grow = [&box](const RectF& r) { box.add(r); };
        for (std::uint16_t gi = 0; gi < groups_.size(); ++gi) {
            ElementGroup& g = groups_[gi];
            FlagSet* own = g.flags.own();
            if (own == nullptr) {
                const auto shared = std::uint8_t(g.flags.shared());
                if ((shared & flag::Queued) == 0) continue;
                g.compact();
                g.flags = Column<FlagSet>(FlagSet(shared & ~flag::Queued));
                if ((shared & flag::Visible) != 0)
                    for (std::uint16_t i = 0; i < g.count; ++i) grow(bounds({gi, i}));
                continue;
            }
            const bool drawn = g.kind != ElementKind::PictureBox && g.kind != ElementKind::Timer;
            bool changed = false;
            for (std::uint16_t i = 0; i < g.count; ++i) {
                const auto f = std::uint8_t(own[i]);
                if ((f & flag::Queued) == 0) continue;
                changed = true;
                own[i] = FlagSet(f & ~flag::Queued);
                if (drawn && (f & flag::Visible) != 0) grow(bounds({gi, i}));
            }
            // After a round of many changes (a layout) members that became alike again
            // are stored once more.
            if (changed) g.compact();
        }
        damage_.mergeAll();
        damage_.add(box.rect());
        damage_.mergeAll();
    } else {
        for (std::size_t k = 0; k < pendingCount_; ++k) {
            const ElementSlot s = slotOf(pending_[k].id);
            ElementGroup& g = edit(s);
            g.flags.set(s.index, FlagSet(std::uint8_t(g.flags.get(s.index)) & ~flag::Queued), g.count);
            damage_.add(pending_[k].old);
            damage_.add(isVisible(s) ? bounds(s) : RectF{});
        }
    }
    pendingCount_ = 0;
    overflow_ = false;
    return damage_.take();
}

// ---- hit testing ----

int ElementModel::cellOf(float v) {
    if (!(v >= 0)) return 0;
    if (v >= kCells * kCellTwips) return kCells - 1;
    return static_cast<int>(v / kCellTwips);
}

void ElementModel::link(std::uint32_t id, int cell) {
    grid_->next[id] = grid_->head[static_cast<std::size_t>(cell)];
    grid_->head[static_cast<std::size_t>(cell)] = static_cast<std::uint16_t>(id);
    grid_->cell[id] = static_cast<std::uint16_t>(cell);
}

void ElementModel::unlink(std::uint32_t id) {
    std::uint16_t* p = &grid_->head[grid_->cell[id]];
    while (*p != kNone && *p != id) p = &grid_->next[*p];
    if (*p == id) *p = grid_->next[id];
}

void ElementModel::buildGrid() {
    grid_ = std::make_unique<HitGrid>();
    grid_->head.fill(kNone);
    grid_->next = std::make_unique<std::uint16_t[]>(count_);
    grid_->cell = std::make_unique<std::uint16_t[]>(count_);
    for (std::uint16_t gi = 0; gi < groups_.size(); ++gi) {
        for (std::uint16_t i = 0; i < groups_[gi].count; ++i) {
            const ElementSlot s{gi, i};
            if (!takesMouse(s)) continue;
            const RectF b = bounds(s);
            grid_->maxWidth = std::max(grid_->maxWidth, b.width);
            grid_->maxHeight = std::max(grid_->maxHeight, b.height);
            link(idOf(s), cellOf(b.top) * kCells + cellOf(b.left));
        }
    }
}

void ElementModel::regrid(ElementSlot s) {
    if (!takesMouse(s)) return;
    const RectF b = bounds(s);
    grid_->maxWidth = std::max(grid_->maxWidth, b.width);
    grid_->maxHeight = std::max(grid_->maxHeight, b.height);
    const std::uint32_t id = idOf(s);
    const int cell = cellOf(b.top) * kCells + cellOf(b.left);
    if (cell == grid_->cell[id]) return;
    unlink(id);
    link(id, cell);
}

std::optional<ElementSlot> ElementModel::elementAt(float x, float y) {
    if (!finite(x) || !finite(y)) return std::nullopt;
    if (!grid_) buildGrid();
    std::optional<std::uint32_t> best;
    const int x0 = cellOf(x - grid_->maxWidth), x1 = cellOf(x);
    const int y0 = cellOf(y - grid_->maxHeight), y1 = cellOf(y);
    for (int cy = y0; cy <= y1; ++cy) {
        for (int cx = x0; cx <= x1; ++cx) {
            for (std::uint16_t id = grid_->head[static_cast<std::size_t>(cy * kCells + cx)]; id != kNone;
                 id = grid_->next[id]) {
                if (best && id < *best) continue;
                const ElementSlot s = slotOf(id);
                if ((flags(s) & flag::Visible) == 0) continue;
                const RectF b = bounds(s);
                if (x < b.left || x >= b.right() || y < b.top || y >= b.bottom()) continue;
                best = id;
            }
        }
    }
    if (!best) return std::nullopt;
    const ElementSlot s = slotOf(*best);
    if ((flags(s) & flag::Enabled) == 0) return std::nullopt;
    return s;
}

}  // namespace talvik
