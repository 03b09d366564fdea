#include "players/seat_view.h"

#include "rules/trick_rules.h"

namespace vantrel {

SeatView::SeatView(const RuleSet& rules, int seat, HandCounts hand, int trump, int declarer)
    : rules_(rules),
      seat_(seat & 3),
      trump_(trump),
      declarer_(declarer & 3),
      hand_(hand),
      ledger_(rules, trump, declarer) {}

void SeatView::Shown(int seat, HandCounts cards) {
    if ((seat & 3) != seat_) known_[static_cast<std::size_t>(seat & 3)] = cards;
}

void SeatView::Gave(HandCounts cards, HandCounts returned) {
    HandCounts& partner = known_[static_cast<std::size_t>(PartnerSeat(seat_))];
    for (int kind = 0; kind < kCardKinds; ++kind) {
        // A card of a kind that came back may be the one given.
        const int kept = CountOf(cards, kind) - CountOf(returned, kind);
        if (kept > CountOf(partner, kind))
            partner += static_cast<HandCounts>(kept - CountOf(partner, kind)) * KindBit(kind);
    }
}

int SeatView::CardsLeft(int seat) const {
    const auto s = static_cast<std::size_t>(seat & 3);
    return held_[s] - playedBy_[s];
}

HandCounts SeatView::Unseen() const {
    HandCounts unseen = 0;
    for (int kind = 0; kind < kCardKinds; ++kind) {
        const int out = 2 - CountOf(hand_, kind) - CountOf(playedAll_, kind);
        if (out > 0) unseen += static_cast<HandCounts>(out) * KindBit(kind);
    }
    return unseen;
}

void SeatView::Observe(int kind) {
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
        if (CountOf(hand_, kind) > 0) hand_ -= KindBit(kind);
    } else if (CountOf(known_[s], kind) > 0) {
        known_[s] -= KindBit(kind);
    }
    playedAll_ += KindBit(kind);
    ++playedBy_[s];
    plays_.push_back(kind);
    ledger_.Add(kind);
}

}  // namespace vantrel
