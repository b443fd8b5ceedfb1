// Reads QTI 2.1, 2.2 and 3.0 content: one item file, a folder of item files or a test.
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

// path: an assessmentItem file, a folder of item files (read in file-name order) or an
// assessmentTest file. Throws QtiError when the path itself cannot be read.
Test loadTest(const std::string& path);

// One JSON object per item, as `talvik-exam --list` prints it.
std::string listLine(const Item& item);

}  // namespace talvik::qti
