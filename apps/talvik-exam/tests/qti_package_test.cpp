// Content packages: a folder holding imsmanifest.xml, or the manifest itself, as an
// authoring tool exports them; and what is reported when a package is incomplete.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "qti/QtiReader.h"
#include "qti_test_items.h"

namespace talvik::qti {
namespace {
using testing::TempDir;

std::vector<std::string> identifiers(const Test& test) {
    std::vector<std::string> out;
    for (const Item* item : test.items()) out.push_back(item->identifier);
    return out;
}

std::string loadError(const std::string& path) {
    try {
        loadTest(path);
    } catch (const QtiError& e) {
        return e.what();
    }
    return "no error";
}

const char* const kTest = R"(<assessmentTest xmlns="http://www.imsglobal.org/xsd/imsqti_v2p1" identifier="geo-test" title="Geography">
  <testPart identifier="p" navigationMode="nonlinear" submissionMode="simultaneous">
    <assessmentSection identifier="s" title="Places" visible="true">
      <assessmentItemRef identifier="primes" href="../items/primes.xml"/>
      <assessmentItemRef identifier="capital" href="../items/capital.xml"/>
    </assessmentSection>
  </testPart>
</assessmentTest>
)";

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

TEST(QtiPackage, AFolderWithAManifestLoadsTheTestItNames) {
    TempDir dir;
    dir.write("items/capital.xml", testing::kCapital21);
    dir.write("items/primes.xml", testing::kPrimes30);
    dir.write("tests/geo.xml", kTest);
    const auto manifest = dir.write("imsmanifest.xml", kManifestWithTest);
    // The folder and the manifest file are the same package.
    for (const std::string& path : {dir.path().string(), manifest.string()}) {
        SCOPED_TRACE(path);
        const qti::Test test = loadTest(path);
        EXPECT_EQ(test.identifier, "geo-test");
        EXPECT_EQ(test.title, "Geography");
        EXPECT_EQ(identifiers(test), (std::vector<std::string>{"primes", "capital"}));
        for (const Item* item : test.items()) EXPECT_TRUE(item->delivered) << item->reason;
        EXPECT_EQ(test.items()[1]->path, (dir.path() / "items/capital.xml").string());
    }
}

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
    EXPECT_EQ(identifiers(test), std::vector<std::string>{"capital"});
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
    const std::filesystem::path data = std::filesystem::path(TALVIK_EXAM_SOURCE_DIR) / "tests" / "data";
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
    for (const PackageRow& p : packages) {
        SCOPED_TRACE(p.folder);
        const qti::Test test = loadTest((data / p.folder).string());
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

TEST(QtiPackage, AnExportedItemShowsThePictureBesideIt) {
    const std::filesystem::path package =
        std::filesystem::path(TALVIK_EXAM_SOURCE_DIR) / "tests" / "data" / "package-qti3";
    const qti::Test test = loadTest((package / "imsmanifest.xml").string());
    const auto items = test.items();
    const auto rainfall = std::find_if(items.begin(), items.end(), [](const Item* i) { return i->identifier == "wx-rainfall"; });
    ASSERT_NE(rainfall, items.end());
    const std::string picture = (package / "items/ITM-02/rainfall.png").lexically_normal().string();
    EXPECT_NE((*rainfall)->body.find("<img src=\"" + picture + "\""), std::string::npos) << (*rainfall)->body;
    EXPECT_TRUE(std::filesystem::is_regular_file(picture));
    const auto precipitation =
        std::find_if(items.begin(), items.end(), [](const Item* i) { return i->identifier == "wx-precipitation"; });
    ASSERT_NE(precipitation, items.end());
    EXPECT_EQ((*precipitation)->mapping.size(), 3u);
    EXPECT_EQ((*precipitation)->mappingDefault, std::optional<double>(-1.0));
}

}  // namespace
}  // namespace talvik::qti
