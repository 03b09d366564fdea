#include "players/bidding.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "players/chance_to_make.h"
#include "rules/meld_rules.h"
#include "rules/seats.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"

namespace vantrel {

namespace {

std::string SuitName(int suit) { return std::string(kSuitNames[static_cast<std::size_t>(suit & 3)]); }

int RunSuit(HandCounts hand) {
    for (int suit = 0; suit < 4; ++suit)
        if (RunsIn(hand, suit) > 0) return suit;
    return -1;
}

bool AcesAround(HandCounts hand) { return TimesAround(hand, 0) > 0; }

int BestMeld(HandCounts hand) {
    const StandardMeld meld(hand);
    return std::max({meld.WithTrump(0), meld.WithTrump(1), meld.WithTrump(2), meld.WithTrump(3)});
}

// The trump that gives the hand its best meld.
int BestMeldSuit(HandCounts hand) {
    const StandardMeld meld(hand);
    int best = 0;
    for (int suit = 1; suit < 4; ++suit)
        if (meld.WithTrump(suit) > meld.WithTrump(best)) best = suit;
    return best;
}

int Trumps(HandCounts hand, int suit) {
    int cards = 0;
    for (int rank = 0; rank < 6; ++rank) cards += CountOf(hand, KindOf(suit, rank));
    return cards;
}

bool HasBid(const Auction& auction, int seat) {
    return std::any_of(auction.Calls().begin(), auction.Calls().end(),
                       [&](const Auction::Call& call) { return call.seat == seat && call.bid > 0; });
}

int PromisedMeld(int jump) { return jump == 50 ? 150 : jump >= 20 ? 100 : 0; }

// What the auction said of the other three hands: the meld each first bid
// promised by its jump, and under the help's count the bid each pass
// declined. The opponents are the one at the caller's left (West in the
// deals) and the one at its right (East).
struct AuctionReading {
    int partnerJump = 0;
    int partnerDeclined = 0;
    std::array<int, 2> opponentJump{};
    std::array<int, 2> opponentDeclined{};
    bool dealerStands = false;

