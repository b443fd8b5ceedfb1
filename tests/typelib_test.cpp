// The type description against the library's published identity: identifiers,
// member numbering, events, enumerations; that every implemented control binds its
// described members; identifiers as text; TCVN3 text and the exam header's template.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "controls/vltHeaderExam.h"
#include "frame/Catalogue.h"
#include "frame/Dispatch.h"
#include "frame/TextEncoding.h"
#include "frame/TypeLib.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

TEST(TypeLib, LibraryIdentityAndVersionRecord) {
    const LibraryDesc& lib = typeLibrary();
    EXPECT_EQ(lib.name, "TalvikSkills");
    EXPECT_EQ(lib.fileName, "TalvikSkills.ocx");
    EXPECT_EQ(lib.id.text(), "{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}");
    EXPECT_EQ(lib.major, 1);
    EXPECT_EQ(lib.minor, 0);
    EXPECT_EQ(lib.locale, 0x409u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lib.version.fileVersion[i], i == 0 ? 4 : 0);
        EXPECT_EQ(lib.version.productVersion[i], i == 0 ? 4 : 0);
    }
    EXPECT_EQ(lib.version.versionText, "4.00");
    EXPECT_EQ(lib.version.productName, "TalvikControls");
    EXPECT_TRUE(lib.version.selfRegistering);
}

TEST(TypeLib, ElevenPublicClassesWithTheirIdentifiers) {
    struct Row {
        const char* name;
        const char* clsid;
        const char* iid;
        const char* eventIid;
    };
    const Row rows[] = {
        {"Banner", "{9D47F3EF-2FA1-4630-96D5-BCF4CAA747D6}", "{E2F00CF8-6928-41FA-B936-A32FDEFE5B27}",
         "{BDA763D2-0303-45BD-A68D-8CF85E1A8CC0}"},
        {"Matrix", "{1E2E8703-D9FD-48D0-9002-8B673A58920A}", "{C71F02D4-6B61-468E-AF92-E27A6FC20698}",
         "{3649FC71-B77C-438B-A1D8-0DB0A6DE74E4}"},
        {"VelOptionToolBar", "{630F64F1-ADF9-4C0A-8814-8530A1E6E1BE}", "{02E38380-FA68-4FF9-80E0-A1BDD45D1CEF}",
         "{F63F56C0-807B-41F1-B3A8-CAB3F8E89CE3}"},
        {"URLLink", "{E94BEDCC-7B05-4D33-A5BA-AFEA22599C75}", "{CA415A92-9666-44B8-A451-90711359A554}",
         "{E75B3EDC-A5BB-4383-9F18-83516DF9C475}"},
        {"TimerPicture", "{F77C1ABB-4AEC-4FB0-93F7-B21B700C9CA3}", "{C7728E90-CCA2-4D4B-AF4B-2094B8F760D3}",
         "{90035826-7D28-4B52-80AA-45D9EE5229C9}"},
        {"ScrollBox", "{6BB6E398-FC76-42AA-8C4C-604127549B04}", "{BA32745C-6422-4525-B303-B4822410E4C0}",
         "{22BECC71-BC71-44D6-9A4F-53A5DB7D4D0B}"},
        {"vltZoomBox", "{E050CFAB-5C89-4659-8091-7D8804FD967F}", "{056FFB84-1CFE-46E3-9DB6-E76CD12A949C}",
         "{07C69405-2F1F-44C5-A1E5-7DD21C7F6C13}"},
        {"vltSwitch", "{D2410CE3-FA5E-4D39-9866-7C6B4BE9CDCC}", "{28AD59AC-3214-4EE2-9B8C-935B5AA0DA40}",
         "{0FF65186-1D58-42D2-BA4C-7EF9B7903CDA}"},
        {"vltInfoBox", "{B181C7DC-2593-4E69-9A5E-FA944494332E}", "{5AA353E6-E4B8-4CD5-9827-65A214E1FB99}",
         "{AAAE7C53-C78D-4A35-9943-26B623747B78}"},
        {"vltHeaderExam", "{6018FC49-7224-4987-B540-8C465AB7E7F1}", "{8F3FCB2F-1C1F-4E16-8A5F-71F8A4638EC7}",
         "{053BE48D-5A43-4C0C-B854-EDC6C67407A8}"},
        {"vltBox", "{82C7B846-92B4-497D-923A-9F446E318049}", "{27A351C3-F989-4EF5-86E0-316CA23E72AB}",
         "{FB7CBDD1-5663-42D4-A645-B7C7843DDB97}"},
    };
    ASSERT_EQ(typeLibrary().classes.size(), 11u);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const ClassDesc* c = findClass(r.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->clsid.text(), r.clsid);
        EXPECT_EQ(c->propertyIid.text(), r.iid);
        EXPECT_EQ(c->eventIid.text(), r.eventIid);
        EXPECT_EQ(c->propertyInterface, "_" + std::string(r.name));
        EXPECT_EQ(c->eventInterface, "__" + std::string(r.name));
        EXPECT_EQ(findClass(*Guid::parse(r.clsid)), c);
    }
    // The private button has no identity at all.
    EXPECT_EQ(findClass("vltGraphButton"), nullptr);
}

