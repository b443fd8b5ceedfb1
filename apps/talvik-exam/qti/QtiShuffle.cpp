#include "qti/QtiShuffle.h"

#include <numeric>
#include <random>
#include <utility>

namespace talvik::qti {

std::vector<std::size_t> choiceOrder(const Item& item, std::uint32_t seed) {
    std::vector<std::size_t> order(item.choices.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (!item.shuffle) return order;
    std::vector<std::size_t> movable;
    for (std::size_t i = 0; i < item.choices.size(); ++i)
        if (!item.choices[i].fixed) movable.push_back(i);
    // Fisher-Yates written out rather than std::shuffle, whose draws differ between
    // standard libraries: a saved seed must give the same order on every build.
    std::mt19937 rng(seed);
    std::vector<std::size_t> picked = movable;
    for (std::size_t i = picked.size(); i > 1; --i) {
        const std::uint32_t bound = static_cast<std::uint32_t>(i);
        const std::uint32_t limit = std::uint32_t(0xFFFFFFFFu) - std::uint32_t(0xFFFFFFFFu) % bound;
        std::uint32_t r = 0;
        do r = static_cast<std::uint32_t>(rng());
        while (r >= limit);
        std::swap(picked[i - 1], picked[r % bound]);
    }
    for (std::size_t k = 0; k < movable.size(); ++k) order[movable[k]] = picked[k];
    return order;
}

}  // namespace talvik::qti
