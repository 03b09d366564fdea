#include "rules/suit_facts.h"

#include <algorithm>

#include "rules/meld_values.h"

namespace vantrel {

namespace {

constexpr int DesignedMarriageValue(int kings, int queens) {
    if (kings == 2 && queens == 2) return meld_values::kRoyalMarriage;
    if (kings >= 1 && queens >= 1) return meld_values::kMarriage;
    return 0;
}

constexpr std::array<SuitFacts, 4096> BuildSuitFacts() {
    std::array<SuitFacts, 4096> table{};
    for (int bits = 0; bits < 4096; ++bits) {
        const std::array<int, 6> n = RankCounts(bits);
        SuitFacts& facts = table[static_cast<std::size_t>(bits)];
        const int runs = std::min({n[0], n[1], n[2], n[3], n[4], 2});
        facts.counts = static_cast<std::uint8_t>(runs | std::min(n[2], n[3]) << 2 | n[5] << 4);
        for (std::size_t r = 0; r < 4; ++r) {
            const int copies = n[static_cast<std::size_t>(meld_values::kAroundRanks[r])];
            facts.around = static_cast<std::uint8_t>(facts.around | copies << (2 * r));
            facts.held = static_cast<std::uint8_t>(facts.held | (copies > 0 ? 1 : 0) << r);
        }
        facts.designedMarriage = static_cast<std::uint8_t>(runs > 0 ? DesignedMarriageValue(n[2] - 1, n[3] - 1)
                                                                    : DesignedMarriageValue(n[2], n[3]));
    }
    return table;
}

}  // namespace

constinit const std::array<SuitFacts, 4096> kSuitFacts = BuildSuitFacts();

}  // namespace vantrel
