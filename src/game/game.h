#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "game/three_handed_hand.h"
#include "players/bidding.h"
#include "players/chance_to_make.h"
#include "players/search_player.h"
#include "players/seat_view.h"
#include "rules/auction.h"
#include "rules/hand_score.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/rule_set.h"

namespace vantrel {

/// Where a hand stands: the auction, the widow face up (where three play),
/// the winner naming trump, partner passing cards to the declarer and the
/// declarer passing back, or the bidder laying away (where three play), the
/// meld on the table (the declarer may throw in, the bidder concede), the
/// play, the hand scored, the game over.
enum class Phase { Auction, Widow, Trump, PassToDeclarer, PassBack, LayAway, Meld, Play, HandScored, GameOver };

/// How a hand went, card by card, as the review reads it: the hands as the
/// play began, the bidding, the meld laid down, the cards passed, and every
/// card played in order (none for a hand thrown in). Hands are counted a
/// kind, so that a record of any form of the game reads alike. Where three
/// play, the widow is dealt in the fourth place, comes to the bidder as
/// cards passed to it, and the cards laid away leave it as cards passed back.
struct HandRecord {
    std::array<KindCounts, 4> dealt{};  // as dealt, before any passing
    std::array<KindCounts, 4> hands{};
    std::vector<Auction::Call> calls;
    std::array<KindCounts, 4> shown{};
    KindCounts passedToDeclarer{};
    KindCounts passedBack{};
    std::vector<int> plays;
    friend bool operator==(const HandRecord&, const HandRecord&) = default;
};

/// A hand's line on the score sheet. Its figures are by side, or by player
/// where three play.
struct SheetLine {
    int dealer = 0;
    int declarer = 0;
    int bid = 0;
    int trump = 0;
    std::array<int, 3> meld{};
    std::array<int, 3> cardPoints{};
    std::array<int, 3> score{};
    std::array<int, 3> totals{};  // the game's running totals after it (unchanged by a practice hand)
    std::string result;
    std::string dealCode;
    bool practice = false;  // a deal played again: it does not count toward the game
    HandRecord record;
    friend bool operator==(const SheetLine&, const SheetLine&) = default;
};

/// A game to the target score: deal, auction, trump, passing, meld, play,
/// score, next deal, until a side has won by the rules' game end. It plays
/// every form of the rule set (the 48-card deck, the 80-card one with its
/// twenty cards a hand, and the three-handed game with a widow, whose hand
/// is the ThreeHandedHand's), holding hands as a count a kind. It is
/// driven by moves from any seat, a user's or a computer's; every move is
/// checked, and one out of turn or against the rules is refused with a
/// reason and changes nothing. A game is a value: two games are equal when
/// their hands, auction, play and sheet are; taking moves back is the
/// driver's (GameDriver keeps the earlier games).
class Game {
public:
    /// No side can take more than this: a bid above it is refused before
    /// the auction's sums could overflow.
    static constexpr int kHighestBid = 10000;

    Game(const RuleSet& rules, std::uint64_t seed, int firstDealer = 3);

    // The moves; each returns empty when taken, else why it was refused.
    std::string Bid(int seat, int amount);
    std::string Pass(int seat);
    std::string NameTrump(int seat, int suit);
    /// Cards passed, or where three play the cards the bidder lays away.
    std::string PassCards(int seat, const KindCounts& cards);
    /// The declarer throws the hand in; where three play, the bidder concedes.
    std::string ThrowIn(int seat);
    /// Ends the look at the widow (the bidder takes it), at the meld (the
    /// play begins) or at the scored hand (the next deal).
    std::string Continue();
    std::string PlayCard(int seat, int kind);

    /// Deals the next hand from a code instead of at random; refused with
    /// the code's problem, or outside the auction's first call.
    std::string DealFromCode(const std::string& code);
    /// Plays a hand of the sheet again, with its dealer, as a practice hand.
    std::string ReplayLine(std::size_t line);

    [[nodiscard]] Phase CurrentPhase() const { return phase_; }
    /// The seat whose move is awaited, or -1 (the meld and the scored hand wait for Continue).
    [[nodiscard]] int ToAct() const;
    [[nodiscard]] const RuleSet& Rules() const { return rules_; }
    [[nodiscard]] int Dealer() const { return dealer_; }
    [[nodiscard]] int HandNumber() const { return handNumber_; }
    [[nodiscard]] const Auction& CurrentAuction() const { return three_ ? three_->CurrentAuction() : auction_; }
    [[nodiscard]] int Declarer() const { return CurrentAuction().HighBidder(); }
    /// The seats at the table: 4, or 3 in the three-handed game.
    [[nodiscard]] int Seats() const { return three_ ? 3 : 4; }
    /// A seat's name at this table.
    [[nodiscard]] std::string NameOf(int seat) const { return SeatName(seat, Seats()); }
    /// The three-handed game's hand, or none.
    [[nodiscard]] const ThreeHandedHand* ThreeHand() const { return three_ ? &*three_ : nullptr; }
    /// The widow where three play: face down until the auction is won, then
    /// shown until the bidder takes it; empty after.
    [[nodiscard]] KindCounts Widow() const;
    /// Whether every seat passed the deal before this one, which the dealer
    /// at their left now dealt again (where the dealer is not stuck).
    [[nodiscard]] bool PassedOut() const { return passedOut_; }
    [[nodiscard]] int Trump() const { return three_ ? three_->Trump() : trump_; }
    /// The cards to pick: to pass, or to lay away.
    [[nodiscard]] int PassCount() const { return phase_ == Phase::LayAway ? rules_.form.widow : rules_.passCards; }
    [[nodiscard]] KindCounts HandOf(int seat) const;
    [[nodiscard]] const std::array<KindCounts, 4>& Dealt() const { return dealt_; }
    /// The hands as the play began: after passing.
    [[nodiscard]] const std::array<KindCounts, 4>& HandsInPlay() const { return hands_; }
    [[nodiscard]] const std::array<MeldReport, 4>& Meld() const { return meld_; }
    [[nodiscard]] std::array<int, 2> SideMeld() const;
    [[nodiscard]] const FormPlayState& Play() const { return three_ ? three_->Play() : play_; }
    /// The cards of the trick last finished, in the order played, led by `LastTrickLeader`.
    [[nodiscard]] std::span<const int> LastTrick() const { return Play().Ledger().LastTrick(); }
    [[nodiscard]] int LastTrickLeader() const { return Play().Ledger().LastTrickLeader(); }
    [[nodiscard]] const std::vector<int>& CardsPlayed() const { return played_; }
    [[nodiscard]] const std::vector<SheetLine>& Sheet() const { return sheet_; }
    /// By side, or by player where three play.
    [[nodiscard]] const std::array<int, 3>& Totals() const { return totals_; }
    [[nodiscard]] int Winner() const { return winner_; }
    [[nodiscard]] bool Practice() const { return practice_; }
    [[nodiscard]] std::string DealCode() const;
    /// The reason each computer gave for its call, by call, where given.
    [[nodiscard]] const std::vector<std::string>& CallReasons() const { return reasons_; }
    /// Gives the last call its reason; none where that call passed the
    /// deal out and the next was dealt.
    void SetCallReason(std::string reason) {
        if (!reasons_.empty()) reasons_.back() = std::move(reason);
    }

