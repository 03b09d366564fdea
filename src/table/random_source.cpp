#include "table/random_source.h"

#include <chrono>

namespace vantrel {

namespace {

constexpr float kTwoToMinus24 = 1.0f / 16777216.0f;

}  // namespace

std::uint64_t SystemClockNanoseconds() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

void RandomSource::Reseed(std::uint64_t clockReading) {
    std::uint64_t key = clockReading;
    if (seeded_ && key <= lastKey_) key = lastKey_ + 1;
    lastKey_ = key;
    seeded_ = true;
    for (auto& word : state_) word = SplitMix64(key);
    hasSpare_ = false;
}

float RandomSource::NextSingle() {
    if (hasSpare_) {
        hasSpare_ = false;
        return static_cast<float>(spare_ >> 8) * kTwoToMinus24;
    }
    const std::uint64_t bits = Next64();
    spare_ = static_cast<std::uint32_t>(bits);
    hasSpare_ = true;
    return static_cast<float>(bits >> 40) * kTwoToMinus24;
}

}  // namespace vantrel
