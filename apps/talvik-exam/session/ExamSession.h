// One candidate's sitting of a test: what they answered and flagged, where they are, the
// order their choices are shown in and how much time they have used. The screen changes
// it; the session file saves and restores it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "qti/QtiItem.h"

namespace talvik::exam {

// The saved part of an item: everything a resumed session must show again.
struct ItemState {
    std::string identifier;                 // the item's identifier, to match a reloaded test
    std::vector<std::uint32_t> order;       // indexes into the item's choices, in display order
    std::vector<std::string> response;      // chosen choice identifiers, in display order
    bool flagged = false;
};

struct SessionState {
    std::string testPath;           // what was loaded, as given on the command line
    std::string testIdentifier;
    std::string candidate;
    std::string className;
    std::uint32_t seed = 0;         // the choice orders come from it and are saved as well
    std::int32_t current = 0;       // index into items
    std::int64_t timeLimitMs = 0;   // 0: no limit
    std::int64_t extraTimeMs = 0;   // granted to this candidate on top of the limit
    std::int64_t elapsedMs = 0;     // time used so far
    bool handedIn = false;
    std::int64_t handedInAtMs = 0;  // milliseconds since the epoch (UTC)
    std::uint64_t revision = 0;     // counts every change; a save carries the revision it holds
    std::vector<ItemState> items;   // one per delivered item, in test order
};

// The delivered items of a test with the candidate's state. Every change bumps the
// revision and calls the change handler once, after the state has changed.
class ExamSession {
public:
    // A new sitting: the delivered items of `test`, choice orders drawn from `seed`.
    ExamSession(qti::Test test, std::uint32_t seed);
    // A resumed sitting. Items of `saved` are matched to the test by identifier; an item
    // missing from the save starts unanswered with its order drawn from the saved seed,
    // and a saved order that does not fit the item's choices is drawn again.
    ExamSession(qti::Test test, SessionState saved);

    const qti::Test& test() const { return test_; }
    const SessionState& state() const { return state_; }
    std::int32_t itemCount() const { return static_cast<std::int32_t>(items_.size()); }
    const qti::Item& item(std::int32_t index) const { return *items_.at(static_cast<std::size_t>(index)); }
    const ItemState& itemState(std::int32_t index) const { return state_.items.at(static_cast<std::size_t>(index)); }
    // The item's choice shown at display position `position`.
    const qti::Choice& choiceAt(std::int32_t index, std::int32_t position) const;
    // Is the choice at display position `position` part of the response?
    bool isChosen(std::int32_t index, std::int32_t position) const;
    bool isAnswered(std::int32_t index) const { return !itemState(index).response.empty(); }
    std::int32_t answeredCount() const;
    std::int32_t flaggedCount() const;

    // Changes. Out-of-range indexes and changes after hand-in are ignored (return false);
    // a change that leaves the state as it was returns false and bumps nothing.
    // Toggles a choice; on an item with maxChoices 1 choosing replaces the response, and
    // choosing past maxChoices (when not 0) is refused.
    bool toggleChoice(std::int32_t index, std::int32_t position);
    // The chosen display positions replace the response (limited to maxChoices, in order).
    bool setChosen(std::int32_t index, const std::vector<std::int32_t>& positions);
    bool clearResponse(std::int32_t index);
    bool setFlagged(std::int32_t index, bool flagged);
    bool goTo(std::int32_t index);
    // Time used; does not count as a change for the revision unless `asChange`.
    void setElapsed(std::int64_t elapsedMs, bool asChange = false);
    void setTimeLimit(std::int64_t limitMs, std::int64_t extraMs);
    void setCandidate(std::string candidate, std::string className);
    // Where the test was loaded from, for a report written later from the saved session.
    void setTestPath(std::string path);
    bool handIn(std::int64_t nowEpochMs);

    std::int64_t remainingMs() const;  // limit + extra - elapsed, never below 0; -1 without a limit

    void onChange(std::function<void()> handler) { onChange_ = std::move(handler); }

private:
    void changed();

    qti::Test test_;
    std::vector<const qti::Item*> items_;  // the delivered items of test_, in order
    SessionState state_;
    std::function<void()> onChange_;
};

}  // namespace talvik::exam
