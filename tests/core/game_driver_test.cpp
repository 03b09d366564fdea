// The game's driver on a clock of the test's own: the pace of the computer's
// moves, the finished trick held in view, the meld's pause, answers that come
// too late, undo and a window closed in mid-decision.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "game/game_driver.h"
#include "game/game_texts.h"

namespace vantrel {
namespace {

struct Driven {
    explicit Driven(GameSettings settings, std::uint64_t seed = 5) : driver(settings, seed, [this] { return now; }) {}
    // Answers the decision wanted, as a worker would.
    bool Answer() {
        const std::optional<DecisionRequest> request = driver.TakeRequest();
        if (!request) return false;
        return driver.Deliver(request->id, ChooseMove(request->position, request->seat, request->level, request->seed));
    }
    std::int64_t now = 1000;
    GameDriver driver;
};

GameSettings Seats(SeatPlayer south, Pace pace = Pace::Normal) {
    GameSettings settings;
    settings.seats = {south, SeatPlayer::Easy, SeatPlayer::Easy, SeatPlayer::Easy};
    settings.pace = pace;
    return settings;
}

TEST(GameDriver, ComputerMovesKeepThePaceHoldTheTrickAndPauseOnTheMeld) {
    for (const Pace pace : {Pace::Fast, Pace::Normal, Pace::Slow}) {
        Driven d(Seats(SeatPlayer::Easy, pace));
        // A finished trick stays long enough in view to see who took it.
        EXPECT_EQ(d.driver.TrickInView(), pace == Pace::Fast ? 450 : pace == Pace::Normal ? 2500 : 4200);
        const int step = d.driver.settings().PaceMilliseconds();
        std::int64_t last = d.now;
        int moves = 0, held = 0, melds = 0;
        while (d.driver.game().Sheet().empty()) {
            d.Answer();
            const std::optional<std::int64_t> due = d.driver.NextDue();
            ASSERT_TRUE(due) << "nothing due with no user at the table";
            // A moment early nothing happens; at the time the move is taken.
            const std::uint64_t position = d.driver.Position();
            const Game before = d.driver.game();
            d.now = *due - 1;
            d.driver.Advance();
            ASSERT_EQ(d.driver.Position(), position);
            d.now = *due;
            d.driver.Advance();
            ASSERT_NE(d.driver.Position(), position);
            if (before.CurrentPhase() == Phase::Meld && d.driver.game().CurrentPhase() == Phase::Play) {
                EXPECT_EQ(d.now - last, std::max(1500, 6 * step)) << "the meld stays in view";
                ++melds;
            } else {
                const bool trickEnded = before.CurrentPhase() == Phase::Play && before.Play().Trick().empty() &&
                                        !before.CardsPlayed().empty();
                EXPECT_EQ(d.now - last, trickEnded ? d.driver.TrickInView() : step) << "move " << moves;
                held += trickEnded;
            }
            last = d.now;
            ++moves;
        }
        EXPECT_EQ(held, 11) << "each trick but the last is held before the next lead";
        EXPECT_EQ(melds, 1);
        // A scored hand waits for the user's Continue.
        EXPECT_FALSE(d.driver.NextDue());
        EXPECT_FALSE(d.driver.TakeRequest());
    }
}

// Plays South's part: passes in the auction, the first legal card in the play.
void PlaySouth(GameDriver& driver) {
    const Game& g = driver.game();
    if (g.CurrentPhase() == Phase::Auction) driver.Pass();
    if (g.CurrentPhase() == Phase::Play) driver.Card(0, std::countr_zero(g.Play().Legal()));
}

TEST(GameDriver, UndoGoesBackOverTheComputersCardsToTheUsersLastMove) {
    Driven d(Seats(SeatPlayer::You));
    std::vector<Game> beforeSouth;
    bool checked = false;
    while (d.driver.game().Sheet().empty()) {
        const Game& g = d.driver.game();
        if (g.ToAct() == 0) {
            beforeSouth.push_back(g);
            PlaySouth(d.driver);
            continue;
        }
        if (!checked && beforeSouth.size() >= 3 && g.CurrentPhase() == Phase::Play && g.Play().Trick().size() == 2 &&
            g.CardsPlayed().size() > 8) {
            // In mid-trick, after a computer's card: back to South's last
            // move, then to the one before it.
            d.driver.Undo();
            EXPECT_EQ(d.driver.Message(), "Taken back.");
            EXPECT_TRUE(d.driver.game() == beforeSouth.back());
            d.driver.Undo();
            EXPECT_TRUE(d.driver.game() == beforeSouth[beforeSouth.size() - 2]);
            beforeSouth.erase(beforeSouth.end() - 2, beforeSouth.end());
            checked = true;
            continue;
        }
        if (g.CurrentPhase() == Phase::Meld) {
            d.driver.Continue();
            continue;
        }
        d.Answer();
        d.now = d.driver.NextDue().value_or(d.now);
        d.driver.Advance();
    }
    EXPECT_TRUE(checked);
    // Never back into a scored hand.
    const Game scored = d.driver.game();
    d.driver.Undo();
    EXPECT_EQ(d.driver.Message(), "Nothing of yours to take back in this hand.");
    EXPECT_TRUE(d.driver.game() == scored);
}

TEST(GameDriver, TheUsersCardThatEndsATrickHoldsItInViewAsAComputersDoes) {
    Driven d(Seats(SeatPlayer::You));
    int held = 0;
    while (d.driver.game().Sheet().size() < 3) {
        const Game& g = d.driver.game();
        if (g.CurrentPhase() == Phase::HandScored || (g.CurrentPhase() == Phase::Meld && g.Declarer() == 0)) {
            d.driver.Continue();
            continue;
        }
        if (g.ToAct() == 0) {
            const bool ends = g.CurrentPhase() == Phase::Play && g.Play().Trick().size() == 3;
            if (g.CurrentPhase() == Phase::Trump) d.driver.NameTrump(0);
            PlaySouth(d.driver);
            // Where a computer leads next, its lead waits for the trick's time in view.
            if (ends && d.driver.game().CurrentPhase() == Phase::Play && d.Answer()) {
                EXPECT_EQ(d.driver.NextDue().value_or(0) - d.now, d.driver.TrickInView());
                ++held;
            }
            continue;
        }
        if (g.CurrentPhase() == Phase::Meld) d.driver.Continue();
        d.Answer();
        d.now = d.driver.NextDue().value_or(d.now);
        d.driver.Advance();
    }
    EXPECT_GT(held, 0) << "South never ended a trick that a computer then led to";
}

TEST(GameDriver, AnswersForAnEarlierPositionAreDropped) {
    Driven d(Seats(SeatPlayer::You));
    // South passes; West's decision is asked for, South takes the pass back
    // before it comes: the answer is for a position that is gone.
    d.driver.Pass();
    const std::optional<DecisionRequest> request = d.driver.TakeRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->seat, 1);
    EXPECT_FALSE(d.driver.TakeRequest()) << "asked once per position";
    d.driver.Undo();
    EXPECT_FALSE(d.driver.Deliver(request->id, ChooseMove(request->position, 1, Level::Easy, 1)));
    EXPECT_FALSE(d.driver.MovePending());

