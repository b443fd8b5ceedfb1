#pragma once
// The child elements a control owns: images, labels, lines, hidden picture boxes,
// timers and frames, and the control's own surface. One model for every host: the rules
// that belong to elements live here, and a host only draws them and supplies services.
//
// A setter follows one shape: unchanged, return; store; schedule a repaint.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/model/Geometry.h"
#include "frame/model/Picture.h"

namespace talvik {

enum class ElementKind { Image, Label, Line, PictureBox, Timer, Frame };
std::string_view kindName(ElementKind k);  // "image", "label", ...

// Colours: 0x00BBGGRR, or 0x80000000 + n for the host's system colour n.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColourFlag = 0x80000000u;
inline constexpr Colour kHighlight = 0x8000000Du;
inline constexpr Colour kButtonText = 0x80000012u;
inline constexpr Colour kButtonFace = 0x8000000Fu;
constexpr Colour rgb(int r, int g, int b) { return Colour(r) | (Colour(g) << 8) | (Colour(b) << 16); }

// How a label's caption bytes are to be read when they are drawn.
enum class TextEncoding { Windows1252, Tcvn3 };

enum class Alignment : std::int16_t { Left = 0, Right = 1, Center = 2 };

struct Font {
    std::string name = "MS Sans Serif";
    float size = 8.25f;  // points
    bool bold = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

struct TextExtent {
    float width = 0, height = 0;  // twips
};

class Label;
class Timer;
class Element;

// What elements report to the model that owns them.
class ElementOwner {
public:
    // The element changed how it looks: the owner repaints its old and new rectangles
    // when the host next paints. Called once until the owner takes the damage.
    virtual void changed(Element& e) = 0;
    virtual void captionChanged(Label& l) = 0;
    virtual void timerChanged(Timer& t) = 0;
    virtual TextExtent measure(std::string_view text, const Font& font) = 0;

protected:
    ~ElementOwner() = default;
};

class Element {
public:
    virtual ~Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    ElementKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    std::int16_t index() const { return index_; }  // -1 when not an array element
    bool inArray() const { return array_ != nullptr; }
    const void* array() const { return array_; }
    std::string displayName() const;  // "Image1(3)" or "imgArrow"

    // Whether the element takes mouse input (images and labels do).
    virtual bool takesMouse() const { return false; }
    // The rectangle the element covers on the surface, empty for those never drawn.
    virtual RectF bounds() const { return {}; }
    virtual bool isVisible() const { return false; }

    // For the owner: the rectangle last painted (empty when the element was not shown),
    // and the one to paint now; taking them starts a new round of changes.
    RectF takePainted() {
        queued_ = false;
        return std::exchange(painted_, isVisible() ? bounds() : RectF{});
    }

protected:
    Element(ElementKind k, std::string name, std::int16_t index, ElementOwner& owner)
        : kind_(k), name_(std::move(name)), index_(index), owner_(&owner) {}
    // Scheduling only: the host paints later, clipped to what changed.
    void changed() {
        if (queued_) return;
        queued_ = true;
        owner_->changed(*this);
    }

    ElementKind kind_;
    std::string name_;
    std::int16_t index_;
    ElementOwner* owner_;
    const void* array_ = nullptr;
    RectF painted_;
    bool queued_ = false;

    template <class T>
    friend class ElementArray;
};

// Position and size common to images, labels and frames.
class BoxElement : public Element {
public:
    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    bool Visible() const { return visible_; }
    bool Enabled() const { return enabled_; }
    const std::string& ToolTipText() const { return toolTip_; }

    void Left(float v) {
        if (v == left_) return;
        left_ = v;
        changed();
    }
    void Top(float v) {
        if (v == top_) return;
        top_ = v;
        changed();
    }
    // A negative width or height raises "Invalid property value".
    void Width(float v) { move(left_, top_, v, height_); }
    void Height(float v) { move(left_, top_, width_, v); }
    void Move(float left, float top, float width, float height) { move(left, top, width, height); }
    void Move(float left, float top) { move(left, top, width_, height_); }
    void Visible(bool v) {
        if (v == visible_) return;
        visible_ = v;
        changed();
    }
    void Enabled(bool v) { enabled_ = v; }
    void ToolTipText(std::string v) { toolTip_ = std::move(v); }

