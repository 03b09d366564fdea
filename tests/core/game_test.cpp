// The game's state machine: whole games between computer seats, refused
// moves, passing and practice hands.
#include <gtest/gtest.h>

#include <bit>
#include <climits>

#include "game/full_duel.h"
#include "game/game.h"
#include "game/game_move.h"
#include "game/game_settings.h"
#include "players/passing.h"
#include "players/world_sampler.h"
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
            const std::array<int, 3> before = scored == 0 ? std::array<int, 3>{} : game.Sheet()[scored - 1].totals;
            EXPECT_EQ(line.totals[0], before[0] + line.score[0]) << "seed " << seed << ", hand " << scored + 1;
            EXPECT_EQ(line.totals[1], before[1] + line.score[1]) << "seed " << seed << ", hand " << scored + 1;
            EXPECT_EQ(line.dealer, (3 + static_cast<int>(scored)) % 4) << "seed " << seed;
            EXPECT_EQ(line.declarer, game.Declarer());
            // The hand's record plays again to the points on the sheet.
            FormPlayState replay(rules, line.record.hands, line.trump, line.declarer);
            for (const int card : line.record.plays) ASSERT_EQ(replay.Play(card), "");
            const std::array<int, 2> points = replay.Over() ? replay.Points() : std::array<int, 2>{};
            EXPECT_EQ((std::array<int, 3>{points[0], points[1], 0}), line.cardPoints);
            EXPECT_EQ(line.record.calls, game.CurrentAuction().Calls());
            ++scored;
        }
        ASSERT_EQ(game.CurrentPhase(), Phase::GameOver) << "seed " << seed;
        // The target ends the game by its rule, and no earlier.
        const std::array<int, 3> totals = game.Totals();
        const SheetLine& last = game.Sheet().back();
        const int declarers = SideOf(last.declarer);
        const bool made = last.result.rfind("Made", 0) == 0;
        EXPECT_EQ(game.Winner(), GameWinner(rules, {totals[0], totals[1]}, declarers, made));
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
         "A deal code has 17 characters besides dashes and blanks (22 for the 80-card deck); this one has 8."},
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
    EXPECT_EQ(game.PassCards(2, {}), "Pass 3 cards, not 0.");
    KindCounts notHeld{};
    for (int kind = 0; kind < kCardKinds && CardCount(notHeld) < 3; ++kind)
        if (CountIn(game.HandOf(2), kind) == 0) AddCards(notHeld, kind);
    EXPECT_EQ(game.PassCards(2, notHeld), "North does not hold those cards.");
    EXPECT_EQ(game.PassCards(0, notHeld), "It is North's turn, not South's.");
    EXPECT_TRUE(game == atPass);
}

TEST(Game, AThrownInHandShowsItsHandsAsHeldAndScoresAsThrownIn) {
    // Without passing, and after 3 and 4 cards went each way: the hands read
    // after the throw-in are those held, the deal code is the deal as dealt,
    // and the sheet says thrown in, the other side scoring its meld.
    for (const int passCards : {0, 3, 4}) {
        RuleSet rules = RuleSet::Standard();
        rules.passCards = passCards;
        Game game(rules, 40 + static_cast<std::uint64_t>(passCards), 3);
        const std::string code = game.DealCode();
        const std::array<KindCounts, 4> dealt = game.Dealt();
        while (game.CurrentPhase() != Phase::Meld) Step(game, 9);
        const std::array<KindCounts, 4> held = game.HandsInPlay();
        EXPECT_EQ(held != dealt, passCards > 0) << passCards;
        EXPECT_EQ(game.DealCode(), code) << passCards;
        const int declarer = game.Declarer();
        const std::array<int, 2> meld = game.SideMeld();
        ASSERT_EQ(game.ThrowIn(declarer), "");
        for (int seat = 0; seat < 4; ++seat) {
            EXPECT_EQ(game.HandOf(seat), held[static_cast<std::size_t>(seat)]) << passCards << ", seat " << seat;
            EXPECT_EQ(game.Play().Hands()[static_cast<std::size_t>(seat)], held[static_cast<std::size_t>(seat)]);
        }
        const SheetLine& line = game.Sheet().back();
        const auto d = static_cast<std::size_t>(SideOf(declarer));
        std::array<int, 3> score{};
        score[d] = -line.bid;
        score[1 - d] = meld[1 - d];
        EXPECT_EQ(line.result, "Thrown in");
        EXPECT_EQ(line.score, score) << passCards;
        EXPECT_EQ(line.dealCode, code);
        EXPECT_EQ(line.record.dealt, dealt);
        EXPECT_EQ(line.record.hands, held);
        EXPECT_TRUE(line.record.plays.empty());
    }
}

