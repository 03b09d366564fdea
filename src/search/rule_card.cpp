#include "search/rule_card.h"

#include <array>
#include <bit>

#include "rules/auction.h"
#include "rules/play_state.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

constexpr int Points(int kind) { return StandardCardPoints(kind); }

// The kind of a mask that scores least (fewest points, then the lowest rank,
// then a plain suit before trump), or most.
int Least(KindMask mask, int trump) {
    int best = -1;
    auto key = [&](int kind) { return Points(kind) * 100 + (SuitOfKind(kind) == trump ? 50 : 0) - RankOfKind(kind); };
    for (KindMask m = mask; m != 0; m &= m - 1) {
        const int kind = std::countr_zero(m);
        if (best < 0 || key(kind) < key(best)) best = kind;
    }
    return best;
}
int Most(KindMask mask) {
    int best = -1;
    for (KindMask m = mask; m != 0; m &= m - 1) {
        const int kind = std::countr_zero(m);
        if (best < 0 || Points(kind) > Points(best) || (Points(kind) == Points(best) && kind < best)) best = kind;
    }
    return best;
}
// The highest kind of a mask within one suit: the lowest bit.
int Highest(KindMask mask) { return std::countr_zero(mask); }

// The cards a hand holds of a suit, from a table of its twelve count bits:
// a search asks at every lead it has not seen before.
constexpr std::array<std::uint8_t, 4096> kSuitLengths = [] {
    std::array<std::uint8_t, 4096> lengths{};
    for (std::uint32_t bits = 0; bits < 4096; ++bits)
        for (int rank = 0; rank < 6; ++rank)
            lengths[bits] = static_cast<std::uint8_t>(lengths[bits] + ((bits >> (2 * rank)) & 3));
    return lengths;
}();
int SuitLength(HandCounts hand, int suit) { return kSuitLengths[(hand >> (12 * suit)) & 0xFFF]; }
int SuitLength(const KindCounts& hand, int suit) {
    int cards = 0;
    for (int rank = 0; rank < 6; ++rank) cards += hand[static_cast<std::size_t>(KindOf(suit, rank))];
    return cards;
}

template <class Hand>
int RuleCardOf(const BasicRuleInput<Hand>& in) {
    const KindMask legal = in.legal;
    if ((legal & (legal - 1)) == 0) return std::countr_zero(legal);
    const KindMask out = HeldKinds(in.others);
    const KindMask trumps = in.trump >= 0 ? SuitMask(in.trump) : 0;
    // Partners: South-North and East-West; at a table of three the two
    // against the declarer.
    const int seats = in.rules->form.seats == 3 ? 3 : 4;
    const auto sideOf = [&](int seat) { return seats == 3 ? (seat == in.declarer ? 0 : 1) : SideOf(seat); };
    const int side = sideOf(in.seat);

    if (in.trick.empty()) {
        // The declarer pulls trump while it holds at least as many as are out.
        const KindMask myTrumps = legal & trumps;
        const int trumpsOut = in.trump >= 0 ? SuitLength(in.others, in.trump) : 0;
        const int trumpsHeld = in.trump >= 0 ? SuitLength(in.own, in.trump) : 0;
        if (in.seat == in.declarer && myTrumps != 0 && trumpsOut > 0 && trumpsHeld >= trumpsOut)
            return Highest(myTrumps);
        // Cash a sure winner outside trump: nothing out beats it in its suit.
        KindMask sure = 0;
        for (KindMask m = legal & ~trumps; m != 0; m &= m - 1)
            if ((Above(std::countr_zero(m)) & out) == 0) sure |= KindFlag(std::countr_zero(m));
        if (sure != 0) return Most(sure);
        // Else lead low from the longest plain suit.
        int longest = -1;
        int length = 0;
        for (int suit = 0; suit < 4; ++suit) {
            if (suit == in.trump || (legal & SuitMask(suit)) == 0) continue;
            const int cards = SuitLength(in.own, suit);
            if (cards > length) length = cards, longest = suit;
        }
        return Least(longest >= 0 ? legal & SuitMask(longest) : legal, in.trump);
    }

    // Following: who is winning, and which of our cards would take it over.
    std::array<int, 4> trick{};
    const auto size = in.trick.size();
    for (std::size_t i = 0; i < size; ++i) trick[i] = in.trick[i];
    const int best = TrickWinner(in.trick, in.trump, in.rules->tricks);
    const int leader = (in.seat - static_cast<int>(size) + seats) % seats;
    const bool partnerWinning = sideOf((leader + best) % seats) == side;
    KindMask winners = 0;
    for (KindMask m = legal; m != 0; m &= m - 1) {
        trick[size] = std::countr_zero(m);
        if (TrickWinner(std::span<const int>(trick.data(), size + 1), in.trump, in.rules->tricks) ==
            static_cast<int>(size))
            winners |= KindFlag(trick[size]);
    }
    const bool last = static_cast<int>(size) == seats - 1;
    if (partnerWinning) {
        // Partner's card holds when we are last, or when nothing out can beat
        // it in its suit and, outside trump, no trump is out to cut it.
        const int card = in.trick[static_cast<std::size_t>(best)];
        const bool holds = last || ((Above(card) & out) == 0 && (SuitOfKind(card) == in.trump || (out & trumps) == 0));
        if (holds) return Most(legal);
    }
    if (winners != 0) {
        // The cheapest card that wins: the lowest of the suit led, else the lowest trump.
        const KindMask plain = winners & ~trumps;
        const KindMask pick = plain != 0 ? plain : winners;
        int lowest = std::countr_zero(pick);
        for (KindMask m = pick; m != 0; m &= m - 1) lowest = std::countr_zero(m);  // the highest bit: the lowest rank
        return lowest;
    }
    return Least(legal, in.trump);
}

template <class Hand>
int RuleCardIn(const BasicPlayState<Hand>& state, int declarer) {
    const int seat = state.ToPlay();
    Hand others{};
    for (int s = 0; s < 4; ++s)
        if (s != seat) others = Plus(others, state.Hands()[static_cast<std::size_t>(s)]);
    return RuleCardOf(BasicRuleInput<Hand>{state.Hands()[static_cast<std::size_t>(seat)], others, state.Trick(), seat,
                                           state.Trump(), declarer, state.Legal(), &state.Rules()});
}

}  // namespace

int RuleCard(const RuleInput& input) { return RuleCardOf(input); }
int RuleCard(const FormRuleInput& input) { return RuleCardOf(input); }
int RuleCard(const PlayState& state, int declarer) { return RuleCardIn(state, declarer); }
int RuleCard(const FormPlayState& state, int declarer) { return RuleCardIn(state, declarer); }

}  // namespace vantrel
