// The hand review: the perfect-information solver against plain search and
// the search player's solver.
#include <gtest/gtest.h>

#include "play_support.h"
#include "players/passing.h"
#include "players/rule_player.h"
#include "players/search_player.h"
#include "review/hand_review.h"
#include "rules/meld_rules.h"
#include "rules/trick_rules.h"
#include "search/hand_solver.h"

namespace vantrel {
namespace {
using testing::Exhaustive;
using testing::RandomDeal;
using testing::RandomLegal;

// A hand from names such as "AC 10H 9D" (rank, then the suit's letter).
HandCounts HandOf(std::string_view names) {
    HandCounts hand = 0;
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find(' ', at), names.size());
        const std::string_view name = names.substr(at, end - at);
        const int suit = static_cast<int>(std::string_view("CHSD").find(name.back()));
        const std::string_view rank = name.substr(0, name.size() - 1);
        const std::array<std::string_view, 6> ranks{"A", "10", "K", "Q", "J", "9"};
        hand += KindBit(KindOf(suit, static_cast<int>(std::find(ranks.begin(), ranks.end(), rank) - ranks.begin())));
        at = end + 1;
    }
    return hand;
}

// The rule sets a solve must be exact under: the usual rules, the design's
// card values (whose equal points merge cards before a trick is settled),
// tricks by rank alone (no merging), play with every obligation off, and
// play where a seat need not follow but must head and trump (so a trick is
// settled only when no other seat holds a beater at all).
std::vector<RuleSet> SolverRuleSets() {
    RuleSet designedPoints = RuleSet::Standard();
    designedPoints.cardPoints = CardValues::Designed;
    RuleSet rankAlone = RuleSet::Standard();
    rankAlone.tricks = TrickRules::RankAlone;
    RuleSet free = RuleSet::Standard();
    free.play = {false, false, false, false};
    RuleSet noFollow = RuleSet::Standard();
    noFollow.play.followSuit = false;
    return {RuleSet::Standard(), designedPoints, rankAlone, free, noFollow};
}

// A random position of a random deal with `tricksLeft` tricks to play and
// `inTrick` cards of the current trick on the table.
PlayState RandomPosition(const RuleSet& rules, Random& random, int tricksLeft, int inTrick) {
    PlayState state(rules, RandomDeal(random), static_cast<int>(random.Below(5)) - 1,
                    static_cast<int>(random.Below(4)));
    while (state.Played() < 48 - 4 * tricksLeft + inTrick) state.Make(RandomLegal(state.Legal(), random));
    return state;
}

