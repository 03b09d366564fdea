#include "analysis/fast_meld.h"

namespace vantrel {

namespace {

// One suit of a hand, read off its twelve bits: A 10 K Q J 9 two bits each.
struct SuitFacts {
    std::uint8_t marriage = 0;  // the marriage value outside trump, a run's own K and Q taken off
    std::uint8_t run = 0;       // A 10 K Q J all held
    std::uint8_t fours = 0;     // bit per rank held for four of a kind: A 1, K 2, Q 4, J 8
    std::uint8_t nines = 0;
};

// A King-Queen pair counts 20, three of the four cards 20 too, all four 40;
// a run keeps one King and one Queen for itself.
constexpr int MarriageValue(int kings, int queens) {
    if (kings == 2 && queens == 2) return 40;
    if (kings >= 1 && queens >= 1) return 20;
    return 0;
}

constexpr std::array<SuitFacts, 4096> BuildSuitTable() {
    std::array<SuitFacts, 4096> table{};
    for (int bits = 0; bits < 4096; ++bits) {
        const std::array<int, 6> n = RankCounts(bits);
        SuitFacts& facts = table[static_cast<std::size_t>(bits)];
        const bool run = n[0] > 0 && n[1] > 0 && n[2] > 0 && n[3] > 0 && n[4] > 0;
        facts.run = run ? 1 : 0;
        facts.marriage = static_cast<std::uint8_t>(run ? MarriageValue(n[2] - 1, n[3] - 1) : MarriageValue(n[2], n[3]));
        facts.fours = static_cast<std::uint8_t>((n[0] > 0 ? 1 : 0) | (n[2] > 0 ? 2 : 0) | (n[3] > 0 ? 4 : 0) |
                                                (n[4] > 0 ? 8 : 0));
        facts.nines = static_cast<std::uint8_t>(n[5]);
    }
    return table;
}

constexpr std::array<SuitFacts, 4096> kSuitTable = BuildSuitTable();

// Four of a kind by the ranks held in all four suits: Aces 100, Kings 80,
// Queens 60, Jacks 40, a second set adding nothing.
constexpr std::array<int, 16> BuildFoursTable() {
    std::array<int, 16> table{};
    for (int mask = 0; mask < 16; ++mask)
        table[static_cast<std::size_t>(mask)] =
            ((mask & 1) ? 100 : 0) + ((mask & 2) ? 80 : 0) + ((mask & 4) ? 60 : 0) + ((mask & 8) ? 40 : 0);
    return table;
}
constexpr std::array<int, 16> kFoursTable = BuildFoursTable();

constexpr int kQueenOfSpades = KindOfCode(304);
constexpr int kJackOfDiamonds = KindOfCode(405);

}  // namespace

HandCounts CountsOfHand(const CardRec* hand) {
    HandCounts counts = 0;
    for (int i = 0; i < 12; ++i) {
        const int code = hand[i].Code;
        if (code / 100 >= 1 && code / 100 <= 4 && code % 100 >= 1 && code % 100 <= 6)
            counts += KindBit(KindOfCode(code));
    }
    return counts;
}

FastMeld::FastMeld(HandCounts hand) {
    std::array<const SuitFacts*, 4> suit{};
    int fours = 15;
    bool anyRun = false;
    int marriages = 0;
    for (std::size_t s = 0; s < 4; ++s) {
        suit[s] = &kSuitTable[static_cast<std::size_t>((hand >> (12 * s)) & 0xFFFu)];
        fours &= suit[s]->fours;
        anyRun = anyRun || suit[s]->run != 0;
        base_ += suit[s]->run != 0 ? 150 : 0;
        marriages += suit[s]->marriage;
    }
    const int queens = CountOf(hand, kQueenOfSpades);
    const int jacks = CountOf(hand, kJackOfDiamonds);
    const int pinochle = queens == 2 && jacks == 2 ? 80 : (queens > 0 && jacks > 0 ? 40 : 0);
    base_ += kFoursTable[static_cast<std::size_t>(fours)] + pinochle + marriages;
    // In trump a marriage counts double; once the hand holds a run anywhere,
    // the trump King and Queen stay out of the marriages altogether.
    for (std::size_t s = 0; s < 4; ++s) {
        const int marriage = suit[s]->marriage;
        withTrump_[s] = base_ - marriage + (anyRun ? 0 : 2 * marriage) + 10 * suit[s]->nines;
    }
}

}  // namespace vantrel
