// Shared by the session tests and the programs the kill-and-resume loops kill: a small
// test built in code, a seeded stream of a candidate's changes, a readable account of how
// two session states differ, digests of a session, the lines the killed programs write,
// and an environment variable set for one test.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "qti/QtiItem.h"
#include "session/ExamSession.h"
#include "session/SessionFile.h"

namespace talvik::exam::testing {

// Sets (or, given nullptr, unsets) an environment variable until it goes; TZ takes effect.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void set(const char* value) {
        value ? ::setenv(name_, value, 1) : ::unsetenv(name_);
        ::tzset();
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

inline constexpr std::uint32_t kKillSessionSeed = 77;

// Twelve items with three to five choices, one or several answers, some shuffled.
inline qti::Test killLoopTest() {
    qti::Test test;
    test.identifier = "kill-loop";
    test.title = "Kill loop";
    qti::Section section;
    for (int k = 0; k < 12; ++k) {
        qti::Item item;
        item.identifier = "q" + std::to_string(k + 1);
        item.title = "Question " + std::to_string(k + 1);
        item.delivered = true;
        item.maxChoices = k % 3 == 0 ? 0 : (k % 3 == 1 ? 1 : 2);
        item.shuffle = k % 2 == 0;
        for (int c = 0; c < 3 + k % 3; ++c)
            item.choices.push_back(qti::Choice{"c" + std::to_string(c), "choice", c == 2 && k % 4 == 0});
        item.correctResponse = {"c0"};
        section.items.push_back(std::move(item));
    }
    test.sections.push_back(std::move(section));
    return test;
}

// One change a candidate might make, drawn from `rng`. Draws are made one per statement:
// the order in which a call's arguments are evaluated is not fixed.
inline void randomChange(ExamSession& session, std::mt19937& rng) {
    static const char* const kNames[] = {"Mari Maasikas", "Tõnu Põder", "Ülle Õun", "Zoë 🙂"};
    const std::int32_t index = static_cast<std::int32_t>(rng() % static_cast<std::uint32_t>(session.itemCount()));
    const std::uint32_t kind = rng() % 16;
    if (kind < 8) {
        const std::int32_t choices = static_cast<std::int32_t>(session.itemState(index).order.size());
        const std::int32_t position = static_cast<std::int32_t>(rng() % static_cast<std::uint32_t>(choices));
        session.toggleChoice(index, position);
    } else if (kind < 10) {
        const bool flag = rng() % 2 == 0;
        session.setFlagged(index, flag);
    } else if (kind < 13) {
        session.goTo(index);
    } else if (kind == 13) {
        session.clearResponse(index);
    } else if (kind == 14) {
        const std::int64_t step = static_cast<std::int64_t>(rng() % 5000);
        session.setElapsed(session.state().elapsedMs + step, true);
    } else {
        const std::uint32_t name = rng() % 4;
        session.setCandidate(kNames[name], name % 2 ? "9B" : "10A");
    }
}

// Empty when equal, else the first fields that differ.
inline std::string stateDifference(const SessionState& a, const SessionState& b) {
    std::ostringstream out;
    auto check = [&](const char* name, const auto& x, const auto& y) {
        if (!(x == y)) out << name << " differs; ";
    };
    check("testPath", a.testPath, b.testPath);
    check("testIdentifier", a.testIdentifier, b.testIdentifier);
    check("candidate", a.candidate, b.candidate);
    check("className", a.className, b.className);
    check("seed", a.seed, b.seed);
    check("current", a.current, b.current);
    check("timeLimitMs", a.timeLimitMs, b.timeLimitMs);
    check("extraTimeMs", a.extraTimeMs, b.extraTimeMs);
    check("elapsedMs", a.elapsedMs, b.elapsedMs);
    check("handedIn", a.handedIn, b.handedIn);
    check("handedInAtMs", a.handedInAtMs, b.handedInAtMs);
    if (a.revision != b.revision) out << "revision " << a.revision << " vs " << b.revision << "; ";
    if (a.items.size() != b.items.size()) {
        out << "item count " << a.items.size() << " vs " << b.items.size() << "; ";
        return out.str();
    }
    for (std::size_t k = 0; k < a.items.size(); ++k) {
        const ItemState& x = a.items[k];
        const ItemState& y = b.items[k];
        if (x.identifier != y.identifier || x.order != y.order || x.response != y.response || x.flagged != y.flagged)
            out << "item " << k + 1 << " differs; ";
    }
    return out.str();
}

// The responses, flags, current question and choice orders of a session as one number
// (not the time used, which moves on its own).
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

// Every field of a session as one number.
inline std::uint64_t stateDigest(const SessionState& state) {
    return std::hash<std::string>{}(serializeSession(state));
}

// A line of a kill loop's child, in one write: the saver's thread writes lines too.
inline void say(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
}

// "start" or "change", the revision and the digest.
inline void sayState(const char* what, const SessionState& state, std::uint64_t (*digest)(const SessionState&)) {
    say(std::string(what) + ' ' + std::to_string(state.revision) + ' ' + std::to_string(digest(state)));
}

}  // namespace talvik::exam::testing
