// Whole double-deck games: the game and its driver on a clock of the test's
// own, the score sheet against a reckoning of the test's own, the computer's
// calls in the form's points, and a pass of four equal cards kept and read
// back.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "game/game_driver.h"
#include "game/game_texts.h"
#include "history/game_history.h"
#include "players/passing.h"
#include "practice/deal_code.h"
#include "review/hand_review.h"
#include "rules/meld_rules.h"
#include "rules/unseen_deck.h"
#include "search/form_solver.h"

namespace vantrel {
namespace {

// The sheet's line reckoned again from its meld, card points and bid: a
// side's meld counts with 20 counters taken; the declarers make the bid
// with meld and counters, else lose it; thrown in, they lose it and the
// defenders score their meld alone.
std::array<int, 3> Reckoned(const SheetLine& line) {
    const auto declarers = static_cast<std::size_t>(line.declarer % 2);
    const std::size_t defenders = 1 - declarers;
    std::array<int, 3> score{};
    if (line.record.plays.empty()) {
        score[declarers] = -line.bid;
        score[defenders] = line.meld[defenders];
        return score;
    }
    for (std::size_t side = 0; side < 2; ++side)
        score[side] = line.cardPoints[side] + (line.cardPoints[side] >= 20 ? line.meld[side] : 0);
    if (score[declarers] < line.bid) score[declarers] = -line.bid;
    return score;
}

// A hand of the 80-card deck reviewed for South: every card and trick as
// played; the pars solved from the end back as far as the budget reaches,
// each equal to a solve of its own, and estimated before, within what the
// hand still holds; South's choices weighed over its worlds; the auction's
// and the pass's verdicts in the form's points.
void CheckDoubleDeckReview(const RuleSet& rules, const SheetLine& line) {
    EXPECT_EQ(WhyNotReviewed(rules, line), "");
    ReviewRequest request = RequestOf(rules, line, {true, false, false, false});
    request.parNodes = 2'000'000;
    request.worlds = 20;
    request.threads = 2;
    int steps = 0;
    const HandReview review = ReviewHand(request, nullptr, [&](int done, int total) {
        EXPECT_LE(done, total);
        steps = done;
    });
    ASSERT_TRUE(review.complete);
    EXPECT_GT(steps, 80);
    ASSERT_EQ(review.cards.size(), 80u);
    EXPECT_EQ(review.trickWinners.size(), 20u);
    EXPECT_EQ((std::array<int, 3>{review.points[0], review.points[1], 0}), line.cardPoints);
    EXPECT_EQ(review.cards.back().parAfter, review.points[0]);
    // The proved pars are the last ones: from the first that was not, every
    // par before is estimated.
    std::size_t firstProved = review.cards.size();
    while (firstProved > 0 && review.cards[firstProved - 1].parProved) --firstProved;
    EXPECT_LE(firstProved, 64u) << "the solver proved fewer than the last four tricks";
    EXPECT_FALSE(review.parAtStartProved);
    for (std::size_t c = 0; c < firstProved; ++c) EXPECT_FALSE(review.cards[c].parProved) << c;
    FormPlayState state(rules, request.hands, request.trump, request.declarer);
    FormSolver solver(16);
    for (std::size_t c = 0; c < review.cards.size(); ++c) {
        const ReviewedCard& card = review.cards[c];
        EXPECT_EQ(card.kind, line.record.plays[c]);
        EXPECT_EQ(card.seat, state.ToPlay());
        EXPECT_GE(card.parAfter, state.Points()[0]);
        EXPECT_LE(card.parAfter, 50 - state.Points()[1]);
        state.Make(card.kind);
        if (card.parProved && c % 7 == 0 && !state.Over())
            EXPECT_EQ(card.parAfter, state.Points()[0] + solver.SolveWithin(state, 0, 100'000'000).lower) << c;
        if (!card.reviewed || card.forced) continue;
        EXPECT_EQ(card.seat, 0);
        ASSERT_GE(card.best, 0);
        EXPECT_GE(card.expected[static_cast<std::size_t>(card.kind)], 0);
        EXPECT_NEAR(
            card.cost,
            card.expected[static_cast<std::size_t>(card.best)] - card.expected[static_cast<std::size_t>(card.kind)],
            1e-9);
        EXPECT_EQ(card.label, LabelOf(card.cost));
    }
    const std::string text = ReviewText(request, review);
    EXPECT_NE(text.find("Par as the play began: South-North about "), std::string::npos) << text;
    ASSERT_EQ(review.auction.size(), 1u);
    EXPECT_NE(review.auction[0].text.find(" of the time"), std::string::npos) << review.auction[0].text;
    if (line.declarer % 2 != 0 || rules.passCards == 0) return;
    // South passed as the computer does; passing by the other rule (the
    // declarer's cards to the partner, or back) is weighed against it, the
    // pars of both layouts estimated from the first lead.
    ASSERT_EQ(review.passes.size(), 1u);
    EXPECT_EQ(review.passes[0].text.find("South's pass, "), 0u);
    EXPECT_NE(review.passes[0].text.find(", is the computer's own."), std::string::npos) << review.passes[0].text;
    ReviewRequest other = request;
    other.plays.clear();
    const bool declares = line.declarer == 0;
    KindCounts& south = other.hands[0];
    KindCounts& north = other.hands[2];
    if (declares) {
        const KindCounts before = Plus(other.dealt[0], other.gave[2]);
        other.gave[0] = ChoosePass(rules, before, other.trump, rules.passCards, true);
        south = Less(before, other.gave[0]);
        north = Plus(Less(other.dealt[2], other.gave[2]), other.gave[0]);
    } else {
        other.gave[0] = ChoosePass(rules, other.dealt[0], other.trump, rules.passCards, false);
        const KindCounts norths = Plus(other.dealt[2], other.gave[0]);
        other.gave[2] = ChoosePass(rules, norths, other.trump, rules.passCards, false);
        south = Plus(Less(other.dealt[0], other.gave[0]), other.gave[2]);
        north = Less(norths, other.gave[2]);
    }
    ASSERT_NE(other.gave[0], request.gave[0]);
    const HandReview weighed = ReviewHand(other);
    ASSERT_TRUE(weighed.complete);
    ASSERT_EQ(weighed.passes.size(), 1u);
    const PassVerdict& pass = weighed.passes[0];
    EXPECT_EQ(pass.passed, other.gave[0]);
    EXPECT_EQ(pass.computers, request.gave[0]);
    EXPECT_EQ(pass.meld, MeldOf(rules, south, other.trump) + MeldOf(rules, north, other.trump));
    EXPECT_FALSE(pass.proved);
    for (const int par : {pass.par, pass.computersPar}) EXPECT_TRUE(par >= 0 && par <= 50) << par;
    EXPECT_NE(pass.text.find("The pars are estimated"), std::string::npos) << pass.text;
}

TEST(GameDriver, DoubleDeckGamesPlayToTheEndOnATestClock) {
    for (const int passCards : {0, 4}) {
        RuleSet rules = RuleSet::DoubleDeck();
        rules.passCards = passCards;
        GameSettings settings;
        settings.rules = rules;
        settings.seats = {SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
        std::int64_t now = 0;
        GameDriver driver(settings, 30 + static_cast<std::uint64_t>(passCards), [&] { return now; });
        std::size_t checked = 0;
        for (int step = 0; step < 20000 && driver.game().CurrentPhase() != Phase::GameOver; ++step) {
            if (const std::optional<DecisionRequest> request = driver.TakeRequest())
                driver.Deliver(request->id,
                               ChooseMove(request->position, request->seat, request->level, request->seed));
            else if (const std::optional<std::int64_t> due = driver.NextDue())
                now = std::max(now, *due), driver.Advance();
            else
                driver.Continue();
            const Game& game = driver.game();
            for (; checked < game.Sheet().size(); ++checked) {
                const SheetLine& line = game.Sheet()[checked];
                SCOPED_TRACE("pass " + std::to_string(passCards) + ", hand " + std::to_string(checked + 1));
                // Twenty cards a hand, every counter and the last trick taken.
                for (const KindCounts& hand : line.record.hands) EXPECT_EQ(CardCount(hand), 20);
                if (!line.record.plays.empty()) {
                    EXPECT_EQ(line.record.plays.size(), 80u);
                    EXPECT_EQ(line.cardPoints[0] + line.cardPoints[1], 50);
                }
                EXPECT_EQ(line.score, Reckoned(line));
                EXPECT_GE(line.bid, 50);
                // The deal's code is the 80-card deck's and deals it again.
                const DecodedHands decoded = ReadDealCode(line.dealCode);
                ASSERT_TRUE(decoded.ok) << decoded.problem;
                EXPECT_EQ(decoded.hands, line.record.dealt);
                const std::array<int, 3> before =
                    checked == 0 ? std::array<int, 3>{} : game.Sheet()[checked - 1].totals;
                // Nobody had won before this hand.
                EXPECT_LT(std::max(before[0], before[1]), 500);
            }
        }
        const Game& game = driver.game();
        ASSERT_EQ(game.CurrentPhase(), Phase::GameOver) << "pass " << passCards;
        EXPECT_GE(game.Sheet().size(), 3u);
        const auto winner = static_cast<std::size_t>(game.Winner());
        EXPECT_GE(game.Totals()[winner], 500);
        // The side that reached 500 alone, or the declarers counting out first.
        const SheetLine& last = game.Sheet().back();
        if (game.Totals()[1 - winner] >= 500) EXPECT_EQ(winner, static_cast<std::size_t>(last.declarer % 2));
        // The last hand played out is reviewed for South; where cards were
        // passed, the last that South's side declared, so that South passed.
        const auto played = std::find_if(game.Sheet().rbegin(), game.Sheet().rend(), [&](const SheetLine& line) {
            return !line.record.plays.empty() && (passCards == 0 || line.declarer % 2 == 0);
        });
        ASSERT_NE(played, game.Sheet().rend());
        CheckDoubleDeckReview(rules, *played);
    }
}

TEST(Bidding, DoubleDeckCallsAreInTheFormsPointsWithTheirReasons) {
    // Normal computers call from 50 by ones and say why in the form's
    // points; Easy values its hand in them too.
    const std::regex bid(
        R"((\d+): makes it \d+% of the time in (Clubs|Hearts|Spades|Diamonds), [+-]\d+ on average over the other side)");
    const std::regex pass(
        R"(Pass: (\d+ makes it \d+% of the time in \w+, [+-]\d+ on average over the other side|partner holds the bid at \d+))");
    const std::regex easy(
        R"(Pass: (hand valued at \d+, under \d+|partner holds the bid at \d+)|\d+: hand valued at \d+ with \w+ as trump)");
    for (const Level level : {Level::Normal, Level::Easy}) {
        int calls = 0, bids = 0;
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            Game game(RuleSet::DoubleDeck(), seed);
            while (game.CurrentPhase() == Phase::Auction) {
                const int seat = game.ToAct();
                const ComputerMove move = ChooseMove(game, seat, level, seed);
                std::smatch match;
                if (level == Level::Easy)
                    EXPECT_TRUE(std::regex_match(move.reason, easy)) << move.reason;
                else if (move.kind == ComputerMove::Bid)
                    EXPECT_TRUE(std::regex_match(move.reason, match, bid) && std::stoi(match[1]) == move.value)
                        << move.reason;
                else
                    EXPECT_TRUE(std::regex_match(move.reason, pass)) << move.reason;
                if (move.kind == ComputerMove::Bid) {
                    EXPECT_EQ(move.value, game.CurrentAuction().MinimumBid());
                    ++bids;
                }
                ASSERT_EQ(ApplyMove(game, seat, move), "");
                ++calls;
            }
            EXPECT_GE(game.CurrentAuction().HighBid(), 50);
            EXPECT_LT(game.CurrentAuction().HighBid(), 120) << "a bid no double-deck hand makes";
        }
        EXPECT_GE(calls, 9);
        if (level == Level::Normal) EXPECT_GT(bids, 0) << "Normal never bid over three deals";
    }
}

TEST(Game, DoubleDeckTablesRulesPassedOutDealsAndTheQuadrupleRun) {
    // The dealer not stuck: four passes deal again from the next dealer,
    // with no line on the sheet, and the first bid may be the standing bid.
    RuleSet loose = RuleSet::DoubleDeck();
    loose.dealerStuck = false;
    Game game(loose, 4, 0);
    const std::string firstDeal = game.DealCode();
    for (const int seat : {1, 2, 3, 0}) ASSERT_EQ(game.Pass(seat), "");
    EXPECT_EQ(game.CurrentPhase(), Phase::Auction);
    EXPECT_EQ(game.Dealer(), 1);
    EXPECT_TRUE(game.Sheet().empty());
    EXPECT_NE(game.DealCode(), firstDeal);
    EXPECT_EQ(StatusLine(game, 1u, 0), "All four passed; West deals again. North is to call\u2026");
    EXPECT_EQ(game.Bid(2, 49), "A bid must be at least 50.");
    ASSERT_EQ(game.Bid(2, 50), "");
    EXPECT_EQ(StatusLine(game, 1u, 0).rfind("All four passed", 0), std::string::npos);
    // Where the table plays it so, South's quadruple run in trump is the
    // game whatever the score; elsewhere it is 300 of meld.
    KindCounts rest = WholeDeckOf(loose.form);
    KindCounts south{};
    for (int rank = 0; rank < 5; ++rank) {
        AddCards(south, KindOf(1, rank), 4);
        rest[static_cast<std::size_t>(KindOf(1, rank))] = 0;
    }
    Random random(11, 0);
    const std::array<KindCounts, 3> others = UnseenDeck(rest).DealCounts(random, std::array<int, 3>{20, 20, 20});
    const std::string code = DealCodeOf(loose.form, {south, others[0], others[1], others[2]});
    for (const bool wins : {true, false}) {
        RuleSet rules = RuleSet::DoubleDeck();
        rules.quadRunWins = wins;
        Game played(rules, 4, 3);
        ASSERT_EQ(played.DealFromCode(code), "");
        ASSERT_EQ(played.Bid(0, 51), "");
        for (const int seat : {1, 2, 3}) ASSERT_EQ(played.Pass(seat), "");
        ASSERT_EQ(played.NameTrump(0, 1), "");
        while (played.CurrentPhase() != Phase::HandScored && played.CurrentPhase() != Phase::GameOver) {
            const int seat = played.ToAct();
            if (seat < 0)
                ASSERT_EQ(played.Continue(), "");
            else
                ASSERT_EQ(ApplyMove(played, seat, ChooseMove(played, seat, Level::Easy, 1)), "");
        }
        const SheetLine& line = played.Sheet().back();
        EXPECT_GE(line.meld[0], 300);
        EXPECT_LT(played.Totals()[0], 500);
        EXPECT_EQ(played.CurrentPhase(), wins ? Phase::GameOver : Phase::HandScored);
        EXPECT_EQ(played.Winner(), wins ? 0 : -1);
        EXPECT_EQ(line.result.find("; South's quadruple run wins the game") != std::string::npos, wins) << line.result;
    }
}

TEST(Game, ADoubleDeckPassOfFourEqualCardsIsKeptAndReadBack) {
    // North holds all four aces of hearts and passes them to South, who
    // declares: the move is kept above the two bits a kind, and the export
    // reads back to the same game.
    RuleSet rules = RuleSet::DoubleDeck();
    rules.passCards = 4;
    const int aceOfHearts = KindOf(1, 0);
    KindCounts rest = WholeDeckOf(rules.form);
    rest[static_cast<std::size_t>(aceOfHearts)] = 0;
    Random random(9, 1);
    std::array<KindCounts, 4> hands = UnseenDeck(rest).DealCounts(random, std::array<int, 4>{20, 20, 16, 20});
    AddCards(hands[2], aceOfHearts, 4);
    GameSettings settings;
    settings.rules = rules;
    settings.seats = {SeatPlayer::You, SeatPlayer::Easy, SeatPlayer::You, SeatPlayer::Easy};
    std::int64_t now = 0;
    GameDriver driver(settings, 3, [&] { return now; });
    ASSERT_EQ(driver.DealFromCode(DealCodeOf(rules.form, hands)), "");
    EXPECT_EQ(driver.game().Dealt(), hands);
    Game game = driver.game();
    ASSERT_EQ(game.Bid(0, 51), "");
    for (const int seat : {1, 2, 3}) ASSERT_EQ(game.Pass(seat), "");
    ASSERT_EQ(game.NameTrump(0, 1), "");
    KindCounts four{};
    AddCards(four, aceOfHearts, 4);
    ASSERT_EQ(game.PassCards(2, four), "");
    EXPECT_EQ(CountIn(game.HandOf(0), aceOfHearts), 4);

    const std::uint64_t word = CardsWord(four);
    EXPECT_EQ(word >> 48, static_cast<std::uint64_t>(aceOfHearts + 1));
    EXPECT_EQ(CardsOfWord(word), four);
    // A 48-card pass is kept as it always was; a word naming no kind reads as none.
    EXPECT_EQ(CardsWord(CountsOf(KindBit(3) + 2 * KindBit(7))), KindBit(3) + 2 * KindBit(7));
    EXPECT_EQ(CardsOfWord(std::uint64_t{25} << 48), std::nullopt);

    KeptGame kept;
    kept.started = "2026-12-09T10:00:00";
    kept.seed = 3;
    kept.settings = settings;
    kept.moves = driver.Log();
    kept.moves.push_back(GameMove::Of(GameMove::Kind::Bid, 0, 51));
    for (const int seat : {1, 2, 3}) kept.moves.push_back(GameMove::Of(GameMove::Kind::Pass, seat));
    kept.moves.push_back(GameMove::Of(GameMove::Kind::Trump, 0, 1));
    kept.moves.push_back(GameMove::Of(GameMove::Kind::PassCards, 2, 0, four));
    const ReadGame read = ReadGameLine(GameLine(kept));
    ASSERT_TRUE(read.driver) << read.refused;
    EXPECT_EQ(read.game, kept);
    EXPECT_TRUE(read.driver->game() == game);
}

}  // namespace
}  // namespace vantrel
