#pragma once

#include <array>
#include <cstdint>

#include "table/random_source.h"

namespace vantrel {

inline constexpr int kShuffleExchanges = 5000;

/// A table position 1..48 from a draw 0 <= r < 1: the whole part of
/// 48 * r + 1. The product is formed in double precision, where it is exact.
constexpr int PositionFromDraw(float r) { return static_cast<int>(48.0 * static_cast<double>(r)) + 1; }

/// The same position from the 24-bit integer k of a draw r = k * 2^-24:
/// 48 * k / 2^24 is exact, so its whole part is (48 * k) >> 24.
constexpr int PositionFromDrawBits(std::uint32_t k) { return static_cast<int>((k * 48u) >> 24) + 1; }

/// Where each card of a shuffle comes from: element p is the position,
/// before the shuffle, of the card that ends at position p (1..48).
using Arrangement = std::array<std::uint8_t, 49>;

/// The shuffle's exchanges: 5000 times, draw a position a, then b, and
/// exchange what lies there (nothing changes when a equals b).
Arrangement ShuffleArrangement(RandomSource& random);

}  // namespace vantrel
