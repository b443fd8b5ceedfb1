// Loading a 150-item test through the QTI reader, beside what the same files cost without
// it: reading their bytes, and one QXmlStreamReader pass over them that looks at every
// token and keeps nothing. The test (an assessmentTest in three sections, 150 item files
// like the sample test's, and a manifest naming them) is written into a temporary folder
// when the program starts and removed when it ends.
#include <QByteArray>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "qti/QtiReader.h"

namespace {
namespace fs = std::filesystem;

constexpr int kItems = 150;
constexpr int kSections = 3;

std::string itemXml(int n) {
    const bool multiple = n % 5 == 4;  // one in five has several answers and a mapping
    const int choices = 3 + n % 4;     // 3 to 6 choices
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<assessmentItem xmlns=\"http://www.imsglobal.org/xsd/imsqti_v2p2\"\n"
         "    xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
         "    xsi:schemaLocation=\"http://www.imsglobal.org/xsd/imsqti_v2p2 "
         "http://www.imsglobal.org/xsd/qti/qtiv2p2/imsqti_v2p2.xsd\"\n"
      << "    identifier=\"q" << n << "\" title=\"Question " << n
      << "\" adaptive=\"false\" timeDependent=\"false\" xml:lang=\"en\">\n"
      << "  <responseDeclaration identifier=\"RESPONSE\" cardinality=\"" << (multiple ? "multiple" : "single")
      << "\" baseType=\"identifier\">\n    <correctResponse>\n      <value>B</value>\n";
    if (multiple) x << "      <value>C</value>\n";
    x << "    </correctResponse>\n";
    if (multiple)
        x << "    <mapping lowerBound=\"0\" upperBound=\"2\" defaultValue=\"-1\">\n"
             "      <mapEntry mapKey=\"B\" mappedValue=\"1\"/>\n      <mapEntry mapKey=\"C\" mappedValue=\"1\"/>\n"
             "    </mapping>\n";
    x << "  </responseDeclaration>\n"
         "  <outcomeDeclaration identifier=\"SCORE\" cardinality=\"single\" baseType=\"float\">\n"
         "    <defaultValue>\n      <value>0</value>\n    </defaultValue>\n  </outcomeDeclaration>\n"
         "  <itemBody>\n"
      << "    <p>Read the statement about topic " << n
      << " carefully before you answer. Only the <em>information given here</em> is needed;\n"
         "      the question does not depend on any earlier one.</p>\n"
      << "    <choiceInteraction responseIdentifier=\"RESPONSE\" shuffle=\"" << (n % 3 == 0 ? "true" : "false")
      << "\" maxChoices=\"" << (multiple ? 2 : 1) << "\">\n"
      << "      <prompt>Which of these statements about topic " << n << " is <strong>true</strong>?</prompt>\n";
    for (int c = 0; c < choices; ++c)
        x << "      <simpleChoice identifier=\"" << char('A' + c) << "\">Statement " << char('A' + c) << " about topic "
          << n << ", written out as a short sentence</simpleChoice>\n";
    x << "    </choiceInteraction>\n  </itemBody>\n"
         "  <responseProcessing template=\"http://www.imsglobal.org/question/qti_v2p2/rptemplates/"
      << (multiple ? "map_response" : "match_correct") << "\"/>\n</assessmentItem>\n";
    return x.str();
}

class GeneratedTest {
public:
    GeneratedTest() {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("talvik-exam-load-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(dir_ / "items");
        std::ostringstream test, manifest;
        test << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<assessmentTest xmlns=\"http://www.imsglobal.org/xsd/imsqti_v2p2\" identifier=\"load\" "
                "title=\"Load test\">\n  <timeLimits maxTime=\"9000\"/>\n"
                "  <testPart identifier=\"part\" navigationMode=\"nonlinear\" submissionMode=\"simultaneous\">\n";
        manifest << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<manifest xmlns=\"http://www.imsglobal.org/xsd/imscp_v1p1\" identifier=\"load-package\">\n"
                    "  <organizations/>\n  <resources>\n"
                    "    <resource identifier=\"test\" type=\"imsqti_test_xmlv2p2\" href=\"test.xml\">\n"
                    "      <file href=\"test.xml\"/>\n    </resource>\n";
        for (int s = 0; s < kSections; ++s) {
            test << "    <assessmentSection identifier=\"s" << s << "\" title=\"Section " << s + 1
                 << "\" visible=\"true\">\n";
            for (int i = s * kItems / kSections; i < (s + 1) * kItems / kSections; ++i) {
                const std::string name = "items/q" + std::to_string(i + 1) + ".xml";
                write(name, itemXml(i + 1));
                test << "      <assessmentItemRef identifier=\"q" << i + 1 << "\" href=\"" << name << "\"/>\n";
                manifest << "    <resource identifier=\"item-" << i + 1 << "\" type=\"imsqti_item_xmlv2p2\" href=\""
                         << name << "\">\n      <file href=\"" << name << "\"/>\n    </resource>\n";
            }
            test << "    </assessmentSection>\n";
        }
        test << "  </testPart>\n</assessmentTest>\n";
        manifest << "  </resources>\n</manifest>\n";
        write("test.xml", test.str());
        files_.insert(files_.begin(), files_.back());  // the test first, as a reader meets it
        files_.pop_back();
        fs::path manifestFile = dir_ / "imsmanifest.xml";
        std::ofstream(manifestFile, std::ios::binary) << manifest.str();
    }
    ~GeneratedTest() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    GeneratedTest(const GeneratedTest&) = delete;
    GeneratedTest& operator=(const GeneratedTest&) = delete;

    const fs::path& dir() const { return dir_; }
    std::string testFile() const { return (dir_ / "test.xml").string(); }
    const std::vector<std::string>& files() const { return files_; }  // the test and its items
    std::int64_t bytes() const { return bytes_; }

private:
    void write(const std::string& name, const std::string& text) {
        const fs::path file = dir_ / name;
        std::ofstream(file, std::ios::binary) << text;
        files_.push_back(file.string());
        bytes_ += static_cast<std::int64_t>(text.size());
    }

    fs::path dir_;
    std::vector<std::string> files_;
    std::int64_t bytes_ = 0;
};

const GeneratedTest& generated() {
    static const GeneratedTest test;
    return test;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void finish(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kItems);
    state.SetBytesProcessed(state.iterations() * generated().bytes());
}

// Baseline: the 151 files' bytes, read as the reader reads them, without parsing.
void BM_ReadBytesOnly(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& f : generated().files()) benchmark::DoNotOptimize(readBytes(f));
    finish(state);
}

// Baseline: the same bytes through QXmlStreamReader, every token visited, nothing kept.
void BM_XmlStreamPassOnly(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t elements = 0;
        for (const std::string& f : generated().files()) {
            QXmlStreamReader r(QByteArray::fromStdString(readBytes(f)));
            while (!r.atEnd())
                if (r.readNext() == QXmlStreamReader::StartElement) ++elements;
            if (r.hasError()) state.SkipWithError("generated file is not well-formed");
        }
        benchmark::DoNotOptimize(elements);
    }
    finish(state);
}

void checkLoaded(benchmark::State& state, const talvik::qti::Test& test) {
    const auto items = test.items();
    if (items.size() != static_cast<std::size_t>(kItems)) state.SkipWithError("not all items were loaded");
    for (const talvik::qti::Item* item : items)
        if (!item->delivered) state.SkipWithError(("item not delivered: " + item->reason).c_str());
}

// The reader: the test file, then each item read into what the exam screen shows.
void BM_LoadTest(benchmark::State& state) {
    for (auto _ : state) {
        const talvik::qti::Test test = talvik::qti::loadTest(generated().testFile());
        benchmark::DoNotOptimize(test.sections.data());
        state.PauseTiming();
        checkLoaded(state, test);
        state.ResumeTiming();
    }
    finish(state);
}

// The same test opened as a content package: the manifest is read first.
void BM_LoadPackage(benchmark::State& state) {
    for (auto _ : state) {
        const talvik::qti::Test test = talvik::qti::loadTest(generated().dir().string());
        benchmark::DoNotOptimize(test.sections.data());
        state.PauseTiming();
        checkLoaded(state, test);
        state.ResumeTiming();
    }
    finish(state);
}

BENCHMARK(BM_ReadBytesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlStreamPassOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPackage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