    // A window closed in mid-decision: the request is asked again on return,
    // for the same position, and its answer then counts.
    d.driver.Pass();
    const std::optional<DecisionRequest> first = d.driver.TakeRequest();
    ASSERT_TRUE(first);
    d.driver.Abandon();
    const std::optional<DecisionRequest> again = d.driver.TakeRequest();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->id, first->id);
    EXPECT_TRUE(d.driver.Deliver(again->id, ChooseMove(again->position, 1, Level::Easy, 1)));

    // A hint belongs to the position it was asked for.
    while (d.driver.game().ToAct() != 0 || d.driver.game().CurrentPhase() != Phase::Play) {
        if (d.driver.game().ToAct() == 0) {
            PlaySouth(d.driver);
            continue;
        }
        if (d.driver.game().CurrentPhase() == Phase::Meld) d.driver.Continue();
        d.Answer();
        d.now = d.driver.NextDue().value_or(d.now);
        d.driver.Advance();
    }
    // A card the rules refuse is explained to the user in the user's words.
    const Game& now = d.driver.game();
    const KindMask illegal = HeldKinds(now.HandOf(0)) & ~now.Play().Legal();
    ASSERT_NE(illegal, 0u) << "the deal gives South no card to refuse";
    const std::uint64_t position = d.driver.Position();
    d.driver.Card(0, std::countr_zero(illegal));
    EXPECT_EQ(d.driver.Message().rfind("You ", 0), 0u) << d.driver.Message();
    EXPECT_EQ(d.driver.Message().back(), '.');
    EXPECT_EQ(d.driver.Position(), position);
    const std::optional<HintRequest> hint = d.driver.AskHint();
    ASSERT_TRUE(hint);
    EXPECT_EQ(d.driver.Message(), "Thinking\u2026");
    const SearchChoice choice = SearchCard(hint->position.SingleDeckViewOf(hint->seat), BudgetOf(Level::Easy), 7);
    PlaySouth(d.driver);
    EXPECT_FALSE(d.driver.DeliverHint(hint->id, choice));
    EXPECT_EQ(d.driver.Message(), "");
}

