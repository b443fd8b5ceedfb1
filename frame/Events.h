#pragma once
// Input events that a host delivers to a control, and the declarations of the events a
// control raises to its container.
#include <cstdint>
#include <span>
#include <string_view>

#include "frame/Elements.h"
#include "frame/Variant.h"

namespace talvik {

enum class EventKind {
    Click, DblClick, MouseDown, MouseUp, MouseMove,
    KeyDown, KeyUp, KeyPress, AccessKeyPress,
    GotFocus, LostFocus, EnterFocus, ExitFocus,
    Paint, Change, Timer,
};

std::string_view eventName(EventKind k);
// The event with that name, false when there is none.
bool eventByName(std::string_view name, EventKind& out);

// Mouse buttons, as the button argument carries them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

struct InputEvent {
    EventKind kind = EventKind::Click;
    Element source;  // the child element, or none for the control's surface
    std::int16_t button = 0;
    std::int16_t shift = 0;
    float x = 0, y = 0;  // twips
    std::int16_t key = 0;  // virtual key code, or the character of KeyPress
};

struct ArgDecl {
    std::string_view name;
    VarType type;
    bool byRef;
};

struct EventDecl {
    std::string_view name;
    std::int32_t id;
    std::span<const ArgDecl> args;
};

}  // namespace talvik
