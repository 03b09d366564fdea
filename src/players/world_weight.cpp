#include "players/world_weight.h"

#include <vector>

#include "rules/trick_rules.h"

namespace vantrel {

double WorldWeight(const SeatView& view, const std::array<HandCounts, 4>& hands) {
    const RuleSet& rules = view.Rules();
    const int trump = view.Trump();
    const std::vector<int>& plays = view.Plays();
    // The counters: cards that carry points worth giving or keeping back.
    KindMask counters = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        if (SuitOfKind(kind) != trump && CardPointsOf(rules, kind) >= 10) counters |= KindFlag(kind);
    // Who played each card, and so each hand as it was dealt in this
    // world: what it holds now and what it played. The view starts at the
    // first lead, so card i is at place i % 4 of its trick.
    std::vector<int> seats(plays.size());
    std::array<HandCounts, 4> held = hands;
    int leader = view.Declarer();
    for (std::size_t i = 0; i < plays.size(); ++i) {
        seats[i] = (leader + static_cast<int>(i % 4)) & 3;
        held[static_cast<std::size_t>(seats[i])] += KindBit(plays[i]);
        if (i % 4 == 3)
            leader = (leader + TrickWinner(std::span<const int>(&plays[i - 3], 4), trump, rules.tricks)) & 3;
    }
    // The same walk again, now judging each card against its hand.
    double weight = 1;
    for (std::size_t i = 0; i < plays.size(); ++i) {
        const int kind = plays[i];
        const int seat = seats[i];
        HandCounts& hand = held[static_cast<std::size_t>(seat)];
        const std::span<const int> before(&plays[i - i % 4], i % 4);
        if (seat != view.Seat()) {
            const KindMask legal = LegalPlays(hand, before, trump, rules.play);
            if ((legal & KindFlag(kind)) == 0) return 0;
            if (i % 4 == 3) {
                // At the fourth place the side that takes the trick is known
                // once the card is chosen: a seat feeds its partner's trick
                // and starves the other side's.
                const int trickLeader = seats[i - 3];
                const bool ours = SideOf((trickLeader + TrickWinner(before, trump, rules.tricks)) & 3) == SideOf(seat);
                const std::span<const int> whole(&plays[i - 3], 4);
                const bool takes = SideOf((trickLeader + TrickWinner(whole, trump, rules.tricks)) & 3) == SideOf(seat);
                const bool gave = (counters & KindFlag(kind)) != 0;
                if (ours && !gave && (legal & counters) != 0) weight *= kAgainstHabit;
                if (!ours && !takes && gave && (legal & ~counters) != 0) weight *= kAgainstHabit;
            }
        }
        hand -= KindBit(kind);
    }
    return weight;
}

}  // namespace vantrel
