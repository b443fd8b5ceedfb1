#pragma once
// The child elements a control owns: images, labels, lines, hidden picture boxes,
// timers and frames. One model for every host: the rules that belong to elements live
// in ElementModel, and a host only draws them and supplies services.
//
// An element is a small value handle (the model and the element's place in it), so a
// control may keep it, copy it and pass it by value; a const handle can still change the
// element, as a pointer to const would not. A setter follows one shape: unchanged,
// return; store; schedule a repaint.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "frame/model/Geometry.h"
#include "frame/model/Picture.h"
#include "frame/model/ElementModel.h"
#include "frame/model/ElementTypes.h"

namespace talvik {

class Element {
public:
    Element() = default;  // no element: the control's surface
    Element(std::nullptr_t) {}
    Element(ElementModel* m, ElementSlot s) : m_(m), s_(s) {}
    explicit operator bool() const { return m_ != nullptr; }

    ElementKind kind() const { return group().kind; }
    const std::string& name() const { return group().name; }
    std::int16_t index() const { return group().isArray ? static_cast<std::int16_t>(s_.index) : std::int16_t{-1}; }
    bool inArray() const { return group().isArray; }
    std::string displayName() const;  // "Image1(3)" or "imgArrow"
    // The element's place in the template's stacking order.
    std::uint32_t id() const { return m_->idOf(s_); }
    ElementSlot slot() const { return s_; }
    bool belongsTo(const ElementModel& model) const { return m_ == &model; }

    // Whether the element takes mouse input (images and labels do).
    bool takesMouse() const { return m_->takesMouse(s_); }
    // The rectangle the element covers on the surface, empty for those never drawn.
    RectF bounds() const { return m_->bounds(s_); }
    bool isVisible() const { return m_->isVisible(s_); }
    bool isEnabled() const { return (m_->flags(s_) & flag::Enabled) != 0; }

    template <class T>
    bool is() const {
        return m_ != nullptr && kind() == T::Kind;
    }
    // The element as its own kind; a logic error when it is of another.
    template <class T>
    T as() const {
        if (!is<T>()) throw std::logic_error("element " + (m_ ? displayName() : std::string("surface")) + " is not of that kind");
        return T(m_, s_);
    }

    friend bool operator==(const Element& a, const Element& b) { return a.m_ == b.m_ && (!a.m_ || a.s_ == b.s_); }

protected:
    const ElementGroup& group() const { return m_->at(s_); }
    std::size_t i() const { return s_.index; }

    // Images, labels, picture boxes and timers have Enabled; each of them exposes this.
    bool Enabled() const { return isEnabled(); }
    void Enabled(bool v) const { m_->setEnabled(s_, v); }

    ElementModel* m_ = nullptr;
    ElementSlot s_;
};

// Position, size, visibility and tooltip: images, labels and frames.
class BoxElement : public Element {
public:
    using Element::Element;

    TALVIK_INLINE float Left() const { return group().left.get(i()); }
    TALVIK_INLINE float Top() const { return group().top.get(i()); }
    TALVIK_INLINE float Width() const { return group().width.get(i()); }
    TALVIK_INLINE float Height() const { return group().height.get(i()); }
    bool Visible() const { return (m_->flags(s_) & flag::Visible) != 0; }
    const std::string& ToolTipText() const { return m_->toolTip(s_); }

    // A non-finite value, or a negative width or height, raises "Invalid property value".
    TALVIK_INLINE void Left(float v) const { m_->setLeft(s_, v); }
    TALVIK_INLINE void Top(float v) const { m_->setTop(s_, v); }
    TALVIK_INLINE void Width(float v) const { m_->setBox(s_, Left(), Top(), v, Height()); }
    TALVIK_INLINE void Height(float v) const { m_->setBox(s_, Left(), Top(), Width(), v); }
    void Move(float left, float top, float width, float height) const { m_->setBox(s_, left, top, width, height); }
    void Move(float left, float top) const { m_->setBox(s_, left, top, Width(), Height()); }
    TALVIK_INLINE void Visible(bool v) const { m_->setVisible(s_, v); }
    void ToolTipText(std::string v) const { m_->setToolTip(s_, std::move(v)); }
};

class Image : public BoxElement {
public:
    static constexpr ElementKind Kind = ElementKind::Image;
    using BoxElement::BoxElement;
    using Element::Enabled;

    const Picture& picture() const { return m_->picture(group().picture.get(i())); }
    bool Stretch() const { return (m_->flags(s_) & flag::Stretch) != 0; }

