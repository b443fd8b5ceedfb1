// The QTI reader on items of our own writing: what a candidate would see of each item,
// and how each kind of bad content is reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "qti/QtiReader.h"
#include "qti/QtiShuffle.h"
#include "qti_test_items.h"

namespace talvik::qti {
namespace {
using testing::TempDir;

// The choices' identifiers, a fixed one marked with '*'.
std::vector<std::string> ids(const Item& item) {
    std::vector<std::string> out;
    for (const Choice& c : item.choices) out.push_back(c.identifier + (c.fixed ? "*" : ""));
    return out;
}

struct ItemCase {
    const char* name;
    std::string xml;
    std::string identifier;
    std::string title;
    std::string reason;  // empty: delivered
    std::vector<std::string> choices;
    int maxChoices;
    int minChoices;
    bool shuffle;
    std::vector<std::string> correct;
};

TEST(QtiReader, ReadsChoiceItemsAndNamesWhatItCannotDeliver) {
    const std::string twoInteractions = R"(<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p2"
        identifier="mixed" title="Mixed"><itemBody>
      <choiceInteraction responseIdentifier="R1" maxChoices="1">
        <simpleChoice identifier="A">a</simpleChoice></choiceInteraction>
      <extendedTextInteraction responseIdentifier="R2"/>
    </itemBody></assessmentItem>)";
    const std::string test = R"(<assessmentTest identifier="t" title="T"/>)";
    const std::string badCount = "<assessmentItem identifier=\"m\" title=\"M\"><itemBody>\n"
                                 "<choiceInteraction responseIdentifier=\"R\" maxChoices=\"two\">\n"
                                 "<simpleChoice identifier=\"A\">a</simpleChoice></choiceInteraction>"
                                 "</itemBody></assessmentItem>";
    const std::string noChoice = R"(<assessmentItem identifier="e" title="E"><itemBody>
      <choiceInteraction responseIdentifier="R"><prompt>Nothing to pick</prompt></choiceInteraction>
    </itemBody></assessmentItem>)";
    const std::vector<ItemCase> cases = {
        {"qti 2.1 single answer", testing::kCapital21, "capital", "Capital of Estonia", "", {"A", "B", "C"}, 1, 0,
         false, {"B"}},
        {"qti 3.0 multiple answers", testing::kPrimes30, "primes", "Prime numbers", "", {"P2", "P3", "N4", "NONE*"}, 0,
         1, true, {"P2", "P3"}},
        {"inline text entry", testing::kName22, "name", "Your name", "not supported: textEntryInteraction", {}, 1, 0,
         false, {}},
        {"choice beside extended text", twoInteractions, "mixed", "Mixed", "not supported: extendedTextInteraction",
         {"A"}, 1, 0, false, {}},
        {"malformed", testing::kMalformed, "bad", "Bad", "/items/q.xml:5: malformed XML", {}, 1, 0, false, {}},
        {"count that is not a number", badCount, "m", "M", "/items/q.xml:2: maxChoices is not a count", {}, 1, 0,
         false, {}},
        {"choice interaction without choices", noChoice, "e", "E", "/items/q.xml: choiceInteraction has no simpleChoice",
         {}, 1, 0, false, {}},
        {"a test is not an item", test, "q", "", "/items/q.xml:1: not an assessmentItem", {}, 1, 0, false, {}},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Item item = readItemText(c.xml, "/pkg/items/q.xml");
        EXPECT_EQ(item.identifier, c.identifier);
        EXPECT_EQ(item.title, c.title);
        EXPECT_EQ(item.delivered, c.reason.empty());
        if (c.reason.empty()) {
            EXPECT_EQ(item.reason, "");
        } else {
            EXPECT_NE(item.reason.find(c.reason), std::string::npos) << item.reason;
        }
        if (!item.delivered) continue;
        EXPECT_EQ(ids(item), c.choices);
        EXPECT_EQ(item.maxChoices, c.maxChoices);
        EXPECT_EQ(item.minChoices, c.minChoices);
        EXPECT_EQ(item.shuffle, c.shuffle);
        EXPECT_EQ(item.correctResponse, c.correct);
    }
}

TEST(QtiReader, KeepsBasicMarkupAndResolvesImages) {
    const std::string xml = R"(<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p1"
        identifier="map" title="Map">
  <itemBody>
    <div>
      <p>Look at <i>the</i> <b>map</b>:</p>
      <img src="images/map.png" alt="Map"/>
      <ul>
        <li>one</li>
        <li>two &amp; three</li>
      </ul>
      <ol><li><span>first</span></li></ol>
    </div>
    <choiceInteraction responseIdentifier="RESPONSE" maxChoices="2">
      <prompt><p>Pick <em>two</em>.</p></prompt>
      <simpleChoice identifier="A"><strong>Bold</strong> choice</simpleChoice>
      <simpleChoice identifier="B">x &lt; y<br/>on two lines</simpleChoice>
      <simpleChoice identifier="C">  Pärnu –   🌊 </simpleChoice>
    </choiceInteraction>
  </itemBody>
</assessmentItem>)";
    const Item item = readItemText(xml, "/pkg/items/map.xml");
    ASSERT_TRUE(item.delivered) << item.reason;
    EXPECT_EQ(item.body,
              "<p>Look at <em>the</em> <strong>map</strong>:</p><img src=\"/pkg/items/images/map.png\" alt=\"Map\"/>"
              "<ul><li>one</li><li>two &amp; three</li></ul><ol><li>first</li></ol>");
    EXPECT_EQ(item.prompt, "<p>Pick <em>two</em>.</p>");
    ASSERT_EQ(item.choices.size(), 3u);
    EXPECT_EQ(item.choices[0].markup, "<strong>Bold</strong> choice");
    EXPECT_EQ(item.choices[2].markup, "P\u00e4rnu \u2013 \U0001F30A");
    EXPECT_EQ(item.choices[1].markup, "x &lt; y<br/>on two lines");
    EXPECT_EQ(item.maxChoices, 2);
}