TEST(Solver, IsExactOnEndgamesAndItsCardValuesAgree) {
    // One solver for every position, so that what one deal leaves in the
    // table must not mislead the next.
    HandSolver solver(12);
    Random random(41, 0);
    const std::vector<RuleSet> ruleSets = SolverRuleSets();
    int proved = 0;
    std::vector<std::uint64_t> merged;
    for (std::size_t set = 0; set < ruleSets.size(); ++set, merged.push_back(solver.Merged()))
        for (int tricksLeft : {1, 2, 3, 4})
            for (int position = 0; position < 24; ++position) {
                PlayState state = RandomPosition(ruleSets[set], random, tricksLeft, position % 4);
                const int side = position / 4 % 2;
                const int before = state.Points()[static_cast<std::size_t>(side)];
                const std::string where = "rule set " + std::to_string(set) + ", " + std::to_string(tricksLeft) +
                                          " tricks left, position " + std::to_string(position);
                const int value = solver.Solve(state, side);
                ASSERT_EQ(value + before, Exhaustive(state, side)) << where;
                // The card the solve proved keeps the value. A test's card
                // reaches the bound the test proved where it went the way of
                // the seat to play; where it went against, it proves no card.
                const bool sideToPlay = SideOf(state.ToPlay()) == side;
                const auto reaches = [&](int card, int gamma, bool up, const std::string& what) {
                    if (card < 0) return;
                    ++proved;
                    ASSERT_NE(state.Legal() & KindFlag(card), 0u) << where << what;
                    state.Make(card);
                    const int after = Exhaustive(state, side) - before;
                    EXPECT_TRUE(up ? after >= gamma : after < gamma)
                        << where << what << ", " << KindText(card) << " gives " << after;
                    state.Unmake();
                };
                reaches(solver.BestCard(), value, true, "");
                reaches(solver.BestCard(), value + 1, false, "");
                for (const int gamma : {value - 7, value, value + 1, value + 9}) {
                    const bool up = solver.Test(state, side, gamma) >= gamma;
                    const std::string what = ", a test at " + std::to_string(gamma);
                    EXPECT_EQ(up, value >= gamma) << where << what;
                    if (up == sideToPlay)
                        reaches(solver.BestCard(), gamma, up, what);
                    else
                        EXPECT_EQ(solver.BestCard(), -1) << where << what << " went against the seat to play";
                }
                // The best card is worth what the position is worth, and
                // each card what the position after it is worth.
                const int mover = SideOf(state.ToPlay());
                const int moverBefore = state.Points()[static_cast<std::size_t>(mover)];
                const PerKind<int> values = solver.CardValues(state);
                int best = -1;
                for (KindMask moves = state.Legal(); moves != 0; moves &= moves - 1) {
                    const int card = std::countr_zero(moves);
                    state.Make(card);
                    EXPECT_EQ(values[static_cast<std::size_t>(card)] + moverBefore, Exhaustive(state, mover))
                        << where << ", " << KindText(card);
                    state.Unmake();
                    best = std::max(best, values[static_cast<std::size_t>(card)]);
                }
                EXPECT_EQ(best, solver.Solve(state, mover)) << where;
            }
    // The usual card values differ at every rank, so their merges come from
    // tricks the card settles; by rank alone nothing merges.
    EXPECT_GT(merged[0], 0u) << "no position merged two cards under the usual rules";
    EXPECT_EQ(merged[2], merged[1]) << "cards merged with tricks by rank alone";
    EXPECT_GT(proved, 300) << "few solves proved a card";
}

TEST(Solver, ATableSharedByManyDealsNeverMisleads) {
    // The last tricks of different deals often hold the same cards, under
    // another trump or other rules: what the shared table learnt of one
    // must not be taken for the other's. Each position between tricks is
    // also taken up again, the same cards just after they were solved,
    // under every other combination of the play switches and card values.
    // Judged against a solver of its own for each.
    HandSolver shared;
    Random random(47, 0);
    const std::vector<RuleSet> ruleSets = SolverRuleSets();
    std::vector<RuleSet> retakes = ruleSets;
    for (int switches = 0; switches < 16; ++switches) {
        RuleSet rules = RuleSet::Standard();
        rules.play = {(switches & 1) != 0, (switches & 2) != 0, (switches & 4) != 0, (switches & 8) != 0};
        retakes.push_back(rules);
    }
    int retaken = 0;
    for (int position = 0; position < 4000; ++position) {
        const PlayState state = RandomPosition(ruleSets[static_cast<std::size_t>(position) % ruleSets.size()], random,
                                               2 + position % 2, position / 5 % 4);
        const int side = position % 2;
        ASSERT_EQ(shared.Solve(state, side), HandSolver(6).Solve(state, side)) << "position " << position;
        if (!state.Trick().empty()) continue;
        for (std::size_t set = 0; set < retakes.size(); ++set, ++retaken) {
            const PlayState again(retakes[set], state.Hands(), state.Trump(), state.Leader(), state.Points(),
                                  state.Tricks());
            ASSERT_EQ(shared.Solve(again, side), HandSolver(6).Solve(again, side))
                << "position " << position << " taken up under rule set " << set;
        }
    }
    EXPECT_GT(retaken, 10000) << "few positions were taken up under other rules";
}

TEST(Solver, AgreesWithTheSearchPlayersSolverFromSixToNineTricks) {
    // The search player's solver has no zero windows, no merging and no
    // bound from the points still out: where the two agree on positions
    // from deeper in the hand, neither shortcut changed a value. Fewer
    // positions the deeper they go, as the old solver slows tenfold a trick.
    HandSolver solver;
    Random random(43, 0);
    RuleSet designedPoints = RuleSet::Standard();
    designedPoints.cardPoints = CardValues::Designed;
    for (const auto& [tricksLeft, positions] : {std::pair{6, 240}, {7, 60}, {8, 12}, {9, 3}})
        for (int position = 0; position < positions; ++position) {
            PlayState state = RandomPosition(position % 3 == 2 ? designedPoints : RuleSet::Standard(), random,
                                             tricksLeft, position % 4);
            const int side = position / 4 % 2;
            PlayState copy = state;
            ASSERT_EQ(solver.Solve(state, side), SolvePosition(copy, side))
                << tricksLeft << " tricks left, position " << position;
        }
}

