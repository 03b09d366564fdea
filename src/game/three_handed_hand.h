#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "players/seat_view.h"
#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/hand_score.h"
#include "rules/play_state.h"
#include "rules/rule_set.h"
#include "rules/unseen_deck.h"

namespace vantrel {

/// Where a hand of the three-handed game stands.
enum class ThreePhase {
    Auction,   // from the dealer's left, a pass final
    Widow,     // won: the widow lies face up for all to see until the bidder takes it
    Trump,     // the bidder names trump
    LayAway,   // the bidder lays away three cards face down
    Decide,    // the bidder may concede before the first lead, or leads
    Play,      // the bidder alone against the two others
    Scored,    // played out or conceded
    PassedOut  // all passed, nobody stuck: the next dealer deals again
};

/// One hand of three-handed auction pinochle with a widow, as the rule set
/// says (RuleSet::ThreeHanded and its fields): the auction, the widow shown
/// and taken, trump, the cards laid away, the concession, the play of the
/// bidder alone against the two others, and the score. Seats are 0..2, the
/// dealer's left calling first. Each move returns empty when taken, else
/// why not, the hand then unchanged. The auction and the tricks are the
/// shared ones, with three seats.
class ThreeHandedHand {
public:
    ThreeHandedHand(const RuleSet& rules, const FormDeal& deal, int dealer);

    std::string Bid(int seat, int amount);
    std::string Pass(int seat);
    /// The bidder takes the widow into its hand.
    std::string TakeWidow(int seat);
    std::string NameTrump(int seat, int suit);
    /// Three cards of the bidder's: no card its meld needs (what it keeps
    /// melds as much as it showed), and no trump unless the rules allow it;
    /// a hand that cannot, as LayAwayFreedomOf says.
    std::string LayAway(int seat, const KindCounts& cards);
    /// The bidder gives up before the first lead.
    std::string Concede(int seat);
    /// A card of the seat to play; the bidder's first lead ends its choice to concede.
    std::string PlayCard(int seat, int kind);

    [[nodiscard]] ThreePhase Phase() const { return phase_; }
    [[nodiscard]] const RuleSet& Rules() const { return rules_; }
    /// The seat to move: to call, to take the widow, name trump, lay away,
    /// decide or play; -1 once the hand is over.
    [[nodiscard]] int ToAct() const;
    [[nodiscard]] int Dealer() const { return dealer_; }
    [[nodiscard]] int Bidder() const { return auction_.HighBidder(); }
    [[nodiscard]] const Auction& CurrentAuction() const { return auction_; }
    [[nodiscard]] int Trump() const { return trump_; }
    [[nodiscard]] const KindCounts& HandOf(int seat) const { return hands_[static_cast<std::size_t>(seat % 3)]; }
    /// The widow, seen by all once the auction is won; empty before.
    [[nodiscard]] KindCounts ShownWidow() const;
    /// The cards laid away: the bidder's alone to know.
    [[nodiscard]] const KindCounts& LaidAway() const { return laidAway_; }
    /// Each seat's meld for the trump as it counts in this game (the
    /// bidder's alone where only the bidder melds), once trump is named.
    [[nodiscard]] const std::array<int, 3>& Meld() const { return meld_; }
    [[nodiscard]] const FormPlayState& Play() const { return play_; }
    /// Card points each seat took, the bidder's cards laid away counted for it.
    [[nodiscard]] const std::array<int, 3>& CardPoints() const { return cardPoints_; }
    [[nodiscard]] const std::array<int, 3>& Tricks() const { return tricks_; }
    /// Every card played, in order.
    [[nodiscard]] const std::vector<int>& Plays() const { return plays_; }
    /// What `seat` knows of the play: its hand as the play began, the
    /// bidding, every card played; the bidder the cards it laid away; an
    /// opponent the widow shown, now with the bidder or laid away.
    [[nodiscard]] FormSeatView ViewOf(int seat) const;
    /// The hand's score once scored.
    [[nodiscard]] const ThreeHandScore& Score() const { return score_; }
    /// The three hands as the play began, the widow taken and the cards laid away.
    [[nodiscard]] const std::array<KindCounts, 3>& StartHands() const { return startHands_; }

    friend bool operator==(const ThreeHandedHand&, const ThreeHandedHand&) = default;

private:
    std::string Refusal(int seat, ThreePhase phase) const;
    void AfterCall();
    void Finish(bool conceded);

    RuleSet rules_;
    int dealer_;
    ThreePhase phase_ = ThreePhase::Auction;
    Auction auction_;
    std::array<KindCounts, 3> hands_{};
    std::array<KindCounts, 3> startHands_{};  // as the play began
    KindCounts widow_{};
    KindCounts laidAway_{};
    int trump_ = -1;
    std::array<int, 3> meld_{};
    FormPlayState play_;
    std::array<int, 3> cardPoints_{};
    std::array<int, 3> tricks_{};
    std::vector<int> plays_;
    ThreeHandScore score_;
};

/// The deal of a three-handed hand: number `number` of the seed.
FormDeal ThreeHandedDeal(const RuleSet& rules, std::uint64_t seed, int number);

}  // namespace vantrel
