// The sample test shipped with the exam: every item delivered, every answer key naming the
// item's own choices, and the mix of items the practice test is meant to have.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "qti/QtiReader.h"

namespace talvik::qti {
namespace {
namespace fs = std::filesystem;

const fs::path kSample = fs::path(TALVIK_EXAM_SOURCE_DIR) / "sample";

std::set<std::string> choiceIds(const Item& item) {
    std::set<std::string> out;
    for (const Choice& c : item.choices) out.insert(c.identifier);
    return out;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

std::vector<std::string> correctTexts(const Item& item) {
    std::vector<std::string> out;
    for (const std::string& id : item.correctResponse)
        for (const Choice& c : item.choices)
            if (c.identifier == id) out.push_back(c.markup);
    return out;
}

TEST(SampleTest, EveryItemIsDeliveredWithAKeyNamingItsOwnChoices) {
    const qti::Test test = loadTest((kSample / "test.xml").string());
    const auto items = test.items();
    ASSERT_EQ(items.size(), 40u);
    for (const Item* item : items) {
        SCOPED_TRACE(item->identifier);
        EXPECT_TRUE(item->delivered) << item->reason;
        EXPECT_FALSE(item->title.empty());
        EXPECT_FALSE(item->prompt.empty());
        const std::set<std::string> ids = choiceIds(*item);
        EXPECT_EQ(ids.size(), item->choices.size());
        ASSERT_FALSE(item->correctResponse.empty());
        for (const std::string& key : item->correctResponse) EXPECT_EQ(ids.count(key), 1u) << key;
        for (const MapEntry& e : item->mapping) EXPECT_EQ(ids.count(e.key), 1u) << e.key;
        // One key for a single answer; a multiple-answer item can be answered in full.
        if (item->maxChoices == 1) {
            EXPECT_EQ(item->correctResponse.size(), 1u);
        } else if (item->maxChoices > 1) {
            EXPECT_EQ(item->correctResponse.size(), static_cast<std::size_t>(item->maxChoices));
        }
        // A fixed choice is the last one, "None of the above".
        for (std::size_t i = 0; i < item->choices.size(); ++i) {
            if (!item->choices[i].fixed) continue;
            EXPECT_TRUE(item->shuffle);
            EXPECT_EQ(i, item->choices.size() - 1);
            EXPECT_EQ(item->choices[i].markup, "None of the above");
        }
    }
}

TEST(SampleTest, HasTheIntendedSectionsTimeAndMixOfItems) {
    const qti::Test test = loadTest((kSample / "test.xml").string());
    EXPECT_EQ(test.identifier, "general-knowledge");
    EXPECT_EQ(test.title, "General knowledge practice test");
    ASSERT_TRUE(test.maxTimeSeconds.has_value());
    EXPECT_DOUBLE_EQ(*test.maxTimeSeconds, 45 * 60.0);
    struct SectionRow {
        std::string title;
        std::size_t items;
        std::string first;
    };
    const std::vector<SectionRow> sections = {{"Science", 10, "q01"},   {"Mathematics", 10, "q11"},
                                              {"Geography", 8, "q21"}, {"Language", 6, "q29"},
                                              {"History of technology", 6, "q35"}};
    ASSERT_EQ(test.sections.size(), sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        SCOPED_TRACE(sections[i].title);
        EXPECT_EQ(test.sections[i].title, sections[i].title);
        ASSERT_EQ(test.sections[i].items.size(), sections[i].items);
        EXPECT_EQ(test.sections[i].items.front().identifier, sections[i].first);
    }

    std::map<std::size_t, int> byChoices;
    int single = 0, multiple = 0, mapped = 0, shuffledWithFixed = 0;
    for (const Item* item : test.items()) {
        ++byChoices[item->choices.size()];
        (item->maxChoices == 1 ? single : multiple)++;
        if (!item->mapping.empty()) {
            ++mapped;
            EXPECT_NE(item->maxChoices, 1) << item->identifier;
            ASSERT_TRUE(item->mappingDefault.has_value()) << item->identifier;
            EXPECT_DOUBLE_EQ(*item->mappingDefault, -1.0) << item->identifier;
        }
        if (item->shuffle && std::any_of(item->choices.begin(), item->choices.end(), [](const Choice& c) { return c.fixed; }))
            ++shuffledWithFixed;
    }
    EXPECT_EQ(single, 32);
    EXPECT_EQ(multiple, 8);
    EXPECT_EQ(mapped, 4);
    EXPECT_EQ(shuffledWithFixed, 4);
    EXPECT_EQ(byChoices, (std::map<std::size_t, int>{{3, 4}, {4, 27}, {5, 6}, {6, 3}}));
}

TEST(SampleTest, AnswerKeysAndPicturesOfChosenItems) {
    const qti::Test test = loadTest((kSample / "test.xml").string());
    std::map<std::string, const Item*> byId;
    for (const Item* item : test.items()) byId[item->identifier] = item;
    struct Row {
        std::string identifier;
        std::vector<std::string> correct;  // the texts of the correct choices
        std::string picture;               // a picture the item shows, empty for none
    };
    const std::vector<Row> rows = {
        {"q01", {"Au"}, ""},
        {"q05", {"Dolphin", "Bat", "Platypus"}, ""},
        {"q12", {"5 cm"}, "images/triangle.png"},
        {"q13", {"2", "11", "17"}, ""},
        {"q16", {"3/4"}, ""},
        {"q18", {"111", "252", "513"}, ""},
        {"q20", {"1,440"}, ""},
        {"q23", {"North-east"}, "images/map.png"},
        {"q24", {"Latvia", "Russia"}, ""},
        {"q29", {"How far away the food is"}, ""},
        {"q32", {"happiness", "mountain", "friendship"}, ""},
        {"q39", {"The telephone", "The phonograph"}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.identifier);
        ASSERT_EQ(byId.count(row.identifier), 1u);
        const Item& item = *byId[row.identifier];
        EXPECT_EQ(correctTexts(item), row.correct);
        if (row.picture.empty()) {
            EXPECT_EQ(item.body.find("<img"), std::string::npos);
            continue;
        }
        const std::string file = (kSample / row.picture).lexically_normal().string();
        EXPECT_NE(item.body.find("<img src=\"" + file + "\""), std::string::npos) << item.body;
        EXPECT_TRUE(fs::is_regular_file(file));
    }
    // The reading passage keeps its paragraphs, list and emphasis.
    const std::string& passage = byId["q29"]->body;
    const std::map<std::string, std::size_t> tags = {{"<p>", 5}, {"<ul>", 1}, {"<li>", 2}, {"<em>", 2}, {"<strong>", 3}};
    for (const auto& [tag, count] : tags) EXPECT_EQ(occurrences(passage, tag), count) << tag;
}

TEST(SampleTest, ThePackageFolderGivesTheSameTest) {
    const qti::Test direct = loadTest((kSample / "test.xml").string());
    const qti::Test package = loadTest(kSample.string());
    EXPECT_EQ(package.title, direct.title);
    const auto a = direct.items(), b = package.items();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(b[i]->identifier, a[i]->identifier);
        EXPECT_EQ(b[i]->path, a[i]->path);
    }
}

}  // namespace
}  // namespace talvik::qti