// A hand of a random deal played by the rule players, South's cards from
// `fromTrick` on chosen by `south`, reviewed from that trick with South as
// the user. With `allSeen`, South is shown every hand, so that the worlds
// it weighs are the deal itself.
template <class Choose>
ReviewRequest PlayedHand(std::uint64_t seed, int fromTrick, bool allSeen, Choose south) {
    Random random(seed, 0);
    ReviewRequest request;
    const std::array<HandCounts, 4> hands = RandomDeal(random);
    request.hands = CountsOf(hands);
    request.trump = static_cast<int>(random.Below(4));
    request.declarer = static_cast<int>(random.Below(4));
    request.reviewed[0] = true;
    request.firstTrick = fromTrick;
    request.worlds = 20;
    request.seed = seed;
    if (allSeen) request.shown = request.hands;
    PlayState state(request.rules, hands, request.trump, request.declarer);
    while (!state.Over()) {
        const int card =
            state.ToPlay() == 0 && state.TricksPlayed() >= fromTrick ? south(state) : RuleCard(state, request.declarer);
        request.plays.push_back(card);
        state.Make(card);
    }
    return request;
}

TEST(Review, AnAceThrownOnTheOpponentsTrickIsABlunderAtItsCost) {
    // Deals where South, fourth to play in the last five tricks (where the search is exact), cannot
    // beat West-East's winning card and throws an ace on it when it could
    // have played a card of fewer points. With every hand shown the fair review weighs
    // the deal itself, exactly, so its cost is the par's drop.
    int blunders = 0;
    int thrown = 0;
    for (std::uint64_t seed = 1; seed <= 1000; ++seed) {
        bool threw = false;
        std::size_t thrownAt = 0;
        const ReviewRequest request = PlayedHand(seed, 7, true, [&](const PlayState& state) {
            const KindMask legal = state.Legal();
            const std::span<const int> trick = state.Trick();
            if (!threw && trick.size() == 3) {
                const int winner = (state.Leader() + TrickWinner(trick, state.Trump(), state.Rules().tricks)) & 3;
                for (KindMask m = legal; m != 0; m &= m - 1) {
                    const int ace = std::countr_zero(m);
                    const KindMask cheaper = legal & ~KindFlag(ace) & ~KindFlag(ace + 1);
                    if (SideOf(winner) == 1 && RankOfKind(ace) == 0 && cheaper != 0 &&
                        TrickWinner(std::array<int, 4>{trick[0], trick[1], trick[2], ace}, state.Trump(),
                                    state.Rules().tricks) != 3) {
                        threw = true;
                        thrownAt = static_cast<std::size_t>(state.Played());
                        return ace;
                    }
                }
            }
            return 31 - std::countl_zero(legal);  // otherwise the lowest card of the last suit
        });
        if (!threw) continue;
        ++thrown;
        const HandReview review = ReviewHand(request);
        ASSERT_TRUE(review.complete);
        const ReviewedCard& card = review.cards[thrownAt - 28];
        ASSERT_EQ(RankOfKind(card.kind), 0);
        EXPECT_NEAR(card.cost, card.exactCost, 1e-9) << "seed " << seed;
        EXPECT_EQ(card.label, LabelOf(card.exactCost)) << "seed " << seed;
        if (card.exactCost >= 20) {
            EXPECT_EQ(card.label, CardLabel::Blunder);
            ++blunders;
        }
    }
    // Most thrown aces give away their 11 and a little more: a mistake; the
    // seeded deals hold one whose loss reaches a blunder's.
    EXPECT_EQ(thrown, 23);
    EXPECT_EQ(blunders, 1);
}

