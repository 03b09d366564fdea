#include "players/seat_view.h"

#include "rules/trick_rules.h"

namespace vantrel {

template <class HandType>
BasicSeatView<HandType>::BasicSeatView(const RuleSet& rules, int seat, HandType hand, int trump, int declarer)
    : rules_(rules),
      seat_(seat & 3),
      trump_(trump),
      declarer_(declarer & 3),
      hand_(hand),
      ledger_(rules, trump, declarer) {
    held_.fill(rules.form.handCards);
    // Three seats: the fourth place holds nothing unless cards were laid away unseen.
    if (rules.form.seats == 3) held_[3] = 0;
}

template <class HandType>
void BasicSeatView<HandType>::WidowShown(const HandType& widow, int bidder, KindMask neverAway) {
    widowLeft_ = widow;
    widowHolder_ = bidder & 3;
    held_[3] = rules_.form.widow;
    excluded_[3] = neverAway;
}

template <class HandType>
void BasicSeatView<HandType>::Shown(int seat, const HandType& cards) {
    if ((seat & 3) != seat_) known_[static_cast<std::size_t>(seat & 3)] = cards;
}

template <class HandType>
void BasicSeatView<HandType>::Gave(const HandType& cards, const HandType& returned) {
    HandType& partner = known_[static_cast<std::size_t>(PartnerSeat(seat_))];
    for (int kind = 0; kind < kCardKinds; ++kind) {
        // A card of a kind that came back may be the one given.
        const int kept = CountIn(cards, kind) - CountIn(returned, kind);
        if (kept > CountIn(partner, kind)) AddCards(partner, kind, kept - CountIn(partner, kind));
    }
}

template <class HandType>
int BasicSeatView<HandType>::CardsLeft(int seat) const {
    const auto s = static_cast<std::size_t>(seat & 3);
    return held_[s] - playedBy_[s];
}

template <class HandType>
HandType BasicSeatView<HandType>::Unseen() const {
    HandType unseen{};
    for (int kind = 0; kind < kCardKinds; ++kind) {
        if (!rules_.form.nines && RankOfKind(kind) == 5) continue;
        const int out = rules_.form.copies - CountIn(hand_, kind) - CountIn(playedAll_, kind) - CountIn(aside_, kind);
        if (out > 0) AddCards(unseen, kind, out);
    }
    return unseen;
}

template <class HandType>
void BasicSeatView<HandType>::Observe(int kind) {
    const int seat = ToPlay();
    const auto s = static_cast<std::size_t>(seat);
    // What the card tells of the hand it came from, by the rules of play.
    if (!Trick().empty() && seat != seat_) {
        const auto [led, bestLed, bestTrump] = StateOf(Trick(), trump_);
        const int suit = SuitOfKind(kind);
        const PlayRules& play = rules_.play;
        if (suit == led) {
            if (play.headTrick && bestTrump < 0 && RankOfKind(kind) >= RankOfKind(bestLed))
                excluded_[s] |= Above(bestLed);
        } else {
            if (play.followSuit) excluded_[s] |= SuitMask(led);
            if (suit != trump_ && play.trumpWhenVoid && trump_ >= 0 && play.followSuit)
                excluded_[s] |= SuitMask(trump_);
            if (suit == trump_ && play.overTrump && play.followSuit && bestTrump >= 0 &&
                RankOfKind(kind) >= RankOfKind(bestTrump))
                excluded_[s] |= Above(bestTrump);
        }
    }
    if (seat == seat_) {
        if (CountIn(hand_, kind) > 0) TakeCards(hand_, kind);
    } else if (CountIn(known_[s], kind) > 0) {
        TakeCards(known_[s], kind);
    }
    if (seat == widowHolder_ && CountIn(widowLeft_, kind) > 0) TakeCards(widowLeft_, kind);
    AddCards(playedAll_, kind);
    ++playedBy_[s];
    plays_.push_back(kind);
    ledger_.Add(kind);
}

template class BasicSeatView<HandCounts>;
template class BasicSeatView<KindCounts>;

}  // namespace vantrel
