// Content packages: a folder holding imsmanifest.xml, or the manifest itself, as an
// authoring tool exports them; what is reported when a package is incomplete; and the
// sample test shipped with the exam, every item delivered with a key naming its own choices.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "qti/QtiReader.h"
#include "qti_test_items.h"

namespace talvik::qti {
namespace {
namespace fs = std::filesystem;
using testing::TempDir;

std::string loadError(const std::string& path) {
    try {
        loadTest(path);
    } catch (const QtiError& e) {
        return e.what();
    }
    return "no error";
}

// The test resource is on line 7.
const char* const kManifestWithTest = R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest xmlns="http://www.imsglobal.org/xsd/imscp_v1p1" identifier="pkg">
  <metadata><schema>QTI Package</schema><schemaversion>2.1</schemaversion></metadata>
  <organizations/>
  <resources>
    <resource identifier="img" type="webcontent" href="items/map.png"><file href="items/map.png"/></resource>
    <resource identifier="t" type="imsqti_test_xmlv2p1" href="tests/geo.xml">
      <file href="tests/geo.xml"/><dependency identifierref="i1"/>
    </resource>
    <resource identifier="i1" type="imsqti_item_xmlv2p1" href="items/capital.xml"/>
  </resources>
</manifest>
)";

TEST(QtiPackage, WithoutATestTheItemsComeInTheManifestsOrder) {
    TempDir dir;
    dir.write("a/capital.xml", testing::kCapital21);
    dir.write("b/primes file.xml", testing::kPrimes30);
    dir.write("c/name.xml", testing::kName22);
    // Item resources on lines 9, 10, 12 and 13, the second one under an xml:base and with
    // a space written as %20; the third names a file that is not there.
    const auto manifest = dir.write("imsmanifest.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest xmlns="http://www.imsglobal.org/xsd/imscp_v1p1" identifier="quiz-7">
  <metadata><lom xmlns="http://ltsc.ieee.org/xsd/LOM"><general><title><string language="en">From the metadata</string></title></general></lom></metadata>
  <organizations default="o">
    <organization identifier="o"><title>  Weekly
      quiz </title><item identifier="x" identifierref="i1"/></organization>
  </organizations>
  <resources xml:base="./">
    <resource identifier="i2" type="imsqti_item_xmlv2p2" href="c/name.xml"/>
    <resource identifier="i1" type="imsqti_item_xmlv3p0" xml:base="b/" href="primes%20file.xml"/>
    <resource identifier="css" type="webcontent" href="style.css"/>
    <resource identifier="i3" type="imsqti_item_xmlv2p1" href="d/gone.xml"/>
    <resource identifier="i4" type="IMSQTI_ITEM_XMLV2P1" href="a/capital.xml"/>
  </resources>
</manifest>
)");
    const qti::Test test = loadTest(dir.path().string());
    EXPECT_EQ(test.identifier, "quiz-7");
    EXPECT_EQ(test.title, "Weekly quiz");
    ASSERT_EQ(test.sections.size(), 1u);
    struct Row {
        std::string identifier;
        std::string path;
        std::string reason;  // empty: delivered
    };
    const std::string gone = (dir.path() / "d/gone.xml").string();
    const std::vector<Row> expected = {
        {"name", (dir.path() / "c/name.xml").string(), "not supported: textEntryInteraction"},
        {"primes", (dir.path() / "b/primes file.xml").string(), ""},
        {"gone", gone, manifest.string() + ":12: item resource file missing: " + gone},
        {"capital", (dir.path() / "a/capital.xml").string(), ""},
    };
    const auto items = test.items();
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].identifier);
        EXPECT_EQ(items[i]->identifier, expected[i].identifier);
        EXPECT_EQ(items[i]->path, expected[i].path);
        EXPECT_EQ(items[i]->delivered, expected[i].reason.empty());
        EXPECT_EQ(items[i]->reason, expected[i].reason);
    }
}

