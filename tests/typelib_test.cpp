// The type description: the rules its identifiers and members follow, spot checks of
// the values it publishes (its identity is checked through the container's typelib),
// every implemented control binding its described members, identifiers as text, and
// TCVN3 text.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>

#include "frame/Catalogue.h"
#include "frame/Dispatch.h"
#include "frame/TextEncoding.h"
#include "frame/TypeLib.h"

namespace talvik {
namespace {

TEST(TypeLib, ElevenPublicClassesEachWithItsOwnIdentifiers) {
    const struct {
        const char* name;
        std::size_t members, events;
    } rows[] = {{"Banner", 0, 0},     {"Matrix", 7, 0},    {"VelOptionToolBar", 7, 0}, {"URLLink", 3, 1},
                {"TimerPicture", 2, 0}, {"ScrollBox", 3, 2}, {"vltZoomBox", 2, 1},       {"vltSwitch", 2, 1},
                {"vltInfoBox", 5, 0},   {"vltHeaderExam", 0, 0}, {"vltBox", 3, 0}};
    ASSERT_EQ(typeLibrary().classes.size(), std::size(rows));
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const ClassDesc* c = findClass(r.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->members.size(), r.members);
        EXPECT_EQ(c->events.size(), r.events);
        EXPECT_EQ(c->propertyInterface, "_" + std::string(r.name));
        EXPECT_EQ(c->eventInterface, "__" + std::string(r.name));
        EXPECT_EQ(findClass(c->clsid), c);
    }
    // No identifier is used twice, whatever it names.
    std::set<std::string> ids = {typeLibrary().id.text()};
    for (const ClassDesc& c : typeLibrary().classes)
        for (const Guid& g : {c.clsid, c.propertyIid, c.eventIid}) EXPECT_TRUE(ids.insert(g.text()).second) << c.name;
    for (const EnumDesc& e : typeLibrary().enums) EXPECT_TRUE(ids.insert(e.id.text()).second) << e.name;
    EXPECT_EQ(findClass("Matrix")->clsid.text(), "{1E2E8703-D9FD-48D0-9002-8B673A58920A}");
    EXPECT_EQ(findClass("vltBox")->clsid.text(), "{82C7B846-92B4-497D-923A-9F446E318049}");
    EXPECT_EQ(findClass("vltGraphButton"), nullptr);  // private: no identity at all
}

// Properties count down to 0x68030000 in the order described, methods are numbered
// 0x6003xxxx, and every member is found by its identifier and by its name.
TEST(TypeLib, MemberIdentifiersFollowTheNumberingRule) {
    for (const ClassDesc& c : typeLibrary().classes) {
        SCOPED_TRACE(c.name);
        std::vector<std::int32_t> properties;
        for (const MemberDesc& m : c.members) {
            EXPECT_EQ(findMember(c, m.id), &m) << m.name;
            EXPECT_EQ(findMember(c, m.name), &m) << m.name;
            if (m.kind == MemberKind::Method)
                EXPECT_EQ(m.id >> 16, 0x6003) << m.name;
            else if (m.id != -517)  // the standard text identifier stands outside the count
                properties.push_back(m.id);
            if (!m.type.enumName.empty()) {
                EXPECT_NE(findEnum(m.type.enumName), nullptr) << m.name;
                EXPECT_EQ(m.type.coerced(), VarType::Int32) << m.name;
            }
        }
        for (std::size_t i = 0; i < properties.size(); ++i)
            EXPECT_EQ(properties[i], 0x68030000 + static_cast<std::int32_t>(properties.size() - 1 - i));
    }
}

TEST(TypeLib, MembersOfTheAnswerSheetInOrder) {
    using enum MemberKind;
    const struct {
        const char* member;
        MemberKind kind;
        const char* type;
        std::int32_t id;
    } rows[] = {
        {"reset", Method, "void", 0x6003000C},          {"DistanceItems", Property, "int16", 0x68030005},
        {"MaxItemPerCol", Property, "int16", 0x68030004}, {"RowSel", Property, "int16", 0x68030003},
        {"MaxItems", Property, "int16", 0x68030002},    {"MaxCols", Property, "int16", 0x68030001},
        {"result", ReadOnlyProperty, "string[]", 0x68030000},
    };
    const ClassDesc& matrix = *findClass("Matrix");
    ASSERT_EQ(matrix.members.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const MemberDesc& m = matrix.members[i];
        EXPECT_EQ(m.name, rows[i].member);
        EXPECT_EQ(m.kind, rows[i].kind) << rows[i].member;
        EXPECT_EQ(typeName(m.type), rows[i].type) << rows[i].member;
        EXPECT_EQ(m.id, rows[i].id) << rows[i].member;
    }
    EXPECT_EQ(findMember(*findClass("URLLink"), std::int32_t{-517})->name, "Text");
    EXPECT_EQ(typeName(findMember(*findClass("vltBox"), "Style")->type), "BoxStyleEnum");
    EXPECT_EQ(findMember(*findClass("VelOptionToolBar"), "VelReset")->id, 0x60030008);
}

std::string signature(const EventDecl& e) {
    std::string s = std::string(e.name) + " " + std::to_string(e.id) + " (";
    for (const ArgDecl& a : e.args)
        s += std::string(a.byRef ? "ByRef " : "") + std::string(a.name) + " " +
             std::string(typeName({a.type, {}})) + (&a == &e.args.back() ? "" : ", ");
    return s + ")";
}

TEST(TypeLib, EventsWithTheirArgumentsAllByReference) {
    const struct {
        const char* cls;
        const char* event;
        const char* signature;
    } rows[] = {
        {"URLLink", "GoToURL", "GoToURL 1 (ByRef URL string, ByRef Cancel bool)"},
        {"ScrollBox", "ButtonClick", "ButtonClick 1 (ByRef Button int16)"},
        {"ScrollBox", "ButtonDoubleClick", "ButtonDoubleClick 2 (ByRef Button int16)"},
        {"vltZoomBox", "vltZoomBoxClick", "vltZoomBoxClick 1 (ByRef Button int16)"},
        {"vltSwitch", "ButtonClick", "ButtonClick 1 (ByRef Button int16)"},
    };
    for (const auto& r : rows) EXPECT_EQ(signature(eventOf(r.cls, r.event)), r.signature);
    EXPECT_THROW(eventOf("ScrollBox", "GoToURL"), std::logic_error);
    EXPECT_THROW(eventOf("vltGraphButton", "Click"), std::logic_error);
}

TEST(TypeLib, EnumerationValues) {
    ASSERT_EQ(typeLibrary().enums.size(), 5u);
    const auto valuesOf = [](const char* name) {
        std::map<std::string, std::int32_t> values;
        for (const EnumItem& i : findEnum(name)->items) values[std::string(i.name)] = i.value;
        return values;
    };
    const auto box = valuesOf("BoxStyleEnum");
    EXPECT_EQ(box.size(), 7u);
    EXPECT_EQ(box.at("Baby_FireFox"), 5);
    EXPECT_EQ(box.at("Classicbox"), 10);  // not 6: there is no member 6 to 9
    EXPECT_EQ(valuesOf("BackStyleEnum").at("Transparent_box"), 0);
    EXPECT_EQ(valuesOf("StyleEnum").at("FireFox2007"), 4);
    EXPECT_EQ(valuesOf("TypeOfCharEnum").at("VelUChar"), 3);
    EXPECT_EQ(valuesOf("TypeOfOptionEnum").at("VelOption"), 2);
}

// A control that forgets a described member, or binds one in the wrong shape, fails here.
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

class Faulty : public Control {
public:
    using Control::Control;
    std::int32_t Style() const { return 0; }
    std::int16_t Extra() const { return 0; }
    static const ControlTemplate& Design() {
        static const ControlTemplate t;
        return t;
    }
    static std::span<const MemberBinding> Members() {
        static const MemberBinding m[] = {readOnly<&Faulty::Style>("Style"), readOnly<&Faulty::Extra>("Extra")};
        return m;
    }
};

TEST(TypeLib, BindingCheckReportsMissingMisshapenAndUndescribedMembers) {
    const std::vector<std::string> expected = {
        "vltBox.BottomHeight has no binding",
        "vltBox.Style is not bound as a property with get and let",
        "vltBox.Caption has no binding",
        "vltBox.Extra is bound but not described",
    };
    EXPECT_EQ(bindingMismatches(controlClass<Faulty>("vltBox"), *findClass("vltBox")), expected);
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
    const struct {
        std::string bytes;
        std::string utf8;
    } rows[] = {
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
