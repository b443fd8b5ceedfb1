#include "frame/TypeLib.h"

#include "frame/Text.h"

#include <stdexcept>
#include <string>

namespace talvik {

namespace {

using enum MemberKind;

constexpr TypeRef kInt16{VarType::Int16, {}};
constexpr TypeRef kInt32{VarType::Int32, {}};
constexpr TypeRef kBool{VarType::Bool, {}};
constexpr TypeRef kFloat{VarType::Float, {}};
constexpr TypeRef kString{VarType::String, {}};
constexpr TypeRef kStrings{VarType::StringArray, {}};
constexpr TypeRef kNone{VarType::Empty, {}};
constexpr TypeRef kBoxStyle{VarType::Int32, "BoxStyleEnum"};
constexpr TypeRef kStyle{VarType::Int32, "StyleEnum"};
constexpr TypeRef kTypeOfChar{VarType::Int32, "TypeOfCharEnum"};
constexpr TypeRef kTypeOfOption{VarType::Int32, "TypeOfOptionEnum"};
constexpr TypeRef kBackStyle{VarType::Int32, "BackStyleEnum"};

// Property identifiers count down to this base; methods carry their own numbers.
constexpr std::int32_t P = 0x68030000;

// ---- Members ----

constexpr MemberDesc kMatrix[] = {
    {"reset", Method, kNone, 0x6003000C},
    {"DistanceItems", Property, kInt16, P + 5},
    {"MaxItemPerCol", Property, kInt16, P + 4},
    {"RowSel", Property, kInt16, P + 3},
    {"MaxItems", Property, kInt16, P + 2},
    {"MaxCols", Property, kInt16, P + 1},
    {"result", ReadOnlyProperty, kStrings, P + 0},
};
constexpr MemberDesc kVelOptionToolBar[] = {
    {"VelStyle", Property, kStyle, P + 5},
    {"VelCountItems", Property, kInt16, P + 4},
    {"VelValue", Property, kString, P + 3},
    {"VelOptionChar", Property, kTypeOfChar, P + 2},
    {"VelOptionBox", Property, kTypeOfOption, P + 1},
    {"VelReset", Method, kNone, 0x60030008},
    {"Enabled", Property, kBool, P + 0},
};
constexpr MemberDesc kURLLink[] = {
    {"Text", Property, kString, -517},
    {"URL", Property, kString, P + 1},
    {"ShowToolTip", Property, kBool, P + 0},
};
constexpr MemberDesc kTimerPicture[] = {
    {"Enable", Property, kBool, P + 1},
    {"Duration", Property, kFloat, P + 0},
};
constexpr MemberDesc kScrollBox[] = {
    {"BottomHeight", Method, kInt32, 0x60030003},
    {"Style", Property, kBoxStyle, P + 1},
    {"Caption", Property, kString, P + 0},
};
constexpr MemberDesc kZoomBox[] = {
    {"Style", Property, kBoxStyle, P + 1},
    {"Caption", Property, kString, P + 0},
};
constexpr MemberDesc kSwitch[] = {
    {"Caption", Property, kString, P + 1},
    {"Style", Property, kBoxStyle, P + 0},
};
constexpr MemberDesc kInfoBox[] = {
    {"BackStyle", Property, kBackStyle, P + 3},
    {"BottomHeight", Method, kInt32, 0x60030004},
    {"Style", Property, kBoxStyle, P + 2},
    {"Caption", Property, kString, P + 1},
    {"Info", Property, kString, P + 0},
};
constexpr MemberDesc kBox[] = {
    {"BottomHeight", Method, kInt32, 0x60030002},
    {"Style", Property, kBoxStyle, P + 1},
    {"Caption", Property, kString, P + 0},
};

// ---- Events ----

constexpr ArgDecl kGoToURLArgs[] = {{"URL", VarType::String, true}, {"Cancel", VarType::Bool, true}};
constexpr ArgDecl kButtonArgs[] = {{"Button", VarType::Int16, true}};

constexpr EventDecl kURLLinkEvents[] = {{"GoToURL", 1, kGoToURLArgs}};
constexpr EventDecl kScrollBoxEvents[] = {{"ButtonClick", 1, kButtonArgs}, {"ButtonDoubleClick", 2, kButtonArgs}};
constexpr EventDecl kZoomBoxEvents[] = {{"vltZoomBoxClick", 1, kButtonArgs}};
constexpr EventDecl kSwitchEvents[] = {{"ButtonClick", 1, kButtonArgs}};

// ---- Classes ----

constexpr ClassDesc kClasses[] = {
    {"Banner", guid("{9D47F3EF-2FA1-4630-96D5-BCF4CAA747D6}"),
     "_Banner", guid("{E2F00CF8-6928-41FA-B936-A32FDEFE5B27}"),
     "__Banner", guid("{BDA763D2-0303-45BD-A68D-8CF85E1A8CC0}"), {}, {}},
    {"Matrix", guid("{1E2E8703-D9FD-48D0-9002-8B673A58920A}"),
     "_Matrix", guid("{C71F02D4-6B61-468E-AF92-E27A6FC20698}"),
     "__Matrix", guid("{3649FC71-B77C-438B-A1D8-0DB0A6DE74E4}"), kMatrix, {}},
    {"VelOptionToolBar", guid("{630F64F1-ADF9-4C0A-8814-8530A1E6E1BE}"),
     "_VelOptionToolBar", guid("{02E38380-FA68-4FF9-80E0-A1BDD45D1CEF}"),
     "__VelOptionToolBar", guid("{F63F56C0-807B-41F1-B3A8-CAB3F8E89CE3}"), kVelOptionToolBar, {}},
    {"URLLink", guid("{E94BEDCC-7B05-4D33-A5BA-AFEA22599C75}"),
     "_URLLink", guid("{CA415A92-9666-44B8-A451-90711359A554}"),
     "__URLLink", guid("{E75B3EDC-A5BB-4383-9F18-83516DF9C475}"), kURLLink, kURLLinkEvents},
    {"TimerPicture", guid("{F77C1ABB-4AEC-4FB0-93F7-B21B700C9CA3}"),
     "_TimerPicture", guid("{C7728E90-CCA2-4D4B-AF4B-2094B8F760D3}"),
     "__TimerPicture", guid("{90035826-7D28-4B52-80AA-45D9EE5229C9}"), kTimerPicture, {}},
    {"ScrollBox", guid("{6BB6E398-FC76-42AA-8C4C-604127549B04}"),
     "_ScrollBox", guid("{BA32745C-6422-4525-B303-B4822410E4C0}"),
     "__ScrollBox", guid("{22BECC71-BC71-44D6-9A4F-53A5DB7D4D0B}"), kScrollBox, kScrollBoxEvents},
    {"vltZoomBox", guid("{E050CFAB-5C89-4659-8091-7D8804FD967F}"),
     "_vltZoomBox", guid("{056FFB84-1CFE-46E3-9DB6-E76CD12A949C}"),
     "__vltZoomBox", guid("{07C69405-2F1F-44C5-A1E5-7DD21C7F6C13}"), kZoomBox, kZoomBoxEvents},
    {"vltSwitch", guid("{D2410CE3-FA5E-4D39-9866-7C6B4BE9CDCC}"),
     "_vltSwitch", guid("{28AD59AC-3214-4EE2-9B8C-935B5AA0DA40}"),
     "__vltSwitch", guid("{0FF65186-1D58-42D2-BA4C-7EF9B7903CDA}"), kSwitch, kSwitchEvents},
    {"vltInfoBox", guid("{B181C7DC-2593-4E69-9A5E-FA944494332E}"),
     "_vltInfoBox", guid("{5AA353E6-E4B8-4CD5-9827-65A214E1FB99}"),
     "__vltInfoBox", guid("{AAAE7C53-C78D-4A35-9943-26B623747B78}"), kInfoBox, {}},
    {"vltHeaderExam", guid("{6018FC49-7224-4987-B540-8C465AB7E7F1}"),
     "_vltHeaderExam", guid("{8F3FCB2F-1C1F-4E16-8A5F-71F8A4638EC7}"),
     "__vltHeaderExam", guid("{053BE48D-5A43-4C0C-B854-EDC6C67407A8}"), {}, {}},
    {"vltBox", guid("{82C7B846-92B4-497D-923A-9F446E318049}"),
     "_vltBox", guid("{27A351C3-F989-4EF5-86E0-316CA23E72AB}"),
     "__vltBox", guid("{FB7CBDD1-5663-42D4-A645-B7C7843DDB97}"), kBox, {}},
};

// ---- Enumerations ----

constexpr EnumItem kTypeOfCharItems[] = {{"VelNumber", 1}, {"VelLChar", 2}, {"VelUChar", 3}};
constexpr EnumItem kTypeOfOptionItems[] = {{"VelCheck", 1}, {"VelOption", 2}};
constexpr EnumItem kStyleItems[] = {{"WindowXP", 1}, {"Window2k3", 2}, {"Veltrane", 3}, {"FireFox2007", 4}};
constexpr EnumItem kBackStyleItems[] = {{"Transparent_box", 0}, {"Opaque_box", 1}};
// No member 6 to 9: Classicbox is 10.
constexpr EnumItem kBoxStyleItems[] = {{"Office2007box", 0},      {"Natural_bluebox", 1}, {"Natural_greenbox", 2},
                                       {"Natural_redlightbox", 3}, {"Baby_reddarkbox", 4}, {"Baby_FireFox", 5},
                                       {"Classicbox", 10}};

constexpr EnumDesc kEnums[] = {
    {"TypeOfCharEnum", guid("{22A07E5A-CBE8-4254-BCAB-60B6849A4A95}"), kTypeOfCharItems},
    {"TypeOfOptionEnum", guid("{3E0E3057-8792-4815-AF3F-1B69A3B2CFC5}"), kTypeOfOptionItems},
    {"StyleEnum", guid("{171A9275-B414-4781-9E86-9D20F058719D}"), kStyleItems},
    {"BackStyleEnum", guid("{AB3CA9AD-E592-415A-BBDB-E30C5E6B9614}"), kBackStyleItems},
    {"BoxStyleEnum", guid("{D1F7D940-EDD5-4102-9B82-5E5D9D334138}"), kBoxStyleItems},
};

constexpr LibraryDesc kLibrary{
    "TalvikSkills",
    "TalvikSkills.ocx",
    guid("{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}"),
    1,
    0,
    0x409,
    {{4, 0, 0, 0}, {4, 0, 0, 0}, "4.00", "TalvikControls", true},
    kClasses,
    kEnums,
};

}  // namespace

const LibraryDesc& typeLibrary() { return kLibrary; }

const ClassDesc* findClass(std::string_view name) {
    for (const ClassDesc& c : kClasses)
        if (c.name == name) return &c;
    return nullptr;
}

const ClassDesc* findClass(const Guid& clsid) {
    for (const ClassDesc& c : kClasses)
        if (c.clsid == clsid) return &c;
    return nullptr;
}

const MemberDesc* findMember(const ClassDesc& cls, std::string_view name) {
    for (const MemberDesc& m : cls.members)
        if (equalsNoCase(m.name, name)) return &m;
    return nullptr;
}

const MemberDesc* findMember(const ClassDesc& cls, std::int32_t id) {
    for (const MemberDesc& m : cls.members)
        if (m.id == id) return &m;
    return nullptr;
}

const EnumDesc* findEnum(std::string_view name) {
    for (const EnumDesc& e : kEnums)
        if (e.name == name) return &e;
    return nullptr;
}

const EventDecl& eventOf(std::string_view className, std::string_view eventName) {
    if (const ClassDesc* c = findClass(className))
        for (const EventDecl& e : c->events)
            if (e.name == eventName) return e;
    throw std::logic_error("the type description has no event " + std::string(className) + "." +
                           std::string(eventName));
}

std::string_view typeName(const TypeRef& t) {
    if (!t.enumName.empty()) return t.enumName;
    switch (t.type) {
        case VarType::Empty: return "void";
        case VarType::Int16: return "int16";
        case VarType::Int32: return "int32";
        case VarType::Bool: return "bool";
        case VarType::Float: return "float";
        case VarType::Double: return "double";
        case VarType::String: return "string";
        case VarType::StringArray: return "string[]";
    }
    return "void";
}

}  // namespace talvik
