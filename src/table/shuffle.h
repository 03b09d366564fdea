#pragma once

#include <array>
#include <cstdint>

#include "table/random_source.h"

namespace vantrel {

inline constexpr int kShuffleExchanges = 5000;

/// A table position 1..48 from a draw 0 <= r < 1: the whole part of
/// 48 * r + 1. The product is formed in double precision, where it is exact.
constexpr int PositionFromDraw(float r) { return static_cast<int>(48.0 * static_cast<double>(r)) + 1; }

/// Where each card of a shuffle comes from: element p is the position,
/// before the shuffle, of the card that ends at position p (1..48).
using Arrangement = std::array<std::uint8_t, 49>;

/// The shuffle's exchanges: 5000 times, draw a position a, then b, and
/// exchange what lies there (nothing changes when a equals b).
Arrangement ShuffleArrangement(RandomSource& random);

}  // namespace vantrel
