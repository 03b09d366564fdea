// The coach's drills: made from a reviewed hand's mistakes, graded by the
// review's own figures, and brought back by spaced repetition.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

#include "coach/drill.h"
#include "coach/drill_schedule.h"
#include "coach/drill_themes.h"
#include "play_support.h"
#include "players/bidding.h"
#include "players/passing.h"
#include "players/rule_player.h"
#include "rules/meld_rules.h"
#include "rules/trick_rules.h"
#include "search/hand_solver.h"
#include "search/rule_card.h"

namespace vantrel {
namespace {

// A hand of a random deal played by the rule players but for South, who
// from trick 8 on plays its worst card with every hand seen, and is
// reviewed from there. Every hand is shown to South, so that the review
// weighs the deal itself.
ReviewRequest CarelessSouth(std::uint64_t seed) {
    Random random(seed, 0);
    ReviewRequest request;
    const std::array<HandCounts, 4> hands = testing::RandomDeal(random);
    request.hands = CountsOf(hands);
    request.shown = request.hands;
    request.trump = static_cast<int>(random.Below(4));
    request.declarer = static_cast<int>(random.Below(4));
    request.reviewed[0] = true;
    request.firstTrick = 7;
    request.worlds = 20;
    request.seed = seed;
    PlayState state(request.rules, hands, request.trump, request.declarer);
    HandSolver solver;
    while (!state.Over()) {
        int card = RuleCard(state, request.declarer);
        if (state.ToPlay() == 0 && state.TricksPlayed() >= 7) {
            const PerKind<int> values = solver.CardValues(state);
            for (KindMask m = state.Legal(); m != 0; m &= m - 1)
                if (values[static_cast<std::size_t>(std::countr_zero(m))] < values[static_cast<std::size_t>(card)])
                    card = std::countr_zero(m);
        }
        request.plays.push_back(card);
        state.Make(card);
    }
    return request;
}

TEST(Drill, MadeFromAReviewedHandHoldsTheReviewsPositionAndFigures) {
    int drills = 0;
    for (std::uint64_t seed = 1; seed <= 16; ++seed) {
        const ReviewRequest request = CarelessSouth(seed);
        const HandReview review = ReviewHand(request);
        ASSERT_TRUE(review.complete);
        std::size_t expectedDrills = 0;
        for (const ReviewedCard& card : review.cards)
            expectedDrills +=
                card.reviewed && !card.forced && (card.label == CardLabel::Mistake || card.label == CardLabel::Blunder);
        const std::vector<CardDrill> made = CardDrillsOf(request, review);
        ASSERT_EQ(made.size(), expectedDrills) << "seed " << seed;
        for (const CardDrill& drill : made) {
            ++drills;
            const ReviewedCard& card = review.cards[drill.at - 28];
            // The card asked is the one played there, with the review's figures.
            EXPECT_EQ(drill.hand.plays[drill.at], drill.played);
            EXPECT_EQ(drill.played, card.kind);
            EXPECT_EQ(drill.seat, 0);
            EXPECT_EQ(drill.expected, card.expected);
            EXPECT_EQ(drill.best, card.best);
            // The position is the seat's view before the card: its hand, the
            // cards played, and the legal cards the figures were weighed for.
            const SeatView view = drill.View();
            EXPECT_EQ(view.Plays().size(), drill.at);
            EXPECT_GT(CountOf(view.Hand(), drill.played), 0);
            const KindMask legal = LegalPlays(view.Hand(), view.Trick(), view.Trump(), view.Rules().play);
            for (int kind = 0; kind < kCardKinds; ++kind)
                EXPECT_EQ((legal & KindFlag(kind)) != 0, drill.expected[static_cast<std::size_t>(kind)] >= 0)
                    << KindText(kind);
            // Graded by those figures: the best card is best, the card played
            // gives away what the review said it cost.
            const DrillGrade best = GradeCard(drill, drill.best);
            EXPECT_TRUE(best.legal && best.best);
            EXPECT_EQ(best.givenAway, 0);
            const DrillGrade played = GradeCard(drill, drill.played);
            EXPECT_FALSE(played.best);
            EXPECT_NEAR(played.givenAway, card.cost, 1e-9);
            EXPECT_EQ(played.text.substr(0, 6), "Best: ");
            for (int kind = 0; kind < kCardKinds; ++kind)
                if ((legal & KindFlag(kind)) == 0) {
                    EXPECT_FALSE(GradeCard(drill, kind).legal) << KindText(kind);
                }
        }
    }
    EXPECT_GE(drills, 6) << "few careless cards were mistakes";
    // A review cancelled before it was done makes no drill.
    const ReviewRequest request = CarelessSouth(1);
    HandReview review = ReviewHand(request);
    review.complete = false;
    EXPECT_TRUE(CardDrillsOf(request, review).empty());
}

TEST(Drill, ScheduleGrowsWhenBestAndComesBackTheSameDayWhenMissed) {
    // Answers on successive due days: the intervals they leave.
    const struct {
        bool best;
        int interval;
    } answers[] = {{true, 1}, {true, 3},  {true, 8},  {true, 20},  {false, 0},  {true, 1},  {true, 3},
                   {true, 8}, {true, 20}, {true, 50}, {true, 125}, {true, 180}, {true, 180}};
    DrillSchedule schedule;
    std::int64_t today = 20000;
    int answered = 0;
    for (const auto& answer : answers) {
        schedule = NextSchedule(schedule, answer.best, today);
        ++answered;
        EXPECT_EQ(schedule.interval, answer.interval) << "answer " << answered;
        EXPECT_EQ(schedule.due, today + answer.interval) << "answer " << answered;
        EXPECT_EQ(schedule.answered, answered);
        today = schedule.due;
    }
    EXPECT_EQ(schedule.bestInARow, 8);
}

TEST(Drill, TodaysDrillsTakeTheDueThenTheOwnHandsThenTheGenerated) {
    const std::int64_t today = 100;
    auto entry = [](std::int64_t id, DrillSource source, std::int64_t due, int interval, int answered) {
        return DrillEntry{id, source, DrillSchedule{due, interval, answered, 0}};
    };
    const std::vector<DrillEntry> drills{
        entry(1, DrillSource::Generated, 0, 0, 0),    // new, generated
        entry(2, DrillSource::OwnHand, 101, 3, 2),    // due tomorrow
        entry(3, DrillSource::OwnHand, 100, 3, 2),    // due today
        entry(4, DrillSource::OwnHand, 0, 0, 0),      // new, from a hand
        entry(5, DrillSource::Generated, 100, 0, 1),  // missed today: due today, before 3
        entry(6, DrillSource::OwnHand, 90, 20, 4),    // ten days overdue
        entry(7, DrillSource::OwnHand, 0, 0, 0),      // new, from a hand
    };
    EXPECT_EQ(TodaysDrills(drills, today, 10), (std::vector<std::int64_t>{6, 5, 3, 4, 7, 1}));
    EXPECT_EQ(TodaysDrills(drills, today, 4), (std::vector<std::int64_t>{6, 5, 3, 4}));
    EXPECT_EQ(TodaysDrills(drills, today + 1, 3), (std::vector<std::int64_t>{6, 5, 3}));
    EXPECT_TRUE(TodaysDrills({}, today, 10).empty());
}

// Each theme's rule, reckoned again from the position as the test reads it.
bool StatesTheRule(DrillTheme theme, const Game& game, int declarer) {
    const FormPlayState& play = game.Play();
    const int seat = play.ToPlay();
    const int tricks = static_cast<int>(game.CardsPlayed().size()) / 4;
    const bool leading = game.CardsPlayed().size() % 4 == 0;
    const KindCounts& hand = play.Hands()[static_cast<std::size_t>(seat)];
    int trumps = 0;
    for (int rank = 0; rank < 6; ++rank) trumps += CountIn(hand, KindOf(play.Trump(), rank));
    switch (theme) {
        case DrillTheme::DeclarersLead:
            return game.CardsPlayed().empty() && seat == declarer;
        case DrillTheme::DefendersLead:
            return leading && seat % 2 != declarer % 2 &&
                   play.Tricks()[static_cast<std::size_t>(1 - declarer % 2)] == 1;
        case DrillTheme::PullingTrump:
            return leading && seat == declarer && tricks > 0 && trumps >= 2 && trumps < CardCount(hand);
        case DrillTheme::FeedingCounters: {
            // Partner played second in the trick, and nothing played since beat it.
            const std::span<const int> trick = play.Trick();
            return trick.size() == 3 && TrickWinner(trick, play.Trump(), TrickRules::SuitLed) == 1;
        }
        case DrillTheme::KeepingTrump: {
            // One trump held and playable beside another card; an opponent long in a plain suit.
            const KindMask legal = play.Legal();
            const KindMask trumpCards = SuitMask(play.Trump());
            bool longSuit = false;
            for (const int opponent : {(seat + 1) % 4, (seat + 3) % 4})
                for (int suit = 0; suit < 4; ++suit) {
                    int cards = 0;
                    for (int rank = 0; rank < 6; ++rank)
                        cards += CountIn(play.Hands()[static_cast<std::size_t>(opponent)], KindOf(suit, rank));
                    longSuit = longSuit || (suit != play.Trump() && cards >= 4);
                }
            return trumps == 1 && (legal & trumpCards) != 0 && (legal & ~trumpCards) != 0 && longSuit;
        }
        case DrillTheme::LastTricks:
            return leading && tricks == 9;
        default:
            return false;
    }
}

// A bidding theme's rule, reckoned again from the auction as the test reads it.
bool StatesTheRule(DrillTheme theme, const Game& game) {
    const Auction& auction = game.CurrentAuction();
    const std::vector<Auction::Call>& calls = auction.Calls();
    auto bid = [&](int seat) {
        return std::any_of(calls.begin(), calls.end(), [&](const auto& c) { return c.seat == seat && c.bid > 0; });
    };
    const int seat = theme == DrillTheme::NamingTrump ? game.Declarer() : game.ToAct();
    const HandCounts hand = PackedCounts(game.HandOf(seat));
    const int partner = (seat + 2) % 4;
    switch (theme) {
        case DrillTheme::FirstBid: {
            int most = 0;
            for (int suit = 0; suit < 4; ++suit) most = std::max(most, StandardMeld(hand).WithTrump(suit));
            const bool first = std::none_of(calls.begin(), calls.end(), [&](const auto& c) { return c.seat == seat; });
            return first && most >= 40 && !(auction.HighBidder() == partner && bid(partner));
        }
        case DrillTheme::OverPartner:
            return auction.HighBidder() == partner && bid(partner) &&
                   !(auction.HasPassed((seat + 1) % 4) && auction.HasPassed((seat + 3) % 4));
        case DrillTheme::NamingTrump: {
            int longSuits = 0;
            for (int suit = 0; suit < 4; ++suit) {
                int cards = 0;
                for (int rank = 0; rank < 6; ++rank) cards += CountOf(hand, KindOf(suit, rank));
                longSuits += cards >= 4;
            }
            return game.CurrentPhase() == Phase::Trump && longSuits >= 2;
        }
        default:
            return false;
    }
}

// A bidding theme's drill: its position, its rule, and the figures of the
// calls or suits open there, the rule player's among them and beaten by the lesson.
void ExpectCallDrill(const ThemeDrill& drill) {
    const Game game = GameOf(drill);
    if (drill.theme == DrillTheme::CardsToPass) {
        // Declarer's partner passes first: the computer's pass, then other plain passes, each of its own cards.
        ASSERT_EQ(game.CurrentPhase(), Phase::PassToDeclarer);
        EXPECT_EQ(std::tie(drill.seat, drill.declarer), std::make_tuple(0, 2));
        EXPECT_EQ(game.ToAct(), drill.seat);
        EXPECT_EQ(game.Trump(), drill.trump);
        const KindCounts hand = game.HandOf(drill.seat);
        ASSERT_GE(drill.figures.size(), 2u);
        EXPECT_EQ(drill.rule, drill.figures.front().bid);
        EXPECT_EQ(PassOfCode(drill.rule), CountsOf(ChoosePass(PackedCounts(hand), drill.trump, 3, true)));
        for (const CallFigure& figure : drill.figures) {
            const KindCounts pass = PassOfCode(figure.bid);
            EXPECT_EQ(CardCount(pass), 3);
            EXPECT_EQ(PassCode(pass), figure.bid);
            for (int kind = 0; kind < kCardKinds; ++kind)
                EXPECT_LE(pass[static_cast<std::size_t>(kind)], hand[static_cast<std::size_t>(kind)]);
            Game passed = game;
            EXPECT_EQ(passed.PassCards(drill.seat, pass), "");
        }
        EXPECT_TRUE(GradeCall(DrillQuestion::Pass, drill.figures, drill.best).best);
        EXPECT_GE(GradeCall(DrillQuestion::Pass, drill.figures, drill.rule).givenAway, kCallLesson);
        return;
    }
    const bool trump = drill.theme == DrillTheme::NamingTrump;
    ASSERT_EQ(game.CurrentPhase(), trump ? Phase::Trump : Phase::Auction);
    ASSERT_EQ(game.CurrentAuction().Calls().size(), drill.calls.size());
    EXPECT_EQ(drill.seat, 0) << "the seat asked sits South";
    EXPECT_EQ(trump ? game.Declarer() : game.ToAct(), drill.seat);
    EXPECT_TRUE(FitsTheme(drill.theme, game.CurrentAuction(), game.Dealt()));
    EXPECT_TRUE(StatesTheRule(drill.theme, game));
    const Auction& auction = game.CurrentAuction();
    const HandCounts hand = PackedCounts(game.HandOf(drill.seat));
    std::vector<int> choices;
    for (const CallFigure& figure : drill.figures) choices.push_back(trump ? figure.trump : figure.bid);
    if (trump) {
        EXPECT_EQ(choices, (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(drill.rule, ChooseTrump(auction, drill.seat, hand, RuleSet::Standard(), Level::Easy, 1));
        for (const CallFigure& figure : drill.figures) EXPECT_EQ(figure.bid, auction.HighBid());
    } else {
        // The pass, the least bid and the help's jumps, in order; the rule player's call among them.
        ASSERT_GE(choices.size(), 2u);
        EXPECT_EQ(choices[0], 0);
        EXPECT_EQ(choices[1], auction.MinimumBid());
        EXPECT_TRUE(std::is_sorted(choices.begin(), choices.end()));
        EXPECT_EQ(drill.rule, ChooseBid(auction, drill.seat, hand, RuleSet::Standard(), Level::Easy, 1).bid);
    }
    const DrillGrade best = GradeCall(QuestionOf(drill.theme), drill.figures, drill.best);
    const DrillGrade rule = GradeCall(QuestionOf(drill.theme), drill.figures, drill.rule);
    EXPECT_TRUE(best.best);
    EXPECT_GE(rule.givenAway, kCallLesson);
}

TEST(Drill, ThemeDrillsStateTheirRulesAndEachHasALesson) {
    for (const DrillTheme theme : kDrillThemes) {
        SCOPED_TRACE(std::string(ThemeName(theme)));
        EXPECT_EQ(ThemeNamed(ThemeName(theme)), theme);
        const std::vector<ThemeDrill> drills = MakeThemeDrills(theme, 3, 5, 30, 2);
        ASSERT_EQ(drills.size(), 3u);
        EXPECT_EQ(MakeThemeDrills(theme, 3, 5, 30, 1), drills) << "the same drills on any number of threads";
        if (QuestionOf(theme) != DrillQuestion::Play) {
            for (const ThemeDrill& drill : drills) ExpectCallDrill(drill);
            continue;
        }
        for (const ThemeDrill& drill : drills) {
            const Game game = GameOf(drill);
            ASSERT_EQ(game.CurrentPhase(), Phase::Play);
            ASSERT_EQ(game.CardsPlayed(), drill.plays);
            EXPECT_EQ(game.Declarer(), drill.declarer);
            EXPECT_EQ(game.Trump(), drill.trump);
            EXPECT_EQ(game.ToAct(), drill.seat);
            EXPECT_TRUE(FitsTheme(theme, game.Play(), drill.declarer));
            EXPECT_TRUE(StatesTheRule(theme, game, drill.declarer));
            // The best card beats the rule player's by the lesson, each legal.
            const KindMask legal = game.Play().Legal();
            EXPECT_EQ(drill.rule, RuleCard(game.SingleDeckViewOf(drill.seat)));
            for (const int card : {drill.best, drill.rule}) EXPECT_NE(legal & KindFlag(card), 0u) << card;
            EXPECT_GE(drill.expected[static_cast<std::size_t>(drill.best)] -
                          drill.expected[static_cast<std::size_t>(drill.rule)],
                      kThemeLesson);
            for (int kind = 0; kind < kCardKinds; ++kind)
                EXPECT_EQ(drill.expected[static_cast<std::size_t>(kind)] >= 0, (legal & KindFlag(kind)) != 0);
        }
    }
    // A deal whose every fitting position lacks a lesson gives none: the
    // declarer's first lead fits every deal, and some deals have no lesson.
    int rejected = 0;
    for (std::uint64_t index = 0; index < 16; ++index)
        rejected += ThemeDrillOf(DrillTheme::DeclarersLead, 5, index, 30) ? 0 : 1;
    EXPECT_GT(rejected, 0);
    EXPECT_LT(rejected, 16);
    // Positions that do not state a rule are not taken for it.
    ThemeDrill any = MakeThemeDrills(DrillTheme::FeedingCounters, 1, 9, 30, 2).front();
    Game later = GameOf(any);
    EXPECT_FALSE(FitsTheme(DrillTheme::DeclarersLead, later.Play(), any.declarer));
    EXPECT_FALSE(FitsTheme(DrillTheme::LastTricks, later.Play(), any.declarer));
    later.PlayCard(later.ToAct(), any.rule);
    EXPECT_FALSE(FitsTheme(DrillTheme::FeedingCounters, later.Play(), any.declarer));
    EXPECT_FALSE(FitsTheme(DrillTheme::NamingTrump, later.Play(), any.declarer)) << "no play fits the bidding";
    EXPECT_FALSE(FitsTheme(DrillTheme::FirstBid, later.CurrentAuction(), later.Dealt()))
        << "an auction over asks no call";
    EXPECT_FALSE(FitsTheme(DrillTheme::DeclarersLead, later.CurrentAuction(), later.Dealt()))
        << "no auction fits the play";
    const std::atomic<bool> cancel{true};
    EXPECT_TRUE(MakeThemeDrills(DrillTheme::LastTricks, 5, 1, 30, 2, &cancel).empty());
}

}  // namespace
}  // namespace vantrel