    bool takesMouse() const override { return kind_ != ElementKind::Frame; }
    RectF bounds() const override { return {left_, top_, width_, height_}; }
    bool isVisible() const override { return visible_; }

protected:
    using Element::Element;
    void move(float l, float t, float w, float h);

    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    std::string toolTip_;
};

class Image : public BoxElement {
public:
    Image(std::string name, std::int16_t index, ElementOwner& owner)
        : BoxElement(ElementKind::Image, std::move(name), index, owner) {}

    const Picture& picture() const { return picture_; }
    bool Stretch() const { return stretch_; }

    // With Stretch off the element takes the picture's own size (15 twips a pixel); the
    // empty picture clears the element and leaves its size.
    void setPicture(const Picture& p);
    // Turning Stretch off gives the element its picture's size again.
    void Stretch(bool v);

private:
    Picture picture_;
    bool stretch_ = false;
};

class Label : public BoxElement {
public:
    Label(std::string name, std::int16_t index, ElementOwner& owner)
        : BoxElement(ElementKind::Label, std::move(name), index, owner) {}

    const std::string& Caption() const { return caption_; }
    Colour ForeColor() const { return foreColor_; }
    Alignment alignment() const { return alignment_; }
    const Font& font() const { return font_; }
    bool AutoSize() const { return autoSize_; }
    bool transparent() const { return transparent_; }
    Colour BackColor() const { return backColor_; }
    TextEncoding encoding() const { return encoding_; }

    // A changed caption raises the label's Change event; a label that sizes itself
    // takes the text's extent first.
    void Caption(std::string v);
    void ForeColor(Colour c);
    void setAlignment(Alignment a);
    void FontSize(float points);
    void setFont(const Font& f);
    void Refresh() { changed(); }

    // Design-time settings, given by the template.
    void setAutoSize(bool v);
    void setTransparent(bool v) { transparent_ = v; }
    void setBackColor(Colour c) { backColor_ = c; }
    void setEncoding(TextEncoding e) { encoding_ = e; }

private:
    void fitToText();

    std::string caption_;
    Colour foreColor_ = kButtonText;
    Colour backColor_ = kButtonFace;
    Alignment alignment_ = Alignment::Left;
    Font font_;
    bool autoSize_ = false;
    bool transparent_ = true;
    TextEncoding encoding_ = TextEncoding::Windows1252;
};

class Line : public Element {
public:
    Line(std::string name, std::int16_t index, ElementOwner& owner)
        : Element(ElementKind::Line, std::move(name), index, owner) {}

    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    Colour BorderColor() const { return colour_; }
    std::int16_t BorderWidth() const { return width_; }
    bool Visible() const { return visible_; }

    void X1(float v) { set(v, y1_, x2_, y2_); }
    void Y1(float v) { set(x1_, v, x2_, y2_); }
    void X2(float v) { set(x1_, y1_, v, y2_); }
    void Y2(float v) { set(x1_, y1_, x2_, v); }
    void BorderColor(Colour c);
    // A width below 1 raises "Invalid property value".
    void BorderWidth(std::int16_t w);
    void Visible(bool v);

    RectF bounds() const override;
    bool isVisible() const override { return visible_; }

private:
    void set(float x1, float y1, float x2, float y2);

    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Colour colour_ = 0;
    std::int16_t width_ = 1;
    bool visible_ = true;
};

// A hidden store of one picture; never drawn, never moved.
class PictureBox : public Element {
public:
    PictureBox(std::string name, std::int16_t index, ElementOwner& owner)
        : Element(ElementKind::PictureBox, std::move(name), index, owner) {}

    const Picture& picture() const { return picture_; }
    bool Enabled() const { return enabled_; }
    void Enabled(bool v) { enabled_ = v; }
    void setPicture(const Picture& p) { picture_ = p; }

private:
    Picture picture_;
    bool enabled_ = true;
};

class Timer : public Element {
public:
    Timer(std::string name, std::int16_t index, ElementOwner& owner)
        : Element(ElementKind::Timer, std::move(name), index, owner) {}

    bool Enabled() const { return enabled_; }
    std::int32_t Interval() const { return interval_; }  // milliseconds
    void Enabled(bool v);
    void Interval(std::int32_t ms);

private:
    bool enabled_ = true;
    std::int32_t interval_ = 0;
};

// A design-time grouping rectangle with an optional caption.
class Frame : public BoxElement {
public:
    Frame(std::string name, std::int16_t index, ElementOwner& owner)
        : BoxElement(ElementKind::Frame, std::move(name), index, owner) {}
    const std::string& Caption() const { return caption_; }
    void Caption(std::string v) {
        caption_ = std::move(v);
        changed();
    }

private:
    std::string caption_;
};

}  // namespace talvik
