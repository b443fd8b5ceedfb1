#include "frame/model/Events.h"

#include <array>
#include <utility>

namespace talvik {

namespace {
constexpr std::array<std::pair<EventKind, std::string_view>, 25> kNames{{
    {EventKind::Click, "Click"},         {EventKind::DblClick, "DblClick"},
    {EventKind::MouseDown, "MouseDown"}, {EventKind::MouseUp, "MouseUp"},
    {EventKind::MouseMove, "MouseMove"}, {EventKind::KeyDown, "KeyDown"},
    {EventKind::KeyUp, "KeyUp"},         {EventKind::KeyPress, "KeyPress"},
    {EventKind::AccessKeyPress, "AccessKeyPress"}, {EventKind::GotFocus, "GotFocus"},
    {EventKind::LostFocus, "LostFocus"}, {EventKind::EnterFocus, "EnterFocus"},
    {EventKind::ExitFocus, "ExitFocus"}, {EventKind::Paint, "Paint"},
    {EventKind::Change, "Change"},       {EventKind::Timer, "Timer"},
    {EventKind::AmbientChanged, "AmbientChanged"}, {EventKind::DragDrop, "DragDrop"},
    {EventKind::DragOver, "DragOver"},   {EventKind::OLEStartDrag, "OLEStartDrag"},
    {EventKind::OLEDragDrop, "OLEDragDrop"}, {EventKind::OLEDragOver, "OLEDragOver"},
    {EventKind::OLEGiveFeedback, "OLEGiveFeedback"}, {EventKind::OLESetData, "OLESetData"},
    {EventKind::OLECompleteDrag, "OLECompleteDrag"},
}};
}  // namespace

std::string_view eventName(EventKind k) {
    for (const auto& [kind, name] : kNames)
        if (kind == k) return name;
    return {};
}

bool eventByName(std::string_view name, EventKind& out) {
    for (const auto& [kind, n] : kNames)
        if (n == name) {
            out = kind;
            return true;
        }
    return false;
}

}  // namespace talvik
