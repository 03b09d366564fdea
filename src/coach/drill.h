#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "coach/drill_themes.h"
#include "game/game.h"
#include "game/game_move.h"
#include "game/game_settings.h"
#include "players/seat_view.h"
#include "review/hand_review.h"

namespace vantrel {

/// A drill made of one card of the player's own hand that the fair review
/// labelled a mistake or a blunder: the position exactly as the seat saw it,
/// and the figures the review weighed every legal card by, kept with it so
/// that grading it again is instant and the same.
struct CardDrill {
    ReviewRequest hand;  // the hand as the review took it
    std::size_t at = 0;  // the card asked: its place in the hand's plays
    int seat = 0;
    int played = -1;  // the card chosen at the table
    int best = -1;
    PerKind<double> expected{};  // each legal card's expected card points for the seat's side; -1 for the others
    CardLabel label = CardLabel::Mistake;

    /// The position as the seat saw it before the card, built as the review built it.
    [[nodiscard]] SeatView View() const { return ViewBefore(hand, hand.plays, at, seat); }
};

inline constexpr std::string_view kCardQuestion = "What do you play?";
inline constexpr std::string_view kCallQuestion = "What do you call?";
inline constexpr std::string_view kTrumpQuestion = "What do you name as trump?";
inline constexpr std::string_view kPassQuestion = "What do you pass?";

/// The drills of a reviewed hand: one for each card of a reviewed seat the
/// fair review labelled a mistake or a blunder, in the order played. A
/// review cancelled before it was complete gives none.
std::vector<CardDrill> CardDrillsOf(const ReviewRequest& request, const HandReview& review);

/// A drill answered: whether the card is the best (or as good, within a
/// hundredth of a point), the card points it gives away against the best,
/// and the answer in words, e.g. "Best: A♥, 14.2 card points. K♥ gives
/// 9.5: 4.7 away." A card the seat could not play is refused with why.
struct DrillGrade {
    bool legal = false;
    bool best = false;
    double givenAway = 0;
    std::string text;
};
DrillGrade GradeCard(const CardDrill& drill, int card);

/// The calls of a reviewed hand that make drills: those whose verdict gave
/// away kCostlyCall of the expected margin or more, other than the help's
/// jumps that show meld.
std::vector<CallVerdict> CostlyCalls(const HandReview& review);

/// A choice of a call, trump or pass drill in words: "Pass", "Bid 260",
/// "Hearts", "A♥ 10♥ K♥".
std::string ChoiceText(DrillQuestion question, const CallFigure& figure);

/// A call, trump or pass drill answered with `choice` (as ChoiceOf gives
/// it), graded by its figures as a card is: e.g. "Best: Bid 260 in Hearts,
/// +12 on average. Pass gives -8: 20 away." A choice that is none of the
/// figures' is refused.
DrillGrade GradeCall(DrillQuestion question, const std::vector<CallFigure>& figures, int choice);

/// The game as it stood when a drill's card was asked, for the table to show
/// it as the seat saw it: the kept game's moves replayed on a new game of its
/// seed up to card `at` of the sheet's line `hand`, with `seat` to play and
/// `played` the card it played. None, with why, where the moves no longer
/// lead there (a history written by a newer program, or damaged).
std::optional<Game> GameAtCard(const GameSettings& settings, std::uint64_t seed, const std::vector<GameMove>& moves,
                               int hand, std::size_t at, int seat, int played, std::string* why);
/// The same at call `at` of the hand's bidding, `seat` to call and `called`
/// the call it made (0 a pass).
std::optional<Game> GameAtCall(const GameSettings& settings, std::uint64_t seed, const std::vector<GameMove>& moves,
                               int hand, std::size_t at, int seat, int called, std::string* why);

}  // namespace vantrel
