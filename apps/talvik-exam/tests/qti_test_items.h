// Items written for the QTI reader's tests, in the three versions the reader accepts.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace talvik::qti::testing {

inline const char* const kCapital21 = R"(<?xml version="1.0" encoding="UTF-8"?>
<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p1" identifier="capital"
    title="Capital of Estonia" adaptive="false" timeDependent="false">
  <responseDeclaration identifier="RESPONSE" cardinality="single" baseType="identifier">
    <correctResponse><value>B</value></correctResponse>
  </responseDeclaration>
  <itemBody>
    <p>Read the <em>map</em> first.</p>
    <choiceInteraction responseIdentifier="RESPONSE" shuffle="false" maxChoices="1">
      <prompt>Which city is the capital?</prompt>
      <simpleChoice identifier="A">Tartu</simpleChoice>
      <simpleChoice identifier="B">Tallinn</simpleChoice>
      <simpleChoice identifier="C">Narva</simpleChoice>
    </choiceInteraction>
  </itemBody>
</assessmentItem>
)";

inline const char* const kPrimes30 = R"(<?xml version="1.0" encoding="UTF-8"?>
<qti-assessment-item xmlns="http://www.imsglobal.org/xsd/imsqtiasi_v3p0" identifier="primes"
    title="Prime numbers" adaptive="false" time-dependent="false">
  <qti-response-declaration identifier="RESPONSE" cardinality="multiple" base-type="identifier">
    <qti-correct-response><qti-value>P2</qti-value><qti-value>P3</qti-value></qti-correct-response>
    <qti-mapping default-value="-1">
      <qti-map-entry map-key="P2" mapped-value="0.5"/>
      <qti-map-entry map-key="P3" mapped-value="0.5"/>
    </qti-mapping>
  </qti-response-declaration>
  <qti-item-body>
    <qti-choice-interaction response-identifier="RESPONSE" shuffle="true" max-choices="0" min-choices="1">
      <qti-prompt>Select <strong>every</strong> prime.</qti-prompt>
      <qti-simple-choice identifier="P2">2</qti-simple-choice>
      <qti-simple-choice identifier="P3">3</qti-simple-choice>
      <qti-simple-choice identifier="N4">4</qti-simple-choice>
      <qti-simple-choice identifier="NONE" fixed="true">None of these</qti-simple-choice>
    </qti-choice-interaction>
  </qti-item-body>
</qti-assessment-item>
)";

inline const char* const kName22 = R"(<?xml version="1.0" encoding="UTF-8"?>
<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p2" identifier="name" title="Your name">
  <responseDeclaration identifier="RESPONSE" cardinality="single" baseType="string"/>
  <itemBody>
    <p>Write your name: <textEntryInteraction responseIdentifier="RESPONSE" expectedLength="20"/></p>
  </itemBody>
</assessmentItem>
)";

// Line 5 closes itemBody while the paragraph opened on line 4 is still open.
inline const char* const kMalformed = R"(<?xml version="1.0" encoding="UTF-8"?>
<assessmentItem xmlns="http://www.imsglobal.org/xsd/imsqti_v2p1" identifier="bad" title="Bad">
  <itemBody>
    <p>Unclosed paragraph
  </itemBody>
</assessmentItem>
)";

// A folder of files that removes itself.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("talvik-qti-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace talvik::qti::testing