    /// What `seat` knows of the hand: all a computer player is given.
    [[nodiscard]] FormSeatView ViewOf(int seat) const;
    /// The same in the 48-card deck's two bits a kind, for the players and
    /// the review that search that deck (a game of that deck only).
    [[nodiscard]] SeatView SingleDeckViewOf(int seat) const;
    /// The sheet as text, a line a hand, for "Copy".
    [[nodiscard]] std::string SheetText() const;

    friend bool operator==(const Game&, const Game&) = default;

private:
    void Deal(const std::array<KindCounts, 4>& hands, bool practice);
    [[nodiscard]] std::array<KindCounts, 4> DealNumber(std::uint64_t number) const;
    template <class View>
    [[nodiscard]] View ViewAs(int seat) const;
    void StartMeld();
    void ScoreHand(bool thrownIn);
    // The three-handed hand's phase as the game's; a hand scored goes on
    // the sheet, one passed out is dealt again.
    void FollowThree();
    void ScoreThree();
    std::string Refusal(int seat, Phase phase) const;

    RuleSet rules_;
    std::uint64_t seed_;
    int dealer_;
    int handNumber_ = 0;
    Phase phase_ = Phase::Auction;
    Auction auction_;
    std::vector<std::string> reasons_;
    int trump_ = -1;
    std::array<KindCounts, 4> dealt_{};
    std::array<KindCounts, 4> hands_{};  // after passing, before play
    KindCounts passedToDeclarer_{};
    KindCounts passedBack_{};
    std::array<MeldReport, 4> meld_{};
    FormPlayState play_;
    std::vector<int> played_;
    std::vector<SheetLine> sheet_;
    std::array<int, 3> totals_{};
    int winner_ = -1;
    // Where three play, the hand is the three-handed game's own; the game
    // keeps the deal, the look at the widow and the meld, and the sheet.
    std::optional<ThreeHandedHand> three_;
    bool meldSeen_ = false;
    bool practice_ = false;
    bool passedOut_ = false;  // the deal before this one was passed out by all four
    int resumeDealer_ = -1;   // after a practice hand, the game's next dealer
};

/// A computer's move for the seat to act: its call, trump, cards to pass,
/// card, or throw-in, with the reason for a call. Applied by the caller.
struct ComputerMove {
    enum Kind { Bid, Pass, Trump, PassCards, Play, ThrowIn, TakeWidow, None } kind = None;
    int value = 0;
    KindCounts cards{};
    std::string reason;
};
ComputerMove ChooseMove(const Game& game, int seat, Level level, std::uint64_t seed,
                        const std::atomic<bool>* cancel = nullptr, BidRule rule = BidRule::ExpectedScore);
/// The same in a three-handed hand, for the seat to act: there PassCards
/// lays away, ThrowIn concedes, and a bidder that does not concede leads.
ComputerMove ChooseThreeHandedMove(const ThreeHandedHand& hand, int seat, Level level, std::uint64_t seed,
                                   const std::atomic<bool>* cancel = nullptr);
/// The chance to make of a hand of the game's form, on every core: the
/// hints' table and the trump dialog's figures.
ChanceTally ChanceOfHand(const RuleSet& rules, const KindCounts& hand, std::uint64_t deals, std::uint64_t seed);
/// The chance to make of the seat's hand as it stands in the game: in the
/// three-handed game with the widow unknown in the auction, and seen once
/// the bidder has taken it.
ChanceTally ChanceOfSeat(const Game& game, int seat, std::uint64_t deals, std::uint64_t seed);
/// The expected score of bidding `bid` in `suit` by the game's scoring.
double ExpectedOfBid(const RuleSet& rules, const ChanceTally& tally, int suit, int bid);
/// The hint's table of the chance to make, with the best bid from `lowest` on.
std::string ChanceHint(const RuleSet& rules, const ChanceTally& tally, int lowest);
/// Applies a computer's move; empty when taken.
std::string ApplyMove(Game& game, int seat, const ComputerMove& move);

}  // namespace vantrel
