#include "boxes/vltSwitch.h"

#include "frame/describe/Enumerations.h"

namespace talvik {

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    {"Caption", Property, kString, kProperty + 1},
    {"Style", Property, BoxStyleEnumType, kProperty + 0},
};

constexpr ArgDecl kButtonArgs[] = {{"Button", VarType::Int16, true}};
constexpr EventDecl kEvents[] = {{"ButtonClick", 1, kButtonArgs}};
}  // namespace

const ControlClass vltSwitch::Class{
    .name = "vltSwitch",
    .ids = ClassIds{guid("{D2410CE3-FA5E-4D39-9866-7C6B4BE9CDCC}"), guid("{28AD59AC-3214-4EE2-9B8C-935B5AA0DA40}"),
                    guid("{0FF65186-1D58-42D2-BA4C-7EF9B7903CDA}")},
    .members = kMembers,
    .events = kEvents,
};

}  // namespace talvik
