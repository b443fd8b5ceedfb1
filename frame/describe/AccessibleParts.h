#pragma once
// What a control tells a screen reader about itself: its own role and name, whether it
// takes the keyboard focus, and its interactive parts (a bubble, a box, a button), each
// with a role, a name, a state, its place on the surface and what activating it does.
// The control builds it from its own state; a host maps it onto the platform's
// accessibility interfaces and reports the changes the control announces through
// ControlHost::PartChanged.
#include <cstdint>
#include <string>
#include <vector>

#include "frame/model/Elements.h"
#include "frame/model/Geometry.h"

namespace talvik {

enum class PartRole : std::uint8_t { Group, Row, Button, CheckBox, RadioButton, Link, StaticText, Clock };

// What activating a part does; either way the host clicks the part's element as the
// mouse would, so the control's own handlers decide what happens.
enum class PartAction : std::uint8_t { None, Press, Toggle };

struct AccessiblePart {
    PartRole role = PartRole::Group;
    std::string name;   // in `encoding`
    std::string value;  // a link's address, a clock's time; empty for none
    TextEncoding encoding = TextEncoding::Windows1252;  // of the name: a label's own when taken from one
    RectF bounds;       // twips on the surface; empty for the control itself
    Element element;    // what activating clicks; none for a part without an action
    PartAction action = PartAction::None;
    bool checked = false;
    bool current = false;  // the focused part while the control has the focus
    bool disabled = false;
    bool readOnly = false;

    // Filled by AccessibleParts::add: the enclosing part (-1 the control), this part's
    // place among its siblings, and its own children.
    int parent = -1;
    int indexInParent = 0;
    std::vector<int> children;
};

struct AccessibleParts {
    AccessiblePart self;     // the control itself
    bool takesFocus = true;  // false for a control with nothing to operate
    std::vector<AccessiblePart> parts;

    // Appends a part inside `parent` (-1: directly in the control); returns its index,
    // the number the control announces changes by.
    int add(AccessiblePart part, int parent = -1) {
        const int index = static_cast<int>(parts.size());
        std::vector<int>& siblings = parent < 0 ? self.children : parts[static_cast<std::size_t>(parent)].children;
        part.parent = parent;
        part.indexInParent = static_cast<int>(siblings.size());
        part.children.clear();
        siblings.push_back(index);
        parts.push_back(std::move(part));
        return index;
    }
    // The part that is current, or -1.
    int current() const {
        for (std::size_t i = 0; i < parts.size(); ++i)
            if (parts[i].current) return static_cast<int>(i);
        return -1;
    }
};

// What PartChanged announces of a part (-1: the control itself).
enum class PartChange : std::uint8_t {
    State,      // checked, disabled
    Name,       // name or value
    Current,    // it became the current part
    Structure,  // parts came or went: every index may now mean another part
};

}  // namespace talvik
