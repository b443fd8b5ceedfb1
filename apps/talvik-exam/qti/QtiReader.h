// Reads QTI 2.1, 2.2 and 3.0 content: one item file, a folder of item files, a test or a
// content package.
#pragma once

#include <stdexcept>
#include <string>

#include "qti/QtiItem.h"

namespace talvik::qti {

// A file that cannot be read at all; the message names the file and, for XML, the line.
struct QtiError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An item that cannot be read is returned not delivered, with the reason; only a
// failure of the top-level file or folder throws.
Item readItemFile(const std::string& path);
Item readItemText(const std::string& xml, const std::string& path);

// path: an assessmentItem file, a folder of item files (read in file-name order), an
// assessmentTest file, or a content package: its imsmanifest.xml or the folder holding it
// (the test the manifest lists, else its items in the manifest's order). Throws QtiError
// when the path itself, a package's manifest or its test cannot be read, and for a .zip
// package, which has to be unzipped first.
Test loadTest(const std::string& path);

// One JSON object per item, as `talvik-exam --list` prints it.
std::string listLine(const Item& item);

}  // namespace talvik::qti
