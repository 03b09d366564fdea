#include "game/three_handed_hand.h"

#include <algorithm>

#include "base/random.h"
#include "rules/lay_away.h"
#include "rules/meld_rules.h"
#include "rules/trick_ledger.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

std::string SeatWord(int seat) { return SeatName(seat, 3); }

const char* PhaseWords(ThreePhase phase) {
    switch (phase) {
        case ThreePhase::Auction:
            return "the auction";
        case ThreePhase::Widow:
            return "taking the widow";
        case ThreePhase::Trump:
            return "naming trump";
        case ThreePhase::LayAway:
            return "laying away";
        case ThreePhase::Decide:
            return "the bidder's choice to play or concede";
        case ThreePhase::Play:
            return "the play";
        case ThreePhase::Scored:
            return "the score of the hand";
        case ThreePhase::PassedOut:
            return "a hand passed out";
    }
    return "";
}

std::array<KindCounts, 4> TableHands(const std::array<KindCounts, 3>& hands) {
    return {hands[0], hands[1], hands[2], KindCounts{}};
}

}  // namespace

FormDeal ThreeHandedDeal(const RuleSet& rules, std::uint64_t seed, int number) {
    Random random(seed, static_cast<std::uint64_t>(number));
    return DealOf(rules.form, random);
}

ThreeHandedHand::ThreeHandedHand(const RuleSet& rules, const FormDeal& deal, int dealer)
    : rules_(rules),
      dealer_(((dealer % 3) + 3) % 3),
      auction_(rules, dealer_),
      widow_(deal.widow),
      play_(rules, {}, 0, 0) {
    for (std::size_t seat = 0; seat < 3; ++seat) hands_[seat] = deal.hands[seat];
}

int ThreeHandedHand::ToAct() const {
    switch (phase_) {
        case ThreePhase::Auction:
            return auction_.ToAct();
        case ThreePhase::Widow:
        case ThreePhase::Trump:
        case ThreePhase::LayAway:
        case ThreePhase::Decide:
            return Bidder();
        case ThreePhase::Play:
            return play_.ToPlay();
        default:
            return -1;
    }
}

KindCounts ThreeHandedHand::ShownWidow() const {
    return phase_ == ThreePhase::Auction || phase_ == ThreePhase::PassedOut ? KindCounts{} : widow_;
}

std::string ThreeHandedHand::Refusal(int seat, ThreePhase phase) const {
    if (phase_ != phase && !(phase == ThreePhase::Play && phase_ == ThreePhase::Decide))
        return std::string("Not now: the hand is at ") + PhaseWords(phase_) + ".";
    if (seat != ToAct()) return "It is " + SeatWord(ToAct()) + "'s turn, not " + SeatWord(seat) + "'s.";
    return {};
}

std::string ThreeHandedHand::Bid(int seat, int amount) {
    if (std::string refused = Refusal(seat, ThreePhase::Auction); !refused.empty()) return refused;
    std::string refused = auction_.Bid(seat, amount);
    AfterCall();
    return refused;
}

std::string ThreeHandedHand::Pass(int seat) {
    if (std::string refused = Refusal(seat, ThreePhase::Auction); !refused.empty()) return refused;
    std::string refused = auction_.Pass(seat);
    AfterCall();
    return refused;
}

void ThreeHandedHand::AfterCall() {
    // A bid after the two others have passed ends the auction as a pass does.
    if (auction_.Finished()) phase_ = auction_.PassedOut() ? ThreePhase::PassedOut : ThreePhase::Widow;
}

std::string ThreeHandedHand::TakeWidow(int seat) {
    if (std::string refused = Refusal(seat, ThreePhase::Widow); !refused.empty()) return refused;
    KindCounts& hand = hands_[static_cast<std::size_t>(seat)];
    hand = Plus(hand, widow_);
    phase_ = ThreePhase::Trump;
    return {};
}

std::string ThreeHandedHand::NameTrump(int seat, int suit) {
    if (std::string refused = Refusal(seat, ThreePhase::Trump); !refused.empty()) return refused;
    if (suit < 0 || suit > 3) return "There is no such suit.";
    trump_ = suit;
    // The meld shown now, from the bidder's whole hand, the widow in it.
    for (int s = 0; s < 3; ++s)
        meld_[static_cast<std::size_t>(s)] =
            s == seat || !rules_.bidderMeldsOnly ? MeldOf(rules_, hands_[static_cast<std::size_t>(s)], suit) : 0;
    phase_ = ThreePhase::LayAway;
    return {};
}

