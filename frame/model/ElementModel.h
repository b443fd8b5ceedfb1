#pragma once
// Where a control's child elements live. Each array (and each single element) is one
// group; a group keeps every member as a column that holds one shared value until an
// element is given a different one, so that what the elements of an array have in common
// is stored once. Pictures and fonts are small ids into per-host tables, tooltips are
// kept only for the elements that have one, and the rectangles to repaint are recorded
// as elements change. Controls and hosts reach elements through the value handles of
// Elements.h.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/model/ElementTypes.h"
#include "frame/model/Geometry.h"
#include "frame/host/HostError.h"
#include "frame/model/Picture.h"

// The few element operations that layouts run for every element are forced inline.
#if defined(__GNUC__)
#define TALVIK_INLINE [[gnu::always_inline]] inline
#else
#define TALVIK_INLINE inline
#endif

namespace talvik {

struct ControlClass;

struct ControlTemplate;
class Label;
class Timer;

// What elements report to the host that owns them.
class ElementOwner {
public:
    virtual void captionChanged(const Label& l) = 0;
    virtual void timerChanged(const Timer& t) = 0;
    virtual TextExtent measure(std::string_view text, const Font& font) = 0;

protected:
    ~ElementOwner() = default;
};

// A string in eight bytes: up to seven bytes inline, longer ones on the heap. Captions
// are mostly short ("1" to "150"), and a label array has many of them.
class CompactText {
public:
    CompactText() noexcept = default;
    explicit CompactText(std::string_view s) { assign(s); }
    CompactText(const CompactText& o) { assign(o.view()); }
    CompactText(CompactText&& o) noexcept : bits_(std::exchange(o.bits_, kEmpty)) {}
    CompactText& operator=(const CompactText& o) {
        if (this != &o) assign(o.view());
        return *this;
    }
    CompactText& operator=(CompactText&& o) noexcept {
        if (this != &o) {
            release();
            bits_ = std::exchange(o.bits_, kEmpty);
        }
        return *this;
    }
    ~CompactText() { release(); }

    std::string_view view() const;
    // Short texts compare as one word.
    bool equals(std::string_view s) const {
        if (s.size() > 7) return (bits_ & 1) == 0 && view() == s;
        std::uintptr_t w = 1 | (static_cast<std::uintptr_t>(s.size()) << 1);
        for (std::size_t k = 0; k < s.size(); ++k)
            w |= static_cast<std::uintptr_t>(static_cast<unsigned char>(s[k])) << (8 * (k + 1));
        return w == bits_;
    }
    friend bool operator==(const CompactText& a, const CompactText& b) { return a.view() == b.view(); }

private:
    // Inline: the lowest bit set, the length in the next three bits, the bytes above.
    // Otherwise the word is the address of a heap string.
    static constexpr std::uintptr_t kEmpty = 1;
    void assign(std::string_view s) {
        release();
        if (s.size() > 7) return assignLong(s);
        std::uintptr_t w = 1 | (static_cast<std::uintptr_t>(s.size()) << 1);
        for (std::size_t k = 0; k < s.size(); ++k)
            w |= static_cast<std::uintptr_t>(static_cast<unsigned char>(s[k])) << (8 * (k + 1));
        bits_ = w;
    }
    void release() noexcept {
        if ((bits_ & 1) == 0) releaseLong();
        bits_ = kEmpty;
    }
    void assignLong(std::string_view s);
    void releaseLong() noexcept;
    std::uintptr_t bits_ = kEmpty;
};

// One member of every element of a group: a single shared value until some element
// differs, then one value per element.
template <class T>
class Column {
public:
    Column() = default;
    explicit Column(T shared) : shared_(std::move(shared)) {}
    Column(Column&&) noexcept = default;
    Column& operator=(Column&&) noexcept = default;

