#include "game/full_duel.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "game/game.h"
#include "players/duel.h"

namespace vantrel {

namespace {

// The first hand of a game of the deal's seed, every seat a computer: pair
// A's seats at `aSide`.
FullDuelTable PlayTable(const RuleSet& rules, DuelPair a, DuelPair b, int aSide, std::uint64_t seed) {
    Game game(rules, seed);
    FullDuelTable table;
    table.dealt = game.Dealt();
    // A hand is some sixty moves; the bound only stops a fault from hanging the match.
    for (int step = 0; step < 400 && game.Sheet().empty(); ++step) {
        const int seat = game.ToAct();
        if (seat < 0) {
            game.Continue();
            continue;
        }
        const DuelPair& pair = SideOf(seat) == aSide ? a : b;
        const std::uint64_t moveSeed = seed * 1000003 + static_cast<std::uint64_t>(step);
        if (!ApplyMove(game, seat, ChooseMove(game, seat, pair.level, moveSeed, nullptr, pair.bidding)).empty()) break;
    }
    if (game.Sheet().empty()) return table;
    const SheetLine& line = game.Sheet().front();
    table.declarer = line.declarer;
    table.bid = line.bid;
    table.score = {line.score[0], line.score[1]};
    table.made = line.score[static_cast<std::size_t>(SideOf(line.declarer))] >= 0 && !line.record.plays.empty();
    return table;
}

}  // namespace

double FullDuelDeal::Difference() const {
    return ((first.score[0] - first.score[1]) + (second.score[1] - second.score[0])) / 2.0;
}

FullDuelDeal PlayFullDuelDeal(const RuleSet& rules, DuelPair a, DuelPair b, std::uint64_t seed, std::uint64_t deal) {
    // One game seed for both tables: the same deal and the same dealer.
    const std::uint64_t gameSeed = seed * 7919 + deal;
    return {PlayTable(rules, a, b, 0, gameSeed), PlayTable(rules, a, b, 1, gameSeed)};
}

FullDuelResult PlayFullDuel(const RuleSet& rules, DuelPair a, DuelPair b, std::uint64_t deals, std::uint64_t seed,
                            unsigned threads) {
    const std::vector<FullDuelDeal> played = PlayDeals<FullDuelDeal>(
        deals, threads, [&](std::uint64_t d) { return PlayFullDuelDeal(rules, a, b, seed, d); });
    FullDuelResult result;
    result.deals = deals;
    std::vector<double> differences;
    for (const FullDuelDeal& deal : played) {
        differences.push_back(deal.Difference());
        for (const auto& [table, aSide] : {std::pair{&deal.first, 0}, std::pair{&deal.second, 1}}) {
            if (table->declarer < 0) continue;
            FullDuelResult::Contracts& pair =
                result.contracts[static_cast<std::size_t>(SideOf(table->declarer) == aSide ? 0 : 1)];
            ++pair.won;
            (table->made ? pair.made : pair.set) += 1;
        }
    }
    std::tie(result.handScore, result.halfWidth) = MeanWithInterval(differences);
    return result;
}

}  // namespace vantrel
