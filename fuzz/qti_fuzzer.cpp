// The QTI reader on arbitrary text: as an item, and as a test file whose references
// reach two item files beside it. Whatever the text, an item comes back (delivered
// or with the reason it is not) and a test either loads or fails with QtiError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/Scratch.h"
#include "qti/QtiReader.h"

namespace fs = std::filesystem;
using namespace talvik::qti;

namespace {

const fs::path& scratch() { return talvik::fuzz::scratch("qti"); }

constexpr const char* kItem = R"(<?xml version="1.0" encoding="UTF-8"?>
<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p1" identifier="a" title="A">
  <responseDeclaration identifier="RESPONSE" cardinality="single" baseType="identifier">
    <correctResponse><value>B</value></correctResponse>
  </responseDeclaration>
  <itemBody><choiceInteraction responseIdentifier="RESPONSE" maxChoices="1">
    <prompt>Pick</prompt><simpleChoice identifier="A">x</simpleChoice><simpleChoice identifier="B">y</simpleChoice>
  </choiceInteraction></itemBody>
</assessmentItem>
)";

// A test may name any file; the fuzzer keeps to files, never devices of the machine
// (an entity could spell a path too).
bool mayFollow(const std::string& text) {
    for (const char* word : {"dev", "proc", "sys", "&"})
        if (text.find(word) != std::string::npos) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fs::create_directories(scratch() / "items");
    std::ofstream(scratch() / "a.xml") << kItem;
    std::ofstream(scratch() / "items" / "b.xml") << kItem;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Item item = readItemText(text, (scratch() / "item.xml").string());
    if (item.delivered != item.reason.empty()) __builtin_trap();
    listLine(item);

    if (!mayFollow(text)) return 0;
    const fs::path file = scratch() / "test.xml";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    try {
        const Test test = loadTest(file.string());
        for (const Item* i : test.items()) listLine(*i);
    } catch (const QtiError&) {
    }
    return 0;
}