TEST(Review, TheSolversOwnPlayCostsNothingAndTheCostsAddUpToTheParsDrop) {
    // South plays the solver's card in the last five tricks, the others the
    // rule players': South never costs par, and the par's fall from the
    // first reviewed card to the end is what each side's cards cost, South-North's
    // counted against it and West-East's for it.
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        HandSolver solver;
        const ReviewRequest request = PlayedHand(seed, 7, false, [&](const PlayState& state) {
            const PerKind<int> values = solver.CardValues(state);
            return static_cast<int>(std::max_element(values.begin(), values.end()) - values.begin());
        });
        const HandReview review = ReviewHand(request);
        ASSERT_TRUE(review.complete);
        int southNorth = 0;
        int westEast = 0;
        for (const ReviewedCard& card : review.cards) {
            if (card.seat == 0) {
                EXPECT_EQ(card.exactCost, 0) << "seed " << seed << ", " << KindText(card.kind);
            }
            // A forced card is not weighed: there was nothing to choose.
            if (card.forced)
                EXPECT_TRUE(std::all_of(card.expected.begin(), card.expected.end(), [](double e) { return e == -1; }));
            EXPECT_GE(card.exactCost, 0);
            (SideOf(card.seat) == 0 ? southNorth : westEast) += card.exactCost;
        }
        EXPECT_EQ(review.parAtStart - review.points[0], southNorth - westEast) << "seed " << seed;
        EXPECT_EQ(review.cards.back().parAfter, review.points[0]);
        // The par skips the solve after a card proved to keep it: each
        // figure is still what a solve of its own gives.
        PlayState state(request.rules, PackedCounts(request.hands), request.trump, request.declarer);
        for (std::size_t i = 0; i < request.plays.size(); ++i) {
            if (i >= 28) {
                HandSolver own;
                EXPECT_EQ(review.cards[i - 28].parBefore, state.Points()[0] + own.Solve(state, 0))
                    << "seed " << seed << ", card " << i;
            }
            state.Make(request.plays[i]);
        }
    }
}

TEST(Review, AParBeyondItsBudgetIsEstimatedWithinProvedBoundsAndSaidToBe) {
    // A solve cut short by its budget proves bounds that hold the value, and
    // the tests it had made stand: from the first lead and from mid-hand,
    // budgets from a few positions to enough.
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        Random random(seed, 5);
        const PlayState state = RandomPosition(RuleSet::Standard(), random, 12 - static_cast<int>(seed), 0);
        const int value = HandSolver().Solve(state, 0);
        for (const std::uint64_t budget : {5000u, 50000u, 500000u, 100000000u}) {
            HandSolver solver;
            const HandSolver::Bounds bounds = solver.SolveWithin(state, 0, budget);
            EXPECT_LE(bounds.lower, value) << "seed " << seed << ", budget " << budget;
            EXPECT_GE(bounds.upper, value) << "seed " << seed << ", budget " << budget;
            if (budget == 100000000u) EXPECT_TRUE(bounds.Exact());
        }
    }
    // A review on a budget too small for the first tricks: their pars are
    // estimated and said to be, their cards cost nothing with all cards
    // seen, and the last tricks' pars are proved.
    ReviewRequest request = PlayedHand(3, 0, false, [](const PlayState& state) { return RuleCard(state, 0); });
    request.parNodes = 4000;
    const HandReview review = ReviewHand(request);
    ASSERT_TRUE(review.complete);
    EXPECT_FALSE(review.parAtStartProved);
    EXPECT_TRUE(review.cards.back().parProved);
    bool proved = review.parAtStartProved;
    for (const ReviewedCard& card : review.cards) {
        if (!proved || !card.parProved) EXPECT_EQ(card.exactCost, 0);
        proved = card.parProved;
    }
    const std::string text = ReviewText(request, review);
    EXPECT_NE(text.find("Par as the play began: South-North about "), std::string::npos) << text;
}

TEST(Review, IsTheSameOnAnyNumberOfThreadsAndStopsWhenCancelled) {
    const ReviewRequest one = PlayedHand(5, 7, false, [](const PlayState& state) { return RuleCard(state, 0); });
    ReviewRequest request = one;
    request.threads = 1;
    const HandReview single = ReviewHand(request);
    ASSERT_TRUE(single.complete);
    for (unsigned threads : {2u, 3u}) {
        request.threads = threads;
        const HandReview review = ReviewHand(request);
        EXPECT_EQ(ReviewText(request, review), ReviewText(request, single)) << threads << " threads";
        for (std::size_t c = 0; c < review.cards.size(); ++c)
            EXPECT_EQ(review.cards[c].expected, single.cards[c].expected) << threads << " threads, card " << c;
    }
    // A cancel from the first step of progress ends the review unfinished.
    std::atomic<bool> cancel{false};
    int steps = 0;
    const HandReview stopped = ReviewHand(request, &cancel, [&](int, int) {
        ++steps;
        cancel = true;
    });
    EXPECT_FALSE(stopped.complete);
    EXPECT_LE(steps, 3);
}

