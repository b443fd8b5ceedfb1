#include "controls/TimerPicture.h"

namespace talvik {

namespace {
using enum MemberKind;

constexpr MemberDesc kMembers[] = {
    {"Enable", Property, kBool, kProperty + 1},
    {"Duration", Property, kFloat, kProperty + 0},
};
}  // namespace

const ControlClass TimerPicture::Class{
    .name = "TimerPicture",
    .ids = ClassIds{guid("{F77C1ABB-4AEC-4FB0-93F7-B21B700C9CA3}"), guid("{C7728E90-CCA2-4D4B-AF4B-2094B8F760D3}"),
                    guid("{90035826-7D28-4B52-80AA-45D9EE5229C9}")},
    .members = kMembers,
};

}  // namespace talvik
