// Whole double-deck games: the game and its driver on a clock of the test's
// own, the score sheet against a reckoning of the test's own, the computer's
// calls in the form's points, and a pass of four equal cards kept and read
// back.
#include <gtest/gtest.h>

#include <regex>

#include "game/game_driver.h"
#include "history/game_history.h"
#include "practice/deal_code.h"
#include "review/hand_review.h"
#include "rules/unseen_deck.h"

namespace vantrel {
namespace {

// The sheet's line reckoned again from its meld, card points and bid: a
// side's meld counts with 20 counters taken; the declarers make the bid
// with meld and counters, else lose it; thrown in, they lose it and the
// defenders score their meld alone.
std::array<int, 2> Reckoned(const SheetLine& line) {
    const auto declarers = static_cast<std::size_t>(line.declarer % 2);
    const std::size_t defenders = 1 - declarers;
    std::array<int, 2> score{};
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
                const std::array<int, 2> before =
                    checked == 0 ? std::array<int, 2>{} : game.Sheet()[checked - 1].totals;
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
        // The review's solver holds the 48-card deck: it refuses the hand
        // with a reason rather than read it wrongly.
        EXPECT_EQ(WhyNotReviewed(rules, last),
                  "The review reads hands of the 48-card deck: a hand of the 80-card deck cannot be reviewed yet.");
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