    static AuctionReading Of(const Auction& auction, int seat) {
        AuctionReading reading;
        reading.partnerJump = PromisedJump(auction, PartnerSeat(seat));
        reading.partnerDeclined = DeclinedBid(auction, PartnerSeat(seat));
        for (std::size_t side = 0; side < 2; ++side) {
            const int opponent = (seat + (side == 0 ? 1 : 3)) & 3;
            reading.opponentJump[side] = PromisedJump(auction, opponent);
            reading.opponentDeclined[side] = DeclinedBid(auction, opponent);
        }
        // Nobody has bid and the dealer, an opponent, is next: a pass ends
        // the auction with the dealer held to its standing bid, good hand or bad.
        const int dealer = auction.Dealer();
        reading.dealerStands = auction.HighBidder() == dealer && !HasBid(auction, dealer) && LeftOf(seat) == dealer &&
                               SideOf(seat) != SideOf(dealer);
        return reading;
    }
};

// Whether a hand fits what its seat's calls said.
bool Fits(HandCounts hand, int jump, int declined) {
    if (jump > 0 && !KeepsPromise(hand, jump)) return false;
    if (declined > 0)
        for (int suit = 0; suit < 4; ++suit)
            if (HelpValue(hand, suit, 0) >= declined) return false;
    return true;
}

// The bidding simulation of a hand, the other hands drawn to fit what the
// auction said of them.
ChanceTally BiddingChance(HandCounts hand, const RuleSet& rules, std::uint64_t deals, std::uint64_t seed,
                          const AuctionReading& reading, const std::atomic<bool>* cancel, int opponentsBid = 0) {
    ChanceRequest request;
    request.hand = hand;
    request.rules = rules;
    request.deals = deals;
    request.seed = seed;
    if (reading.partnerJump > 0 || reading.partnerDeclined > 0)
        request.partnerPromise = [reading](HandCounts p) {
            return Fits(p, reading.partnerJump, reading.partnerDeclined);
        };
    if (reading.opponentJump != std::array<int, 2>{} || reading.opponentDeclined != std::array<int, 2>{})
        request.opponentsFit = [reading](HandCounts left, HandCounts right) {
            return Fits(left, reading.opponentJump[0], reading.opponentDeclined[0]) &&
                   Fits(right, reading.opponentJump[1], reading.opponentDeclined[1]);
        };
    request.opponentsBid = opponentsBid;
    request.dealerStands = reading.dealerStands;
    return ChanceToMake(request, cancel);
}

// The first rules' simulation: partner's jump alone read.
ChanceTally BiddingChance(HandCounts hand, const RuleSet& rules, Level level, std::uint64_t seed, int partnerJump,
                          const std::atomic<bool>* cancel) {
    AuctionReading reading;
    reading.partnerJump = partnerJump;
    return BiddingChance(hand, rules, BiddingDeals(level), seed, reading, cancel);
}

// What a pass is worth by the expected score: the contract left to the
// opponents at the bid standing (at least the standing bid), or, where
// partner is the dealer and nobody has bid, to partner at the standing bid
// (taken to be played as this hand would play it, and kept: the opponent
// still to call is not weighed).
double PassingMargin(const ChanceTally& tally, const Auction& auction, int seat) {
    const int high = auction.HighBid();
    if (auction.HighBidder() == PartnerSeat(seat)) {
        double passing = tally.ExpectedMargin(0, high);
        for (int suit = 1; suit < 4; ++suit) passing = std::max(passing, tally.ExpectedMargin(suit, high));
        return passing;
    }
    return tally.MarginWhenOpponentsDeclare(std::max(high, auction.StandingBid()));
}

// The suit a valuation rates best, the first of equals.
template <class Value>
int BestSuit(Value value) {
    int best = 0;
    for (int suit = 1; suit < 4; ++suit)
        if (value(suit) > value(best)) best = suit;
    return best;
}

std::string Percent(double share) { return std::to_string(static_cast<int>(std::lround(100 * share))) + "%"; }

std::string Signed(double value) {
    const long rounded = std::lround(value);
    return (rounded >= 0 ? "+" : "") + std::to_string(rounded);
}

}  // namespace

int PromisedJump(const Auction& auction, int seat) {
    // The calls replayed from the standing bid, to the seat's first bid.
    int high = auction.StandingBid();
    for (const Auction::Call& call : auction.Calls()) {
        if (call.bid == 0) continue;
        const int jump = call.bid - high;
        if (call.seat == seat) return jump == 50 || jump == 30 || jump == 20 ? jump : 0;
        high = call.bid;
    }
    return 0;
}

int DeclinedBid(const Auction& auction, int seat) {
    const int step = auction.MinimumBid() - auction.HighBid();
    int high = auction.StandingBid();
    int bidder = -1;
    for (const Auction::Call& call : auction.Calls()) {
        if (call.seat == seat && call.bid == 0) return bidder == PartnerSeat(seat) ? 0 : high + step;
        if (call.bid > 0) high = call.bid, bidder = call.seat;
    }
    return 0;
}

bool KeepsPromise(HandCounts hand, int jump) {
    if (jump == 50) return RunSuit(hand) >= 0;
    if (jump == 30) return AcesAround(hand);
    if (jump == 20) return BestMeld(hand) >= 100;
    return true;
}

int HelpValue(HandCounts hand, int trump, int partnerJump) {
    int value = StandardMeld(hand).WithTrump(trump) + 20 * Trumps(hand, trump) + PromisedMeld(partnerJump);
    for (int suit = 0; suit < 4; ++suit)
        if (suit != trump) value += 20 * CountOf(hand, KindOf(suit, 0));
    return value;
}

std::uint64_t BiddingDeals(Level level) { return level == Level::Strong ? 2000 : level == Level::Normal ? 500 : 0; }

BidChoice ChooseBid(const Auction& auction, int seat, HandCounts hand, const RuleSet& rules, Level level,
                    std::uint64_t seed, const std::atomic<bool>* cancel, BidRule rule) {
    const int partner = PartnerSeat(seat);
    const int partnerJump = PromisedJump(auction, partner);
    const int high = auction.HighBid();
    const bool firstBid = !HasBid(auction, seat);
    // Over partner's bid with both opponents out, a pass ends the auction in
    // partner's favour: a jump would only raise the contract.
    const bool partnerWins = auction.HighBidder() == partner && HasBid(auction, partner) &&
                             auction.HasPassed(LeftOf(seat)) && auction.HasPassed(LeftOf(partner));
    if (partnerWins)
        return {0, "Pass: partner holds the bid at " + std::to_string(high) + " and the opponents have passed"};
    // A first bid shows meld by its jump, and says what it shows.
    if (firstBid) {
        if (const int run = RunSuit(hand); run >= 0) return {high + 50, "Jump 50: a run in " + SuitName(run)};
        if (AcesAround(hand)) return {high + 30, "Jump 30: aces around"};
        if (const int meld = BestMeld(hand); meld >= 100)
            return {high + 20,
                    "Jump 20: 100 meld or more (" + std::to_string(meld) + " in " + SuitName(BestMeldSuit(hand)) + ")"};
    }
    if (auction.HighBidder() == partner && HasBid(auction, partner))
        return {0, "Pass: partner holds the bid at " + std::to_string(high)};
    const int next = auction.MinimumBid();
    if (level == Level::Easy) {
        int trump = 0;
        for (int suit = 1; suit < 4; ++suit)
            if (HelpValue(hand, suit, partnerJump) > HelpValue(hand, trump, partnerJump)) trump = suit;
        const int value = HelpValue(hand, trump, partnerJump);
        bool opens = true;
        if (firstBid) {
            // The help's opening advice, partner dealing or not.
            const int length = Trumps(hand, trump);
            const int aces = CountOf(hand, KindOf(trump, 0));
            const int tens = CountOf(hand, KindOf(trump, 1));
            const int meld = StandardMeld(hand).WithTrump(trump);
            opens = auction.Dealer() == partner
                        ? value >= 180 || (length >= 5 && (aces == 2 || (aces >= 1 && tens >= 1)) && meld >= 50) ||
                              length >= 6
                        : value >= 180 && aces >= 1 && tens >= 1 && length >= 4;
        }
        if (opens && value >= next)
            return {next, std::to_string(next) + ": hand valued at " + std::to_string(value) + " with " +
                              SuitName(trump) + " as trump"};
        return {0, "Pass: hand valued at " + std::to_string(value) + ", under " + std::to_string(next)};
    }
    const int theirs = std::max(high, rules.standingBid);
    // The expected score reads every seat's jump and pass; the
    // half-the-time rule stays as it was first made, reading partner's jump.
    const AuctionReading reading = AuctionReading::Of(auction, seat);
    const ChanceTally tally = rule == BidRule::ExpectedScore
                                  ? BiddingChance(hand, rules, BiddingDeals(level), seed, reading, cancel, theirs)
                                  : BiddingChance(hand, rules, level, seed, partnerJump, cancel);
    int trump = 0;
    if (rule == BidRule::ExpectedScore) {
        for (int suit = 1; suit < 4; ++suit)
            if (tally.ExpectedMargin(suit, next) > tally.ExpectedMargin(trump, next)) trump = suit;
        const double chance = tally.Chance(trump, next);
        const bool partnerStands = auction.HighBidder() == partner;
        const double passing = PassingMargin(tally, auction, seat);
        const double gain = tally.ExpectedMargin(trump, next) - passing;
        const std::string over = Signed(gain) + " on average over passing";
        if (gain > 0)
            return {next, std::to_string(next) + ": makes it " + Percent(chance) + " of the time in " +
                              SuitName(trump) + ", " + over};
        const std::string stands = partnerStands ? "partner stands at " + std::to_string(high) + "; " : "";
        return {0, "Pass: " + stands + std::to_string(next) + " makes it " + Percent(chance) + " of the time, " + over};
    }
    for (int suit = 1; suit < 4; ++suit)
        if (tally.Chance(suit, next) > tally.Chance(trump, next)) trump = suit;
    const double chance = tally.Chance(trump, next);
    if (chance >= 0.5)
        return {next, std::to_string(next) + ": makes it " + Percent(chance) + " of the time in " + SuitName(trump)};
    return {0, "Pass: " + std::to_string(next) + " makes it only " + Percent(chance) + " of the time"};
}

const CallFigure& BestFigure(const std::vector<CallFigure>& figures) {
    return *std::max_element(figures.begin(), figures.end(),
                             [](const CallFigure& a, const CallFigure& b) { return a.margin < b.margin; });
}

std::vector<CallFigure> CallFigures(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules,
                                    std::uint64_t deals, std::uint64_t seed, const std::atomic<bool>* cancel,
                                    int also) {
    const int high = auction.HighBid();
    const int next = auction.MinimumBid();
    const bool single = rules.form == GameForm{};
    std::vector<int> bids{next};
    // The bidding help's jumps, over the high bid, where they are a raise beyond the least.
    if (single)
        for (const int jump : {20, 30, 50})
            if (high + jump > next) bids.push_back(high + jump);
    if (also >= next && std::find(bids.begin(), bids.end(), also) == bids.end()) {
        bids.push_back(also);
        std::sort(bids.begin(), bids.end());
    }
    const ChanceTally tally =
        single ? BiddingChance(PackedCounts(hand), rules, deals, seed, AuctionReading::Of(auction, seat), cancel,
                               std::max(high, auction.StandingBid()))
               : ChanceToMake(rules, hand, deals, seed, 0, cancel);
    std::vector<CallFigure> figures;
    // The form's players bid while declaring beats the other side: a pass is even.
    figures.push_back({0, -1, single ? PassingMargin(tally, auction, seat) : 0.0});
    for (const int bid : bids) {
        const int trump = BestSuit([&](int suit) { return tally.ExpectedMargin(suit, bid); });
        figures.push_back({bid, trump, tally.ExpectedMargin(trump, bid)});
    }
    return figures;
}

int ChooseTrump(const Auction& auction, int seat, HandCounts hand, const RuleSet& rules, Level level,
                std::uint64_t seed, const std::atomic<bool>* cancel) {
    const int partnerJump = PromisedJump(auction, PartnerSeat(seat));
    int trump = 0;
    if (level == Level::Easy) {
        for (int suit = 1; suit < 4; ++suit)
            if (HelpValue(hand, suit, partnerJump) > HelpValue(hand, trump, partnerJump)) trump = suit;
        return trump;
    }
    const ChanceTally tally = BiddingChance(hand, rules, level, seed, partnerJump, cancel);
    for (int suit = 1; suit < 4; ++suit)
        if (tally.ExpectedScore(suit, auction.HighBid()) > tally.ExpectedScore(trump, auction.HighBid())) trump = suit;
    return trump;
}

int FormHelpValue(const RuleSet& rules, const KindCounts& hand, int trump) {
    int deckPoints = rules.lastTrick;
    const KindCounts deck = WholeDeckOf(rules.form);
    int suitCards = 0;
    for (int kind = 0; kind < kCardKinds; ++kind) {
        deckPoints += CardPointsOf(rules, kind) * deck[static_cast<std::size_t>(kind)];
        if (SuitOfKind(kind) == trump) suitCards += deck[static_cast<std::size_t>(kind)];
    }
    const int trumps = SuitLength(hand, trump);
    const int fairShare = suitCards / std::max(1, rules.form.seats);
    return CountsMeld(rules, hand).WithTrump(trump) + deckPoints / 2 + deckPoints / 20 +
           std::max(0, trumps - fairShare);
}

BidChoice ChooseBid(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules, Level level,
                    std::uint64_t seed, const std::atomic<bool>* cancel) {
    const int partner = PartnerSeat(seat);
    const int high = auction.HighBid();
    if (auction.HighBidder() == partner && HasBid(auction, partner))
        return {0, "Pass: partner holds the bid at " + std::to_string(high)};
    const int next = auction.MinimumBid();
    auto valued = [&](int suit) { return FormHelpValue(rules, hand, suit); };
    if (level == Level::Easy) {
        const int trump = BestSuit(valued);
        const int value = valued(trump);
        if (value >= next)
            return {next, std::to_string(next) + ": hand valued at " + std::to_string(value) + " with " +
                              SuitName(trump) + " as trump"};
        return {0, "Pass: hand valued at " + std::to_string(value) + ", under " + std::to_string(next)};
    }
    const ChanceTally tally = ChanceToMake(rules, hand, BiddingDeals(level), seed, 0, cancel);
    const int trump = BestSuit([&](int suit) { return tally.ExpectedMargin(suit, next); });
    const double margin = tally.ExpectedMargin(trump, next);
    const std::string over = Signed(margin) + " on average over the other side";
    if (margin > 0)
        return {next, std::to_string(next) + ": makes it " + Percent(tally.Chance(trump, next)) + " of the time in " +
                          SuitName(trump) + ", " + over};
    return {0, "Pass: " + std::to_string(next) + " makes it " + Percent(tally.Chance(trump, next)) +
                   " of the time in " + SuitName(trump) + ", " + over};
}

int ChooseTrump(const Auction& auction, int /*seat*/, const KindCounts& hand, const RuleSet& rules, Level level,
                std::uint64_t seed, const std::atomic<bool>* cancel) {
    if (level == Level::Easy) return BestSuit([&](int suit) { return FormHelpValue(rules, hand, suit); });
    const ChanceTally tally = ChanceToMake(rules, hand, BiddingDeals(level), seed, 0, cancel);
    return BestSuit([&](int suit) { return tally.ExpectedScore(suit, auction.HighBid()); });
}

}  // namespace vantrel
