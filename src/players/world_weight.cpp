#include "players/world_weight.h"

#include <bit>
#include <vector>

#include "rules/trick_rules.h"

namespace vantrel {

namespace {

// A card that carries points worth giving or keeping back.
bool Counter(const RuleSet& rules, int kind, int trump) {
    return SuitOfKind(kind) != trump && CardPointsOf(rules, kind) >= 10;
}

}  // namespace

double WorldWeight(const SeatView& view, const std::array<HandCounts, 4>& hands) {
    const RuleSet& rules = view.Rules();
    const int trump = view.Trump();
    const std::vector<int>& plays = view.Plays();
    // Who played each card, and so each hand as it was dealt in this
    // world: what it holds now and what it played.
    std::vector<int> seats(plays.size());
    std::array<HandCounts, 4> held = hands;
    std::array<int, 4> trick{};
    int leader = view.Declarer();
    int placed = 0;
    for (std::size_t i = 0; i < plays.size(); ++i) {
        seats[i] = (leader + placed) & 3;
        held[static_cast<std::size_t>(seats[i])] += KindBit(plays[i]);
        trick[static_cast<std::size_t>(placed)] = plays[i];
        if (++placed == 4) {
            leader = (leader + TrickWinner(trick, trump, rules.tricks)) & 3;
            placed = 0;
        }
    }
    // The same walk again, now judging each card against its hand.
    double weight = 1;
    leader = view.Declarer();
    placed = 0;
    for (std::size_t i = 0; i < plays.size(); ++i) {
        const int kind = plays[i];
        const int seat = seats[i];
        HandCounts& hand = held[static_cast<std::size_t>(seat)];
        const std::span<const int> before(trick.data(), static_cast<std::size_t>(placed));
        if (seat != view.Seat()) {
            const KindMask legal = LegalPlays(hand, before, trump, rules.play);
            if ((legal & KindFlag(kind)) == 0) return 0;
            if (placed == 3) {
                const bool ours = SideOf((leader + TrickWinner(before, trump, rules.tricks)) & 3) == SideOf(seat);
                KindMask counters = 0;
                for (KindMask m = legal; m != 0; m &= m - 1)
                    if (Counter(rules, std::countr_zero(m), trump)) counters |= KindFlag(std::countr_zero(m));
                const bool gave = Counter(rules, kind, trump);
                // At the fourth place the side that takes the trick is known
                // once the card is chosen: a seat feeds its partner's trick
                // and starves the other side's.
                std::array<int, 4> whole = trick;
                whole[3] = kind;
                const bool takes = SideOf((leader + TrickWinner(whole, trump, rules.tricks)) & 3) == SideOf(seat);
                if (ours && !gave && counters != 0) weight *= kAgainstHabit;
                if (!ours && !takes && gave && (legal & ~counters) != 0) weight *= kAgainstHabit;
            }
        }
        hand -= KindBit(kind);
        trick[static_cast<std::size_t>(placed)] = kind;
        if (++placed == 4) {
            leader = (leader + TrickWinner(trick, trump, rules.tricks)) & 3;
            placed = 0;
        }
    }
    return weight;
}

}  // namespace vantrel
