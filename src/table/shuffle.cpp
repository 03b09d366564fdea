#include "table/shuffle.h"

#include <algorithm>

#include "rules/seats.h"

namespace vantrel {

Arrangement ShuffleArrangement(RandomSource& random) {
    Arrangement from{};
    for (int p = 0; p <= kTablePositions; ++p) from[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
    for (int i = 0; i < kShuffleExchanges; ++i) {
        const auto [drawA, drawB] = random.NextDrawPair();
        const auto a = static_cast<std::size_t>(PositionFromDrawBits(drawA));
        const auto b = static_cast<std::size_t>(PositionFromDrawBits(drawB));
        std::swap(from[a], from[b]);
    }
    return from;
}

}  // namespace vantrel