TEST(Review, TheAuctionsVerdictOnAHopelessBidAndOnAPass) {
    // South declares at 400 on a hand of nines and jacks without meld: the
    // simulation makes it almost never, and would not have gone past the
    // standing bid. Its
    // partner North, who passed with aces around, hears what it could have bid.
    ReviewRequest request = PlayedHand(9, 11, false, [](const PlayState& state) { return RuleCard(state, 0); });
    request.dealt[0] = CountsOf(HandOf("9C 9C JC 9H 9H JH 9S 9S JS 9D JD QH"));
    request.dealt[2] = CountsOf(HandOf("AC AH AS AD AC AH KH QH 10H 10H JH AD"));
    request.declarer = 0;
    request.bid = 400;
    request.reviewed = {true, false, true, false};
    const HandReview review = ReviewHand(request);
    ASSERT_TRUE(review.complete);
    ASSERT_EQ(review.auction.size(), 2u);
    const AuctionVerdict& south = review.auction[0];
    EXPECT_TRUE(south.declared);
    EXPECT_LT(south.chance, 0.01);
    EXPECT_NEAR(south.expected, -400, 10);
    EXPECT_LE(south.bestBid, 200);
    EXPECT_EQ(south.text.rfind("South's bid of 400 in Hearts makes 0% of the time, -396 on average: hopeless. "
                               "The simulation's best bid for the hand: ",
                               0),
              0u)
        << south.text;
    // The best bid is one the seat could make, above the standing bid, and
    // one that scores more than it gives the other side.
    EXPECT_TRUE(south.bestBid == 0 || south.bestBid >= 200) << south.bestBid;
    // A bid that makes more often than not is no hopeless one: the chance is
    // a share, not a percentage.
    ReviewRequest good = request;
    good.bid = 200;
    good.dealt[0] = request.dealt[2];
    good.reviewed = {true, false, false, false};
    const HandReview made = ReviewHand(good);
    ASSERT_EQ(made.auction.size(), 1u);
    EXPECT_GT(made.auction[0].chance, 0.5);
    EXPECT_EQ(made.auction[0].text.find("hopeless"), std::string::npos) << made.auction[0].text;
    const AuctionVerdict& north = review.auction[1];
    EXPECT_FALSE(north.declared);
    EXPECT_GT(north.bestBid, 400);
    EXPECT_NE(north.text.find("North did not win the auction, which went to 400 for South, partner."),
              std::string::npos);
    // After a pass the verdict says what bidding on was worth.
    EXPECT_NE(north.text.find(" Bidding on to 410 in "), std::string::npos) << north.text;
    EXPECT_GT(north.bestBidExpected, 0);
    EXPECT_NE(ReviewText(request, review).find("Auction: South's bid of 400"), std::string::npos);
}

