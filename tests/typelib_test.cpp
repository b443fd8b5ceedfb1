// The type description as the library assembles it from its controls' tables: its
// classes, members, events and enumerations, every value as the library publishes it
// (its identity is checked in the container's one-line form); the lookups hosts use;
// identifiers as text, and TCVN3 text.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/typelib/Catalogue.h"
#include "frame/text/TextEncoding.h"
#include "frame/typelib/TypeLib.h"

namespace talvik {
namespace {

constexpr std::int32_t P = 0x68030000;

// The published classes in their order: name, class identifier, and the members as the
// type description lists them.
const struct {
    const char* name;
    const char* clsid;
    const char* members;
} kClasses[] = {
    {"Banner", "{9D47F3EF-2FA1-4630-96D5-BCF4CAA747D6}", ""},
    {"Matrix", "{1E2E8703-D9FD-48D0-9002-8B673A58920A}",
     "reset DistanceItems MaxItemPerCol RowSel MaxItems MaxCols result"},
    {"VelOptionToolBar", "{630F64F1-ADF9-4C0A-8814-8530A1E6E1BE}",
     "VelStyle VelCountItems VelValue VelOptionChar VelOptionBox VelReset Enabled"},
    {"URLLink", "{E94BEDCC-7B05-4D33-A5BA-AFEA22599C75}", "Text URL ShowToolTip"},
    {"TimerPicture", "{F77C1ABB-4AEC-4FB0-93F7-B21B700C9CA3}", "Enable Duration"},
    {"ScrollBox", "{6BB6E398-FC76-42AA-8C4C-604127549B04}", "BottomHeight Style Caption"},
    {"vltZoomBox", "{E050CFAB-5C89-4659-8091-7D8804FD967F}", "Style Caption"},
    {"vltSwitch", "{D2410CE3-FA5E-4D39-9866-7C6B4BE9CDCC}", "Caption Style"},
    {"vltInfoBox", "{B181C7DC-2593-4E69-9A5E-FA944494332E}", "BackStyle BottomHeight Style Caption Info"},
    {"vltHeaderExam", "{6018FC49-7224-4987-B540-8C465AB7E7F1}", ""},
    {"vltBox", "{82C7B846-92B4-497D-923A-9F446E318049}", "BottomHeight Style Caption"},
};

const struct {
    const char* name;
    const char* id;
    std::vector<std::pair<const char*, std::int32_t>> items;
} kEnums[] = {
    {"TypeOfCharEnum", "{22A07E5A-CBE8-4254-BCAB-60B6849A4A95}", {{"VelNumber", 1}, {"VelLChar", 2}, {"VelUChar", 3}}},
    {"TypeOfOptionEnum", "{3E0E3057-8792-4815-AF3F-1B69A3B2CFC5}", {{"VelCheck", 1}, {"VelOption", 2}}},
    {"StyleEnum", "{171A9275-B414-4781-9E86-9D20F058719D}",
     {{"WindowXP", 1}, {"Window2k3", 2}, {"Veltrane", 3}, {"FireFox2007", 4}}},
    {"BackStyleEnum", "{AB3CA9AD-E592-415A-BBDB-E30C5E6B9614}", {{"Transparent_box", 0}, {"Opaque_box", 1}}},
    {"BoxStyleEnum", "{D1F7D940-EDD5-4102-9B82-5E5D9D334138}",
     {{"Office2007box", 0}, {"Natural_bluebox", 1}, {"Natural_greenbox", 2}, {"Natural_redlightbox", 3},
      {"Baby_reddarkbox", 4}, {"Baby_FireFox", 5}, {"Classicbox", 10}}},  // not 6: there is no member 6 to 9
};

TEST(TypeLib, ElevenClassesInOrderWithTheirIdentifiersAndMembers) {
    const std::span<const ClassDesc> classes = typeLibrary().classes;
    ASSERT_EQ(classes.size(), std::size(kClasses));
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const ClassDesc& c = classes[i];
        SCOPED_TRACE(kClasses[i].name);
        EXPECT_EQ(c.name, kClasses[i].name);
        EXPECT_EQ(c.clsid.text(), kClasses[i].clsid);
        EXPECT_EQ(c.propertyInterface, "_" + std::string(c.name));
        EXPECT_EQ(c.eventInterface, "__" + std::string(c.name));
        std::string members;
        for (const MemberDesc& m : c.members) members += (members.empty() ? "" : " ") + std::string(m.name);
        EXPECT_EQ(members, kClasses[i].members);
    }
    EXPECT_EQ(findClass("URLLink")->propertyIid.text(), "{CA415A92-9666-44B8-A451-90711359A554}");
    EXPECT_EQ(findClass("ScrollBox")->eventIid.text(), "{22BECC71-BC71-44D6-9A4F-53A5DB7D4D0B}");

