#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "players/bidding.h"
#include "practice/play_record.h"
#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// What a card cost, by the expected card points it gave away against the
/// best card the seat could have chosen from what it knew.
/// "best" only where no card was better; "good" where one was, by less than
/// an inaccuracy.
enum class CardLabel { Best, Good, Inaccuracy, Mistake, Blunder };

/// The labels' thresholds, in card points: the one place they are set.
struct CostThresholds {
    static constexpr double kInaccuracy = 3;
    static constexpr double kMistake = 8;
    static constexpr double kBlunder = 20;
};
CardLabel LabelOf(double cost);
/// "best", "good", "inaccuracy", "mistake" or "blunder".
std::string_view LabelText(CardLabel label);

/// A hand to review: the hands as the play began (after any cards were
/// passed), the trump, the declarer who led first, every card played in
/// order, and what each seat knew besides its own cards. Hands are counted
/// a kind, so that a hand of any four-handed form of the game is reviewed.
struct ReviewRequest {
    RuleSet rules = RuleSet::Standard();
    std::array<KindCounts, 4> hands{};
    int trump = 0;
    int declarer = 0;
    std::vector<int> plays;             // kinds in the order played: the whole hand, or as far as it went
    std::array<bool, 4> reviewed{};     // the seats whose cards get the fair review: the user's
    std::array<KindCounts, 4> shown{};  // meld each seat laid down, seen by all
    std::array<KindCounts, 4> gave{};   // cards each seat passed to its partner
    std::vector<Auction::Call> calls;   // the bidding, as the seats heard it
    std::array<KindCounts, 4> dealt{};  // the hands as dealt, that the seats bid on (none: no auction review)
    int bid = 0;                        // the bid reached
    int worlds = 100;                   // worlds sampled for each reviewed card
    std::uint64_t seed = 1;
    unsigned threads = 0;  // 0: every core
    int firstTrick = 0;    // the tricks before this one are replayed but not reviewed
    /// The positions the solver may search for one par (about a second of a
    /// core; a pass's layouts half as many each); a par it cannot prove within
    /// them is the middle of the bounds it proved, and said to be estimated.
    /// In the 80-card deck the pars are solved from the end of the hand back,
    /// each within an eighth of this, until one is not proved; a par before
    /// that is estimated by playing each card out with every hand seen.
    std::uint64_t parNodes = 12'000'000;
};

/// Why a hand of a game's sheet cannot be reviewed, or empty when it can: a
/// hand thrown in or conceded has no cards, and the review plays four seats
/// in two partnerships, or three with a widow.
std::string WhyNotReviewed(const RuleSet& rules, const SheetLine& line);

/// The seats at the request's table: 4, or 3 where the bidder plays alone
/// against the two others (the widow then dealt in `dealt`'s fourth place,
/// and the cards the bidder laid away its `gave`).
int ReviewSeats(const ReviewRequest& request);
/// A seat's side: 0 for South-North, or for the bidder where three play.
int ReviewSide(const ReviewRequest& request, int seat);
std::string ReviewSeatName(const ReviewRequest& request, int seat);

/// The request for a hand of a game's sheet, reviewing the `users`' seats;
/// no cards for a hand thrown in.
ReviewRequest RequestOf(const RuleSet& rules, const SheetLine& line, const std::array<bool, 4>& users);

/// The request for the Play Record's hand, every seat reviewed (the player
/// chose every card), under the usual rules with the checker's play
/// switches. The cards stop before the first one those rules do not allow
/// (by the program's own table the next trick may be led from another
/// seat); `stopped` then says where. No cards without a trump.
ReviewRequest RequestOf(const PlayRecord& record, std::string* stopped = nullptr);

/// The cards of the request up to the first that could not have been
/// played there: the part of the hand a review can follow.
std::vector<int> PlayablePrefix(const ReviewRequest& request);

/// A seat's view just before the card at `index` of `plays` was played: its
/// hand, the meld shown, the cards it passed, the bidding and every card
/// before. The fair review weighs each card from it.
SeatView ViewBefore(const ReviewRequest& request, const std::vector<int>& plays, std::size_t index, int seat);
/// The same view counted a kind, for a hand of any form.
FormSeatView FormViewBefore(const ReviewRequest& request, const std::vector<int>& plays, std::size_t index, int seat);

/// One card of the hand, as the review sees it.
struct ReviewedCard {
    int seat = 0;
    int kind = 0;
    int trick = 0;  // from 0: 0..11 in the 48-card deck, 0..19 in the 80-card one
    /// South-North's card points at the end of the hand with every hand
    /// seen and best play from before this card, and from after it; each
    /// counts the points already taken.
    int parBefore = 0;
    int parAfter = 0;
    /// The par after the card proved: false where the solver's budget ran
    /// out on it, which is then estimated. Where either par is estimated the
    /// card's cost with all cards seen is unknown (0).
    bool parProved = true;
    /// The par the card's side lost by it: its cost with all cards seen.
    int exactCost = 0;
    /// The fair review, for a reviewed seat: the expected card points of
    /// its side to the end of the hand for each legal card over worlds
    /// drawn from what the seat knew (-1 for cards it could not play), the
    /// best of them, and what the card played gave away against it.
    bool reviewed = false;
    bool forced = false;  // one legal card: nothing to choose
    PerKind<double> expected{};
    int best = -1;
    double cost = 0;
    CardLabel label = CardLabel::Best;
    friend bool operator==(const ReviewedCard&, const ReviewedCard&) = default;
};