TEST(Review, APassAgainstTheComputersPassWithEveryHandSeen) {
    // North, the user, passes its losers to South, who declares in Hearts,
    // instead of its top trumps; South passes back as the computer does.
    // With every hand seen North's trumps are worth more kept: its side
    // then takes every trick.
    ReviewRequest request;
    request.rules.passCards = 4;
    request.trump = 1;
    request.declarer = 0;
    const std::array<HandCounts, 4> dealt = {
        HandOf("AC AC 10C 10C KC KC KS KS QS QS AD AD"), HandOf("10D 10D KD KD QD QD JD JD AS AS 10S 10S"),
        HandOf("AH AH 10H 10H KH KH QH QH JH 9S 9S 9D"), HandOf("QC QC JC JC 9C 9C JH 9H 9H JS JS 9D")};
    const HandCounts northGave = HandOf("9S 9S 9D JH");
    const HandCounts southGave = ChoosePass(dealt[0] + northGave, 1, 4, false);
    std::array<HandCounts, 4> hands = dealt;
    hands[0] += northGave - southGave;
    hands[2] += southGave - northGave;
    request.dealt = CountsOf(dealt);
    request.gave[2] = CountsOf(northGave);
    request.gave[0] = CountsOf(southGave);
    request.hands = CountsOf(hands);
    request.reviewed = {false, false, true, false};
    const HandReview review = ReviewHand(request);
    ASSERT_TRUE(review.complete);
    ASSERT_EQ(review.passes.size(), 1u);
    const PassVerdict& pass = review.passes[0];
    EXPECT_EQ(pass.computers, CountsOf(HandOf("AH AH 10H 10H")));
    // Each par is the solver's value of its layout from the first lead.
    HandSolver solver;
    const HandCounts computersPass = PackedCounts(pass.computers);
    std::array<HandCounts, 4> computers = dealt;
    const HandCounts back = ChoosePass(dealt[0] + computersPass, 1, 4, false);
    computers[0] += computersPass - back;
    computers[2] += back - computersPass;
    EXPECT_EQ(pass.par, solver.Solve(PlayState(request.rules, hands, 1, 0), 0));
    EXPECT_EQ(pass.computersPar, solver.Solve(PlayState(request.rules, computers, 1, 0), 0));
    EXPECT_EQ(pass.meld, MeldOf(request.rules, hands[0], 1) + MeldOf(request.rules, hands[2], 1));
    EXPECT_EQ(pass.computersMeld, MeldOf(request.rules, computers[0], 1) + MeldOf(request.rules, computers[2], 1));
    EXPECT_EQ(pass.Gain(), 32);
    EXPECT_EQ(pass.text,
              "North's pass, J♥ 9♠ 9♠ 9♦: meld 120 and par 250 for the side, against 120 and 218 after "
              "passing A♥ A♥ 10♥ 10♥, with every hand seen: 32 points better.");
    // The same layout turned a seat to the left, East passing to West: the
    // same figures for West-East. Played out and reviewed from the first
    // lead or from the last trick, where the par of the play is solved
    // apart, the verdict is the same.
    ReviewRequest turned = request;
    for (std::size_t seat = 0; seat < 4; ++seat) {
        const std::size_t left = (seat + 1) & 3;
        turned.dealt[left] = request.dealt[seat];
        turned.hands[left] = request.hands[seat];
        turned.gave[left] = request.gave[seat];
    }
    turned.declarer = 1;
    turned.reviewed = {false, false, false, true};
    PlayState state(turned.rules, PackedCounts(turned.hands), 1, 1);
    while (!state.Over()) {
        turned.plays.push_back(RuleCard(state, 1));
        state.Make(turned.plays.back());
    }
    std::string east = pass.text;
    east.replace(0, 5, "East");
    for (const int first : {0, 11}) {
        turned.firstTrick = first;
        const HandReview played = ReviewHand(turned);
        ASSERT_EQ(played.passes.size(), 1u);
        EXPECT_EQ(played.passes[0].text, east) << "from trick " << first + 1;
    }
    // South, the declarer, reviewed for its pass back: given North's losers,
    // it hands them back and so gives North its run again. The computer's
    // pass back is the one from South's hand and what North really gave,
    // and its layout the one reviewed above.
    ReviewRequest returning = request;
    returning.gave[2] = CountsOf(northGave);
    returning.gave[0] = returning.gave[2];
    returning.hands = returning.dealt;
    returning.reviewed = {true, false, false, false};
    const HandReview declarers = ReviewHand(returning);
    ASSERT_EQ(declarers.passes.size(), 1u);
    const PassVerdict& returned = declarers.passes[0];
    EXPECT_EQ(returned.computers, request.gave[0]);
    EXPECT_EQ(returned.computersPar, pass.par);
    EXPECT_EQ(returned.par, solver.Solve(PlayState(returning.rules, dealt, 1, 0), 0));
    EXPECT_EQ(returned.text,
              "South's pass, J♥ 9♠ 9♠ 9♦: meld 230 and par 250 for the side, against 120 and 250 after "
              "passing K♣ 9♠ 9♠ 9♦, with every hand seen: 110 points better.");

    // Passing what the computer passes is said in a word.
    request.gave[2] = pass.computers;
    request.gave[0] = CountsOf(back);
    request.hands = CountsOf(computers);
    const HandReview same = ReviewHand(request);
    ASSERT_EQ(same.passes.size(), 1u);
    EXPECT_EQ(same.passes[0].text, "North's pass, A♥ A♥ 10♥ 10♥, is the computer's own.");
    EXPECT_NE(ReviewText(request, review).find("Pass: " + pass.text), std::string::npos);
}