    // Properties count down from the first property identifier, methods from their own.
    const struct {
        const char* cls;
        const char* member;
        MemberKind kind;
        const char* type;
        std::int32_t id;
    } members[] = {
        {"Matrix", "result", MemberKind::ReadOnlyProperty, "string[]", P + 0},
        {"Matrix", "reset", MemberKind::Method, "void", 0x6003000C},
        {"VelOptionToolBar", "VelStyle", MemberKind::Property, "StyleEnum", P + 5},
        {"URLLink", "Text", MemberKind::Property, "string", -517},
        {"TimerPicture", "Duration", MemberKind::Property, "float", P + 0},
        {"vltInfoBox", "BackStyle", MemberKind::Property, "BackStyleEnum", P + 3},
        {"vltBox", "Style", MemberKind::Property, "BoxStyleEnum", P + 1},
    };
    for (const auto& m : members) {
        SCOPED_TRACE(std::string(m.cls) + "." + m.member);
        const MemberDesc* d = findMember(*findClass(m.cls), m.member);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->kind == MemberKind::Method, m.kind == MemberKind::Method);
        EXPECT_EQ(d->hasLet(), m.kind == MemberKind::Property);
        EXPECT_EQ(typeName(d->type), m.type);
        EXPECT_EQ(d->id, m.id);
    }

    const auto events = [](const char* cls) {
        std::string out;
        const ClassDesc* published = findClass(cls);
        for (const EventDecl& e : published ? published->events : findControlClass(cls)->events) {
            out += std::string(e.name) + " " + std::to_string(e.id) + " (";
            for (std::size_t i = 0; i < e.args.size(); ++i)
                out += std::string(i ? ", " : "") + (e.args[i].byRef ? "ByRef " : "") + std::string(e.args[i].name) +
                       " " + std::string(typeName(e.args[i].type));
            out += ") ";
        }
        return out;
    };
    EXPECT_EQ(events("URLLink"), "GoToURL 1 (ByRef URL string, ByRef Cancel bool) ");
    EXPECT_EQ(events("ScrollBox"), "ButtonClick 1 (ByRef Button int16) ButtonDoubleClick 2 (ByRef Button int16) ");
    EXPECT_EQ(events("vltZoomBox"), "vltZoomBoxClick 1 (ByRef Button int16) ");
    EXPECT_EQ(events("vltSwitch"), "ButtonClick 1 (ByRef Button int16) ");
    EXPECT_EQ(events("vltBox"), "");
    // The private graphic button declares its own events, never published.
    EXPECT_FALSE(findControlClass("vltGraphButton")->isPublic());
    EXPECT_EQ(events("vltGraphButton"),
              "AccessKeyPress 1 (KeyAscii int16) DblClick 2 () Click 3 () "
              "vltDragDrop 4 (Source object, ByRef X float, ByRef Y float) "
              "vltDragOver 5 (ByRef Source object, ByRef X float, ByRef Y float, ByRef State int16) "
              "EnterFocus 6 () ExitFocus 7 () vltGotFocus 8 () KeyDown 9 (ByRef KeyCode int16, ByRef Shift int16) "
              "KeyPress 10 (ByRef KeyAscii int16) KeyUp 11 (ByRef KeyCode int16, ByRef Shift int16) "
              "vltLostFocus 12 () MouseDown 13 (ByRef Button int16, ByRef Shift int16, ByRef X float, ByRef Y float) "
              "MouseUp 14 (ByRef Button int16, ByRef Shift int16, ByRef X float, ByRef Y float) "
              "OLECompleteDrag 15 (ByRef Effect int32) "
              "OLEDragDrop 16 (ByRef Data object, ByRef Effect int32, ByRef Button int16, ByRef Shift int16, "
              "ByRef X float, ByRef Y float) "
              "OLEDragOver 17 (ByRef Data object, ByRef Effect int32, ByRef Button int16, ByRef Shift int16, "
              "ByRef X float, ByRef Y float, ByRef State int16) "
              "OLEGiveFeedback 18 (ByRef Effect int32, ByRef DefaultCursors bool) "
              "OLESetData 19 (ByRef Data object, ByRef DataFormat int16) "
              "OLEStartDrag 20 (ByRef Data object, ByRef AllowedEffects int32) Paint 21 () Resize 22 () "
              "Terminate 23 () MouseMove 24 (ByRef Button int16, ByRef Shift int16, ByRef X float, ByRef Y float) ");
}

TEST(TypeLib, FiveEnumerationsWithTheirIdentifiersAndValues) {
    const std::span<const EnumDesc> enums = typeLibrary().enums;
    ASSERT_EQ(enums.size(), std::size(kEnums));
    for (std::size_t i = 0; i < enums.size(); ++i) {
        SCOPED_TRACE(kEnums[i].name);
        EXPECT_EQ(enums[i].name, kEnums[i].name);
        EXPECT_EQ(enums[i].id.text(), kEnums[i].id);
        std::vector<std::pair<std::string, std::int32_t>> items, expected;
        for (const EnumItem& item : enums[i].items) items.emplace_back(item.name, item.value);
        for (const auto& [name, value] : kEnums[i].items) expected.emplace_back(name, value);
        EXPECT_EQ(items, expected);
        EXPECT_EQ(findEnum(kEnums[i].name), &enums[i]);
    }
}

