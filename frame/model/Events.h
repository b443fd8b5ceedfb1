#pragma once
// Input events that a host delivers to a control, and the declarations of the events a
// control raises to its container.
#include <cstdint>
#include <span>
#include <string_view>

#include "frame/model/Elements.h"
#include "frame/host/Variant.h"

namespace talvik {

class DataObject;

enum class EventKind {
    Click, DblClick, MouseDown, MouseUp, MouseMove,
    KeyDown, KeyUp, KeyPress, AccessKeyPress,
    GotFocus, LostFocus, EnterFocus, ExitFocus,
    Paint, Change, Timer,
    AmbientChanged, DragDrop, DragOver,
    OLEStartDrag, OLEDragDrop, OLEDragOver, OLEGiveFeedback, OLESetData, OLECompleteDrag,
};

std::string_view eventName(EventKind k);
// The event with that name, false when there is none.
bool eventByName(std::string_view name, EventKind& out);

// Mouse buttons, as the button argument carries them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// The state argument of DragOver and OLEDragOver.
inline constexpr std::int16_t kDragEnter = 0;
inline constexpr std::int16_t kDragLeave = 1;
inline constexpr std::int16_t kDragOver = 2;

// Drop effects, as the effect arguments of the OLE drag events combine them.
inline constexpr std::int32_t kDropNone = 0;
inline constexpr std::int32_t kDropCopy = 1;
inline constexpr std::int32_t kDropMove = 2;
inline constexpr std::int32_t kDropLink = 4;
inline constexpr std::int32_t kDropScroll = static_cast<std::int32_t>(0x80000000u);

// One input event and its arguments; each event uses the fields its comment names.
//
// The arguments an event passes by reference are mutable: a control's handler may
// change them although it receives the event as const, and whoever delivered the event
// reads them back from the same object once deliver returns (the effect a drop target
// chose in OLEDragOver, say).
struct InputEvent {
    EventKind kind = EventKind::Click;
    Element source;  // the child element, or none for the control's surface
    mutable std::int16_t button = 0;  // mouse and OLE drop events
    mutable std::int16_t shift = 0;   // mouse, key and OLE drop events
    mutable float x = 0, y = 0;       // twips; mouse and drag events
    // KeyDown, KeyUp: virtual key code; KeyPress: the character; AccessKeyPress: the key.
    mutable std::int16_t key = 0;
    mutable std::int16_t state = 0;     // DragOver, OLEDragOver: kDragEnter, kDragLeave, kDragOver
    mutable std::int16_t format = 0;    // OLESetData: the clipboard format asked for
    mutable bool defaultCursors = false;  // OLEGiveFeedback
    // OLEDragDrop, OLEDragOver, OLEGiveFeedback, OLECompleteDrag: the drop effect;
    // OLEStartDrag: the effects the source allows.
    mutable std::int32_t effect = 0;
    Element dragged;  // DragDrop, DragOver: the element being dragged, or none
    DataObject* data = nullptr;  // OLEStartDrag, OLEDragDrop, OLEDragOver, OLESetData
};

// An argument of an event a control raises: any variant type, objects (an element of the
// control or a data object) included. A handler may change a by-reference argument and
// the control reads the change back; a by-value argument is a copy the control never
// reads back.
struct ArgDecl {
    std::string_view name;
    VarType type;
    bool byRef;
};

// Its identifier is its position in the control's event list, from 1.
struct EventDecl {
    std::string_view name;
    std::int32_t id;
    std::span<const ArgDecl> args;
};

}  // namespace talvik