/// The auction's review for a user's seat: from the hand it bid on, over
/// played-out deals of the unseen cards, the chance that the bid reached
/// makes in the trump named and the expected hand score there, the best
/// trump at that bid, and the best bid by simulation.
struct AuctionVerdict {
    int seat = 0;
    bool declared = false;  // the seat won the auction
    double chance = 0;      // of making the bid reached in the trump named (as declarer)
    double expected = 0;    // the hand score expected there
    int bestTrump = -1;     // the trump with the best expected score at that bid
    double bestTrumpExpected = 0;
    int bestBid = 0;  // the simulation's best bid for the hand (0: none)
    int bestBidTrump = -1;
    double bestBidChance = 0;
    double bestBidExpected = 0;  // the hand score expected at the best bid
    std::string text;            // the verdict in a line or two
    friend bool operator==(const AuctionVerdict&, const AuctionVerdict&) = default;
};

/// A call that gave away at least this much of the expected margin is costly.
inline constexpr double kCostlyCall = 20;

/// One call of a reviewed seat, weighed as the computer weighs a call: from
/// the hand it bid on and the bidding before it, the expected margin of the
/// pass and of each bid open to it (the call made among them), and what the
/// call made gave away against the best.
struct CallVerdict {
    std::size_t at = 0;  // the call's place in the bidding
    int seat = 0;
    int called = 0;  // the bid made; 0 a pass
    std::vector<CallFigure> figures;
    int best = 0;  // the best call's bid; 0 a pass
    double cost = 0;
    /// The help's jump for the hand, which shows partner meld: a signal the
    /// contract's figures do not weigh, so its cost is not held against it.
    bool conventional = false;
    /// Given away from this on, the call is costly: in the expected margin,
    /// or in the classic settlement's units where three play.
    double costly = kCostlyCall;
    int seats = 4;  // at the table, for the seat's name
    /// The figure of a call among them, if any.
    [[nodiscard]] const CallFigure* Figure(int bid) const;
    /// Gave away kCostlyCall or more, and not the help's jump: the review
    /// says so, and it becomes a drill.
    [[nodiscard]] bool Costly() const;
    friend bool operator==(const CallVerdict&, const CallVerdict&) = default;
};
/// Deals each call of the review is weighed over: the Strong player's.
inline constexpr std::uint64_t kCallDeals = 2000;
/// "Pass" or "Bid 260".
std::string CallText(int bid);

/// The call's verdict in a line, e.g. "South's pass, -31 on average; best:
/// Bid 260 in Hearts, +4: 35 given away."
std::string CallVerdictText(const CallVerdict& verdict);

/// The review of a user's pass, with every hand seen: the meld and the par of
/// the passer's side after the cards it passed, against the same after the
/// pass the computer would have made from that hand (and the computer's
/// pass back to it, where the declarer's pass came after).
struct PassVerdict {
    int seat = 0;
    KindCounts passed{};
    KindCounts computers{};  // the computer's choice; equal to `passed` when the user chose as it would
    int meld = 0;            // the side's meld after the pass made
    int par = 0;             // the side's card points with best play after it
    int computersMeld = 0;
    int computersPar = 0;
    bool proved = true;  // both pars proved, not estimated
    std::string text;
    /// What the pass made gained over the computer's (negative: cost).
    [[nodiscard]] int Gain() const { return meld + par - computersMeld - computersPar; }
    friend bool operator==(const PassVerdict&, const PassVerdict&) = default;
};

struct HandReview {
    std::vector<ReviewedCard> cards;      // from the first reviewed trick on
    std::vector<int> trickWinners;        // the seat that took each trick, from trick 0
    int parAtStart = 0;                   // South-North's par as the first reviewed trick began
    bool parAtStartProved = true;         // false: estimated, the solver's budget having run out
    std::array<int, 2> points{};          // card points each side took, the last trick included
    std::vector<AuctionVerdict> auction;  // one for each reviewed seat with a dealt hand
    std::vector<CallVerdict> calls;       // each call of a reviewed seat with a dealt hand, in order
    std::vector<PassVerdict> passes;      // one for each reviewed seat that passed cards
    bool complete = false;                // false when cancelled
    friend bool operator==(const HandReview&, const HandReview&) = default;
};

/// The hand as it was played, before any figure is worked out: each card
/// with its seat and trick, whether it was forced and whether its seat is
/// reviewed, the tricks' winners and the points taken. The review starts
/// from it, and a window can show it while the figures are reckoned.
HandReview OutlineOf(const ReviewRequest& request);

/// The review of a hand, seeded: the same request gives the same review on
/// any number of threads. `progress` hears (done, total) steps, from the
/// calling thread or a worker, one at a time.
HandReview ReviewHand(const ReviewRequest& request, const std::atomic<bool>* cancel = nullptr,
                      const std::function<void(int, int)>& progress = {});

/// Expected card points as the review shows them, to one decimal, e.g. "36.7":
/// the window and the text round alike.
std::string PointsFigure(double value);

/// The review as text, trick by trick, for the clipboard.
std::string ReviewText(const ReviewRequest& request, const HandReview& review);

/// Card points the reviewed seats' side lost to each label, and overall.
struct ReviewSummary {
    std::array<int, 5> cardsByLabel{};  // the reviewed seats' cards that had a choice
    int forced = 0;                     // and those that had none
    double lost = 0;    // expected card points given away, by the fair review: the sum over the labelled cards
    int exactLost = 0;  // par lost with all cards seen
};
ReviewSummary Summarise(const HandReview& review);

/// What the game history keeps of a review for the side of `seat`: its par
/// as the reviewed play began, the expected card points the reviewed seats
/// lost, and the simulation's best bid for the seat's hand, where reckoned.
struct ReviewFigures {
    int par = 0;
    double lost = 0;
    std::optional<int> bestBid;
};
ReviewFigures FiguresOf(const ReviewRequest& request, const HandReview& review, int seat);

}  // namespace vantrel
