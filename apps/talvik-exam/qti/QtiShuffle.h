// The order a candidate sees an item's choices in, reproducible from a seed saved with
// the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "qti/QtiItem.h"

namespace talvik::qti {

// Indexes into item.choices in display order. Without shuffle, the authored order; with
// it, fixed choices stay where they are and the others are permuted by std::mt19937(seed).
std::vector<std::size_t> choiceOrder(const Item& item, std::uint32_t seed);

}  // namespace talvik::qti
