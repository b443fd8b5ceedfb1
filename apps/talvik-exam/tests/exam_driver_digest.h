// What a candidate's change leaves behind, as one number: the responses, flags, current
// question and choice orders of a session (not the time used, which moves on its own).
// The driver logs it for each revision; the kill test compares it with what was saved.
#pragma once

#include <cstdint>
#include <string>

#include "session/ExamSession.h"

namespace talvik::exam::testing {

inline std::uint64_t answerDigest(const SessionState& state) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    const auto add = [&h](const std::string& bytes) {
        for (const unsigned char c : bytes) {
            h ^= c;
            h *= 1099511628211ull;
        }
        h ^= 0xff;  // a separator, so that "ab","c" and "a","bc" differ
        h *= 1099511628211ull;
    };
    add(std::to_string(state.current));
    for (const ItemState& item : state.items) {
        add(item.identifier);
        add(item.flagged ? "F" : "-");
        std::string order;
        for (const std::uint32_t o : item.order) order += std::to_string(o) + ',';
        add(order);
        for (const std::string& r : item.response) add(r);
        add("|");
    }
    return h;
}

}  // namespace talvik::exam::testing
