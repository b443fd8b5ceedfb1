// What the controls tell a screen reader about themselves, without any window system:
// the answer sheet's question rows and named choices with their marks and the current
// question, the option strip's boxes, the box buttons, the link, the clock, who takes
// the focus, and the changes each control announces as the candidate works.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "answer/Matrix.h"
#include "answer/VelOptionToolBar.h"
#include "boxes/ScrollBox.h"
#include "boxes/vltBox.h"
#include "boxes/vltInfoBox.h"
#include "boxes/vltSwitch.h"
#include "boxes/vltZoomBox.h"
#include "controls/Banner.h"
#include "controls/TimerPicture.h"
#include "controls/URLLink.h"
#include "controls/vltHeaderExam.h"
#include "hosts/headless/HeadlessHost.h"

namespace talvik {
using namespace controls;
namespace {

// A headless host that keeps what the control announced.
class Listening : public HeadlessHost {
public:
    using HeadlessHost::HeadlessHost;
    std::vector<std::pair<PartChange, int>> heard;

    AccessibleParts parts() const { return control()->DescribeParts(); }
    // The announcements of one kind, as the names of the parts they are about.
    std::vector<std::string> named(PartChange what) const {
        const AccessibleParts d = parts();
        std::vector<std::string> names;
        for (const auto& [w, part] : heard)
            if (w == what)
                names.push_back(part < 0 ? "(control)" : std::size_t(part) < d.parts.size() ? d.parts[std::size_t(part)].name : "(none)");
        return names;
    }

protected:
    void hostPartChanged(PartChange what, int part) noexcept override { heard.emplace_back(what, part); }
};

using Names = std::vector<std::string>;

const AccessiblePart& partNamed(const AccessibleParts& d, const std::string& name) {
    for (const AccessiblePart& p : d.parts)
        if (p.name == name) return p;
    throw std::runtime_error("no part named " + name);
}

TEST(AccessibleParts, AnswerSheetIsARowPerShownQuestionWithFourNamedChoices) {
    Listening host(Matrix::Class);
    host.Initialize();
    AccessibleParts d = host.parts();
    EXPECT_TRUE(d.takesFocus);
    EXPECT_EQ(d.self.name, "Answer sheet");
    ASSERT_EQ(d.self.children.size(), 100u);  // MaxItems 100 in 4 columns of 25
    ASSERT_EQ(d.parts.size(), 500u);
    const AccessiblePart& row = d.parts[std::size_t(d.self.children[11])];
    EXPECT_EQ(row.name, "Question 12");
    EXPECT_EQ(row.role, PartRole::Row);
    ASSERT_EQ(row.children.size(), 4u);
    const char* const names[] = {"Question 12, choice A", "Question 12, choice B", "Question 12, choice C",
                                 "Question 12, choice D"};
    for (int k = 0; k < 4; ++k) {
        const AccessiblePart& choice = d.parts[std::size_t(row.children[std::size_t(k)])];
        EXPECT_EQ(choice.name, names[k]);
        EXPECT_EQ(choice.role, PartRole::CheckBox);
        EXPECT_EQ(choice.action, PartAction::Toggle);
        EXPECT_FALSE(choice.checked);
        // Choice k of question 12 (index 11, third group of five): Left 465 + 590 k,
        // Top 50 + 390 * 11 + 20 * 2, a 240-twip bubble.
        EXPECT_EQ(choice.bounds, (RectF{465.0f + 590.0f * float(k), 4380, 240, 240}));
    }
    // Question 1 is current at first.
    EXPECT_EQ(d.current(), d.self.children[0]);

    // Two columns of 10 show 20 of 30 questions.
    auto& sheet = static_cast<Matrix&>(*host.control());
    sheet.MaxItemPerCol(10);
    sheet.MaxCols(2);
    sheet.MaxItems(30);
    EXPECT_EQ(host.parts().self.children.size(), 20u);
}

TEST(AccessibleParts, AnswerSheetAnnouncesMarksAndTheCurrentQuestion) {
    Listening host(Matrix::Class);
    host.Initialize();
    auto& sheet = static_cast<Matrix&>(*host.control());
    const auto choice = [&](int k, int i) { return host.images("Image" + std::to_string(k))(i); };
    const auto key = [&](std::int16_t code) { host.deliver({.kind = EventKind::KeyDown, .key = code}); };

    struct Case { const char* step; std::function<void()> act; Names state, current; };
    const Case cases[] = {
        {"a click on B of question 3", [&] { host.deliver({EventKind::Click, choice(2, 2)}); },
         {"Question 3, choice B"}, {"Question 3"}},
        {"Down", [&] { key(40); }, {}, {"Question 4"}},
        {"keys A and C", [&] { key(65); key(67); }, {"Question 4, choice A", "Question 4, choice C"}, {}},
        {"Space unmarks only what is marked", [&] { key(32); }, {"Question 4, choice A", "Question 4, choice C"}, {}},
        {"Space again: nothing to unmark", [&] { key(32); }, {}, {}},
        {"RowSel 10", [&] { sheet.RowSel(10); }, {}, {"Question 11"}},
        {"RowSel 10 again", [&] { sheet.RowSel(10); }, {}, {}},
        {"reset", [&] { sheet.reset(); }, {"Question 3, choice B"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        host.heard.clear();
        c.act();
        EXPECT_EQ(host.named(PartChange::State), c.state);
        EXPECT_EQ(host.named(PartChange::Current), c.current);
    }
    // The marks and the current question read back as they were announced.
    host.deliver({EventKind::Click, choice(3, 11)});
    const AccessibleParts d = host.parts();
    EXPECT_TRUE(partNamed(d, "Question 12, choice C").checked);
    EXPECT_FALSE(partNamed(d, "Question 12, choice B").checked);
    EXPECT_TRUE(partNamed(d, "Question 12").current);
    EXPECT_FALSE(partNamed(d, "Question 11").current);

    host.heard.clear();
    sheet.MaxItems(40);
    ASSERT_EQ(host.heard.size(), 1u);
    EXPECT_EQ(host.heard[0].first, PartChange::Structure);
}

TEST(AccessibleParts, OptionStripBoxesFollowItsKindAndLabels) {
    Listening host(VelOptionToolBar::Class);
    host.Initialize();
    auto& strip = static_cast<VelOptionToolBar&>(*host.control());
    AccessibleParts d = host.parts();
    ASSERT_EQ(d.parts.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(d.parts[std::size_t(k)].role, PartRole::RadioButton);
        EXPECT_EQ(d.parts[std::size_t(k)].name, std::string(1, char('A' + k)));
    }
    host.heard.clear();
    strip.VelValue("B");
    EXPECT_EQ(host.named(PartChange::State), Names{"B"});
    host.heard.clear();
    host.deliver({EventKind::Click, host.images("Image2")(3)});  // an option button: B goes, D comes
    EXPECT_EQ(host.named(PartChange::State), (Names{"B", "D"}));
    d = host.parts();
    EXPECT_FALSE(d.parts[1].checked);
    EXPECT_TRUE(d.parts[3].checked);

    strip.VelOptionBox(VelOptionToolBar::VelCheck);
    host.heard.clear();
    strip.VelOptionChar(VelOptionToolBar::VelNumber);
    EXPECT_EQ(host.named(PartChange::Name), (Names{"1", "2", "3", "4"}));  // the hidden boxes are no parts
    strip.VelCountItems(6);
    d = host.parts();
    ASSERT_EQ(d.parts.size(), 6u);
    EXPECT_EQ(d.parts[5].role, PartRole::CheckBox);
    EXPECT_EQ(d.parts[5].name, "6");
    strip.Enabled(false);
    EXPECT_TRUE(host.parts().parts[0].disabled);
}

TEST(AccessibleParts, EachControlSaysWhatItIsAndWhetherItTakesTheFocus) {
    struct Case { const ControlClass& cls; bool focus; PartRole role; Names buttons; };
    const Case cases[] = {
        {Matrix::Class, true, PartRole::Group, {}},
        {VelOptionToolBar::Class, true, PartRole::Group, {}},
        {vltSwitch::Class, true, PartRole::Group, {"First question", "Previous question", "Next question", "Last question"}},
        {vltZoomBox::Class, true, PartRole::Group, {"Zoom out", "Zoom in", "Fit"}},
        {ScrollBox::Class, true, PartRole::Group, {"Scroll up", "Scroll down", "Scroll left", "Scroll right"}},
        {URLLink::Class, true, PartRole::Link, {}},
        {vltBox::Class, false, PartRole::Group, {}},
        {vltInfoBox::Class, false, PartRole::Group, {}},
        {TimerPicture::Class, false, PartRole::Clock, {}},
        {Banner::Class, false, PartRole::Group, {}},
        {vltHeaderExam::Class, false, PartRole::Group, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cls.name));
        Listening host(c.cls);
        host.Initialize();
        host.InitProperties();
        const AccessibleParts d = host.parts();
        EXPECT_EQ(d.takesFocus, c.focus);
        EXPECT_EQ(d.self.role, c.role);
        Names buttons;
        for (const AccessiblePart& p : d.parts)
            if (p.role == PartRole::Button) {
                buttons.push_back(p.name);
                EXPECT_EQ(p.action, PartAction::Press);
            }
        EXPECT_EQ(buttons, c.buttons);
    }
}

TEST(AccessibleParts, BoxesAreNamedByTheirCaption) {
    Listening host(vltInfoBox::Class);
    host.Initialize();
    host.InitProperties();
    auto& box = static_cast<vltInfoBox&>(*host.control());
    host.heard.clear();
    box.Caption("Candidate");
    box.Info("Nguyen Van An");
    const AccessibleParts d = host.parts();
    EXPECT_EQ(d.self.name, "Candidate");
    ASSERT_EQ(d.parts.size(), 1u);
    EXPECT_EQ(d.parts[0].role, PartRole::StaticText);
    EXPECT_EQ(d.parts[0].name, "Nguyen Van An");
    EXPECT_EQ(host.named(PartChange::Name), (Names{"(control)", "Nguyen Van An"}));
}

TEST(AccessibleParts, LinkIsNamedByItsTextWithItsAddress) {
    Listening host(URLLink::Class);
    host.Initialize();
    auto& link = static_cast<URLLink&>(*host.control());
    host.heard.clear();
    link.Text("Exam rules");
    link.URL("https://example.org/rules");
    const AccessibleParts d = host.parts();
    EXPECT_EQ(d.self.name, "Exam rules");
    EXPECT_EQ(d.self.value, "https://example.org/rules");
    EXPECT_EQ(d.self.action, PartAction::Press);
    EXPECT_EQ(d.self.element, host.label("lblURL"));
    EXPECT_EQ(host.heard.size(), 2u);
}

TEST(AccessibleParts, ClockReadsHoursAndMinutesOfItsHands) {
    Listening host(TimerPicture::Class);
    host.setClock({10, 42, 5});
    host.Initialize();
    host.InitProperties();
    static_cast<TimerPicture&>(*host.control()).Enable(true);
    EXPECT_EQ(host.parts().self.name, "10:42");
    EXPECT_TRUE(host.parts().self.readOnly);
    host.heard.clear();
    host.advance(1000);  // 10:42:06: the same minute, nothing to tell
    EXPECT_TRUE(host.heard.empty());
    host.setClock({9, 5, 59});
    host.advance(1000);  // 09:06:00
    EXPECT_EQ(host.parts().self.name, "09:06");
    EXPECT_EQ(host.named(PartChange::Name), Names{"(control)"});
}

}  // namespace
}  // namespace talvik
