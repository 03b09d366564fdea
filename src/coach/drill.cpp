#include "coach/drill.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "rules/card_text.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

std::string Points(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f", value);
    return text.data();
}

}  // namespace

std::vector<CardDrill> CardDrillsOf(const ReviewRequest& request, const HandReview& review) {
    std::vector<CardDrill> drills;
    if (!review.complete) return drills;
    // The review's cards begin with the first reviewed trick.
    const std::size_t start = std::min(request.plays.size(), 4 * static_cast<std::size_t>(request.firstTrick));
    for (std::size_t c = 0; c < review.cards.size(); ++c) {
        const ReviewedCard& card = review.cards[c];
        if (!card.reviewed || card.forced || card.best < 0) continue;
        if (card.label != CardLabel::Mistake && card.label != CardLabel::Blunder) continue;
        CardDrill drill;
        drill.hand = request;
        drill.at = start + c;
        drill.seat = card.seat;
        drill.played = card.kind;
        drill.best = card.best;
        drill.expected = card.expected;
        drill.label = card.label;
        drills.push_back(std::move(drill));
    }
    return drills;
}

DrillGrade GradeCard(const CardDrill& drill, int card) {
    DrillGrade grade;
    if (card < 0 || card >= kCardKinds || drill.best < 0 || drill.expected[static_cast<std::size_t>(card)] < 0) {
        grade.text = card >= 0 && card < kCardKinds ? KindText(card) + " cannot be played here." : "No such card.";
        return grade;
    }
    grade.legal = true;
    const double best = drill.expected[static_cast<std::size_t>(drill.best)];
    const double mine = drill.expected[static_cast<std::size_t>(card)];
    grade.givenAway = std::max(0.0, best - mine);
    grade.best = grade.givenAway < 0.01;
    grade.text = "Best: " + KindText(drill.best) + ", " + Points(best) + " card points.";
    if (card != drill.best)
        grade.text += " " + KindText(card) + " gives " + Points(mine) +
                      (grade.best ? ": as good." : ": " + Points(grade.givenAway) + " away.");
    return grade;
}

namespace {

// The kept game's moves replayed on a new game of its seed until `reached`
// holds within the sheet's line `hand`; `where` names the point for a refusal.
template <class Reached>
std::optional<Game> ReplayTo(const GameSettings& settings, std::uint64_t seed, const std::vector<GameMove>& moves,
                             int hand, const Reached& reached, const std::string& where, std::string* why) {
    auto refuse = [why](std::string text) -> std::optional<Game> {
        if (why != nullptr) *why = std::move(text);
        return std::nullopt;
    };
    // A new game as the driver makes one: the seed deals, East deals first.
    Game game(settings.rules, seed, 3);
    for (std::size_t i = 0; i <= moves.size(); ++i) {
        if (game.Sheet().size() == static_cast<std::size_t>(hand)) {
            std::string wrong;
            if (reached(game, wrong)) {
                if (!wrong.empty()) return refuse(wrong);
                return game;
            }
        }
        if (i == moves.size() || game.Sheet().size() > static_cast<std::size_t>(hand)) break;
        if (std::string refused = Apply(game, moves[i]); !refused.empty())
            return refuse("The game's moves no longer replay: move " + std::to_string(i + 1) + " is refused (" +
                          refused + ").");
    }
    return refuse("The game's moves no longer reach " + where + " of hand " + std::to_string(hand + 1) + ".");
}

}  // namespace

std::optional<Game> GameAtCard(const GameSettings& settings, std::uint64_t seed, const std::vector<GameMove>& moves,
                               int hand, std::size_t at, int seat, int played, std::string* why) {
    return ReplayTo(
        settings, seed, moves, hand,
        [&](const Game& game, std::string& wrong) {
            if (game.CurrentPhase() != Phase::Play || game.CardsPlayed().size() != at) return false;
            if (game.ToAct() != seat || (game.Play().Legal() & KindFlag(played)) == 0)
                wrong = "The hand no longer reaches the drill's card: " + game.NameOf(seat) + " is not to play " +
                        KindText(played) + " there.";
            return true;
        },
        "card " + std::to_string(at + 1), why);
}

std::optional<Game> GameAtCall(const GameSettings& settings, std::uint64_t seed, const std::vector<GameMove>& moves,
                               int hand, std::size_t at, int seat, int called, std::string* why) {
    return ReplayTo(
        settings, seed, moves, hand,
        [&](const Game& game, std::string& wrong) {
            if (game.CurrentPhase() != Phase::Auction || game.CurrentAuction().Calls().size() != at) return false;
            if (game.ToAct() != seat || (called > 0 && called < game.CurrentAuction().MinimumBid()))
                wrong = "The hand no longer reaches the drill's call: " + game.NameOf(seat) + " is not to call " +
                        CallText(called) + " there.";
            return true;
        },
        "call " + std::to_string(at + 1), why);
}

std::vector<CallVerdict> CostlyCalls(const HandReview& review) {
    std::vector<CallVerdict> calls;
    if (!review.complete) return calls;
    for (const CallVerdict& call : review.calls)
        if (call.Costly()) calls.push_back(call);
    return calls;
}

std::string ChoiceText(DrillQuestion question, const CallFigure& figure) {
    if (question == DrillQuestion::Pass) {
        // The highest cards first, as a hand is shown.
        std::string text;
        const KindCounts cards = PassOfCode(figure.bid);
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < cards[static_cast<std::size_t>(kind)]; ++copy)
                text += (text.empty() ? "" : " ") + KindText(kind);
        return text;
    }
    if (question == DrillQuestion::Trump) return std::string(kSuitNames[static_cast<std::size_t>(figure.trump & 3)]);
    return CallText(figure.bid);
}

DrillGrade GradeCall(DrillQuestion question, const std::vector<CallFigure>& figures, int choice) {
    DrillGrade grade;
    const auto mine = std::find_if(figures.begin(), figures.end(),
                                   [&](const CallFigure& figure) { return ChoiceOf(question, figure) == choice; });
    if (mine == figures.end()) {
        grade.text = "That is not one of the choices.";
        return grade;
    }
    const CallFigure* best = &BestFigure(figures);
    grade.legal = true;
    grade.givenAway = std::max(0.0, best->margin - mine->margin);
    grade.best = grade.givenAway < 0.01;
    const auto signedFigure = [](double value) { return (value > 0 ? "+" : "") + Points(value); };
    grade.text = "Best: " + ChoiceText(question, *best);
    if (question == DrillQuestion::Call && best->trump >= 0)
        grade.text += " in " + std::string(kSuitNames[static_cast<std::size_t>(best->trump)]);
    grade.text += ", " + signedFigure(best->margin) + " on average.";
    if (&*mine != best)
        grade.text += " " + ChoiceText(question, *mine) + " gives " + signedFigure(mine->margin) +
                      (grade.best ? ": as good." : ": " + Points(grade.givenAway) + " away.");
    return grade;
}

}  // namespace vantrel