    // With Stretch off the element takes the picture's own size (15 twips a pixel); the
    // empty picture clears the element and leaves its size.
    void setPicture(const Picture& p) const { m_->setPicture(s_, p); }
    // Turning Stretch off gives the element its picture's size again.
    void Stretch(bool v) const { m_->setStretch(s_, v); }
};

struct LabelCursor {
    const Picture& picture;  // empty when the label has no cursor of its own
    int x = 0, y = 0;        // hot spot, pixels
};

class Label : public BoxElement {
public:
    static constexpr ElementKind Kind = ElementKind::Label;
    using BoxElement::BoxElement;
    using Element::Enabled;

    std::string Caption() const { return std::string(captionView()); }
    std::string_view captionView() const { return group().text.get(i()).view(); }
    Colour ForeColor() const { return group().colour.get(i()); }
    Alignment alignment() const { return group().alignment.get(i()); }
    const Font& font() const { return m_->font(group().font.get(i())); }
    bool AutoSize() const { return group().autoSize; }
    bool transparent() const { return group().transparent; }
    Colour BackColor() const { return group().backColor; }
    TextEncoding encoding() const { return group().encoding; }
    LabelCursor cursor() const {
        const CursorSpec& c = group().cursor;
        return {m_->picture(c.picture), c.x, c.y};
    }

    // A changed caption raises the label's Change event; a label that sizes itself
    // takes the text's extent first.
    void Caption(std::string_view v) const { m_->setCaption(s_, v); }
    void ForeColor(Colour c) const { m_->setColour(s_, c); }
    void setAlignment(Alignment a) const { m_->setAlignment(s_, a); }
    // A size not above 0 or above 2048 points raises "Invalid property value".
    TALVIK_INLINE void FontSize(float points) const {
        if (points == font().size && points > 0 && points <= 2048) return;
        setFontSize(points);
    }
    void setFont(const Font& f) const { m_->setFont(s_, f); }
    void Refresh() const { m_->refresh(s_); }

private:
    void setFontSize(float points) const;
};

class Line : public Element {
public:
    static constexpr ElementKind Kind = ElementKind::Line;
    using Element::Element;

    float X1() const { return group().left.get(i()); }
    float Y1() const { return group().top.get(i()); }
    float X2() const { return group().width.get(i()); }
    float Y2() const { return group().height.get(i()); }
    Colour BorderColor() const { return group().colour.get(i()); }
    std::int16_t BorderWidth() const { return group().borderWidth.get(i()); }
    bool Visible() const { return (m_->flags(s_) & flag::Visible) != 0; }

    // A non-finite coordinate raises "Invalid property value".
    void X1(float v) const { m_->setLine(s_, v, Y1(), X2(), Y2()); }
    void Y1(float v) const { m_->setLine(s_, X1(), v, X2(), Y2()); }
    void X2(float v) const { m_->setLine(s_, X1(), Y1(), v, Y2()); }
    void Y2(float v) const { m_->setLine(s_, X1(), Y1(), X2(), v); }
    void BorderColor(Colour c) const { m_->setColour(s_, c); }
    // A width below 1 raises "Invalid property value".
    void BorderWidth(std::int16_t w) const { m_->setBorderWidth(s_, w); }
    void Visible(bool v) const { m_->setVisible(s_, v); }
};

// A hidden store of one picture; never drawn, never moved.
class PictureBox : public Element {
public:
    static constexpr ElementKind Kind = ElementKind::PictureBox;
    using Element::Element;
    using Element::Enabled;

    const Picture& picture() const { return m_->picture(group().picture.get(i())); }
    void setPicture(const Picture& p) const { m_->setPicture(s_, p); }
};

class Timer : public Element {
public:
    static constexpr ElementKind Kind = ElementKind::Timer;
    using Element::Element;
    using Element::Enabled;

    std::int32_t Interval() const { return group().interval.get(i()); }  // milliseconds
    // A negative interval raises "Invalid property value".
    void Interval(std::int32_t ms) const { m_->setInterval(s_, ms); }
};

// A design-time grouping rectangle with an optional caption.
class Frame : public BoxElement {
public:
    static constexpr ElementKind Kind = ElementKind::Frame;
    using BoxElement::BoxElement;

    std::string Caption() const { return std::string(group().text.get(i()).view()); }
    void Caption(std::string_view v) const { m_->setCaption(s_, v); }
};

}  // namespace talvik