TEST(TypeLib, MembersInOrderWithKindTypeAndIdentifier) {
    using enum MemberKind;
    struct Row {
        const char* cls;
        const char* member;
        MemberKind kind;
        const char* type;
        std::int32_t id;
    };
    const Row rows[] = {
        {"Matrix", "reset", Method, "void", 0x6003000C},
        {"Matrix", "DistanceItems", Property, "int16", 0x68030005},
        {"Matrix", "MaxItemPerCol", Property, "int16", 0x68030004},
        {"Matrix", "RowSel", Property, "int16", 0x68030003},
        {"Matrix", "MaxItems", Property, "int16", 0x68030002},
        {"Matrix", "MaxCols", Property, "int16", 0x68030001},
        {"Matrix", "result", ReadOnlyProperty, "string[]", 0x68030000},
        {"VelOptionToolBar", "VelStyle", Property, "StyleEnum", 0x68030005},
        {"VelOptionToolBar", "VelCountItems", Property, "int16", 0x68030004},
        {"VelOptionToolBar", "VelValue", Property, "string", 0x68030003},
        {"VelOptionToolBar", "VelOptionChar", Property, "TypeOfCharEnum", 0x68030002},
        {"VelOptionToolBar", "VelOptionBox", Property, "TypeOfOptionEnum", 0x68030001},
        {"VelOptionToolBar", "VelReset", Method, "void", 0x60030008},
        {"VelOptionToolBar", "Enabled", Property, "bool", 0x68030000},
        {"URLLink", "Text", Property, "string", -517},
        {"URLLink", "URL", Property, "string", 0x68030001},
        {"URLLink", "ShowToolTip", Property, "bool", 0x68030000},
        {"TimerPicture", "Enable", Property, "bool", 0x68030001},
        {"TimerPicture", "Duration", Property, "float", 0x68030000},
        {"ScrollBox", "BottomHeight", Method, "int32", 0x60030003},
        {"ScrollBox", "Style", Property, "BoxStyleEnum", 0x68030001},
        {"ScrollBox", "Caption", Property, "string", 0x68030000},
        {"vltZoomBox", "Style", Property, "BoxStyleEnum", 0x68030001},
        {"vltZoomBox", "Caption", Property, "string", 0x68030000},
        {"vltSwitch", "Caption", Property, "string", 0x68030001},
        {"vltSwitch", "Style", Property, "BoxStyleEnum", 0x68030000},
        {"vltInfoBox", "BackStyle", Property, "BackStyleEnum", 0x68030003},
        {"vltInfoBox", "BottomHeight", Method, "int32", 0x60030004},
        {"vltInfoBox", "Style", Property, "BoxStyleEnum", 0x68030002},
        {"vltInfoBox", "Caption", Property, "string", 0x68030001},
        {"vltInfoBox", "Info", Property, "string", 0x68030000},
        {"vltBox", "BottomHeight", Method, "int32", 0x60030002},
        {"vltBox", "Style", Property, "BoxStyleEnum", 0x68030001},
        {"vltBox", "Caption", Property, "string", 0x68030000},
    };
    std::map<std::string, std::size_t> position;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.cls) + "." + r.member);
        const ClassDesc* c = findClass(r.cls);
        ASSERT_NE(c, nullptr);
        const std::size_t at = position[r.cls]++;
        ASSERT_LT(at, c->members.size());
        const MemberDesc& m = c->members[at];
        EXPECT_EQ(m.name, r.member);
        EXPECT_EQ(m.kind, r.kind);
        EXPECT_EQ(typeName(m.type), r.type);
        EXPECT_EQ(m.id, r.id);
        EXPECT_EQ(findMember(*c, r.id), &m);
    }
    for (const ClassDesc& c : typeLibrary().classes) EXPECT_EQ(c.members.size(), position[std::string(c.name)]) << c.name;
}