    const T& get(std::size_t i) const { return own_ ? own_[i] : shared_; }
    // Whether the value changes; then stores it.
    bool set(std::size_t i, T v, std::size_t count) {
        if (!own_) {
            if (v == shared_) return false;
            own_ = std::make_unique<T[]>(count);
            std::fill_n(own_.get(), count, shared_);
        } else if (own_[i] == v) {
            return false;
        }
        own_[i] = std::move(v);
        return true;
    }
    // Back to one shared value when every element has the same; a column that differs
    // early is rejected at once.
    void compact(std::size_t count) {
        if (!own_ || count == 0) return;
        for (std::size_t i = 1; i < count; ++i)
            if (!(own_[i] == own_[0])) return;
        shared_ = std::move(own_[0]);
        own_.reset();
    }
    // The per-element values, or null while all share one.
    T* own() { return own_.get(); }
    const T& shared() const { return shared_; }
    void copyFrom(const Column& o, std::size_t count) {
        shared_ = o.shared_;
        if (o.own_) {
            own_ = std::make_unique<T[]>(count);
            std::copy_n(o.own_.get(), count, own_.get());
        } else {
            own_.reset();
        }
    }

private:
    T shared_{};
    std::unique_ptr<T[]> own_;
};

namespace flag {
inline constexpr std::uint8_t Visible = 1, Enabled = 2, Stretch = 4, Queued = 8;
}
// Flags are stored as their own type, not as a character type, so that writing them does
// not make the compiler assume every other member may have changed.
enum class FlagSet : std::uint8_t {};

using PictureId = std::uint16_t;  // 0 is the empty picture
using FontId = std::uint16_t;

// An element's place: its group and its index in the group (0 for a single element).
struct ElementSlot {
    std::uint16_t group = 0, index = 0;
    friend bool operator==(const ElementSlot&, const ElementSlot&) = default;
};

// A mouse cursor a label's template gives it: a 32 x 32 picture and its hot spot in pixels.
struct CursorSpec {
    PictureId picture = 0;
    std::int16_t x = 0, y = 0;
};

// An array of like elements, or one single element.
struct ElementGroup {
    std::string name;
    ElementKind kind = ElementKind::Image;
    bool isArray = false;
    std::uint16_t count = 0;
    std::uint32_t first = 0;  // stacking position of element 0

    // Design-time settings, the same for every element of the group.
    Colour backColor = kButtonFace;
    bool transparent = true;
    bool autoSize = false;
    TextEncoding encoding = TextEncoding::Windows1252;
    CursorSpec cursor;

    Column<float> left, top, width, height;  // lines: X1, Y1, X2, Y2
    Column<FlagSet> flags{FlagSet(flag::Visible | flag::Enabled)};
    Column<PictureId> picture;
    Column<Colour> colour;  // ForeColor, BorderColor
    Column<FontId> font;
    Column<Alignment> alignment{Alignment::Left};
    Column<std::int16_t> borderWidth{1};
    Column<std::int32_t> interval;
    Column<CompactText> text;  // Caption

    void copyFrom(const ElementGroup& o);
    void compact();
};

class ElementModel {
public:
    ElementModel() = default;
    ElementModel(const ElementModel&) = delete;
    ElementModel& operator=(const ElementModel&) = delete;

    // The elements of a class's template as every new control of the class starts with
    // them; built once per class, its template pictures resolved then.
    static const ElementModel& prototype(const ControlClass& cls);
    // Takes the prototype's elements; labels that size themselves are measured by owner.
    void instantiate(const ElementModel& proto, ElementOwner& owner);

    // ---- Structure ----
    std::size_t groupCount() const { return groups_.size(); }
    const ElementGroup& group(std::size_t g) const { return groups_[g]; }
    // The group of that name, if any.
    std::optional<std::uint16_t> findGroup(std::string_view name) const;
    std::uint32_t elementCount() const { return count_; }
    std::uint32_t idOf(ElementSlot s) const { return groups_[s.group].first + s.index; }
    ElementSlot slotOf(std::uint32_t id) const;

    const Picture& picture(PictureId id) const {
        const std::size_t base = basePictures_->size();
        return id < base ? (*basePictures_)[id] : *pictures_[id - base];
    }
    const Font& font(FontId id) const {
        const std::size_t base = baseFonts_->size();
        return id < base ? (*baseFonts_)[id] : *fonts_[id - base];
    }
    const std::string& toolTip(ElementSlot s) const;
    Colour foreColour(ElementSlot s) const { return at(s).colour.get(s.index); }

