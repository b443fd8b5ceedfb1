#pragma once
// A control's design template: its surface and its child elements with their kinds,
// array indexes, initial settings and pictures, in stacking order. Templates are data in
// each control's own source; the host creates the elements from them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/model/Elements.h"

namespace talvik {

struct ElementSpec {
    ElementKind kind = ElementKind::Image;
    std::string name;
    std::int16_t index = -1;  // element of an array, or -1 for a single element

    float left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;

    // The template picture the element shows, named after the template element that
    // carries it ("Picture3(0)"); empty for none.
    std::string picture;
    bool stretch = false;  // images

    std::string caption;  // labels and frames
    Colour foreColor = kButtonText;
    Colour backColor = kButtonFace;
    Alignment alignment = Alignment::Left;
    Font font;
    bool autoSize = false;
    bool transparent = true;
    TextEncoding encoding = TextEncoding::Windows1252;
    // A label's own mouse cursor: a 32 x 32 template picture (named as `picture` is) and
    // its hot spot in pixels; empty for the host's default cursor.
    std::string cursor;
    std::int16_t cursorX = 0, cursorY = 0;

    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // lines
    Colour borderColor = 0;
    std::int16_t borderWidth = 1;

    std::int32_t interval = 0;  // timers, milliseconds
};

struct ControlTemplate {
    float width = 0, height = 0;  // design size in twips
    Colour backColor = kButtonFace;
    std::int16_t backStyle = 1;  // 0 transparent, 1 opaque
    std::vector<ElementSpec> elements;

    // Appends `count` elements of an array named `name`, each made by `make(i)`.
    template <class F>
    void addArray(std::string_view name, int count, F&& make) {
        for (int i = 0; i < count; ++i) {
            ElementSpec s = make(i);
            s.name = std::string(name);
            s.index = static_cast<std::int16_t>(i);
            elements.push_back(std::move(s));
        }
    }
    void add(ElementSpec s) { elements.push_back(std::move(s)); }
};

}  // namespace talvik
