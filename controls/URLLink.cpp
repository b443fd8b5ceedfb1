#include "controls/URLLink.h"

namespace talvik {

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    {"Text", Property, kString, -517},  // the standard text identifier
    {"URL", Property, kString, kProperty + 1},
    {"ShowToolTip", Property, kBool, kProperty + 0},
};

constexpr ArgDecl kGoToURLArgs[] = {{"URL", VarType::String, true}, {"Cancel", VarType::Bool, true}};
constexpr EventDecl kEvents[] = {{"GoToURL", 1, kGoToURLArgs}};
}  // namespace

const ControlClass URLLink::Class{
    .name = "URLLink",
    .ids = ClassIds{guid("{E94BEDCC-7B05-4D33-A5BA-AFEA22599C75}"), guid("{CA415A92-9666-44B8-A451-90711359A554}"),
                    guid("{E75B3EDC-A5BB-4383-9F18-83516DF9C475}")},
    .members = kMembers,
    .events = kEvents,
};

}  // namespace talvik
