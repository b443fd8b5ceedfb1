#include "session/ExamSession.h"

#include <algorithm>
#include <utility>

#include "qti/QtiShuffle.h"

namespace talvik::exam {

namespace {

// FNV-1a: std::hash differs between standard libraries, and an order must be drawn alike everywhere.
std::uint32_t stableHash(const std::string& text) {
    std::uint32_t h = 2166136261u;
    for (const char c : text) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

std::vector<std::uint32_t> drawOrder(const qti::Item& item, std::uint32_t seed, std::size_t position) {
    // Each item gets its own draw, so that adding an item to a test does not reorder the others' choices.
    const std::uint32_t itemSeed = seed ^ stableHash(item.identifier) ^
                                   static_cast<std::uint32_t>(position * 0x9E3779B9u);
    std::vector<std::uint32_t> order;
    for (const std::size_t i : qti::choiceOrder(item, itemSeed)) order.push_back(static_cast<std::uint32_t>(i));
    return order;
}

bool fits(const std::vector<std::uint32_t>& order, std::size_t choices) {
    if (order.size() != choices) return false;
    std::vector<bool> seen(choices, false);
    for (const std::uint32_t i : order) {
        if (i >= choices || seen[i]) return false;
        seen[i] = true;
    }
    return true;
}

}  // namespace

ExamSession::ExamSession(qti::Test test, std::uint32_t seed) : test_(std::move(test)) {
    state_.seed = seed;
    state_.testIdentifier = test_.identifier;
    if (test_.maxTimeSeconds) state_.timeLimitMs = static_cast<std::int64_t>(*test_.maxTimeSeconds * 1000.0);
    for (const qti::Item* item : test_.items())
        if (item->delivered) items_.push_back(item);
    for (std::size_t k = 0; k < items_.size(); ++k)
        state_.items.push_back(ItemState{items_[k]->identifier, drawOrder(*items_[k], seed, k), {}, false});
}

ExamSession::ExamSession(qti::Test test, SessionState saved) : ExamSession(std::move(test), saved.seed) {
    std::vector<ItemState> fresh = std::move(state_.items);
    std::vector<ItemState> savedItems = std::move(saved.items);
    state_ = std::move(saved);
    state_.items = std::move(fresh);
    for (std::size_t k = 0; k < items_.size(); ++k) {
        const auto found = std::find_if(savedItems.begin(), savedItems.end(),
                                        [&](const ItemState& s) { return s.identifier == items_[k]->identifier; });
        if (found == savedItems.end()) continue;
        ItemState& into = state_.items[k];
        if (fits(found->order, items_[k]->choices.size())) into.order = found->order;
        into.flagged = found->flagged;
        // Only responses that name a choice of the item survive, in display order.
        for (const std::uint32_t i : into.order) {
            const std::string& id = items_[k]->choices[i].identifier;
            if (std::find(found->response.begin(), found->response.end(), id) != found->response.end())
                into.response.push_back(id);
        }
    }
    state_.current = std::clamp<std::int32_t>(state_.current, 0, std::max<std::int32_t>(0, itemCount() - 1));
}

const qti::Choice& ExamSession::choiceAt(std::int32_t index, std::int32_t position) const {
    return item(index).choices.at(itemState(index).order.at(static_cast<std::size_t>(position)));
}

bool ExamSession::isChosen(std::int32_t index, std::int32_t position) const {
    const std::vector<std::string>& response = itemState(index).response;
    return std::find(response.begin(), response.end(), choiceAt(index, position).identifier) != response.end();
}

std::int32_t ExamSession::answeredCount() const {
    return static_cast<std::int32_t>(
        std::count_if(state_.items.begin(), state_.items.end(), [](const ItemState& s) { return !s.response.empty(); }));
}

std::int32_t ExamSession::flaggedCount() const {
    return static_cast<std::int32_t>(
        std::count_if(state_.items.begin(), state_.items.end(), [](const ItemState& s) { return s.flagged; }));
}

bool ExamSession::toggleChoice(std::int32_t index, std::int32_t position) {
    if (state_.handedIn || index < 0 || index >= itemCount()) return false;
    const std::int32_t count = static_cast<std::int32_t>(itemState(index).order.size());
    if (position < 0 || position >= count) return false;
    std::vector<std::int32_t> chosen;
    for (std::int32_t p = 0; p < count; ++p)
        if (isChosen(index, p) != (p == position)) chosen.push_back(p);
    const int max = item(index).maxChoices;
    if (max == 1 && !isChosen(index, position)) chosen = {position};
    else if (max > 0 && static_cast<int>(chosen.size()) > max) return false;
    return setChosen(index, chosen);
}

bool ExamSession::setChosen(std::int32_t index, const std::vector<std::int32_t>& positions) {
    if (state_.handedIn || index < 0 || index >= itemCount()) return false;
    ItemState& s = state_.items[static_cast<std::size_t>(index)];
    const int max = item(index).maxChoices;
    std::vector<std::string> response;
    for (std::int32_t p = 0; p < static_cast<std::int32_t>(s.order.size()); ++p) {
        if (std::find(positions.begin(), positions.end(), p) == positions.end()) continue;
        if (max > 0 && static_cast<int>(response.size()) >= max) break;
        response.push_back(choiceAt(index, p).identifier);
    }
    if (response == s.response) return false;
    s.response = std::move(response);
    changed();
    return true;
}

bool ExamSession::clearResponse(std::int32_t index) { return setChosen(index, {}); }

bool ExamSession::setFlagged(std::int32_t index, bool flagged) {
    if (state_.handedIn || index < 0 || index >= itemCount()) return false;
    ItemState& s = state_.items[static_cast<std::size_t>(index)];
    if (s.flagged == flagged) return false;
    s.flagged = flagged;
    changed();
    return true;
}

bool ExamSession::goTo(std::int32_t index) {
    if (state_.handedIn || index < 0 || index >= itemCount() || index == state_.current) return false;
    state_.current = index;
    changed();
    return true;
}

void ExamSession::setElapsed(std::int64_t elapsedMs, bool asChange) {
    if (state_.handedIn || elapsedMs == state_.elapsedMs) return;
    state_.elapsedMs = std::max<std::int64_t>(0, elapsedMs);
    if (asChange) changed();
}

void ExamSession::setTimeLimit(std::int64_t limitMs, std::int64_t extraMs) {
    if (limitMs == state_.timeLimitMs && extraMs == state_.extraTimeMs) return;
    state_.timeLimitMs = std::max<std::int64_t>(0, limitMs);
    state_.extraTimeMs = std::max<std::int64_t>(0, extraMs);
    changed();
}

void ExamSession::setCandidate(std::string candidate, std::string className) {
    if (candidate == state_.candidate && className == state_.className) return;
    state_.candidate = std::move(candidate);
    state_.className = std::move(className);
    changed();
}

void ExamSession::setTestPath(std::string path) {
    if (path == state_.testPath) return;
    state_.testPath = std::move(path);
    changed();
}

bool ExamSession::handIn(std::int64_t nowEpochMs) {
    if (state_.handedIn) return false;
    state_.handedIn = true;
    state_.handedInAtMs = nowEpochMs;
    changed();
    return true;
}

std::int64_t ExamSession::remainingMs() const {
    if (state_.timeLimitMs <= 0) return -1;
    return std::max<std::int64_t>(0, state_.timeLimitMs + state_.extraTimeMs - state_.elapsedMs);
}

void ExamSession::changed() {
    ++state_.revision;
    // A copy, so that a handler that replaces the handler does not destroy the one running.
    if (const std::function<void()> handler = onChange_) handler();
}

}  // namespace talvik::exam
