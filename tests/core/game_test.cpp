// The game's state machine: whole games between computer seats, refused
// moves, passing and practice hands.
#include <gtest/gtest.h>

#include "game/full_duel.h"
#include "game/game.h"
#include "game/game_settings.h"
#include "players/passing.h"
#include "rules/trick_rules.h"

namespace vantrel {
namespace {

// Moves the game on by one step: the seat to act moves as an Easy computer,
// or the meld and a scored hand are looked at and left.
void Step(Game& game, std::uint64_t seed) {
    const int seat = game.ToAct();
    if (seat < 0) {
        if (game.CurrentPhase() == Phase::Meld) {
            const ComputerMove move = ChooseMove(game, game.Declarer(), Level::Easy, seed);
            if (move.kind == ComputerMove::ThrowIn) {
                ASSERT_EQ(ApplyMove(game, game.Declarer(), move), "");
                return;
            }
        }
        ASSERT_EQ(game.Continue(), "");
        return;
    }
    ASSERT_EQ(ApplyMove(game, seat, ChooseMove(game, seat, Level::Easy, seed)), "");
}

TEST(Game, WholeGamesBetweenFourEasySeats) {
    for (std::uint64_t seed : {1, 2, 3}) {
        RuleSet rules = RuleSet::Standard();
        rules.passCards = seed == 3 ? 4 : 0;
        Game game(rules, seed, 3);
        std::size_t scored = 0;
        for (int steps = 0; game.CurrentPhase() != Phase::GameOver && game.Sheet().size() < 60; ++steps) {
            Step(game, seed + static_cast<std::uint64_t>(steps));
            if (game.Sheet().size() == scored) continue;
            // A hand was scored: the totals add up, the deal passes to the left.
            const SheetLine& line = game.Sheet().back();
            const std::array<int, 2> before = scored == 0 ? std::array<int, 2>{} : game.Sheet()[scored - 1].totals;
            EXPECT_EQ(line.totals[0], before[0] + line.score[0]) << "seed " << seed << ", hand " << scored + 1;
            EXPECT_EQ(line.totals[1], before[1] + line.score[1]) << "seed " << seed << ", hand " << scored + 1;
            EXPECT_EQ(line.dealer, (3 + static_cast<int>(scored)) % 4) << "seed " << seed;
            EXPECT_EQ(line.declarer, game.Declarer());
            // The hand's record plays again to the points on the sheet.
            PlayState replay(rules, line.record.hands, line.trump, line.declarer);
            for (const int card : line.record.plays) ASSERT_EQ(replay.Play(card), "");
            EXPECT_EQ((replay.Over() ? replay.Points() : std::array<int, 2>{}), line.cardPoints);
            EXPECT_EQ(line.record.calls, game.CurrentAuction().Calls());
            ++scored;
        }
        ASSERT_EQ(game.CurrentPhase(), Phase::GameOver) << "seed " << seed;
        // The target ends the game by its rule, and no earlier.
        const std::array<int, 2> totals = game.Totals();
        const SheetLine& last = game.Sheet().back();
        const int declarers = SideOf(last.declarer);
        const bool made = last.result.rfind("Made", 0) == 0;
        EXPECT_EQ(game.Winner(), GameWinner(rules, totals, declarers, made));
        for (std::size_t i = 0; i + 1 < game.Sheet().size(); ++i)
            EXPECT_TRUE(game.Sheet()[i].totals[0] < 1500 && game.Sheet()[i].totals[1] < 1500);
        EXPECT_NE(game.Continue(), "");
    }
}

TEST(Game, RefusedMovesLeaveTheStateUnchanged) {
    RuleSet rules = RuleSet::Standard();
    rules.passCards = 3;
    Game game(rules, 7, 3);  // South bids first
    const struct {
        const char* what;
        std::function<std::string(Game&)> move;
        const char* reason;
    } refusals[] = {
        {"a bid out of turn", [](Game& g) { return g.Bid(1, 200); }, "It is South's turn, not West's."},
        {"a bid below the step", [](Game& g) { return g.Bid(0, 195); }, "A bid must be at least 200."},
        {"trump during the auction", [](Game& g) { return g.NameTrump(0, 1); },
         "This is not the time: the game is at the auction."},
        {"a card during the auction", [](Game& g) { return g.PlayCard(0, 0); },
         "This is not the time: the game is at the auction."},
        {"nothing to go on from", [](Game& g) { return g.Continue(); },
         "There is nothing to go on from: the game is at the auction."},
        {"a refused code", [](Game& g) { return g.DealFromCode("nonsense"); },
         "A deal code has 17 characters besides dashes and blanks; this one has 8."},
    };
    for (const auto& r : refusals) {
        const Game before = game;
        EXPECT_EQ(r.move(game), r.reason) << r.what;
        EXPECT_TRUE(game == before) << r.what;
    }
    // South wins at 200; trump, passing and play refusals.
    ASSERT_EQ(game.Bid(0, 200), "");
    for (int seat : {1, 2, 3}) ASSERT_EQ(game.Pass(seat), "");
    const Game atTrump = game;
    EXPECT_EQ(game.NameTrump(1, 1), "It is South's turn, not West's.");
    EXPECT_EQ(game.NameTrump(0, 4), "Trump is one of the four suits.");
    EXPECT_TRUE(game == atTrump);
    ASSERT_EQ(game.NameTrump(0, 1), "");
    const Game atPass = game;
    EXPECT_EQ(game.PassCards(2, 0), "Pass 3 cards, not 0.");
    HandCounts notHeld = 0;
    for (int kind = 0; kind < kCardKinds && CardCount(notHeld) < 3; ++kind)
        if (CountOf(game.HandOf(2), kind) == 0) notHeld += KindBit(kind);
    EXPECT_EQ(game.PassCards(2, notHeld), "North does not hold those cards.");
    EXPECT_EQ(game.PassCards(0, notHeld), "It is North's turn, not South's.");
    EXPECT_TRUE(game == atPass);
}

TEST(Game, GamesWithTheSameSeedAndMovesAreEqual) {
    // A game is a value: played the same way twice, the two are equal at
    // every step, and differ once a move differs.
    Game a(RuleSet::Standard(), 11, 3), b(RuleSet::Standard(), 11, 3);
    for (int step = 0; a.CurrentPhase() != Phase::HandScored; ++step) {
        Step(a, 5);
        Step(b, 5);
        ASSERT_TRUE(a == b) << "step " << step;
    }
    Game c(RuleSet::Standard(), 11, 3);
    ASSERT_EQ(c.Pass(0), "");
    EXPECT_FALSE(c == Game(RuleSet::Standard(), 11, 3));
}

TEST(Game, PassingAndAPracticeHandThatDoesNotCount) {
    RuleSet rules = RuleSet::Standard();
    rules.passCards = 4;
    Game game(rules, 21, 3);
    while (game.CurrentPhase() != Phase::Meld) Step(game, 2);
    // Every hand still holds twelve cards after four went each way.
    for (int seat = 0; seat < 4; ++seat) EXPECT_EQ(CardCount(game.HandOf(seat)), 12);
    while (game.CurrentPhase() != Phase::HandScored) Step(game, 2);
    const std::array<int, 2> totals = game.Totals();
    const std::string code = game.Sheet().front().dealCode;
    ASSERT_EQ(game.ReplayLine(0), "");
    EXPECT_TRUE(game.Practice());
    EXPECT_EQ(game.DealCode(), code);
    EXPECT_EQ(game.Dealer(), 3);
    while (game.CurrentPhase() != Phase::HandScored) Step(game, 2);
    EXPECT_TRUE(game.Sheet().back().practice);
    EXPECT_EQ(game.Totals(), totals);
    EXPECT_NE(game.SheetText().find("* a deal played again for practice"), std::string::npos);
    ASSERT_EQ(game.Continue(), "");
    EXPECT_EQ(game.Dealer(), 0);  // the game goes on with the next dealer in turn
    EXPECT_FALSE(game.Practice());
}

TEST(Game, SettingsAreKeptAndBadOnesPassedOver) {
    GameSettings chosen;
    chosen.seats = {SeatPlayer::You, SeatPlayer::Strong, SeatPlayer::You, SeatPlayer::Easy};
    chosen.pace = Pace::Slow;
    chosen.hints = false;
    chosen.rules.passCards = 3;
    EXPECT_EQ(GameSettings::FromSettings(chosen.ToSettings()), chosen);
    EXPECT_EQ(chosen.UserSeats(), 5u);
    // West may not be the user's; unknown names and values keep the defaults.
    const GameSettings read = GameSettings::FromSettings(
        {{"seat/west", "you"}, {"pace", "warp"}, {"hints", "maybe"}, {"rules/gameTarget", "-5"}, {"colour", "red"}});
    EXPECT_EQ(read, GameSettings{});
}

TEST(Game, ComputersPassByTheirOwnChoice) {
    // To the declarer: the highest trumps, then aces. Back to partner: what
    // keeps the meld, losers first (nines and jacks outside trump).
    auto hand = [](std::initializer_list<int> kinds) {
        HandCounts counts = 0;
        for (int kind : kinds) counts += KindBit(kind);
        return counts;
    };
    const int H = 1;
    const HandCounts partner =
        hand({KindOf(H, 0), KindOf(H, 5), KindOf(0, 0), KindOf(2, 5), KindOf(3, 4), KindOf(H, 2), KindOf(0, 3),
              KindOf(2, 1), KindOf(3, 1), KindOf(0, 4), KindOf(2, 4), KindOf(3, 5)});
    EXPECT_EQ(CountsText(ChoosePass(partner, H, 4, true)),
              CountsText(hand({KindOf(H, 0), KindOf(H, 2), KindOf(H, 5), KindOf(0, 0)})));
    const HandCounts declarer =
        hand({KindOf(H, 0), KindOf(H, 1), KindOf(H, 2), KindOf(H, 3), KindOf(H, 4), KindOf(0, 5), KindOf(2, 5),
              KindOf(3, 4), KindOf(0, 0), KindOf(2, 0), KindOf(3, 0), KindOf(1, 0)});
    EXPECT_EQ(CountsText(ChoosePass(declarer, H, 3, false)),
              CountsText(hand({KindOf(0, 5), KindOf(2, 5), KindOf(3, 4)})));
}

TEST(Duel, WholeHandsAtTwoTablesOfOneDealAddUpAsTheirSheetsDo) {
    RuleSet rules = RuleSet::Standard();
    rules.passCards = 3;
    // A pair against itself plays both tables alike: no difference, the
    // same contracts on each side.
    const FullDuelResult even = PlayFullDuel(rules, {Level::Easy}, {Level::Easy}, 6, 3, 2);
    EXPECT_EQ(even.handScore, 0);
    EXPECT_EQ(even.contracts[0].won, even.contracts[1].won);
    EXPECT_EQ(even.contracts[0].made, even.contracts[1].made);
    // One deal at both tables, and the same deal as a match of one.
    const FullDuelDeal played = PlayFullDuelDeal(rules, {Level::Normal}, {Level::Easy}, 3, 0);
    EXPECT_EQ(played.first.dealt, played.second.dealt);
    int tables = 0;
    for (const FullDuelTable* table : {&played.first, &played.second}) {
        ASSERT_GE(table->declarer, 0);
        ++tables;
        // The declaring side scores at least its bid when it makes it and
        // loses the bid when it does not.
        const int declarers = table->score[static_cast<std::size_t>(SideOf(table->declarer))];
        if (table->made)
            EXPECT_GE(declarers, table->bid);
        else
            EXPECT_EQ(declarers, -table->bid);
    }
    const FullDuelResult match = PlayFullDuel(rules, {Level::Normal}, {Level::Easy}, 1, 3, 1);
    EXPECT_DOUBLE_EQ(match.handScore, played.Difference());
    EXPECT_EQ(match.contracts[0].won + match.contracts[1].won, tables);
    EXPECT_EQ(match.contracts[0].made + match.contracts[0].set, match.contracts[0].won);
}

}  // namespace
}  // namespace vantrel
