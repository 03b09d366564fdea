#include "rules/designed_meld.h"

#include "rules/design_codes.h"
#include "rules/meld_values.h"
#include "rules/seats.h"
#include "rules/suit_facts.h"

namespace vantrel {

namespace {

constexpr int kQueenOfSpades = 304;
constexpr int kJackOfDiamonds = 405;
constexpr int kQueenOfSpadesKind = KindOfCode(kQueenOfSpades);
constexpr int kJackOfDiamondsKind = KindOfCode(kJackOfDiamonds);

constexpr int SuitOfCode(int code) { return code / 100; }
constexpr int RankOfCode(int code) { return code % 100; }

// The marriage value of one suit read off its sum of King and Queen codes:
// one King and Queen (K+Q), King-King-Queen or King-Queen-Queen give 20, two
// of each 40. A run's own King and Queen have been taken off beforehand.
constexpr int MarriageValue(int suit, int sum) {
    const int king = 100 * suit + 3;
    const int queen = 100 * suit + 4;
    if (sum == king + queen || sum == 2 * king + queen || sum == king + 2 * queen) return meld_values::kMarriage;
    if (sum == 2 * (king + queen)) return meld_values::kRoyalMarriage;
    return 0;
}

constexpr int PinochleValue(int sum) {
    constexpr int q = kQueenOfSpades;
    constexpr int j = kJackOfDiamonds;
    if (sum == q + j || sum == q + 2 * j || sum == 2 * q + j) return meld_values::kPinochle;
    if (sum == 2 * (q + j)) return meld_values::kDesignedDoublePinochle;
    return 0;
}

}  // namespace

MeldCount CountMeld(const CardRec* hand, std::string_view t) {
    MeldCount meld;
    // held[suit][rank]: whether the hand holds that card at least once.
    std::array<std::array<bool, 7>, 5> held{};
    for (int i = 0; i < 12; ++i) {
        const int code = hand[i].Code;
        if (SuitOfCode(code) >= 1 && SuitOfCode(code) <= 4 && RankOfCode(code) >= 1 && RankOfCode(code) <= 6)
            held[static_cast<std::size_t>(SuitOfCode(code))][static_cast<std::size_t>(RankOfCode(code))] = true;
    }
    auto holds = [&](int suit, int rank) {
        return held[static_cast<std::size_t>(suit)][static_cast<std::size_t>(rank)];
    };

    const std::array<bool*, 4> fours{&meld.aces, &meld.kings, &meld.queens, &meld.jacks};
    for (std::size_t k = 0; k < fours.size(); ++k) {
        const int rank = meld_values::kAroundRanks[k] + 1;
        if (!(holds(1, rank) && holds(2, rank) && holds(3, rank) && holds(4, rank))) continue;
        meld.total += meld_values::kAround[k];
        *fours[k] = true;
    }

    std::array<int, 5> marriageSum{};
    for (int suit = 1; suit <= 4; ++suit) {
        const bool run = holds(suit, 1) && holds(suit, 2) && holds(suit, 3) && holds(suit, 4) && holds(suit, 5);
        if (!run) continue;
        meld.total += meld_values::kRun;
        meld.runs[static_cast<std::size_t>(suit - 1)] = true;
        marriageSum[static_cast<std::size_t>(suit)] = -(200 * suit + 7);
        meld.noRun = false;
    }

    // Once the hand has a run anywhere, the King and Queen of trump are left
    // out of the marriages; a text that names no suit skips nothing.
    for (int i = 0; i < 12; ++i) {
        if (hand[i].Suit == t && !meld.noRun) continue;
        const int code = hand[i].Code;
        if ((RankOfCode(code) == 3 || RankOfCode(code) == 4) && SuitOfCode(code) >= 1 && SuitOfCode(code) <= 4)
            marriageSum[static_cast<std::size_t>(SuitOfCode(code))] += code;
    }
    for (int suit = 1; suit <= 4; ++suit) {
        int value = MarriageValue(suit, marriageSum[static_cast<std::size_t>(suit)]);
        if (kSuitLetters[static_cast<std::size_t>(suit - 1)] == t) value *= 2;
        meld.marriages[static_cast<std::size_t>(suit - 1)] = value;
        meld.total += value;
    }

    int pinochleSum = 0;
    for (int i = 0; i < 12; ++i)
        if (hand[i].Code == kQueenOfSpades || hand[i].Code == kJackOfDiamonds) pinochleSum += hand[i].Code;
    meld.pinochle = PinochleValue(pinochleSum);
    meld.total += meld.pinochle;
    return meld;
}

DesignedMeld::DesignedMeld(HandCounts hand) {
    std::array<const SuitFacts*, 4> suit{};
    int around = 15;  // the ranks held in every suit so far
    bool anyRun = false;
    int marriages = 0;
    for (std::size_t s = 0; s < 4; ++s) {
        suit[s] = &FactsOf(hand, static_cast<int>(s));
        around &= suit[s]->held;
        anyRun = anyRun || suit[s]->Runs() > 0;
        base_ += suit[s]->Runs() > 0 ? meld_values::kRun : 0;
        marriages += suit[s]->designedMarriage;
    }
    for (std::size_t r = 0; r < 4; ++r) base_ += (around >> r & 1) != 0 ? meld_values::kAround[r] : 0;
    const int queens = CountOf(hand, kQueenOfSpadesKind);
    const int jacks = CountOf(hand, kJackOfDiamondsKind);
    base_ += queens == 2 && jacks == 2 ? meld_values::kDesignedDoublePinochle
                                       : (queens > 0 && jacks > 0 ? meld_values::kPinochle : 0);
    base_ += marriages;
    // In trump a marriage counts double; once the hand holds a run anywhere,
    // the trump King and Queen stay out of the marriages altogether.
    for (std::size_t s = 0; s < 4; ++s) {
        const int marriage = suit[s]->designedMarriage;
        withTrump_[s] = base_ - marriage + (anyRun ? 0 : 2 * marriage) + meld_values::kNineOfTrump * suit[s]->Nines();
    }
}

}  // namespace vantrel
