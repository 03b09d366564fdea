// The hand review's solver beside the search player's, on one thread, and a
// whole hand's review on every core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "base/random.h"
#include "coach/drill_themes.h"
#include "game/game.h"
#include "players/rule_player.h"
#include "players/search_player.h"
#include "review/hand_review.h"
#include "rules/unseen_deck.h"
#include "search/hand_solver.h"

namespace vantrel {
namespace {

// A random deal under the usual rules, trump drawn, its first tricks played
// by the rule player, until `tricksLeft` remain.
PlayState Position(std::uint64_t seed, int tricksLeft) {
    Random random(seed, 0);
    const std::array<HandCounts, 4> hands = UnseenDeck(kWholeDeck).Deal(random, std::array<int, 4>{12, 12, 12, 12});
    const int trump = static_cast<int>(random.Below(4));
    const int declarer = static_cast<int>(random.Below(4));
    PlayState state(RuleSet::Standard(), hands, trump, declarer);
    while (state.Played() < 48 - 4 * tricksLeft) state.Make(RuleCard(state, declarer));
    return state;
}

template <class Solve>
void Timed(benchmark::State& bench, int tricksLeft, int positions, Solve solve) {
    std::vector<double> times;
    for (auto _ : bench) {
        for (int position = 0; position < positions; ++position) {
            PlayState state = Position(static_cast<std::uint64_t>(position) + 1, tricksLeft);
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(solve(state));
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::sort(times.begin(), times.end());
    bench.counters["positions"] = static_cast<double>(times.size());
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["p90_ms"] = times[times.size() * 9 / 10];
    bench.counters["max_ms"] = times.back();
}

void SolveFromNineTricks(benchmark::State& bench) {
    HandSolver solver;
    Timed(bench, 9, 40, [&](PlayState& state) { return solver.Solve(state, 0); });
    bench.counters["nodes"] = static_cast<double>(solver.Nodes()) / 40;
}
BENCHMARK(SolveFromNineTricks)->Iterations(1)->Unit(benchmark::kSecond);

void SolveFromNineTricksSearchPlayersSolver(benchmark::State& bench) {
    Timed(bench, 9, 10, [](PlayState& state) { return SolvePosition(state, 0); });
}
BENCHMARK(SolveFromNineTricksSearchPlayersSolver)->Iterations(1)->Unit(benchmark::kSecond);

void SolveWholeHand(benchmark::State& bench) {
    HandSolver solver(HandSolver::kWholeHandTableBits);
    Timed(bench, 12, 10, [&](PlayState& state) { return solver.Solve(state, 0); });
}
BENCHMARK(SolveWholeHand)->Iterations(1)->Unit(benchmark::kSecond);

// A whole hand reviewed for South, the user: the rule players' cards, the
// par from the first lead, 100 worlds for each of South's twelve cards, on
// every core.
void ReviewHand(benchmark::State& bench) {
    std::vector<double> times;
    std::uint64_t seed = 0;
    for (auto _ : bench) {
        Random random(++seed, 0);
        ReviewRequest request;
        const std::array<HandCounts, 4> hands = UnseenDeck(kWholeDeck).Deal(random, std::array<int, 4>{12, 12, 12, 12});
        request.hands = CountsOf(hands);
        request.trump = static_cast<int>(random.Below(4));
        request.declarer = static_cast<int>(random.Below(4));
        request.reviewed[0] = true;
        PlayState state(request.rules, hands, request.trump, request.declarer);
        while (!state.Over()) {
            request.plays.push_back(RuleCard(state, request.declarer));
            state.Make(request.plays.back());
        }
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(vantrel::ReviewHand(request).complete);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["max_ms"] = times.back();
}
BENCHMARK(ReviewHand)->Iterations(8)->Unit(benchmark::kSecond)->UseRealTime();

// Hands as games bring them to the review: 50 hands of games between rule
// players, cards passed in two games of three (3 or 4), South the user,
// declaring or defending, every hand reviewed whole as the Game window asks:
// the par, the fair review of South's cards, the pass's and the auction's
// verdicts, on every core. The same for 20 hands of the 80-card deck.
std::vector<ReviewRequest> GameHands(const RuleSet& form, int count) {
    std::vector<ReviewRequest> requests;
    for (std::uint64_t seed = 1; static_cast<int>(requests.size()) < count; ++seed) {
        RuleSet rules = form;
        rules.passCards = static_cast<int>(seed % 3) == 0 ? 0 : 2 + static_cast<int>(seed % 3);
        Game game(rules, seed, 3);
        while (game.CurrentPhase() != Phase::GameOver && static_cast<int>(requests.size()) < count) {
            const int seat = game.ToAct();
            if (seat < 0) {
                if (game.CurrentPhase() == Phase::HandScored) {
                    const SheetLine& line = game.Sheet().back();
                    if (!line.record.plays.empty())
                        requests.push_back(RequestOf(rules, line, {true, false, false, false}));
                }
                game.Continue();
                continue;
            }
            ApplyMove(game, seat, ChooseMove(game, seat, Level::Easy, seed));
        }
    }
    return requests;
}

void ReviewGameHands(benchmark::State& bench) {
    const bool doubleDeck = bench.range(0) == 1;
    const bool three = bench.range(0) == 2;
    const std::vector<ReviewRequest> requests = GameHands(three        ? RuleSet::ThreeHanded()
                                                          : doubleDeck ? RuleSet::DoubleDeck()
                                                                       : RuleSet::Standard(),
                                                          three || doubleDeck ? 20 : 50);
    std::vector<double> times;
    int defended = 0, passed = 0;
    for (auto _ : bench)
        for (const ReviewRequest& request : requests) {
            defended += ReviewSide(request, 0) != 0;
            passed += request.rules.passCards > 0;
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(vantrel::ReviewHand(request).complete);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    bench.counters["hands"] = static_cast<double>(times.size());
    bench.counters["defended"] = defended;
    bench.counters["passed"] = passed;
    bench.counters["median_ms"] = sorted[sorted.size() / 2];
    bench.counters["p90_ms"] = sorted[sorted.size() * 9 / 10];
    bench.counters["max_ms"] = sorted.back();
    bench.counters["slowest_hand"] = static_cast<double>(std::max_element(times.begin(), times.end()) - times.begin());
}
BENCHMARK(ReviewGameHands)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(ReviewGameHands)
    ->Arg(1)
    ->Name("ReviewGameHandsDoubleDeck")
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
// Twenty hands of the three-handed game, South reviewed, bidding or against the bidder.
BENCHMARK(ReviewGameHands)
    ->Arg(2)
    ->Name("ReviewGameHandsThreeHanded")
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// Twenty drills of a theme made on fresh deals, 100 worlds a position weighed,
// on every core: what Make Drills waits for.
void ThemeDrills(benchmark::State& bench) {
    const DrillTheme theme = kDrillThemes[static_cast<std::size_t>(bench.range(0))];
    std::size_t made = 0;
    for (auto _ : bench) made = MakeThemeDrills(theme, 20, 1, 100, 0).size();
    bench.counters["drills"] = static_cast<double>(made);
    bench.SetLabel(std::string(ThemeName(theme)));
}
// One call weighed as the review weighs each of the user's calls: the pass,
// the least bid and the jumps, over the Strong player's deals, at the first
// call of deals of a seed.
void CallVerdict(benchmark::State& bench) {
    std::uint64_t index = 0;
    for (auto _ : bench) {
        Random random(17, index++);
        const std::array<KindCounts, 4> hands = DealOf(GameForm{}, random).hands;
        const Auction auction(RuleSet::Standard(), 3);
        benchmark::DoNotOptimize(CallFigures(auction, 0, hands[0], RuleSet::Standard(), kCallDeals, index));
    }
}
BENCHMARK(CallVerdict)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(ThemeDrills)
    ->DenseRange(0, static_cast<int>(kDrillThemes.size()) - 1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace vantrel

BENCHMARK_MAIN();