TEST(QtiPackage, ATitleFromTheMetadataWhenNoOrganizationHasOne) {
    TempDir dir;
    dir.write("capital.xml", testing::kCapital21);
    dir.write("imsmanifest.xml", R"(<manifest xmlns="http://www.imsglobal.org/xsd/imscp_v1p1" identifier="m">
  <metadata><lom xmlns="http://ltsc.ieee.org/xsd/LOM"><general><title>
    <string language="en">Capitals  of <i>Europe</i></string></title></general></lom></metadata>
  <organizations/>
  <resources><resource identifier="i" type="imsqti_item_xmlv2p1" href="capital.xml"/></resources>
</manifest>)");
    const qti::Test test = loadTest(dir.path().string());
    EXPECT_EQ(test.title, "Capitals of Europe");
    ASSERT_EQ(test.items().size(), 1u);
    EXPECT_EQ(test.items()[0]->identifier, "capital");
}

TEST(QtiPackage, ABrokenPackageIsAnErrorNamingTheFileAndLine) {
    TempDir dir;
    const auto missingTest = dir.write("missing-test/imsmanifest.xml", kManifestWithTest);
    const auto remoteTest = dir.write("remote-test/imsmanifest.xml", R"(<manifest identifier="r">
  <resources>
    <resource identifier="t" type="imsqti_test_xmlv3p0" href="https://example.org/test.xml"/>
  </resources>
</manifest>)");
    // The resource element on line 3 is not closed before </resources> on line 4.
    const auto malformed = dir.write("malformed/imsmanifest.xml", "<manifest identifier=\"m\">\n<resources>\n"
                                                                 "<resource identifier=\"i\" type=\"imsqti_item_xmlv2p1\">\n"
                                                                 "</resources>\n</manifest>\n");
    const auto empty = dir.write("empty/imsmanifest.xml", R"(<manifest identifier="e"><resources>
  <resource identifier="w" type="webcontent" href="index.html"/></resources></manifest>)");
    const auto notManifest = dir.write("other/imsmanifest.xml", "<html>\n<body/>\n</html>\n");
    const auto testIsManifest = dir.write("loop/imsmanifest.xml", R"(<manifest identifier="l"><resources>
  <resource identifier="t" type="imsqti_test_xmlv2p1" href="imsmanifest.xml"/></resources></manifest>)");
    const auto zip = dir.write("package.zip", std::string("PK\x03\x04\x14\x00\x00\x00", 8));
    const auto zipByContent = dir.write("package.bin", std::string("PK\x03\x04\x14\x00\x00\x00", 8));
    struct Row {
        const char* name;
        std::string path;
        std::string message;  // the whole message, or its start where Qt words the rest
    };
    const std::vector<Row> rows = {
        {"test file missing", missingTest.parent_path().string(),
         missingTest.string() + ":7: test resource file missing: " + (dir.path() / "missing-test/tests/geo.xml").string()},
        {"test outside the package", remoteTest.string(),
         remoteTest.string() + ":3: test resource without a file in the package: \"https://example.org/test.xml\""},
        {"malformed manifest in a folder", malformed.parent_path().string(), malformed.string() + ":4: malformed XML: "},
        {"malformed manifest given itself", malformed.string(), malformed.string() + ":4: malformed XML: "},
        {"manifest without QTI resources", empty.string(), empty.string() + ": the manifest lists no QTI test or item"},
        {"a manifest that is not one", notManifest.parent_path().string(),
         notManifest.string() + ":1: not a content package manifest: <html>"},
        {"a test resource that is the manifest", testIsManifest.string(),
         testIsManifest.string() + ":1: not a QTI item or test: <manifest>"},
        {"zip by name", zip.string(), zip.string() + ": a zipped content package cannot be read directly; unzip it first"},
        {"zip by content", zipByContent.string(),
         zipByContent.string() + ": a zipped content package cannot be read directly; unzip it first"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string message = loadError(row.path);
        EXPECT_EQ(message.substr(0, row.message.size()), row.message) << message;
    }
}

// Packages as two other authoring tools export them, kept under tests/data.
TEST(QtiPackage, ExportedPackagesLoadAsTheirAuthorsLaidThemOut) {
    const fs::path data = fs::path(TALVIK_EXAM_SOURCE_DIR) / "tests" / "data";
    struct ItemRow {
        std::string identifier;
        std::string reason;  // empty: delivered
        std::vector<std::string> correct;
        bool shuffle;
    };
    struct PackageRow {
        std::string folder;
        std::string identifier;
        std::string title;
        std::optional<double> maxTime;
        std::vector<std::string> sections;
        std::vector<ItemRow> items;
    };
    const std::vector<PackageRow> packages = {
        {"package-qti3",
         "TST-weather",
         "Weather and climate",
         1200.0,
         {"Instruments and maps", "The sky"},
         {{"wx-barometer", "", {"c2"}, false},
          {"wx-anemometer", "", {"c3"}, false},
          {"wx-isobar", "", {"c2"}, false},
          {"wx-rainfall", "", {"c3"}, false},
          {"wx-troposphere", "", {"c3"}, true},
          {"wx-cumulonimbus", "", {"c5"}, false},
          {"wx-precipitation", "", {"c1", "c3", "c5"}, false},
          {"wx-freezing", "not supported: textEntryInteraction", {}, false}}},
        // No test in this one: the items in the manifest's order, not the files' names.
        {"package-qti21",
         "MANIFEST-geography-21",
         "Geography item bank",
         std::nullopt,
         {""},
         {{"ITEM_capitals", "", {"ChoiceB"}, false},
          {"ITEM_rivers", "", {"ChoiceA", "ChoiceC"}, false},
          {"ITEM_area", "", {"ChoiceC"}, false}}},
    };
    // The folder and its manifest file are the same package.
    for (const PackageRow& p : packages) {
        for (const fs::path& given : {data / p.folder, data / p.folder / "imsmanifest.xml"}) {
            SCOPED_TRACE(given.string());
            const qti::Test test = loadTest(given.string());
            EXPECT_EQ(test.identifier, p.identifier);
            EXPECT_EQ(test.title, p.title);
            EXPECT_EQ(test.maxTimeSeconds, p.maxTime);
            std::vector<std::string> sections;
            for (const Section& s : test.sections) sections.push_back(s.title);
            EXPECT_EQ(sections, p.sections);
            const auto items = test.items();
            ASSERT_EQ(items.size(), p.items.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                const ItemRow& want = p.items[i];
                SCOPED_TRACE(want.identifier);
                EXPECT_EQ(items[i]->identifier, want.identifier);
                EXPECT_EQ(items[i]->reason, want.reason);
                EXPECT_EQ(items[i]->delivered, want.reason.empty());
                EXPECT_EQ(items[i]->correctResponse, want.correct);
                EXPECT_EQ(items[i]->shuffle, want.shuffle);
            }
        }
    }
}

// The sample test shipped with the exam.
const fs::path kSample = fs::path(TALVIK_EXAM_SOURCE_DIR) / "sample";

std::set<std::string> choiceIds(const Item& item) {
    std::set<std::string> out;
    for (const Choice& c : item.choices) out.insert(c.identifier);
    return out;
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
    // A QTI 2.2 test: the limit of its timeLimits, and its sections and their items in order.
    EXPECT_EQ(test.maxTimeSeconds, std::optional<double>(2700));
    std::vector<std::string> sections;
    for (const Section& s : test.sections) sections.push_back(s.identifier + " " + s.title);
    EXPECT_EQ(sections, (std::vector<std::string>{"science Science", "mathematics Mathematics", "geography Geography",
                                                  "language Language", "technology History of technology"}));
    const auto items = test.items();
    ASSERT_EQ(items.size(), 40u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item* item = items[i];
        SCOPED_TRACE(item->identifier);
        EXPECT_EQ(item->identifier, (i < 9 ? "q0" : "q") + std::to_string(i + 1));
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
        {"q23", {"North-east"}, "images/map.png"},
        {"q24", {"Latvia", "Russia"}, ""},
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
}

}  // namespace
}  // namespace talvik::qti