    // ---- Reading ----
    const ElementGroup& at(ElementSlot s) const { return groups_[s.group]; }
    std::uint8_t flags(ElementSlot s) const { return std::uint8_t(at(s).flags.get(s.index)); }
    bool isVisible(ElementSlot s) const {
        const ElementKind k = at(s).kind;
        return k != ElementKind::PictureBox && k != ElementKind::Timer && (flags(s) & flag::Visible) != 0;
    }
    bool takesMouse(ElementSlot s) const {
        const ElementKind k = at(s).kind;
        return k == ElementKind::Image || k == ElementKind::Label;
    }
    RectF bounds(ElementSlot s) const;

    // ---- Changing: each checks its value, returns when nothing changes, records the
    //      old rectangle, stores, and tells the owner where it must know ----
    TALVIK_INLINE void setBox(ElementSlot s, float l, float t, float w, float h) {
        const ElementGroup& g = at(s);
        const std::size_t i = s.index;
        if (l == g.left.get(i) && t == g.top.get(i) && w == g.width.get(i) && h == g.height.get(i) && w >= 0 && h >= 0)
            return;
        storeBox(s, l, t, w, h);
    }
    // Layouts call these for every element, so they are kept small enough to inline.
    TALVIK_INLINE void setLeft(ElementSlot s, float v) { setCoordinate(&ElementGroup::left, s, v); }
    TALVIK_INLINE void setTop(ElementSlot s, float v) { setCoordinate(&ElementGroup::top, s, v); }
    void setLine(ElementSlot s, float x1, float y1, float x2, float y2);
    TALVIK_INLINE void setVisible(ElementSlot s, bool v) {
        ElementGroup& g = edit(s);
        if (FlagSet* own = g.flags.own()) [[likely]] {
            auto f = std::uint8_t(own[s.index]);
            if (((f & flag::Visible) != 0) == v) return;
            if ((f & flag::Queued) == 0) {
                recordOld(g, s);
                f = std::uint8_t(own[s.index]);
            }
            own[s.index] = FlagSet(v ? f | flag::Visible : f & ~flag::Visible);
            return;
        }
        if (((std::uint8_t(g.flags.shared()) & flag::Visible) != 0) == v) return;
        beginChange(g, s);
        const std::uint8_t f = std::uint8_t(g.flags.get(s.index));
        g.flags.set(s.index, FlagSet(v ? f | flag::Visible : f & ~flag::Visible), g.count);
    }
    void setEnabled(ElementSlot s, bool v);
    void setToolTip(ElementSlot s, std::string v);
    TALVIK_INLINE void setPicture(ElementSlot s, const Picture& p) {
        if (picture(at(s).picture.get(s.index)) == p) return;
        storePicture(s, p);
    }
    void setStretch(ElementSlot s, bool v);
    TALVIK_INLINE void setCaption(ElementSlot s, std::string_view v) {
        const ElementGroup& g = at(s);
        if (g.kind == ElementKind::Label && g.text.get(s.index).equals(v)) return;
        storeCaption(s, v);
    }
    void setColour(ElementSlot s, Colour c);
    TALVIK_INLINE void setAlignment(ElementSlot s, Alignment a) {
        ElementGroup& g = edit(s);
        if (g.alignment.get(s.index) == a) return;
        beginChange(g, s);
        g.alignment.set(s.index, a, g.count);
    }
    void setFont(ElementSlot s, const Font& f);
    // A size not above 0 or above 2048 points raises "Invalid property value".
    void setFontSize(ElementSlot s, float points);
    void setBorderWidth(ElementSlot s, std::int16_t w);
    void setInterval(ElementSlot s, std::int32_t ms);
    void refresh(ElementSlot s) { beginChange(edit(s), s); }

