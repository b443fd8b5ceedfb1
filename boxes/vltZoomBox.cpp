#include "boxes/vltZoomBox.h"

#include "frame/describe/Enumerations.h"

namespace talvik {

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    {"Style", Property, BoxStyleEnumType, kProperty + 1},
    {"Caption", Property, kString, kProperty + 0},
};

constexpr ArgDecl kButtonArgs[] = {{"Button", VarType::Int16, true}};
constexpr EventDecl kEvents[] = {{"vltZoomBoxClick", 1, kButtonArgs}};
}  // namespace

const ControlClass vltZoomBox::Class{
    .name = "vltZoomBox",
    .ids = ClassIds{guid("{E050CFAB-5C89-4659-8091-7D8804FD967F}"), guid("{056FFB84-1CFE-46E3-9DB6-E76CD12A949C}"),
                    guid("{07C69405-2F1F-44C5-A1E5-7DD21C7F6C13}")},
    .members = kMembers,
    .events = kEvents,
};

}  // namespace talvik