TEST(GameDriver, ARefusedMoveLeavesTheUndoAndTheLogAsTheyWere) {
    // South bids what nobody overcalls, then sends moves out of range: each
    // is refused, and Undo still goes back to before South's bid.
    Driven d(Seats(SeatPlayer::You));
    const Game start = d.driver.game();
    d.driver.Bid(1000);
    while (d.driver.game().CurrentPhase() == Phase::Auction) {
        ASSERT_TRUE(d.Answer());
        d.now = d.driver.NextDue().value_or(d.now);
        d.driver.Advance();
    }
    ASSERT_TRUE(d.driver.UserNamesTrump());
    const std::vector<GameMove> log = d.driver.Log();
    const Game atTrump = d.driver.game();
    const std::vector<std::pair<std::function<void()>, std::string>> refusals{
        {[&] { d.driver.NameTrump(7); }, "Trump is one of the four suits."},
        {[&] { d.driver.NameTrump(-1); }, "Trump is one of the four suits."},
        {[&] { d.driver.Card(0, 99); }, "There is no such card."},
        {[&] { d.driver.Card(-2, 0); }, "There is no such card."},
        {[&] { d.driver.ReplayLine(SIZE_MAX); }, "There is no such line on the score sheet."},
        {[&] { d.driver.ReplayLine(std::size_t{1} << 32); }, "There is no such line on the score sheet."},
    };
    for (const auto& [move, reason] : refusals) {
        move();
        EXPECT_EQ(d.driver.Message(), reason);
        EXPECT_EQ(d.driver.Log(), log) << reason;
        EXPECT_TRUE(d.driver.game() == atTrump) << reason;
    }
    d.driver.Undo();
    EXPECT_TRUE(d.driver.game() == start);
    EXPECT_TRUE(d.driver.Log().empty());
}

TEST(GameDriver, TheStatusLineAndScorePanelSayWhatComesNext) {
    Driven d(Seats(SeatPlayer::You));
    const unsigned south = 1u;
    EXPECT_EQ(StatusLine(d.driver.game(), south, 0), "Your call, South: bid 200 or more, or pass.");
    d.driver.Bid(195);
    EXPECT_EQ(d.driver.Message(), "A bid must be at least 200.");
    d.driver.Pass();
    EXPECT_EQ(d.driver.Message(), "");
    EXPECT_EQ(StatusLine(d.driver.game(), south, 0), "West is to call\u2026");
    EXPECT_EQ(ScorePanel(d.driver.game()),
              (std::vector<PanelLine>{{"Hand 1", ""}, {"Game", " (to 1500): S-N 0, E-W 0"}}));
    while (d.driver.game().CurrentPhase() != Phase::Meld) {
        d.Answer();
        d.now = d.driver.NextDue().value_or(d.now);
        d.driver.Advance();
    }
    const Game& g = d.driver.game();
    EXPECT_EQ(StatusLine(g, south, 0), "The meld is on the table. Click the table to begin the play.");
    // Once the hand is scored the panel still names it, not the hand to come.
    Game scored = g;
    while (scored.CurrentPhase() != Phase::HandScored) {
        if (scored.ToAct() < 0) {
            ASSERT_EQ(scored.Continue(), "");
            continue;
        }
        ASSERT_EQ(ApplyMove(scored, scored.ToAct(), ChooseMove(scored, scored.ToAct(), Level::Easy, 1)), "");
    }
    EXPECT_EQ(ScorePanel(scored).front(), (PanelLine{"Hand 1", ""}));
    const auto meld = g.SideMeld();
    EXPECT_EQ(ScorePanel(g),
              (std::vector<PanelLine>{
                  {"Hand 1", ""},
                  {"", "Bid: " + std::to_string(g.CurrentAuction().HighBid()) + " by " + SeatName(g.Declarer())},
                  {"", "Trump: " + SuitWithSymbol(g.Trump())},
                  {"", "Meld: S-N " + std::to_string(meld[0]) + ", E-W " + std::to_string(meld[1])},
                  {"", "Card points: S-N 0, E-W 0"},
                  {"Game", " (to 1500): S-N 0, E-W 0"},
              }));
}

}  // namespace
}  // namespace vantrel
