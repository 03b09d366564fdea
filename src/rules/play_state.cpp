#include "rules/play_state.h"

#include <algorithm>
#include <type_traits>

#include "rules/auction.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

// What the rules of play read of a hand: the kinds it holds. A hand of the
// 80-card deck says so in the 48-card deck's counts, each kept to two.
HandCounts HeldAsCounts(HandCounts hand) { return hand; }
HandCounts HeldAsCounts(const KindCounts& hand) {
    HandCounts counts = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        counts += static_cast<HandCounts>(std::min<int>(hand[static_cast<std::size_t>(kind)], 2)) * KindBit(kind);
    return counts;
}

}  // namespace

template <class Hand>
BasicPlayState<Hand>::BasicPlayState(const RuleSet& rules, const std::array<Hand, 4>& hands, int trump, int leader)
    : rules_(rules), hands_(hands), ledger_(rules, trump, leader) {}

template <class Hand>
BasicPlayState<Hand>::BasicPlayState(const RuleSet& rules, const std::array<Hand, 4>& hands, int trump, int leader,
                                     const std::array<int, 2>& points, const std::array<int, 2>& tricks, int alone)
    : rules_(rules), hands_(hands), ledger_(rules, trump, leader, points, tricks, alone) {}

template <class Hand>
KindMask BasicPlayState<Hand>::Legal() const {
    if (Over()) return 0;
    if constexpr (std::is_same_v<Hand, HandCounts>)
        return LegalPlays(hands_[static_cast<std::size_t>(ToPlay())], Trick(), Trump(), rules_.play);
    else
        return LegalPlaysFromHeld(HeldKinds(hands_[static_cast<std::size_t>(ToPlay())]), StateOf(Trick(), Trump()),
                                  Trump(), rules_.play);
}

template <class Hand>
std::string BasicPlayState<Hand>::Play(int kind) {
    if (Over()) return "The hand is over.";
    const int seat = ToPlay();
    std::string why = WhyNotLegal(HeldAsCounts(hands_[static_cast<std::size_t>(seat)]), Trick(), kind, Trump(),
                                  rules_.play, SeatName(seat, rules_.form.seats));
    if (why.empty()) Make(kind);
    return why;
}

template class BasicPlayState<HandCounts>;
template class BasicPlayState<KindCounts>;

}  // namespace vantrel