TEST(TypeLib, MemberNamesAreFoundWithoutRegardToCase) {
    const ClassDesc& m = *findClass("Matrix");
    const struct {
        const char* asked;
        const char* found;
    } rows[] = {{"maxitems", "MaxItems"}, {"RESET", "reset"}, {"Result", "result"}, {"rowsel", "RowSel"},
                {"MaxItem", nullptr},     {"", nullptr}};
    for (const auto& r : rows) {
        const MemberDesc* d = findMember(m, r.asked);
        if (r.found == nullptr)
            EXPECT_EQ(d, nullptr) << r.asked;
        else
            EXPECT_EQ(d != nullptr ? d->name : "", r.found) << r.asked;
    }
    EXPECT_EQ(findMember(*findClass("URLLink"), std::int32_t{-517})->name, "Text");
    EXPECT_EQ(findMember(m, std::int32_t{0x68030006}), nullptr);
}

TEST(TypeLib, EventsWithTheirArgumentsAllByReference) {
    struct Row {
        const char* cls;
        const char* event;
        std::int32_t id;
        std::vector<std::pair<const char*, VarType>> args;
    };
    const Row rows[] = {
        {"URLLink", "GoToURL", 1, {{"URL", VarType::String}, {"Cancel", VarType::Bool}}},
        {"ScrollBox", "ButtonClick", 1, {{"Button", VarType::Int16}}},
        {"ScrollBox", "ButtonDoubleClick", 2, {{"Button", VarType::Int16}}},
        {"vltZoomBox", "vltZoomBoxClick", 1, {{"Button", VarType::Int16}}},
        {"vltSwitch", "ButtonClick", 1, {{"Button", VarType::Int16}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.cls) + "." + r.event);
        const EventDecl& e = eventOf(r.cls, r.event);
        EXPECT_EQ(e.name, r.event);
        EXPECT_EQ(e.id, r.id);
        ASSERT_EQ(e.args.size(), r.args.size());
        for (std::size_t i = 0; i < r.args.size(); ++i) {
            EXPECT_EQ(e.args[i].name, r.args[i].first);
            EXPECT_EQ(e.args[i].type, r.args[i].second);
            EXPECT_TRUE(e.args[i].byRef);
        }
    }
    for (const char* silent : {"Banner", "Matrix", "VelOptionToolBar", "TimerPicture", "vltInfoBox", "vltHeaderExam",
                               "vltBox"})
        EXPECT_TRUE(findClass(silent)->events.empty()) << silent;
    EXPECT_THROW(eventOf("ScrollBox", "GoToURL"), std::logic_error);
    EXPECT_THROW(eventOf("vltGraphButton", "Click"), std::logic_error);
}

