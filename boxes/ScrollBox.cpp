#include "boxes/ScrollBox.h"

#include "frame/describe/Enumerations.h"

namespace talvik {

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    {"BottomHeight", Method, kInt32, 0x60030003},
    {"Style", Property, BoxStyleEnumType, kProperty + 1},
    {"Caption", Property, kString, kProperty + 0},
};

constexpr ArgDecl kButtonArgs[] = {{"Button", VarType::Int16, true}};
constexpr EventDecl kEvents[] = {{"ButtonClick", 1, kButtonArgs}, {"ButtonDoubleClick", 2, kButtonArgs}};
}  // namespace

const ControlClass ScrollBox::Class{
    .name = "ScrollBox",
    .ids = ClassIds{guid("{6BB6E398-FC76-42AA-8C4C-604127549B04}"), guid("{BA32745C-6422-4525-B303-B4822410E4C0}"),
                    guid("{22BECC71-BC71-44D6-9A4F-53A5DB7D4D0B}")},
    .members = kMembers,
    .events = kEvents,
};

}  // namespace talvik