    // ---- Painting and input ----
    DamageRegion& damage() { return damage_; }
    // Every changed element's old and new rectangle, added to the region, which is taken.
    std::vector<RectF> takeDamage();
    // The topmost visible image or label at a point in twips; none when there is none
    // or when that element is disabled (then the surface takes the input).
    std::optional<ElementSlot> elementAt(float x, float y);

private:
    ElementGroup& edit(ElementSlot s) { return groups_[s.group]; }
    PictureId internPicture(const Picture& p);
    FontId internFont(const Font& f);
    // Before the first change of an element in a round: its old rectangle is recorded.
    void beginChange(ElementGroup& g, ElementSlot s) {
        if ((std::uint8_t(g.flags.get(s.index)) & flag::Queued) == 0) recordOld(g, s);
    }
    void recordOld(ElementGroup& g, ElementSlot s);
    void storeBox(ElementSlot s, float l, float t, float w, float h);
    void storeCaption(ElementSlot s, std::string_view v);
    void setFontId(ElementSlot s, FontId id);
    void storePicture(ElementSlot s, const Picture& p);
    TALVIK_INLINE void setCoordinate(Column<float> ElementGroup::*column, ElementSlot s, float v) {
        if (!std::isfinite(v)) [[unlikely]] err::invalidPropertyValue();
        ElementGroup& g = edit(s);
        Column<float>& c = g.*column;
        if (float* own = c.own()) [[likely]] {
            if (own[s.index] == v) return;
            beginChange(g, s);
            own[s.index] = v;
        } else {
            if (v == c.shared()) return;
            beginChange(g, s);
            c.set(s.index, v, g.count);
        }
        moved(s);
    }
    void moved(ElementSlot s) {
        if (grid_) regrid(s);
    }
    void regrid(ElementSlot s);
    void fitToText(ElementSlot s);
    void build(const ControlClass& cls);

    std::vector<ElementGroup> groups_;
    std::uint32_t count_ = 0;
    ElementOwner* owner_ = nullptr;

    // Pictures and fonts: the prototype's tables shared, and the ones first used here.
    const std::vector<Picture>* basePictures_ = nullptr;
    std::vector<std::unique_ptr<const Picture>> pictures_;
    const std::vector<Font>* baseFonts_ = nullptr;
    std::vector<std::unique_ptr<const Font>> fonts_;
    std::vector<Picture> ownPictureTable_;  // a prototype's
    std::vector<Font> ownFontTable_;        // a prototype's
    std::vector<std::pair<std::uint32_t, std::string>> toolTips_;  // sorted by id
    struct {
        FontId from = 0;
        float size = 0;
        FontId to = 0;
    } sizeMemo_;

    // Changes of this round: up to kQueued elements with the rectangle each had before;
    // beyond that, a bounding box of everything is repainted.
    static constexpr std::size_t kQueued = 16;
    struct Pending {
        std::uint32_t id;
        RectF old;
    };
    std::array<Pending, kQueued> pending_{};
    std::uint8_t pendingCount_ = 0;
    bool overflow_ = false;
    // With overflow_: the bounding box of the old rectangles, as edges.
    struct Box {
        float left, top, right, bottom;
        void clear() { left = top = HUGE_VALF, right = bottom = -HUGE_VALF; }
        void add(float l, float t, float w, float h) {
            if (!(w > 0) || !(h > 0)) return;
            left = std::min(left, l), top = std::min(top, t);
            right = std::max(right, l + w), bottom = std::max(bottom, t + h);
        }
        void add(const RectF& r) { add(r.left, r.top, r.width, r.height); }
        RectF rect() const { return left < right ? RectF{left, top, right - left, bottom - top} : RectF{}; }
    } overflowOld_;
    DamageRegion damage_;

    // Hit testing: a uniform grid of cells, each a list of the images and labels whose
    // top-left corner lies in it; built on the first query, then kept up to date.
    static constexpr int kCells = 16;
    static constexpr float kCellTwips = 1024;
    static constexpr std::uint16_t kNone = 0xFFFF;
    struct HitGrid {
        std::array<std::uint16_t, kCells * kCells> head;
        std::unique_ptr<std::uint16_t[]> next;
        std::unique_ptr<std::uint16_t[]> cell;
        float maxWidth = 0, maxHeight = 0;
    };
    void buildGrid();
    void link(std::uint32_t id, int cell);
    void unlink(std::uint32_t id);
    static int cellOf(float v);
    std::unique_ptr<HitGrid> grid_;
};

}  // namespace talvik