// What hosts look up: classes by name and identifier, members by name and by identifier
// (names in any case are the dispatch test's), events by name; the private button is
// nowhere.
TEST(TypeLib, LookupsAndWhatIsNotThere) {
    for (const ClassDesc& c : typeLibrary().classes) {
        EXPECT_EQ(findClass(c.name), &c);
        EXPECT_EQ(findClass(c.clsid), &c);
        EXPECT_EQ(findClass(c.propertyIid), nullptr);
        for (const MemberDesc& m : c.members) {
            EXPECT_EQ(findMember(c, m.id), &m) << m.name;
            EXPECT_EQ(findMember(c, m.name), &m) << m.name;
        }
    }
    EXPECT_EQ(findClass("matrix"), nullptr);
    EXPECT_EQ(findClass("vltGraphButton"), nullptr);
    EXPECT_EQ(findEnum("ColorEnum"), nullptr);
    EXPECT_EQ(eventOf("ScrollBox", "ButtonDoubleClick").id, 2);
    EXPECT_THROW(eventOf("ScrollBox", "GoToURL"), std::logic_error);
    EXPECT_EQ(eventOf("vltGraphButton", "Click").id, 3);  // private: declared in its own row only
}

// A control that is built answers to every member it describes.
TEST(TypeLib, EveryBuiltControlBindsEachMemberItDescribes) {
    std::vector<std::string> built;
    for (const ControlClass* c : catalogue()) {
        if (!c->implemented()) continue;
        built.emplace_back(c->name);
        for (const MemberDesc& m : c->members) {
            EXPECT_TRUE(m.bound()) << c->name << "." << m.name;
            EXPECT_EQ(m.binding.let != nullptr, m.hasLet()) << c->name << "." << m.name;
        }
    }
    EXPECT_NE(std::find(built.begin(), built.end(), "Matrix"), built.end());
}

TEST(Guid, ParsesTheBracedFormInEitherCaseAndRejectsAnythingElse) {
    const std::optional<Guid> g = Guid::parse("{1e2e8703-D9FD-48d0-9002-8B673A58920a}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->data1, 0x1E2E8703u);
    EXPECT_EQ(g->data2, 0xD9FD);
    EXPECT_EQ(g->data3, 0x48D0);
    EXPECT_EQ(g->data4, (std::array<std::uint8_t, 8>{0x90, 0x02, 0x8B, 0x67, 0x3A, 0x58, 0x92, 0x0A}));
    EXPECT_EQ(g->text(), "{1E2E8703-D9FD-48D0-9002-8B673A58920A}");
    for (const char* bad : {"", "Matrix", "1E2E8703-D9FD-48D0-9002-8B673A58920A",
                            "{1E2E8703-D9FD-48D0-9002-8B673A58920A", "{1E2E8703D9FD-48D0-9002-8B673A58920AA}",
                            "{1E2E8703-D9FD-48D0-9002-8B673A58920G}", "{1E2E8703-D9FD-48D0-9002-8B673A58920A}x",
                            "{1E2E8703-D9FD-48D0-90028-B673A58920A}"})
        EXPECT_FALSE(Guid::parse(bad)) << bad;
}

TEST(TextEncoding, Tcvn3BytesReadAsVietnamese) {
    const struct { std::string bytes; std::string utf8; } rows[] = {
        {"\x4C\xED\x70\x3A", "L\u1edbp:"},
        {"\xA7\xE9\x20\xAE\xB8", "\u0110\u1ed9 \u0111\u00e1"},
        {"\xA1\xA2\xA3\xA4\xA5\xA6", "\u0102\u00c2\u00ca\u00d4\u01a0\u01af"},
        {"\xF5\xF6\xF7\xF8\xF9\xFE", "\u1eeb\u1eed\u1eef\u1ee9\u1ef1\u1ef5"},
        {"\x80", "\u20ac"},  // outside the Vietnamese letters: Windows-1252
    };
    for (const auto& r : rows) EXPECT_EQ(tcvn3ToUtf8(r.bytes), r.utf8);
    EXPECT_EQ(toUtf8("\xED", TextEncoding::Tcvn3), "\u1edb");
    EXPECT_EQ(toUtf8("\xED", TextEncoding::Windows1252), "\u00ed");
    EXPECT_EQ(windows1252ToUtf8("\x93q\x94 \x80\xFF"), "\u201cq\u201d \u20ac\u00ff");
}

}  // namespace
}  // namespace talvik
