// The session file: a candidate's SessionState as bytes and back. A first line names the
// format, its version, the length of the content and its SHA-256, so that a file cut
// short or with a single changed bit is always recognised and never half-read.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "session/ExamSession.h"

namespace talvik::exam {

// The message names the file and what is wrong with it.
struct SessionFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kSessionFormatVersion = 1;

std::string serializeSession(const SessionState& state);

// `path` only names the file in messages.
SessionState parseSession(std::string_view bytes, const std::string& path);

// Checks the first line and the checksum only, without reading the content.
void checkSessionIntegrity(std::string_view bytes, const std::string& path);

}  // namespace talvik::exam