TEST(TypeLib, FiveEnumerationsWithTheirValues) {
    struct Row {
        const char* name;
        const char* id;
        std::vector<std::pair<const char*, std::int32_t>> items;
    };
    const Row rows[] = {
        {"TypeOfCharEnum", "{22A07E5A-CBE8-4254-BCAB-60B6849A4A95}", {{"VelNumber", 1}, {"VelLChar", 2}, {"VelUChar", 3}}},
        {"TypeOfOptionEnum", "{3E0E3057-8792-4815-AF3F-1B69A3B2CFC5}", {{"VelCheck", 1}, {"VelOption", 2}}},
        {"StyleEnum",
         "{171A9275-B414-4781-9E86-9D20F058719D}",
         {{"WindowXP", 1}, {"Window2k3", 2}, {"Veltrane", 3}, {"FireFox2007", 4}}},
        {"BackStyleEnum", "{AB3CA9AD-E592-415A-BBDB-E30C5E6B9614}", {{"Transparent_box", 0}, {"Opaque_box", 1}}},
        {"BoxStyleEnum",
         "{D1F7D940-EDD5-4102-9B82-5E5D9D334138}",
         {{"Office2007box", 0},
          {"Natural_bluebox", 1},
          {"Natural_greenbox", 2},
          {"Natural_redlightbox", 3},
          {"Baby_reddarkbox", 4},
          {"Baby_FireFox", 5},
          {"Classicbox", 10}}},
    };
    ASSERT_EQ(typeLibrary().enums.size(), 5u);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const EnumDesc* e = findEnum(r.name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->id.text(), r.id);
        ASSERT_EQ(e->items.size(), r.items.size());
        for (std::size_t i = 0; i < r.items.size(); ++i) {
            EXPECT_EQ(e->items[i].name, r.items[i].first);
            EXPECT_EQ(e->items[i].value, r.items[i].second);
        }
    }
}

// An enumeration-typed member is coerced as a 32-bit integer.
TEST(TypeLib, EnumerationMembersCoerceAsLongs) {
    EXPECT_EQ(findMember(*findClass("vltBox"), "Style")->type.coerced(), VarType::Int32);
    EXPECT_EQ(findMember(*findClass("VelOptionToolBar"), "VelOptionChar")->type.coerced(), VarType::Int32);
    EXPECT_EQ(findMember(*findClass("Matrix"), "MaxItems")->type.coerced(), VarType::Int16);
}

// Every control the library implements binds every member of its description, in the
// shape described; a control that forgets one fails here.
TEST(TypeLib, EveryImplementedClassBindsItsDescribedMembers) {
    std::set<std::string_view> implemented;
    for (const ControlClass* cls : controlClasses()) {
        const ClassDesc* desc = findClass(cls->name);
        if (desc == nullptr) continue;  // private
        implemented.insert(cls->name);
        const std::vector<std::string> problems = bindingMismatches(*cls, *desc);
        EXPECT_TRUE(problems.empty()) << cls->name << ": " << (problems.empty() ? "" : problems.front());
    }
    EXPECT_TRUE(implemented.count("Matrix"));
    EXPECT_TRUE(implemented.count("vltHeaderExam"));
}

// The check itself: a class that misses a member, binds one in the wrong shape or binds
// one the description does not hold is reported.
class Faulty : public Control {
public:
    using Control::Control;
    std::int16_t MaxItems() const { return 0; }
    void reset() {}
    std::int16_t Extra() const { return 0; }
    static const ControlTemplate& Design() {
        static const ControlTemplate t;
        return t;
    }
    static std::span<const MemberBinding> Members() {
        static const MemberBinding m[] = {
            readOnly<&Faulty::MaxItems>("MaxItems"),
            method<&Faulty::reset>("reset"),
            readOnly<&Faulty::Extra>("Extra"),
        };
        return m;
    }
};

TEST(TypeLib, BindingCheckReportsMissingMisshapenAndUndescribedMembers) {
    const ControlClass cls = controlClass<Faulty>("Matrix");
    const std::vector<std::string> problems = bindingMismatches(cls, *findClass("Matrix"));
    const std::vector<std::string> expected = {
        "Matrix.DistanceItems has no binding",
        "Matrix.MaxItemPerCol has no binding",
        "Matrix.RowSel has no binding",
        "Matrix.MaxItems is not bound as a property with get and let",
        "Matrix.MaxCols has no binding",
        "Matrix.result has no binding",
        "Matrix.Extra is bound but not described",
    };
    EXPECT_EQ(problems, expected);
}

