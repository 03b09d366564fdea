#include "table/random_source.h"

#include <chrono>

namespace vantrel {

namespace {

std::uint64_t SplitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

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