std::string ThreeHandedHand::LayAway(int seat, const KindCounts& cards) {
    if (std::string refused = Refusal(seat, ThreePhase::LayAway); !refused.empty()) return refused;
    KindCounts& hand = hands_[static_cast<std::size_t>(seat)];
    const LayAwayFreedom freedom = LayAwayFreedomOf(rules_, hand, trump_);
    if (std::string why = WhyNotLaidAway(rules_, hand, trump_, cards, freedom); !why.empty()) return why;
    const KindCounts kept = Less(hand, cards);
    // A hand that must lay away meld keeps the meld it still holds.
    if (freedom == LayAwayFreedom::AnyCards) meld_[static_cast<std::size_t>(seat)] = MeldOf(rules_, kept, trump_);
    hand = kept;
    laidAway_ = cards;
    startHands_ = hands_;
    play_ = FormPlayState(rules_, TableHands(hands_), trump_, seat);
    phase_ = ThreePhase::Decide;
    return {};
}

std::string ThreeHandedHand::Concede(int seat) {
    if (std::string refused = Refusal(seat, ThreePhase::Decide); !refused.empty()) return refused;
    Finish(true);
    return {};
}

std::string ThreeHandedHand::PlayCard(int seat, int kind) {
    if (std::string refused = Refusal(seat, ThreePhase::Play); !refused.empty()) return refused;
    if (std::string refused = play_.Play(kind); !refused.empty()) return refused;
    phase_ = ThreePhase::Play;
    hands_[static_cast<std::size_t>(seat)] = play_.Hands()[static_cast<std::size_t>(seat)];
    plays_.push_back(kind);
    if (play_.Trick().empty()) {
        // The trick just taken, booked by the shared rule and given to the seat that took it.
        const std::span<const int> trick = play_.Ledger().LastTrick();
        const BookedTrick booked = BookTrick(rules_, trick, trump_, play_.Over());
        const auto winner = static_cast<std::size_t>((play_.Ledger().LastTrickLeader() + booked.winner) % 3);
        cardPoints_[winner] += booked.points;
        ++tricks_[winner];
    }
    if (play_.Over()) Finish(false);
    return {};
}

FormSeatView ThreeHandedHand::ViewOf(int seat) const {
    const int own = ((seat % 3) + 3) % 3;
    const int bidder = Bidder();
    const bool laidAway = phase_ == ThreePhase::Decide || phase_ == ThreePhase::Play || phase_ == ThreePhase::Scored;
    FormSeatView view(rules_, own, laidAway ? startHands_[static_cast<std::size_t>(own)] : HandOf(own), trump_,
                      bidder >= 0 ? bidder : 0);
    if (own == bidder) {
        view.LaidAway(laidAway_);
    } else if (bidder >= 0 && phase_ != ThreePhase::Auction && phase_ != ThreePhase::PassedOut) {
        // The widow was shown to all; what the bidder laid away, only it knows.
        view.WidowShown(widow_, bidder, rules_.layAwayTrump || trump_ < 0 ? KindMask{0} : SuitMask(trump_));
    }
    view.Bidding(auction_.Calls());
    for (const int kind : plays_) view.Observe(kind);
    return view;
}

void ThreeHandedHand::Finish(bool conceded) {
    const int bidder = Bidder();
    ThreeHandTally tally;
    tally.bidder = bidder;
    tally.bid = auction_.HighBid();
    tally.trump = trump_;
    tally.meld = meld_;
    tally.conceded = conceded;
    if (!conceded) {
        // The cards laid away count for the bidder.
        for (int kind = 0; kind < kCardKinds; ++kind)
            cardPoints_[static_cast<std::size_t>(bidder)] +=
                laidAway_[static_cast<std::size_t>(kind)] * CardPointsOf(rules_, kind);
        tally.cardPoints = cardPoints_;
        tally.tricks = tricks_;
    }
    score_ = ScoreThreeHanded(rules_, tally);
    phase_ = ThreePhase::Scored;
}

}  // namespace vantrel
