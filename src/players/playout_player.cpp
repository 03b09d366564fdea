#include "players/playout_player.h"

#include <bit>
#include <optional>

#include "base/random.h"
#include "players/rule_player.h"
#include "players/world_sampler.h"
#include "rules/play_state.h"
#include "rules/trick_rules.h"
#include "search/form_solver.h"
#include "search/rule_card.h"

namespace vantrel {

namespace {

// Cards left in the hand from which each world is solved to the end, and the
// positions a solve may search (far more than four tricks take).
constexpr int kSolvedCards = 16;
constexpr std::uint64_t kSolveNodes = 200'000;

}  // namespace

int PlayoutWorlds(Level level) { return level == Level::Strong ? 160 : level == Level::Normal ? 40 : 0; }

PlayoutChoice PlayoutCard(const FormSeatView& view, int worlds, std::uint64_t seed, const std::atomic<bool>* cancel) {
    PlayoutChoice choice;
    const KindMask legal = LegalPlaysFromHeld(HeldKinds(view.Hand()), StateOf(view.Trick(), view.Trump()), view.Trump(),
                                              view.Rules().play);
    choice.card = RuleCard(view);
    if (std::popcount(legal) < 2) return choice;
    const auto side = static_cast<std::size_t>(view.SideOfSeat(view.Seat()));
    const int seats = view.Seats();
    PerKind<double> total{};
    Random random(seed, 0x91A7);
    // The last tricks are solved in each world rather than played out by
    // rule players: from four tricks left a solve takes a few thousand
    // positions, and the rule players' endings are where they err most.
    // (The solver plays two partnerships: a table of three plays out.)
    const int cardsLeft = seats * view.Rules().form.handCards - view.CardsPlayed();
    const bool solved = cardsLeft <= kSolvedCards && seats == 4;
    std::optional<FormSolver> solver;
    if (solved) solver.emplace(12);
    for (int w = 0; w < worlds; ++w) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) break;
        const FormSampledWorld world = SampleWorld(view, random);
        // The world is taken up at the trick on the table: the cards of the
        // trick so far are put back and replayed, so that the ledger books it.
        std::array<KindCounts, 4> hands = world.hands;
        const std::span<const int> trick = view.Trick();
        const int leader = view.Leader();
        for (std::size_t i = 0; i < trick.size(); ++i)
            AddCards(hands[static_cast<std::size_t>((leader + static_cast<int>(i)) % seats)], trick[i]);
        // The cards laid away at a table of three are out of play.
        if (seats == 3) hands[3] = KindCounts{};
        FormPlayState start(view.Rules(), hands, view.Trump(), leader, view.Points(), view.Tricks(), view.Declarer());
        for (const int card : trick) start.Make(card);
        for (KindMask m = legal; m != 0; m &= m - 1) {
            const int card = std::countr_zero(m);
            FormPlayState play = start;
            play.Make(card);
            if (solved) {
                // What the side takes after the card with every hand of the world seen.
                const FormSolver::Bounds rest = solver->SolveWithin(play, static_cast<int>(side), kSolveNodes, cancel);
                if (rest.lower < 0) break;
                total[static_cast<std::size_t>(card)] +=
                    play.Points()[side] + (rest.lower + rest.upper) / 2.0 - view.Points()[side];
                continue;
            }
            while (!play.Over()) play.Make(RuleCard(play, view.Declarer()));
            total[static_cast<std::size_t>(card)] += play.Points()[side] - view.Points()[side];
        }
        ++choice.worlds;
    }
    if (choice.worlds == 0) return choice;
    double best = -1;
    for (KindMask m = legal; m != 0; m &= m - 1) {
        const int card = std::countr_zero(m);
        const double mean = total[static_cast<std::size_t>(card)] / choice.worlds;
        choice.byCard[static_cast<std::size_t>(card)] = mean;
        if (mean > best) best = mean, choice.card = card;
    }
    choice.expected = best;
    return choice;
}

int ComputerCard(const FormSeatView& view, Level level, std::uint64_t seed, const std::atomic<bool>* cancel) {
    if (level == Level::Easy) return RuleCard(view);
    return PlayoutCard(view, PlayoutWorlds(level), seed, cancel).card;
}

}  // namespace vantrel