TEST(Guid, ParsesTheBracedFormInEitherCaseAndRejectsAnythingElse) {
    const std::optional<Guid> g = Guid::parse("{1e2e8703-D9FD-48d0-9002-8B673A58920a}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->data1, 0x1E2E8703u);
    EXPECT_EQ(g->data2, 0xD9FD);
    EXPECT_EQ(g->data3, 0x48D0);
    const std::array<std::uint8_t, 8> tail = {0x90, 0x02, 0x8B, 0x67, 0x3A, 0x58, 0x92, 0x0A};
    EXPECT_EQ(g->data4, tail);
    EXPECT_EQ(g->text(), "{1E2E8703-D9FD-48D0-9002-8B673A58920A}");
    for (const char* bad : {"", "Matrix", "1E2E8703-D9FD-48D0-9002-8B673A58920A",
                            "{1E2E8703-D9FD-48D0-9002-8B673A58920A", "{1E2E8703D9FD-48D0-9002-8B673A58920AA}",
                            "{1E2E8703-D9FD-48D0-9002-8B673A58920G}", "{1E2E8703-D9FD-48D0-9002-8B673A58920A}x",
                            "{1E2E8703-D9FD-48D0-90028-B673A58920A}"})
        EXPECT_FALSE(Guid::parse(bad)) << bad;
}

TEST(TextEncoding, Tcvn3BytesReadAsVietnamese) {
    struct Row {
        std::string bytes;
        std::string utf8;
    };
    const Row rows[] = {
        {"\x4C\xED\x70\x3A", "L\u1edbp:"},       // Lớp:
        {"\xA7\xE9\x20\xAE\xB8", "\u0110\u1ed9 \u0111\u00e1"},  // Độ đá
        {"\xA1\xA2\xA3\xA4\xA5\xA6", "\u0102\u00c2\u00ca\u00d4\u01a0\u01af"},
        {"\xB5\xB6\xB7\xB8\xB9", "\u00e0\u1ea3\u00e3\u00e1\u1ea1"},
        {"\xF5\xF6\xF7\xF8\xF9\xFE", "\u1eeb\u1eed\u1eef\u1ee9\u1ef1\u1ef5"},
        {"abc", "abc"},
        {"\x80", "\u20ac"},  // outside the Vietnamese letters: Windows-1252
    };
    for (const Row& r : rows) EXPECT_EQ(tcvn3ToUtf8(r.bytes), r.utf8);
    EXPECT_EQ(toUtf8("\xED", TextEncoding::Tcvn3), "\u1edb");
    EXPECT_EQ(toUtf8("\xED", TextEncoding::Windows1252), "\u00ed");
    EXPECT_EQ(windows1252ToUtf8("\x93q\x94 \x80\xFF"), "\u201cq\u201d \u20ac\u00ff");
}

TEST(vltHeaderExam, DesignTemplateHoldsAFrameAndTheClassLabel) {
    HeadlessHost host(vltHeaderExam::Class);
    host.Initialize();
    EXPECT_EQ(host.surface().Width(), 9285);
    EXPECT_EQ(host.surface().Height(), 4785);
    ASSERT_EQ(host.elements().size(), 2u);
    const Frame& f = host.frame("Frame1");
    EXPECT_EQ(f.bounds(), (RectF{120, 120, 9015, 4455}));
    const Label& l = host.label("Label1");
    EXPECT_EQ(l.bounds(), (RectF{240, 240, 735, 375}));
    EXPECT_EQ(l.Caption(), "\x4C\xED\x70\x3A");
    EXPECT_EQ(l.encoding(), TextEncoding::Tcvn3);
    EXPECT_EQ(toUtf8(l.Caption(), l.encoding()), "L\u1edbp:");
    EXPECT_TRUE(vltHeaderExam::Members().empty());
    EXPECT_EQ(findControlClass("vltHeaderExam"), &vltHeaderExam::Class);
}

}  // namespace
}  // namespace talvik
