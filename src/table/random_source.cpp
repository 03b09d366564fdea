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
    random_ = Random(key, 0);
}

float RandomSource::NextSingle() {
    // The high 24 bits of each half of an output, the high half first.
    return static_cast<float>(random_.Next32() >> 8) * kTwoToMinus24;
}

}  // namespace vantrel
