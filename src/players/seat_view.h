#pragma once

#include <array>
#include <span>
#include <vector>

#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/rule_set.h"
#include "rules/trick_ledger.h"

namespace vantrel {

/// The game as one seat sees it, and all a computer player is given: its own
/// cards, every card played and by whom, the meld shown on the table, the
/// cards passed, the bidding, and what the rules reveal. A seat that did not
/// follow suit is void in it; one that did not trump when void holds no
/// trump; one that did not head the trick or over-trump holds nothing above
/// the card to beat. A view of the 48-card deck keeps hands as hand counts
/// (SeatView), one of any form's deck as a count a kind (FormSeatView).
template <class HandType>
class BasicSeatView {
public:
    BasicSeatView(const RuleSet& rules, int seat, HandType hand, int trump, int declarer);

    /// The cards each seat laid down as meld: they are in that hand.
    void Shown(int seat, const HandType& cards);
    /// Cards this seat gave its partner after trump was named: they are in the
    /// partner's hand, but for those of a kind the partner passed back
    /// (`returned`), which may be the very cards given. (Cards received are
    /// simply in this seat's hand.)
    void Gave(const HandType& cards, const HandType& returned = HandType{});
    /// How many cards a seat held as the play began (or holds now, while
    /// cards are passed); a whole hand of the form unless said.
    void Holding(int seat, int cards) { held_[static_cast<std::size_t>(seat & 3)] = cards; }
    /// The three-handed game: cards this seat, the bidder, laid away. They are
    /// out of play, and it alone knows them.
    void LaidAway(const HandType& cards) { aside_ = Plus(aside_, cards); }
    /// The three-handed game, the view of an opponent of the bidder: the
    /// widow was shown before the bidder took it, so each of its cards is in
    /// the bidder's hand or among the cards laid away, which are the widow's
    /// number and none of the kinds `neverAway` (trump, unless the rules
    /// allow it). The cards laid away take the fourth hand's place.
    void WidowShown(const HandType& widow, int bidder, KindMask neverAway);
    /// The widow's cards not yet seen played: with the bidder or laid away.
    [[nodiscard]] const HandType& WidowLeft() const { return widowLeft_; }
    [[nodiscard]] int WidowHolder() const { return widowHolder_; }
    /// The bidding, for reading partner's jumps.
    void Bidding(std::vector<Auction::Call> calls) { calls_ = std::move(calls); }
    /// A card played by the seat to play.
    void Observe(int kind);

    [[nodiscard]] int Seat() const { return seat_; }
    [[nodiscard]] int Declarer() const { return declarer_; }
    [[nodiscard]] int Trump() const { return trump_; }
    [[nodiscard]] const RuleSet& Rules() const { return rules_; }
    [[nodiscard]] const HandType& Hand() const { return hand_; }
    [[nodiscard]] int ToPlay() const { return ledger_.ToPlay(); }
    [[nodiscard]] int Leader() const { return ledger_.Leader(); }
    [[nodiscard]] std::span<const int> Trick() const { return ledger_.Trick(); }
    [[nodiscard]] const std::array<int, 2>& Points() const { return ledger_.Points(); }
    /// The side of a seat, as Points counts them.
    [[nodiscard]] int SideOfSeat(int seat) const { return ledger_.SideOfSeat(seat); }
    [[nodiscard]] int Seats() const { return ledger_.Seats(); }
    [[nodiscard]] const std::array<int, 2>& Tricks() const { return ledger_.Tricks(); }
    [[nodiscard]] int CardsPlayed() const { return ledger_.Played(); }
    [[nodiscard]] const std::vector<Auction::Call>& Calls() const { return calls_; }
    /// Every card played in the hand so far, in order; the declarer led the first.
    [[nodiscard]] const std::vector<int>& Plays() const { return plays_; }
    /// Cards still in a seat's hand.
    [[nodiscard]] int CardsLeft(int seat) const;
    /// The cards no longer in this seat's hand and not yet played: where
    /// the other three hands come from.
    [[nodiscard]] HandType Unseen() const;
    /// Cards known to be in another seat's hand (shown or passed, not played).
    [[nodiscard]] const HandType& KnownIn(int seat) const { return known_[static_cast<std::size_t>(seat & 3)]; }
    /// Kinds a seat cannot hold, from what it played.
    [[nodiscard]] KindMask Excluded(int seat) const { return excluded_[static_cast<std::size_t>(seat & 3)]; }

private:
    RuleSet rules_;
    int seat_;
    int trump_;
    int declarer_;
    HandType hand_;
    HandType playedAll_{};
    TrickLedger ledger_;
    std::array<int, 4> held_{};
    std::array<int, 4> playedBy_{};
    std::array<HandType, 4> known_{};
    std::array<KindMask, 4> excluded_{};
    std::vector<Auction::Call> calls_;
    std::vector<int> plays_;
    HandType aside_{};      // laid away by this seat: out of play, known
    HandType widowLeft_{};  // the widow's cards with the bidder or laid away
    int widowHolder_ = -1;
};

using SeatView = BasicSeatView<HandCounts>;
using FormSeatView = BasicSeatView<KindCounts>;
extern template class BasicSeatView<HandCounts>;
extern template class BasicSeatView<KindCounts>;

}  // namespace vantrel
