#include "boxes/vltInfoBox.h"

#include "frame/describe/Enumerations.h"

namespace talvik {

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    {"BackStyle", Property, BackStyleEnumType, kProperty + 3},
    {"BottomHeight", Method, kInt32, 0x60030004},
    {"Style", Property, BoxStyleEnumType, kProperty + 2},
    {"Caption", Property, kString, kProperty + 1},
    {"Info", Property, kString, kProperty + 0},
};
}  // namespace

const ControlClass vltInfoBox::Class{
    .name = "vltInfoBox",
    .ids = ClassIds{guid("{B181C7DC-2593-4E69-9A5E-FA944494332E}"), guid("{5AA353E6-E4B8-4CD5-9827-65A214E1FB99}"),
                    guid("{AAAE7C53-C78D-4A35-9943-26B623747B78}")},
    .members = kMembers,
};

}  // namespace talvik