TEST(Review, LabelsTextAndTheSheetsRequest) {
    // The thresholds, each at its edge.
    const std::vector<std::pair<double, std::string_view>> labels{
        {0, "best"},    {0.01, "good"},     {2.99, "good"},  {3, "inaccuracy"}, {7.99, "inaccuracy"},
        {8, "mistake"}, {19.99, "mistake"}, {20, "blunder"}, {60, "blunder"}};
    for (const auto& [cost, text] : labels) EXPECT_EQ(LabelText(LabelOf(cost)), text) << cost;

    // The text of a review: a heading, the par, the cards trick by trick
    // with their verdicts, the points and what was lost.
    ReviewRequest request;
    request.trump = 1;
    request.declarer = 3;
    HandReview review;
    review.parAtStart = 130;
    review.points = {120, 130};
    review.trickWinners = {1};
    auto card = [](int seat, int kind, int parAfter, int exactCost) {
        ReviewedCard c;
        c.seat = seat;
        c.kind = kind;
        c.parAfter = parAfter;
        c.exactCost = exactCost;
        c.expected.fill(-1);
        return c;
    };
    review.cards = {card(3, KindOf(2, 5), 130, 0), card(0, KindOf(2, 0), 118, 12), card(1, KindOf(2, 1), 118, 0),
                    card(2, KindOf(2, 4), 118, 0)};
    review.cards[1].reviewed = true;
    review.cards[1].expected[static_cast<std::size_t>(KindOf(2, 0))] = 96.5;
    review.cards[1].expected[static_cast<std::size_t>(KindOf(2, 3))] = 108;
    review.cards[1].best = KindOf(2, 3);
    review.cards[1].cost = 11.5;
    review.cards[1].label = LabelOf(11.5);
    review.cards[3].reviewed = true;
    review.cards[3].forced = true;
    EXPECT_EQ(ReviewText(request, review),
              "Hand review: Hearts trump, East declares\n"
              "Par as the play began: South-North 130\n"
              "Trick 1, taken by West\n"
              "  East 9\u2660  par 130\n"
              "  South A\u2660  par 118 (12 lost with all cards seen)  mistake: 96.5 against Q\u2660 108.0\n"
              "  West 10\u2660  par 118\n"
              "  North J\u2660  par 118  forced\n"
              "Card points taken: South-North 120, East-West 130\n"
              "Your cards: 0 best, 0 good, 0 inaccuracies, 1 mistake, 0 blunders, 1 forced\n"
              "Expected card points given away against the best card: 11.5\n"
              "Par given away by your side's cards, with every hand seen: 12\n");
    // The points given away are the sum over the labelled cards, a forced
    // card counted as forced and not as best.
    const ReviewSummary summary = Summarise(review);
    EXPECT_EQ(summary.cardsByLabel, (std::array<int, 5>{0, 0, 0, 1, 0}));
    EXPECT_EQ(summary.forced, 1);
    EXPECT_DOUBLE_EQ(summary.lost, 11.5);

    // A sheet's hand: the declarer's partner passed to the declarer, who
    // passed back.
    SheetLine line;
    line.declarer = 1;
    line.trump = 2;
    line.record.passedToDeclarer = CountsOf(KindBit(0));
    line.record.passedBack = CountsOf(KindBit(5));
    line.record.plays = {1, 2};
    const ReviewRequest fromSheet = RequestOf(RuleSet::Standard(), line, {false, true, false, false});
    EXPECT_EQ(PackedCounts(fromSheet.gave), (std::array<HandCounts, 4>{0, KindBit(5), 0, KindBit(0)}));
    EXPECT_EQ(fromSheet.plays, line.record.plays);
    EXPECT_EQ(fromSheet.trump, 2);
    EXPECT_EQ(fromSheet.reviewed, (std::array<bool, 4>{false, true, false, false}));
}

}  // namespace
}  // namespace vantrel