TEST(QtiReader, ATestListsTheItemsItCannotDeliver) {
    TempDir dir;
    dir.write("items/capital.xml", testing::kCapital21);
    dir.write("items/bad.xml", testing::kMalformed);
    // A missing reference on line 5 and one whose name is longer than any file system
    // allows on line 6.
    const std::string tooLong = std::string(300, 'x') + ".xml";
    const auto v30 = dir.write("items/test3.xml", R"(<qti-assessment-test xmlns="http://www.imsglobal.org/xsd/imsqtiasi_v3p0" identifier="t" title="T">
  <qti-test-part identifier="p" navigation-mode="linear" submission-mode="individual">
    <qti-time-limits max-time="600"/>
    <qti-assessment-section identifier="s" title="S" visible="true">
      <qti-assessment-item-ref identifier="gone" href="gone.xml"/>
      <qti-assessment-item-ref identifier="long" href=")" + tooLong + R"("/>
      <qti-assessment-item-ref identifier="bad" href="bad.xml"/>
      <qti-assessment-item-ref identifier="capital" href="capital.xml"/>
    </qti-assessment-section>
  </qti-test-part>
</qti-assessment-test>
)");
    const std::vector<std::pair<std::string, std::string>> expected = {  // identifier, reason (empty: delivered)
        {"gone", v30.string() + ":5: referenced item file missing: gone.xml"},
        {"long", v30.string() + ":6: referenced item file missing: " + tooLong},
        {"bad", (dir.path() / "items/bad.xml").string() + ":5: malformed XML"},
        {"capital", ""},
    };
    const qti::Test test = loadTest(v30.string());
    const auto items = test.items();
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& [identifier, reason] = expected[i];
        EXPECT_EQ(items[i]->identifier, identifier);
        EXPECT_EQ(items[i]->delivered, reason.empty()) << identifier;
        EXPECT_EQ(items[i]->reason.substr(0, reason.size()), reason);
    }
    EXPECT_EQ(items[3]->path, (dir.path() / "items/capital.xml").lexically_normal().string());
}

TEST(QtiReader, TopLevelFailuresThrowNamingTheFile) {
    TempDir dir;
    const auto malformed = dir.write("broken.xml", "<assessmentTest identifier=\"t\">\n<testPart>\n</assessmentTest>\n");
    const auto other = dir.write("other.xml", "<html/>");
    dir.write("empty/readme.txt", "no items here");
    struct Row {
        std::string path;
        std::string message;
    };
    const std::vector<Row> rows = {
        {(dir.path() / "nothing.xml").string(), (dir.path() / "nothing.xml").string() + ": no such file or folder"},
        {malformed.string(), malformed.string() + ":3: malformed XML"},
        {other.string(), other.string() + ":1: not a QTI item or test"},
        {(dir.path() / "empty").string(), (dir.path() / "empty").string() + ": no item files"},
        // Reading a device would never end.
        {"/dev/zero", "/dev/zero: not a content file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        try {
            loadTest(row.path);
            ADD_FAILURE() << "no error";
        } catch (const QtiError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, row.message.size()), row.message) << e.what();
        }
    }
}

Item choicesItem(std::size_t n, const std::set<std::size_t>& fixed, bool shuffle) {
    Item item;
    item.shuffle = shuffle;
    for (std::size_t i = 0; i < n; ++i) item.choices.push_back({std::string(1, char('A' + i)), "", fixed.count(i) > 0});
    return item;
}

TEST(QtiShuffle, FixedChoicesStayAndASeedGivesOneOrder) {
    struct Row {
        std::size_t choices;
        std::set<std::size_t> fixed;
    };
    const std::vector<Row> rows = {{4, {1}}, {6, {0, 5}}, {4, {}}, {3, {0, 1, 2}}, {1, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.choices);
        const Item item = choicesItem(row.choices, row.fixed, true);
        std::set<std::vector<std::size_t>> seen;
        for (std::uint32_t seed = 0; seed < 500; ++seed) {
            const auto order = choiceOrder(item, seed);
            ASSERT_EQ(order.size(), row.choices);
            EXPECT_EQ(order, choiceOrder(item, seed));
            std::vector<std::size_t> sorted = order;
            std::sort(sorted.begin(), sorted.end());
            for (std::size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(sorted[i], i);
            for (const std::size_t f : row.fixed) EXPECT_EQ(order[f], f);
            seen.insert(order);
        }
        // Every arrangement of the movable choices turns up over 500 seeds (at most 4! = 24).
        std::size_t arrangements = 1;
        for (std::size_t k = 2; k <= row.choices - row.fixed.size(); ++k) arrangements *= k;
        EXPECT_EQ(seen.size(), arrangements);
    }
}

TEST(QtiShuffle, OrderFollowsTheGeneratorAndShuffleOff) {
    // std::mt19937's first two draws for seed 5489 are 3499211612 and 581869302. With
    // choice 1 fixed, the movable ones are {0, 2, 3}: 3499211612 % 3 == 2 leaves the last
    // in place, then 581869302 % 2 == 0 swaps the first two, giving {2, 0, 3}.
    const Item item = choicesItem(4, {1}, true);
    EXPECT_EQ(choiceOrder(item, 5489u), (std::vector<std::size_t>{2, 1, 0, 3}));
    const Item still = choicesItem(4, {1}, false);
    EXPECT_EQ(choiceOrder(still, 5489u), (std::vector<std::size_t>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace talvik::qti
