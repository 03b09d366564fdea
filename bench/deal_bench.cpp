// Speed and memory of the deal engine:
//   BareShuffle   the shuffle at its minimum: 10,000 single-precision draws and
//                 5,000 exchanges over 48 small integers;
//   ActualShuffle one whole deal: shuffle, sort, four meld listings;
//   RunTrump9 / RunToMeld200  whole searches, as a press of "Shuffle" runs them;
//   MemoryFlat    resident memory after 1,000 and after 100,000 deals;
//   SimulatedDeals  the hand analysis on one thread: deal the 36 unseen cards
//                 and weigh the other three hands in all four trumps;
//   SimulationVsActualShuffle  the two speeds measured side by side, as a ratio;
//   Simulate100kAllCores  a whole analysis of 100,000 deals on every core;
//   SimulationMemoryFlat  resident memory after 100,000 and 10,000,000 deals.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "analysis/hand_simulation.h"
#include "form/form1.h"
#include "game/three_handed_duel.h"
#include "players/chance_to_make.h"
#include "players/playout_player.h"
#include "players/search_player.h"
#include "players/seat_view.h"
#include "players/three_handed_bidding.h"
#include "rules/card_records.h"
#include "rules/play_state.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"
#include "table/shuffle.h"

namespace {

using namespace vantrel;

// A clock that rises by one on every reading, so each reseed starts afresh.
Clock CountingClock() {
    return [tick = std::uint64_t{0}]() mutable { return ++tick; };
}

// The baseline, drawing as the engine does (integer draws) or turning each
// draw into a float and then a position through 48 * r + 1, literally.
template <bool kFloatDraws>
void BareShuffle(benchmark::State& state) {
    RandomSource random;
    std::uint64_t tick = 0;
    std::array<std::uint8_t, 49> cards{};
    for (int p = 0; p <= 48; ++p) cards[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
    for (auto _ : state) {
        random.Reseed(++tick);
        for (int i = 0; i < kShuffleExchanges; ++i) {
            std::size_t a = 0;
            std::size_t b = 0;
            if constexpr (kFloatDraws) {
                a = static_cast<std::size_t>(PositionFromDraw(random.NextSingle()));
                b = static_cast<std::size_t>(PositionFromDraw(random.NextSingle()));
            } else {
                const auto [drawA, drawB] = random.NextDrawPair();
                a = static_cast<std::size_t>(PositionFromDrawBits(drawA));
                b = static_cast<std::size_t>(PositionFromDrawBits(drawB));
            }
            std::swap(cards[a], cards[b]);
        }
        benchmark::DoNotOptimize(cards);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BareShuffle<false>)->Name("BareShuffle");
BENCHMARK(BareShuffle<true>)->Name("BareShuffleFloatDraws");

void ActualShuffle(benchmark::State& state) {
    Form1 form(CountingClock());
    form.Form_Load();
    for (auto _ : state) {
        form.ActualShuffle();
        benchmark::DoNotOptimize(form.List1.ListCount());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ActualShuffle);

double Percentile99(const std::vector<double>& values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    return sorted[static_cast<std::size_t>(0.99 * static_cast<double>(sorted.size() - 1))];
}

void Search(benchmark::State& state, bool trump, const char* target) {
    static std::uint64_t seed = 0;  // each repetition searches other deals
    Form1 form([tick = (++seed) << 40]() mutable { return ++tick; });
    form.Form_Load();
    (trump ? form.txtRunToTrump : form.txtRunToMeld).Text = target;
    (trump ? form.chkTrump : form.chkAutorun).SetValue(1);
    for (auto _ : state) form.Shuffle_Click();
}
void RunTrump9(benchmark::State& state) { Search(state, true, "9"); }
void RunToMeld200(benchmark::State& state) { Search(state, false, "200"); }
template <class Registered>
void AsWholeSearches(Registered* bench) {
    bench->Iterations(1)
        ->Repetitions(300)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("p99", Percentile99)
        ->Unit(benchmark::kMillisecond);
}
const bool kSearchesRegistered = [] {
    AsWholeSearches(benchmark::RegisterBenchmark("RunTrump9", RunTrump9));
    AsWholeSearches(benchmark::RegisterBenchmark("RunToMeld200", RunToMeld200));
    return true;
}();

double ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

void MemoryFlat(benchmark::State& state) {
    for (auto _ : state) {
        Form1 form(CountingClock());
        form.Form_Load();
        for (int i = 0; i < 1000; ++i) form.Shuffle_Click();
        const double after1k = ResidentKilobytes();
        for (int i = 1000; i < 100000; ++i) form.Shuffle_Click();
        const double after100k = ResidentKilobytes();
        state.counters["rss_after_1k_deals_kB"] = after1k;
        state.counters["rss_after_100k_deals_kB"] = after100k;
        state.counters["growth_kB"] = after100k - after1k;
    }
}
BENCHMARK(MemoryFlat)->Iterations(1)->Unit(benchmark::kMillisecond);

// The hand the analysis benchmarks weigh: South's of a fixed deal.
SimulationRequest AnalysedHand(std::uint64_t deals, unsigned threads, MeldRules rules = MeldRules::Designed) {
    Form1 form([] { return std::uint64_t{20261206}; });
    form.Form_Load();
    const HandCounts own = CountsOfHand(&form.Deck[1]);
    return {own, 1, deals, threads, FindNearMelds(own, rules), rules};
}

void SimulatedDealsUnder(benchmark::State& state, MeldRules rules) {
    const SimulationRequest request = AnalysedHand(std::uint64_t{1} << 40, 1, rules);
    auto tally = std::make_unique<SimulationTally>();
    std::uint64_t block = 0;
    for (auto _ : state) SimulateBlock(request, block++, *tally);
    benchmark::DoNotOptimize(tally->deals);
    state.SetItemsProcessed(static_cast<std::int64_t>(tally->deals));
}
void SimulatedDeals(benchmark::State& state) { SimulatedDealsUnder(state, MeldRules::Designed); }
BENCHMARK(SimulatedDeals);
// The analysis's simulated deal weighed by the standard meld.
void SimulatedDealsStandard(benchmark::State& state) { SimulatedDealsUnder(state, MeldRules::Standard); }
BENCHMARK(SimulatedDealsStandard);
// The analysis's simulated deal of an 80-card hand: 60 cards dealt, three
// hands weighed in four trumps and none.
void SimulatedDealsDoubleDeck(benchmark::State& state) {
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(20261209, 0);
    const KindCounts own = DealOf(rules.form, random).hands[0];
    const std::vector<NearMeld> near = FindNearMelds(rules, own);
    std::uint64_t deals = 0;
    for (auto _ : state) deals += Simulate(rules, own, near, 1, kBlockDeals, 1).deals;
    state.SetItemsProcessed(static_cast<std::int64_t>(deals));
}
BENCHMARK(SimulatedDealsDoubleDeck)->Unit(benchmark::kMillisecond);

// The legal-play generator over the positions of random hands played out by
// random legal cards: one call a position, with the trick winner at each
// trick's end.
void LegalPlays(benchmark::State& state) {
    struct Position {
        HandCounts hand;
        std::array<int, 3> trick;
        int size;
        int trump;
    };
    std::vector<Position> positions;
    std::mt19937_64 random(9);
    while (positions.size() < 48 * 1000) {
        std::vector<int> deck;
        for (int kind = 0; kind < kCardKinds; ++kind) deck.insert(deck.end(), {kind, kind});
        std::shuffle(deck.begin(), deck.end(), random);
        std::array<HandCounts, 4> hands{};
        for (std::size_t i = 0; i < 48; ++i) hands[i / 12] += KindBit(deck[i]);
        PlayState play(RuleSet::Standard(), hands, static_cast<int>(random() % 4), 0);
        while (!play.Over()) {
            Position p{play.Hands()[static_cast<std::size_t>(play.ToPlay())],
                       {},
                       static_cast<int>(play.Trick().size()),
                       play.Trump()};
            std::copy(play.Trick().begin(), play.Trick().end(), p.trick.begin());
            positions.push_back(p);
            const KindMask legal = play.Legal();
            int pick = static_cast<int>(random() % static_cast<unsigned>(std::popcount(legal)));
            int kind = std::countr_zero(legal);
            for (KindMask rest = legal; pick-- > 0;) rest &= rest - 1, kind = std::countr_zero(rest);
            play.Make(kind);
        }
    }
    const PlayRules rules;
    std::size_t at = 0;
    KindMask all = 0;
    for (auto _ : state) {
        const Position& p = positions[at];
        all ^=
            LegalPlays(p.hand, std::span<const int>(p.trick.data(), static_cast<std::size_t>(p.size)), p.trump, rules);
        if (p.size == 3) all ^= static_cast<KindMask>(TrickWinner(p.trick, p.trump, TrickRules::SuitLed));
        at = at + 1 == positions.size() ? 0 : at + 1;
    }
    benchmark::DoNotOptimize(all);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LegalPlays);

void SimulationVsActualShuffle(benchmark::State& state) {
    for (auto _ : state) {
        Form1 form(CountingClock());
        form.Form_Load();
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20000; ++i) form.ActualShuffle();
        const double shufflesPerSecond =
            20000 / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const SimulationRequest request = AnalysedHand(std::uint64_t{1} << 40, 1);
        auto tally = std::make_unique<SimulationTally>();
        start = std::chrono::steady_clock::now();
        for (std::uint64_t block = 0; block < 100; ++block) SimulateBlock(request, block, *tally);
        const double simulatedPerSecond =
            static_cast<double>(tally->deals) /
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["actual_shuffles_per_s"] = shufflesPerSecond;
        state.counters["simulated_deals_per_s"] = simulatedPerSecond;
        state.counters["ratio"] = simulatedPerSecond / shufflesPerSecond;
    }
}
BENCHMARK(SimulationVsActualShuffle)->Iterations(1)->Unit(benchmark::kMillisecond);

// Whole hands played out by four rule players, as the chance to make plays them.
void RulePlayouts(benchmark::State& state) {
    std::mt19937_64 random(11);
    std::vector<std::array<HandCounts, 4>> deals(256);
    for (auto& hands : deals) {
        std::vector<int> deck;
        for (int kind = 0; kind < kCardKinds; ++kind) deck.insert(deck.end(), {kind, kind});
        std::shuffle(deck.begin(), deck.end(), random);
        hands = {};
        for (std::size_t i = 0; i < 48; ++i) hands[i / 12] += KindBit(deck[i]);
    }
    std::size_t at = 0;
    int total = 0;
    for (auto _ : state) {
        total += PlayOutDeal(RuleSet::Standard(), deals[at], static_cast<int>(at % 4), 0)[0];
        at = (at + 1) % deals.size();
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RulePlayouts);

// Whole 80-card hands played out by four rule players, meld and score included.
void RulePlayoutsDoubleDeck(benchmark::State& state) {
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(11, 0);
    std::vector<std::array<KindCounts, 4>> deals(256);
    for (auto& hands : deals) hands = DealOf(rules.form, random).hands;
    std::size_t at = 0;
    int total = 0;
    for (auto _ : state) {
        total += PlayOutDeal(rules, deals[at], static_cast<int>(at % 4), 0)[0];
        at = (at + 1) % deals.size();
    }
    benchmark::DoNotOptimize(total);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RulePlayoutsDoubleDeck);

// Decisions of the search player at Normal through whole hands: the median
// and the 99th percentile of the time a decision takes.
// Arguments 2 and 3 play a deal under each of the sixteen combinations of
// the play switches instead: with following off every card of a hand may be
// played, and the searches have the most to do.
// The times of a computer's decisions, at `level`, through the whole hand
// dealt, the views of the four seats kept as the cards fall.
template <class HandType>
void TimeDecisions(const RuleSet& rules, const std::array<HandType, 4>& hands, int trump, Level level,
                   std::vector<double>& times) {
    BasicPlayState<HandType> play(rules, hands, trump, 0);
    std::vector<BasicSeatView<HandType>> views;
    for (int seat = 0; seat < 4; ++seat)
        views.emplace_back(rules, seat, hands[static_cast<std::size_t>(seat)], trump, 0);
    while (!play.Over()) {
        const auto start = std::chrono::steady_clock::now();
        const int card = ComputerCard(views[static_cast<std::size_t>(play.ToPlay())], level, 1);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        play.Make(card);
        for (auto& view : views) view.Observe(card);
    }
}

void ReportTimes(benchmark::State& state, std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    state.counters["decisions"] = static_cast<double>(times.size());
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[times.size() * 99 / 100];
    state.counters["max_ms"] = times.back();
}

void SearchDecision(benchmark::State& state) {
    const Level level = state.range(0) % 2 == 0 ? Level::Normal : Level::Strong;
    const bool everySwitch = state.range(0) >= 2;
    std::vector<double> times;
    std::mt19937_64 random(13);
    for (auto _ : state) {
        for (int deal = 0; deal < (everySwitch ? 16 : 8); ++deal) {
            RuleSet rules = RuleSet::Standard();
            if (everySwitch) rules.play = {(deal & 1) != 0, (deal & 2) != 0, (deal & 4) != 0, (deal & 8) != 0};
            std::vector<int> deck;
            for (int kind = 0; kind < kCardKinds; ++kind) deck.insert(deck.end(), {kind, kind});
            std::shuffle(deck.begin(), deck.end(), random);
            std::array<HandCounts, 4> hands{};
            for (std::size_t i = 0; i < 48; ++i) hands[i / 12] += KindBit(deck[i]);
            TimeDecisions(rules, hands, deal % 4, level, times);
        }
    }
    ReportTimes(state, times);
}
BENCHMARK(SearchDecision)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(SearchDecision)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(SearchDecision)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(SearchDecision)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond);

// The computer's decisions through whole 80-card hands, Normal (argument 0)
// and Strong (1): the median and the 99th percentile of a decision's time.
void SearchDecisionDoubleDeck(benchmark::State& state) {
    const Level level = state.range(0) == 0 ? Level::Normal : Level::Strong;
    const RuleSet rules = RuleSet::DoubleDeck();
    std::vector<double> times;
    Random random(13, 0);
    for (auto _ : state)
        for (int deal = 0; deal < 8; ++deal)
            TimeDecisions(rules, DealOf(rules.form, random).hands, deal % 4, level, times);
    ReportTimes(state, times);
}
BENCHMARK(SearchDecisionDoubleDeck)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(SearchDecisionDoubleDeck)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// Every decision of whole three-handed hands, each seat the computer at the
// level (the bidding, trump, laying away, the concession and each card),
// timed one by one.
void ThreeHandedDecision(benchmark::State& state) {
    const Level level = state.range(0) == 0 ? Level::Normal : Level::Strong;
    const RuleSet rules = RuleSet::ThreeHanded();
    std::vector<double> times;
    for (auto _ : state)
        for (int deal = 1; deal <= 12; ++deal) {
            ThreeHandedHand hand(rules, ThreeHandedDeal(rules, 13, deal), deal % 3);
            while (hand.ToAct() >= 0) {
                const auto start = std::chrono::steady_clock::now();
                if (!MakeComputerMove(hand, level, static_cast<std::uint64_t>(deal)).empty()) break;
                times.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            }
        }
    ReportTimes(state, times);
}
BENCHMARK(ThreeHandedDecision)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(ThreeHandedDecision)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// A three-handed hand's chance to make in all four trumps, the widow
// unknown: 20,000 played-out deals, one core.
void ThreeHandedChanceOneCore(benchmark::State& state) {
    const RuleSet rules = RuleSet::ThreeHanded();
    const KindCounts hand = ThreeHandedDeal(rules, 13, 1).hands[0];
    for (auto _ : state) benchmark::DoNotOptimize(ThreeHandedChance(rules, hand, {}, 20000, 1).deals);
}
BENCHMARK(ThreeHandedChanceOneCore)->Unit(benchmark::kMillisecond)->UseRealTime();

// One hand's chance to make in all four trumps, 20,000 played-out deals, on every core.
void ChanceToMakeAllCores(benchmark::State& state) {
    Form1 form([] { return std::uint64_t{20261206}; });
    form.Form_Load();
    ChanceRequest request;
    request.hand = CountsOfHand(&form.Deck[1]);
    for (auto _ : state) benchmark::DoNotOptimize(ChanceToMake(request).deals);
}
BENCHMARK(ChanceToMakeAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same for an 80-card hand: 20,000 deals, four trumps, every core.
void ChanceToMakeDoubleDeckAllCores(benchmark::State& state) {
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(20261209, 0);
    const KindCounts hand = DealOf(rules.form, random).hands[0];
    for (auto _ : state) benchmark::DoNotOptimize(ChanceToMake(rules, hand, 20000, 1).deals);
}
BENCHMARK(ChanceToMakeDoubleDeckAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();

void Simulate100kAllCores(benchmark::State& state) {
    const SimulationRequest request = AnalysedHand(100000, 0);
    for (auto _ : state) benchmark::DoNotOptimize(Simulate(request).deals);
}
BENCHMARK(Simulate100kAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();

void SimulationMemoryFlat(benchmark::State& state) {
    for (auto _ : state) {
        Simulate(AnalysedHand(100000, 0));
        const double after100k = ResidentKilobytes();
        Simulate(AnalysedHand(10000000, 0));
        const double after10m = ResidentKilobytes();
        state.counters["rss_after_100k_simulated_kB"] = after100k;
        state.counters["rss_after_10M_simulated_kB"] = after10m;
        state.counters["growth_kB"] = after10m - after100k;
    }
}
BENCHMARK(SimulationMemoryFlat)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
