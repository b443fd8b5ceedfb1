// Bad input, walked in two tables through the interfaces a host has: creation by class
// name or identifier, dispatch by member name, the lifecycle calls of a control handle,
// and fault injection of the headless host. Every row states the error number and
// description the host sees (0 and "" where the control takes the input or handles the
// failure itself) and reads back what the failure must have left in place.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frame/com/ControlHandle.h"
#include "frame/com/LiveObjects.h"
#include "Support.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
namespace {

constexpr std::int32_t kClassNotAvailable = static_cast<std::int32_t>(0x80040111u);
const char* const kNoElement152 = "Control array element '152' doesn't exist";

// A control as a container holds it: created through the class factory on a headless
// host. `before` runs between creation and Initialize (to inject a fault) or runs
// Initialize itself; a row without an action has Initialize as its action.
struct Ctl {
    std::shared_ptr<HeadlessHost> host = std::make_shared<HeadlessHost>();
    ControlHandle h;
    Outcome made;
    bool initialized = false;

    explicit Ctl(std::string_view cls) {
        made = cls == "vltGraphButton" ? createPrivateControl(cls, host, h) : createControl(cls, host, h);
    }
    Variant get(std::string_view p) const { return h.get(p).value; }
    std::string shown(std::string_view array, int i) {
        const Picture& p = host->images(array)(i).picture();
        return p.empty() ? "" : p.bitmap()->origin;
    }
    Outcome key(std::int16_t code) const {
        InputEvent ev{EventKind::KeyDown};
        ev.key = code;
        return h.deliver(ev);
    }
    Outcome click(std::string_view array, int i) { return h.deliver({EventKind::Click, host->images(array)(i)}); }
};

using Setup = std::function<void(Ctl&)>;
using Act = std::function<Outcome(Ctl&)>;
using Check = std::function<void(Ctl&)>;

struct Row {
    const char* what;
    const char* cls;
    Setup before;  // before Initialize
    Act act;       // none: Initialize is the action
    std::int32_t number;
    const char* description;
    Check after;
};

void walk(const Row* begin, const Row* end) {
    for (const Row* r = begin; r != end; ++r) {
        SCOPED_TRACE(std::string(r->cls) + ": " + r->what);
        Ctl c(r->cls);
        ASSERT_TRUE(c.made.ok()) << c.made.error.description;
        if (r->before) r->before(c);
        Outcome o = c.initialized ? Outcome{} : c.h.initialize();
        if (r->act) {
            ASSERT_TRUE(o.ok()) << o.error.description;
            o = r->act(c);
        }
        EXPECT_EQ(o.error.number, r->number);
        EXPECT_EQ(o.error.description, r->description);
        EXPECT_EQ(o.ok(), r->number == 0);
        if (r->after) r->after(c);
    }
}

Act readFrom(PropertyBag bag) {
    return [bag = std::move(bag)](Ctl& c) { return c.h.readProperties(bag); };
}
Act let(const char* property, Variant v) {
    return [=](Ctl& c) { return c.h.let(property, v); };
}
Setup failing(const char* resource) {
    return [=](Ctl& c) { c.host->failResource(resource); };
}
// Initialize and lets that must succeed before the bad input.
Setup lets(std::initializer_list<std::pair<const char*, Variant>> values) {
    return [v = std::vector(values)](Ctl& c) {
        ASSERT_TRUE(c.h.initialize().ok());
        c.initialized = true;
        for (const auto& [p, x] : v) ASSERT_TRUE(c.h.let(p, x).ok()) << p;
    };
}

Check is(const char* property, Variant v) {
    return [=](Ctl& c) { EXPECT_EQ(c.get(property), v); };
}
Check all(std::initializer_list<Check> checks) {
    return [v = std::vector(checks)](Ctl& c) {
        for (const Check& f : v) f(c);
    };
}
Check shows(const char* array, int i, std::string picture) {
    return [=](Ctl& c) { EXPECT_EQ(c.shown(array, i), picture) << array << "(" << i << ")"; };
}

// The nine slices of a box as row:slice=picture, in the order the skin is loaded.
std::string slices(Ctl& c) {
    std::string s;
    for (const char* row : {"Image1", "Image3", "Image2"})
        for (int i = 0; i < 3; ++i) s += c.shown(row, i).substr(4) + " ";
    return s;
}

// Every error path the controls name, with the state each leaves.
TEST(BadInput, NamedErrorsGiveTheirNumberAndKeepTheirState) {
    const Check keptCaptionStyle0 = all({is("Caption", "Kept"), is("Style", 0)});
    // Style 1 loads 119 120 121, 125 126 127, then 122 123 124: a missing 123 ends the
    // load with the middle row's first slice new and the other two of style 0.
    const Check stoppedAt123 = all({is("Style", 1), [](Ctl& c) {
        EXPECT_EQ(slices(c), "119 120 121 125 126 127 122 105 106 ");
    }});
    // Whether the layout ran on: the right top corner of style 1 is 29 pixels wide, that
    // of style 0 three.
    const auto rightTopLeft = [](float left) {
        return [=](Ctl& c) { EXPECT_EQ(c.host->images("Image1")(2).Left(), left); };
    };

    const Check markerStays = [](Ctl& c) { EXPECT_EQ(c.host->image("imgArrow").Top(), 110); };

    const Row rows[] = {
        // A stored Style (or BackStyle) that is no 32-bit integer ends ReadProperties;
        // what was read before it stays.
        {"stored Style text", "vltBox", {}, readFrom({{"Caption", "Kept"}, {"Style", "abc"}}), 13, "Type mismatch",
         keptCaptionStyle0},
        {"stored Style past 32 bits", "vltBox", {}, readFrom({{"Caption", "Kept"}, {"Style", 1e12}}), 6, "Overflow",
         keptCaptionStyle0},
        {"stored Style text", "ScrollBox", {}, readFrom({{"Caption", "Kept"}, {"Style", "x"}}), 13, "Type mismatch",
         keptCaptionStyle0},
        {"stored Style past 32 bits", "vltZoomBox", {}, readFrom({{"Caption", "Kept"}, {"Style", 1e12}}), 6,
         "Overflow", keptCaptionStyle0},
        {"stored Style text: the caption is already shown", "vltSwitch", {},
         readFrom({{"Caption", "Kept"}, {"Style", "abc"}}), 13, "Type mismatch",
         all({keptCaptionStyle0, [](Ctl& c) { EXPECT_EQ(c.host->label("Label1").Caption(), "Kept"); }})},
        {"stored Style text: Info and BackStyle not read", "vltInfoBox", {},
         readFrom({{"Caption", "Kept"}, {"Style", "abc"}, {"Info", "Note"}, {"BackStyle", std::int32_t{0}}}), 13,
         "Type mismatch",
         all({keptCaptionStyle0, is("Info", ""), is("BackStyle", 1)})},
        {"stored BackStyle text: the rest read", "vltInfoBox", {},
         readFrom({{"Caption", "Kept"}, {"Style", std::int32_t{2}}, {"Info", "Note"}, {"BackStyle", "opaque"}}), 13,
         "Type mismatch",
         all({is("Caption", "Kept"), is("Style", 2), is("Info", "Note"), is("BackStyle", 1),
              [](Ctl& c) { EXPECT_TRUE(c.host->images("Image2")(1).Visible()); }})},  // not yet applied
        {"stored BackStyle past 32 bits", "vltInfoBox", {},
         readFrom({{"Caption", "Kept"}, {"Style", std::int32_t{2}}, {"Info", "Note"}, {"BackStyle", -1e11}}), 6,
         "Overflow", is("BackStyle", 1)},
        {"stored Enabled that is no boolean", "vltGraphButton", {},
         readFrom({{"CaptionText", "Kept"}, {"Enabled", "abc"}}), 13, "Type mismatch",
         all({is("CaptionText", "Kept"), is("Enabled", true)})},

        // A skin bitmap that cannot be loaded stops the load; vltZoomBox alone goes on
        // laying out and reports nothing.
        {"Style 1 with bitmap 123 missing", "vltBox", failing("123"), let("Style", 1), 5, "Injected fault",
         all({stoppedAt123, rightTopLeft(2895 - 45)})},
        {"Style 1 with bitmap 123 missing", "ScrollBox", failing("123"), let("Style", 1), 5, "Injected fault",
         all({stoppedAt123, rightTopLeft(2895 - 45)})},
        {"Style 1 with bitmap 123 missing", "vltInfoBox", failing("123"), let("Style", 1), 5, "Injected fault",
         all({stoppedAt123, rightTopLeft(2895 - 45)})},
        {"Style 1 with bitmap 123 missing", "vltSwitch", failing("123"), let("Style", 1), 5, "Injected fault",
         all({stoppedAt123, rightTopLeft(2895 - 45)})},
        {"Style 1 with bitmap 123 missing: the load stops, the layout goes on", "vltZoomBox", failing("123"),
         let("Style", 1), 0, "",
         all({stoppedAt123, rightTopLeft(2895 - 435), [](Ctl& c) { EXPECT_EQ(c.host->surface().Height(), 1595); }})},
        {"a missing hover picture: the normal ones are back", "vltZoomBox", failing("171"),
         [](Ctl& c) { return c.h.deliver({EventKind::MouseMove, c.host->images("Image4")(1)}); }, 5, "Injected fault",
         all({shows("Image4", 0, "res:158"), shows("Image4", 1, "res:159"), shows("Image4", 2, "res:160")})},
        {"a missing hover picture: the normal ones are back", "vltSwitch", failing("114"),
         [](Ctl& c) { return c.h.deliver({EventKind::MouseMove, c.host->images("Image4")(2)}); }, 5, "Injected fault",
         all({shows("Image4", 0, "res:111"), shows("Image4", 1, "res:113"), shows("Image4", 2, "res:115"),
              shows("Image4", 3, "res:117")})},
        {"a missing scroll arrow ends the first layout", "ScrollBox", failing("SCROLL_NORMAL_3"), {}, 5,
         "Injected fault",
         all({shows("Image4", 1, "res:SCROLL_NORMAL_2"), shows("Image4", 2, ""), shows("Image1", 0, "")})},
        {"a missing clock face fails Initialize", "TimerPicture", failing("clock_firefox"), {}, 5, "Injected fault",
         [](Ctl& c) {
             EXPECT_TRUE(c.host->surface().picture().empty());
             EXPECT_EQ(c.host->surface().Width(), 4800);  // the face comes before the size
         }},

        // Matrix: ArrangeGrid past the 152 elements of the template.
        {"MaxItemPerCol past the template: swallowed", "Matrix", {}, let("MaxItemPerCol", 200), 0, "",
         all({is("MaxItemPerCol", std::int16_t{200}),  // placed down to the last element: 50 + 390 × 151 + 20 × 30
              [](Ctl& c) { EXPECT_EQ(c.host->images("Image1")(151).Top(), 59540); }})},
        {"DistanceItems with 200 rows a column", "Matrix", lets({{"MaxItemPerCol", 200}}), let("DistanceItems", 100),
         340, kNoElement152, is("DistanceItems", std::int16_t{100})},
        {"MaxItems with 200 rows a column", "Matrix", lets({{"MaxItemPerCol", 200}}), let("MaxItems", 10), 340,
         kNoElement152, is("MaxItems", std::int16_t{10})},
        {"MaxCols 4 of 50 rows", "Matrix", lets({{"MaxCols", 1}, {"MaxItemPerCol", 50}}), let("MaxCols", 4), 340,
         kNoElement152,
         all({is("MaxCols", std::int16_t{4}),  // column 3 was placed, 2825 twips right of column 2
              [](Ctl& c) { EXPECT_EQ(c.host->labels("Label1")(100).Left(), 50 + 2 * 2825); }})},
        {"stored values that are no 16-bit integers are skipped", "Matrix", {},
         readFrom({{"MaxItemPerCol", "abc"}, {"DistanceItems", 40000}, {"MaxCols", std::int16_t{2}},
                   {"MaxItems", std::int16_t{500}}}),
         0, "",
         // A restored count goes through the let: clamped, never past the template.
         all({is("MaxItemPerCol", std::int16_t{25}), is("DistanceItems", std::int16_t{150}),
              is("MaxCols", std::int16_t{2}), is("MaxItems", std::int16_t{150}),
              [](Ctl& c) { EXPECT_EQ(c.get("result").toStringArray().items.size(), 150u); }})},

        // Matrix: the current question outside the template.
        {"choice key on row 152", "Matrix", {},
         [](Ctl& c) {
             EXPECT_TRUE(c.click("Image1", 0).ok());
             EXPECT_TRUE(c.h.let("RowSel", 152).ok());
             return c.key(65);
         },
         340, kNoElement152,
         all({is("RowSel", std::int16_t{152}),
              [](Ctl& c) { EXPECT_EQ(c.get("result").toStringArray().at(1), "1"); }})},
        {"Space on row -1", "Matrix", {},
         [](Ctl& c) {
             EXPECT_TRUE(c.click("Image2", 0).ok());
             EXPECT_TRUE(c.h.let("RowSel", -1).ok());
             return c.key(32);
         },
         340, "Control array element '-1' doesn't exist",
         [](Ctl& c) { EXPECT_EQ(c.get("result").toStringArray().at(1), "2"); }},
        {"Up from row 200: RowSel moved, the marker not", "Matrix", lets({{"RowSel", 200}}),
         [](Ctl& c) { return c.key(38); }, 340, "Control array element '199' doesn't exist",
         all({is("RowSel", std::int16_t{199}), markerStays})},
        {"Left from row 180: RowSel moved, the marker not", "Matrix", lets({{"RowSel", 180}}),
         [](Ctl& c) { return c.key(37); }, 340, "Control array element '155' doesn't exist",
         all({is("RowSel", std::int16_t{155}), markerStays})},
        {"Down from row 32767 overflows", "Matrix", lets({{"RowSel", 32767}}), [](Ctl& c) { return c.key(40); }, 6,
         "Overflow", is("RowSel", std::int16_t{32767})},
        {"Right from row 32767 overflows", "Matrix", lets({{"RowSel", 32767}}), [](Ctl& c) { return c.key(39); }, 6,
         "Overflow", is("RowSel", std::int16_t{32767})},
        {"Right with 3 × 20000 rows before column 4 overflows", "Matrix", lets({{"MaxItemPerCol", 20000}}),
         [](Ctl& c) { return c.key(39); }, 6, "Overflow", is("RowSel", std::int16_t{0})},
        {"Up from row -32768 does nothing", "Matrix", lets({{"RowSel", -32768}}), [](Ctl& c) { return c.key(38); }, 0,
         "", is("RowSel", std::int16_t{-32768})},
        {"Left from row -32768 does nothing", "Matrix", lets({{"RowSel", -32768}}), [](Ctl& c) { return c.key(37); },
         0, "", is("RowSel", std::int16_t{-32768})},

        {"stored Enable that is no boolean", "TimerPicture", {}, readFrom({{"Enable", "abc"}}), 13, "Type mismatch",
         all({is("Enable", false), [](Ctl& c) { EXPECT_TRUE(c.host->timer("Timer1").Enabled()); }})},

        // VelOptionToolBar: nothing it is given raises an error.
        {"stored keys that cannot be converted are skipped", "VelOptionToolBar", {},
         readFrom({{"VelStyle", "abc"}, {"VelCountItems", std::int16_t{5}}, {"Enabled", "maybe"}}), 0, "",
         all({is("VelStyle", 1), is("VelCountItems", std::int16_t{5}), is("Enabled", true)})},
        // URLLink: a failing restore falls back.
        {"stored ShowToolTip that is no boolean", "URLLink", {},
         readFrom({{"Text", "Home"}, {"URL", "http://h"}, {"ShowToolTip", "abc"}}), 0, "",
         [](Ctl& c) {
             Ctl fresh("URLLink");
             ASSERT_TRUE(fresh.h.initialize().ok());
             ASSERT_TRUE(fresh.h.initProperties().ok());
             EXPECT_EQ(c.get("Text").toString(), fresh.get("Text").toString());
             EXPECT_EQ(c.get("URL").toString(), fresh.get("URL").toString());
             EXPECT_FALSE(c.get("ShowToolTip").toBool());
         }},
    };
    walk(std::begin(rows), std::end(rows));
}

// A class the library does not offer, by any spelling: the class-not-available code,
// no control on the host and nothing left alive.
TEST(BadInput, UnknownClassesAreNotAvailable) {
    const std::int32_t before = liveCounts().instances;
    const struct {
        const char* cls;
        bool privately;
    } rows[] = {
        {"NoSuchControl", false},
        {"", false},
        {"matrix", false},  // names match exactly
        {" Matrix", false},
        {"vltGraphButton", false},                          // private: it has no identifier
        {"{AD8BC1B3-2D95-4C15-8B3B-16F2FE11DFD3}", false},  // the library, not a class
        {"{1E2E8703-D9FD-48D0-9002-8B673A58920}", false},   // one digit short
        {"{1E2E8703-D9FD-48D0-9002-8B673A58920A", false},
        {"1E2E8703-D9FD-48D0-9002-8B673A58920A", false},
        {"Matrix", true},  // public classes are not reached by the private route
        {"NoSuchControl", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.cls) + (r.privately ? " (private route)" : ""));
        auto host = std::make_shared<HeadlessHost>();
        ControlHandle h;
        const Outcome o = r.privately ? createPrivateControl(r.cls, host, h) : createControl(r.cls, host, h);
        EXPECT_EQ(o.hr, CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(o.error.number, kClassNotAvailable);
        EXPECT_EQ(o.error.description, "Class not available");
        EXPECT_FALSE(h);
        EXPECT_EQ(host->controlClass(), nullptr);
    }
    EXPECT_EQ(liveCounts().instances, before);
}

Act invoke(std::int32_t id, InvokeKind kind, std::vector<Variant> args = {}) {
    return [=](Ctl& c) { return c.h.invoke(id, kind, args); };
}

// Inputs the controls do not describe: unknown members, calls of the wrong kind or
// shape, values of the wrong type or past their type's range, strings of any length,
// sizes a surface cannot take, calls after destruction. A clear error, nothing changed.
TEST(BadInput, InputsOutsideTheMembersAreRefusedAndChangeNothing) {
    const Check sheetAsMade = all({is("MaxItems", std::int16_t{100}), is("RowSel", std::int16_t{0}),
                                   [](Ctl& c) { EXPECT_EQ(c.host->surface().Width(), 11070); }});
    const Check skin0 = [](Ctl& c) { EXPECT_EQ(slices(c), "101 102 103 107 108 109 104 105 106 "); };
    const Check boxAsMade = all({is("Style", 0), is("Caption", ""), skin0});
    const Check designSize = [](Ctl& c) {
        EXPECT_EQ(c.host->surface().Width(), 2895);
        EXPECT_EQ(c.host->surface().Height(), 1485);
    };
    const auto resize = [](float w, float h) { return [=](Ctl& c) { return c.h.resize(w, h); }; };
    const char* const noMember = "Object doesn't support this property or method";
    const char* const argCount = "Wrong number of arguments or invalid property assignment";
    constexpr std::int32_t kMaxItems = 0x68030002, kReset = 0x6003000C;
    const std::string huge(100000, 'W');

    const Row rows[] = {
        // Members that do not exist, or used as what they are not.
        {"get of an unknown name", "Matrix", {}, [](Ctl& c) { return c.h.get("Nope"); }, 438, noMember, sheetAsMade},
        {"let of an unknown name", "Matrix", {}, let("MaxItem", 3), 438, noMember, sheetAsMade},
        {"call of an unknown name", "Matrix", {}, [](Ctl& c) { return c.h.call("clear"); }, 438, noMember,
         sheetAsMade},
        {"an unknown identifier", "Matrix", {}, invoke(0x68030006, InvokeKind::PropertyGet), 438, noMember,
         sheetAsMade},
        {"let of a get-only property", "Matrix", {}, let("result", 1), 383, "Property is read-only", sheetAsMade},
        {"get of a method", "Matrix", {}, invoke(kReset, InvokeKind::PropertyGet), 438, noMember, sheetAsMade},
        {"let of a method", "Matrix", {}, invoke(kReset, InvokeKind::PropertyPut, {1}), 438, noMember, sheetAsMade},
        {"call of a property", "Matrix", {}, invoke(kMaxItems, InvokeKind::Method), 438, noMember, sheetAsMade},
        {"a member of another control", "Matrix", {}, let("Caption", "x"), 438, noMember, sheetAsMade},
        {"let without a value", "Matrix", {}, invoke(kMaxItems, InvokeKind::PropertyPut), 450, argCount,
         sheetAsMade},
        {"let with two values", "Matrix", {}, invoke(kMaxItems, InvokeKind::PropertyPut, {1, 2}), 450, argCount,
         sheetAsMade},
        {"get with an argument", "Matrix", {}, invoke(kMaxItems, InvokeKind::PropertyGet, {1}), 450, argCount,
         sheetAsMade},
        {"method with an argument", "Matrix", {}, invoke(kReset, InvokeKind::Method, {1}), 450, argCount,
         sheetAsMade},

        // Values of the wrong type or past the range of the member's type.
        {"16-bit property given 40000", "Matrix", {}, let("MaxItems", std::int32_t{40000}), 6, "Overflow",
         sheetAsMade},
        {"16-bit property given the text 32768", "Matrix", {}, let("MaxItems", "32768"), 6, "Overflow", sheetAsMade},
        {"16-bit property given -32769", "Matrix", {}, let("RowSel", -32769.0), 6, "Overflow", sheetAsMade},
        {"16-bit property given text", "Matrix", {}, let("MaxItems", "abc"), 13, "Type mismatch", sheetAsMade},
        {"16-bit property given an array", "Matrix", {}, let("MaxItems", makeStringArray(1, 1)), 13, "Type mismatch",
         sheetAsMade},
        {"enumeration given 3e9", "vltBox", {}, let("Style", 3e9), 6, "Overflow", boxAsMade},
        {"enumeration given text", "vltBox", {}, let("Style", "Natural_bluebox"), 13, "Type mismatch", boxAsMade},
        {"string given an array", "vltBox", {}, let("Caption", makeStringArray(1, 2)), 13, "Type mismatch",
         boxAsMade},
        {"stored Caption that is an array", "vltBox", {}, readFrom({{"Caption", makeStringArray(1, 1)}}), 13,
         "Type mismatch", boxAsMade},
        {"boolean given text", "VelOptionToolBar", {}, let("Enabled", "maybe"), 13, "Type mismatch",
         is("Enabled", true)},
        {"16-bit count given 70000", "VelOptionToolBar", {}, let("VelCountItems", 70000), 6, "Overflow",
         is("VelCountItems", std::int16_t{4})},
        {"boolean given text", "TimerPicture", {}, let("Enable", "yes"), 13, "Type mismatch", is("Enable", false)},
        {"float given text", "TimerPicture", {}, let("Duration", "abc"), 13, "Type mismatch", is("Duration", 45.0f)},
        {"float given 1e39", "TimerPicture", {}, let("Duration", 1e39), 6, "Overflow", is("Duration", 45.0f)},
        {"string given an array", "URLLink", lets({{"URL", "http://a"}}), let("URL", makeStringArray(1, 1)), 13,
         "Type mismatch", is("URL", "http://a")},

        // Values the variant rules convert are taken (MaxItems then clamps to 1..150,
        // 0 or less to 25).
        {"numeric text", "Matrix", {}, let("MaxItems", "12"), 0, "", is("MaxItems", std::int16_t{12})},
        {"a single", "Matrix", {}, let("MaxItems", 149.0f), 0, "", is("MaxItems", std::int16_t{149})},
        {"a 32-bit value that fits", "Matrix", {}, let("MaxItems", std::int32_t{200}), 0, "",
         is("MaxItems", std::int16_t{150})},
        {"true is -1", "Matrix", {}, let("MaxItems", true), 0, "", is("MaxItems", std::int16_t{25})},
        {"empty is 0", "Matrix", {}, let("MaxItems", Variant()), 0, "", is("MaxItems", std::int16_t{25})},
        {"enumeration given numeric text", "vltBox", {}, readFrom({{"Style", "2"}}), 0, "", is("Style", 2)},
        {"boolean given FALSE", "VelOptionToolBar", {}, let("Enabled", "FALSE"), 0, "", is("Enabled", false)},

        // Enumeration values no member names: stored, and nothing else happens.
        {"VelStyle 99", "VelOptionToolBar", {}, let("VelStyle", 99), 0, "", is("VelStyle", 99)},

        // A string of any length.
        {"a 100000-character caption", "vltBox", {}, let("Caption", huge), 0, "",
         [&](Ctl& c) {
             EXPECT_EQ(c.get("Caption").toString().size(), huge.size());
             EXPECT_EQ(c.host->label("Label1").Left(), 0);  // wider than the box
         }},
        // Sizes a surface cannot take.
        {"a negative width", "vltBox", {}, resize(-10, 500), 380, "Invalid property value", designSize},
        {"a height that is no number", "vltBox", {}, resize(100, std::numeric_limits<float>::quiet_NaN()), 380,
         "Invalid property value", designSize},
        {"an infinite width", "vltBox", {}, resize(std::numeric_limits<float>::infinity(), 100), 380,
         "Invalid property value", designSize},

        // An input event from an element the control does not own.
        {"a click on another control's choice", "Matrix", {},
         [](Ctl& c) {
             Ctl other("Matrix");
             EXPECT_TRUE(other.h.initialize().ok());
             const Outcome o = c.h.deliver({EventKind::Click, other.host->images("Image2")(3)});
             EXPECT_EQ(other.get("result").toStringArray().at(4), "");
             return o;
         },
         5, "Invalid procedure call or argument",
         all({sheetAsMade, [](Ctl& c) { EXPECT_EQ(c.get("result").toStringArray().at(4), ""); }})},

        {"a drop of another control's element", "vltGraphButton", {},
         [](Ctl& c) {
             Ctl other("vltGraphButton");
             EXPECT_TRUE(other.h.initialize().ok());
             InputEvent drop{EventKind::DragDrop};
             drop.dragged = other.host->label("Label1");
             return c.h.deliver(drop);
         },
         5, "Invalid procedure call or argument",
         [](Ctl& c) {
             for (const ServiceCall& s : c.host->calls()) EXPECT_NE(s.kind, ServiceCall::Kind::Event) << s.name;
         }},

        // A control that has been destroyed.
        {"a get after destroy", "Matrix", {},
         [](Ctl& c) {
             EXPECT_TRUE(c.h.destroy().ok());
             return c.h.get("MaxItems");
         },
         91, "The control has been destroyed", {}},
    };
    walk(std::begin(rows), std::end(rows));
}

// Script lines the container cannot read, property-store entries among them: each is
// reported as not understood on its own line, the script goes on, nothing changes and
// the exit status is 2.
TEST(BadInput, LinesTheContainerCannotReadChangeNothing) {
    const char* const rows[] = {
        "read m MaxItems",            // an entry without =
        "read m =5",                  // without a key
        "read m MaxItems=",           // without a value
        "read m MaxItems=\"12",       // an unterminated string
        "read m MaxItems=\"1\\q\"",   // an unknown escape
        "read m MaxItems=12abc",      // no value at all
        "set m MaxItems 1e",          // half a number
        "set m MaxItems",
        "set ghost MaxItems 5",       // no such control
        "new Matrix",
        "resize m 10",
        "fire m Image1(x) Click",
        "fire m Image1(-) Click",
        "fire m Image1(1 Click",
        "clock 24:00:00",
        "clock 12:00",
        "clock 9:05:30",
        "fail disk",
        "msgbox-returns yes",
        "tick m -1",
        "tick",
        "answer ghost Ping",
        "\"unterminated",
    };
    std::string script = "new Matrix m\n";
    for (const char* r : rows) script += std::string(r) + "\n";
    script += "get m MaxItems\nget m RowSel\n";
    const testing::Ran ran = testing::runContainer(script);
    std::istringstream out(ran.out);
    std::vector<std::string> got;
    for (std::string l; std::getline(out, l);) got.push_back(l);

    const std::size_t n = std::size(rows);
    EXPECT_EQ(ran.status, 2);
    ASSERT_EQ(got.size(), n + 3);
    EXPECT_EQ(got[0], R"({"line":1,"new":"m","class":"Matrix","width":11070,"height":9780})");
    for (std::size_t i = 0; i < n; ++i)  // the wording of the report is the container's
        EXPECT_TRUE(got[i + 1].starts_with(R"({"line":)" + std::to_string(i + 2) + R"(,"syntax":")")) << got[i + 1];
    EXPECT_EQ(got[n + 1], R"({"line":)" + std::to_string(n + 2) + R"(,"get":"MaxItems","value":100})");
    EXPECT_EQ(got[n + 2], R"({"line":)" + std::to_string(n + 3) + R"(,"get":"RowSel","value":0})");
}

}  // namespace
}  // namespace talvik