TEST(Game, BadMovesAreRefusedWholeAndChangeNothing) {
    // Moves as they come from a file or a garbled window: values out of
    // range whatever their bits, each refused with its reason and the game
    // left equal to before.
    RuleSet rules = RuleSet::Standard();
    rules.passCards = 4;
    Game game(rules, 7, 3);
    using K = GameMove::Kind;
    auto refuse = [&](const std::vector<std::pair<GameMove, std::string>>& table) {
        for (const auto& [move, reason] : table) {
            const Game before = game;
            EXPECT_EQ(Apply(game, move), reason) << KindName(move.kind) << " " << move.seat << " " << move.value;
            EXPECT_TRUE(game == before) << reason;
        }
    };
    refuse({
        {GameMove::Of(K::Bid, 7, 200), "There is no seat 7."},
        {GameMove::Of(K::Bid, -1, 200), "There is no seat -1."},
        {GameMove::Of(K::Pass, 4), "There is no seat 4."},
        {GameMove::Of(K::Bid, 0, INT_MAX), "A bid is at most 10000."},
        {GameMove::Of(K::Bid, 0, INT_MIN), "A bid must be at least 200."},
        {GameMove::Of(K::ReplayLine, -1, 0), "There is no such line on the score sheet."},
        {GameMove::Of(K::ReplayLine, -1, -5), "There is no such line on the score sheet."},
        {GameMove::Of(K::ThrowIn, 9), "There is no seat 9."},
        {GameMove::Of(static_cast<K>(42), 0), "This move could not be read."},
        {GameMove::Of(K::Unreadable, 0), "This move could not be read."},
    });
    ASSERT_EQ(game.Bid(0, 200), "");
    for (int seat : {1, 2, 3}) ASSERT_EQ(game.Pass(seat), "");
    refuse({
        {GameMove::Of(K::Trump, 0, 4), "Trump is one of the four suits."},
        {GameMove::Of(K::Trump, 0, -1), "Trump is one of the four suits."},
        {GameMove::Of(K::Trump, 0, INT_MIN), "Trump is one of the four suits."},
    });
    ASSERT_EQ(game.NameTrump(0, 1), "");
    // North passes: four cards it holds, with a third or a fourth copy, or
    // every count at its most.
    KindCounts four{};
    for (int kind = 0; kind < kCardKinds && CardCount(four) < 4; ++kind)
        if (CountIn(game.HandOf(2), kind) > 0) AddCards(four, kind);
    const int first = std::countr_zero(HeldKinds(four));
    KindCounts third = four, fourth = four, full{};
    AddCards(third, first, 2);
    AddCards(fourth, first, 3);
    full.fill(255);
    refuse({
        {GameMove::Of(K::PassCards, 2, 0, third), "The deck holds only 2 of each card."},
        {GameMove::Of(K::PassCards, 2, 0, fourth), "The deck holds only 2 of each card."},
        {GameMove::Of(K::PassCards, 2, 0, full), "The deck holds only 2 of each card."},
        {GameMove::Of(K::PassCards, 5, 0, four), "There is no seat 5."},
    });
    ASSERT_EQ(game.PassCards(2, four), "");
    ASSERT_EQ(game.PassCards(0, CountsOf(ChoosePass(PackedCounts(game.HandOf(0)), 1, 4, false))), "");
    ASSERT_EQ(game.Continue(), "");
    refuse({
        {GameMove::Of(K::Play, 0, kCardKinds), "There is no such card."},
        {GameMove::Of(K::Play, 0, -1), "There is no such card."},
        {GameMove::Of(K::Play, 0, INT_MAX), "There is no such card."},
        {GameMove::Of(K::Play, -3, 0), "There is no seat -3."},
    });
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
    while (game.CurrentPhase() != Phase::PassBack) Step(game, 2);
    // Between the passes the declarer holds 16 cards and its partner 8: every
    // view says so, and a world drawn from one deals them so.
    const int declarer = game.Declarer();
    for (int seat = 0; seat < 4; ++seat) {
        const SeatView view = game.SingleDeckViewOf(seat);
        Random random(3, static_cast<std::uint64_t>(seat));
        const SampledWorld world = SampleWorld(view, random);
        for (int other = 0; other < 4; ++other) {
            const int cards = other == declarer ? 16 : other == PartnerSeat(declarer) ? 8 : 12;
            EXPECT_EQ(view.CardsLeft(other), cards) << "seat " << seat << " on " << other;
            EXPECT_EQ(CardCount(world.hands[static_cast<std::size_t>(other)]), cards) << "seat " << seat;
        }
    }
    while (game.CurrentPhase() != Phase::Meld) Step(game, 2);
    // Every hand still holds twelve cards after four went each way.
    for (int seat = 0; seat < 4; ++seat) EXPECT_EQ(CardCount(game.HandOf(seat)), 12);
    while (game.CurrentPhase() != Phase::HandScored) Step(game, 2);
    const std::array<int, 3> totals = game.Totals();
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
    // The second table exchanges the pairs' seats: pair A West-East there is
    // pair A South-North at the first table of the match with the pairs named
    // the other way round.
    const FullDuelDeal turned = PlayFullDuelDeal(rules, {Level::Easy}, {Level::Normal}, 3, 0);
    for (const auto& [one, other] :
         {std::pair{&played.first, &turned.second}, std::pair{&played.second, &turned.first}}) {
        EXPECT_EQ(one->declarer, other->declarer);
        EXPECT_EQ(one->bid, other->bid);
        EXPECT_EQ(one->score, other->score);
    }
    const FullDuelResult match = PlayFullDuel(rules, {Level::Normal}, {Level::Easy}, 1, 3, 1);
    EXPECT_DOUBLE_EQ(match.handScore, played.Difference());
    EXPECT_EQ(match.contracts[0].won + match.contracts[1].won, tables);
    EXPECT_EQ(match.contracts[0].made + match.contracts[0].set, match.contracts[0].won);
}

}  // namespace
}  // namespace vantrel
