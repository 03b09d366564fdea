#include "analysis/hand_simulation.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "base/block_runner.h"
#include "rules/card_text.h"
#include "rules/meld_rules.h"
#include "rules/seats.h"
#include "rules/unseen_deck.h"

namespace vantrel {

bool IsWholeHand(HandCounts own) {
    int cards = 0;
    for (int kind = 0; kind < kCardKinds; ++kind) {
        // Two bits hold up to three: a third copy of a card is no pinochle hand.
        if (CountOf(own, kind) > 2) return false;
        cards += CountOf(own, kind);
    }
    return cards == 12 && (own >> (2 * kCardKinds)) == 0;
}

std::vector<NearMeld> FindNearMelds(HandCounts own, MeldRules rules) {
    std::vector<NearMeld> found;
    if (!IsWholeHand(own)) return found;
    auto add = [&](std::string meld, std::vector<int> kinds) {
        NearMeld near{std::move(meld), std::move(kinds), 0};
        near.exact = ChancePartnerHoldsAll(own, near.kinds);
        found.push_back(std::move(near));
    };
    for (int suit = 0; suit < 4; ++suit) {
        std::vector<int> missing;
        for (int rank = 0; rank < 5; ++rank)
            if (CountOf(own, 6 * suit + rank) == 0) missing.push_back(6 * suit + rank);
        if (!missing.empty() && missing.size() <= 2)
            add("Run in " + std::string(kSuitNames[static_cast<std::size_t>(suit)]), missing);
    }
    static constexpr std::array<std::pair<int, std::string_view>, 4> kFours{
        {{0, "Aces"}, {2, "Kings"}, {3, "Queens"}, {4, "Jacks"}}};
    for (const auto& [rank, name] : kFours) {
        std::vector<int> missing;
        for (int suit = 0; suit < 4; ++suit)
            if (CountOf(own, 6 * suit + rank) == 0) missing.push_back(6 * suit + rank);
        if (missing.size() == 1) add(std::string(name), missing);
    }
    const int queen = KindOf(2, 3);  // the Queen of Spades
    const int jack = KindOf(3, 4);   // the Jack of Diamonds
    if ((CountOf(own, queen) > 0) != (CountOf(own, jack) > 0))
        add("Pinochle", {CountOf(own, queen) > 0 ? jack : queen});
    for (int suit = 0; suit < 4; ++suit) {
        const int king = 6 * suit + 2;
        if ((CountOf(own, king) > 0) != (CountOf(own, king + 1) > 0))
            add("Marriage " + std::string(kSuitNames[static_cast<std::size_t>(suit)]),
                {CountOf(own, king) > 0 ? king + 1 : king});
    }
    if (rules == MeldRules::Standard) {
        // The second copies that raise meld, where one or two cards are missing.
        auto singles = [&](std::initializer_list<int> kinds) {
            std::vector<int> missing;
            for (int kind : kinds)
                if (CountOf(own, kind) == 1) missing.push_back(kind);
            return missing;
        };
        if (CountOf(own, queen) > 0 && CountOf(own, jack) > 0 && !singles({queen, jack}).empty())
            add("Double pinochle", singles({queen, jack}));
        for (int suit = 0; suit < 4; ++suit) {
            const int king = 6 * suit + 2;
            if (CountOf(own, king) + CountOf(own, king + 1) == 3)
                add("Second marriage " + std::string(kSuitNames[static_cast<std::size_t>(suit)]),
                    singles({king, king + 1}));
        }
        for (const auto& [rank, name] : kFours) {
            const std::vector<int> missing = singles({rank, 6 + rank, 12 + rank, 18 + rank});
            bool around = true;
            for (int suit = 0; suit < 4; ++suit) around = around && CountOf(own, 6 * suit + rank) > 0;
            if (around && !missing.empty() && missing.size() <= 2) add("Double " + std::string(name), missing);
        }
    }
    for (NearMeld& near : found) {
        std::string cards;
        for (int kind : near.kinds) cards += (cards.empty() ? "" : " + ") + CardSymbolText(kind / 6 + 1, kind % 6 + 1);
        near.meld += " (" + cards + ")";
    }
    return found;
}

std::vector<std::string> MeldNotes(HandCounts own, MeldRules rules) {
    std::vector<std::string> notes;
    if (rules != MeldRules::Standard || !IsWholeHand(own)) return notes;
    for (int suit = 0; suit < 4; ++suit) {
        const int run = RunsIn(own, suit);
        const int marriages = std::min(CountOf(own, 6 * suit + 2), CountOf(own, 6 * suit + 3));
        if (run > 0 && marriages == run)
            notes.push_back("With " + std::string(kSuitNames[static_cast<std::size_t>(suit)]) + " as trump the " +
                            KindText(6 * suit + 2) + " " + KindText(6 * suit + 3) +
                            " marriage is worth nothing: its King and Queen are in the run.");
    }
    return notes;
}

namespace {

// The chance that a hand of `handCards` drawn from `unseenCards` holds at
// least one copy of each kind asked for, `copiesOut` of each being unseen.
// It misses every copy of a set of m unseen cards with chance
// C(unseen - m, hand) / C(unseen, hand); inclusion and exclusion over the
// subsets of the kinds gives the chance of holding one of each.
double ChanceHandHoldsAll(int unseenCards, int handCards, const std::vector<int>& copiesOut) {
    auto missesAll = [&](int m) {
        double p = 1;
        for (int j = 0; j < handCards; ++j)
            p *= std::max(0.0, static_cast<double>(unseenCards - m - j) / static_cast<double>(unseenCards - j));
        return p;
    };
    double chance = 0;
    const std::size_t subsets = std::size_t{1} << copiesOut.size();
    for (std::size_t subset = 0; subset < subsets; ++subset) {
        int unseen = 0;
        int size = 0;
        for (std::size_t i = 0; i < copiesOut.size(); ++i)
            if (subset & (std::size_t{1} << i)) {
                unseen += copiesOut[i];
                ++size;
            }
        chance += (size % 2 == 0 ? 1 : -1) * missesAll(unseen);
    }
    return chance;
}

}  // namespace

double ChancePartnerHoldsAll(HandCounts own, const std::vector<int>& kinds) {
    if (!IsWholeHand(own)) return 0;
    std::vector<int> out;
    out.reserve(kinds.size());
    for (const int kind : kinds) out.push_back(2 - CountOf(own, kind));
    return ChanceHandHoldsAll(36, 12, out);
}

void SimulationTally::Merge(const SimulationTally& other) {
    deals += other.deals;
    for (std::size_t t = 0; t < 4; ++t) {
        Trump& mine = trumps[t];
        const Trump& theirs = other.trumps[t];
        mine.partnerSum += theirs.partnerSum;
        mine.partnerSquares += theirs.partnerSquares;
        mine.opponentsSum += theirs.opponentsSum;
        mine.opponentsSquares += theirs.opponentsSquares;
        for (std::size_t i = 0; i < mine.partner.size(); ++i) mine.partner[i] += theirs.partner[i];
        for (std::size_t i = 0; i < mine.opponents.size(); ++i) mine.opponents[i] += theirs.opponents[i];
    }
    partnerNoTrumpSum += other.partnerNoTrumpSum;
    partnerNoTrumpSquares += other.partnerNoTrumpSquares;
    if (nearMeldHits.size() < other.nearMeldHits.size()) nearMeldHits.resize(other.nearMeldHits.size());
    for (std::size_t i = 0; i < other.nearMeldHits.size(); ++i) nearMeldHits[i] += other.nearMeldHits[i];
}

namespace {

template <class Meld>
void Tally(SimulationTally& tally, const Meld& partner, const Meld& left, const Meld& right) {
    for (std::size_t t = 0; t < 4; ++t) {
        SimulationTally::Trump& trump = tally.trumps[t];
        const int p = partner.WithTrump(static_cast<int>(t));
        const int o = left.WithTrump(static_cast<int>(t)) + right.WithTrump(static_cast<int>(t));
        trump.partnerSum += p;
        trump.partnerSquares += std::int64_t{p} * p;
        trump.opponentsSum += o;
        trump.opponentsSquares += std::int64_t{o} * o;
        ++trump.partner[static_cast<std::size_t>(std::min(p, kPartnerMeldBins - 1))];
        ++trump.opponents[static_cast<std::size_t>(std::min(o, kOpponentsMeldBins - 1))];
    }
    const int noTrump = partner.NoTrump();
    tally.partnerNoTrumpSum += noTrump;
    tally.partnerNoTrumpSquares += std::int64_t{noTrump} * noTrump;
}

}  // namespace

void SimulateBlock(const SimulationRequest& request, std::uint64_t block, SimulationTally& tally) {
    const std::uint64_t first = block * kBlockDeals;
    if (first >= request.deals) return;
    const std::uint64_t count = std::min(kBlockDeals, request.deals - first);

    UnseenDeck unseen = UnseenDeck::Besides(request.own);

    // Each near meld as the bits partner must hold at least once each.
    std::vector<std::pair<HandCounts, HandCounts>> wanted;  // (first kind's mask, second kind's mask or 0)
    for (const NearMeld& near : request.nearMelds)
        wanted.emplace_back(HandCounts{3} << (2 * near.kinds.at(0)),
                            near.kinds.size() > 1 ? HandCounts{3} << (2 * near.kinds[1]) : 0);
    tally.nearMeldHits.resize(wanted.size());

    Random random(request.seed, block);
    for (std::uint64_t deal = 0; deal < count; ++deal) {
        // Partner, one opponent and the other opponent.
        const std::array<HandCounts, 3> hands = unseen.Deal(random, std::array<int, 3>{12, 12, 12});

        if (request.meld == MeldRules::Standard)
            Tally(tally, StandardMeld(hands[0]), StandardMeld(hands[1]), StandardMeld(hands[2]));
        else
            Tally(tally, DesignedMeld(hands[0]), DesignedMeld(hands[1]), DesignedMeld(hands[2]));
        for (std::size_t w = 0; w < wanted.size(); ++w)
            if ((hands[0] & wanted[w].first) != 0 && (wanted[w].second == 0 || (hands[0] & wanted[w].second) != 0))
                ++tally.nearMeldHits[w];
    }
    tally.deals += count;
}

SimulationTally Simulate(const SimulationRequest& request, const std::atomic<bool>* cancel,
                         const std::function<void(const SimulationTally&)>& progress) {
    SimulationTally total;
    total.nearMeldHits.resize(request.nearMelds.size());
    if (!IsWholeHand(request.own) || request.deals == 0) return total;

    const std::uint64_t blocks = (request.deals + kBlockDeals - 1) / kBlockDeals;
    RunBlocks<SimulationTally>(
        blocks, request.threads, cancel,
        [&](std::uint64_t block, SimulationTally& mine) { SimulateBlock(request, block, mine); },
        [&](const SimulationTally& mine) {
            total.Merge(mine);
            if (progress) progress(total);
        });
    return total;
}

template <std::size_t Bins>
MeldSpread SpreadOf(const std::array<std::uint64_t, Bins>& histogram, std::int64_t sum, std::int64_t squares,
                    std::uint64_t deals) {
    MeldSpread spread;
    if (deals == 0) return spread;
    const double n = static_cast<double>(deals);
    spread.mean = static_cast<double>(sum) / n;
    const double variance = std::max(0.0, static_cast<double>(squares) / n - spread.mean * spread.mean);
    spread.halfWidth = deals > 1 ? 1.96 * std::sqrt(variance * n / (n - 1) / n) : 0;
    auto percentile = [&](std::uint64_t per100) {
        // The least value v with at least per100% of the deals at or below it.
        const std::uint64_t needed = (deals * per100 + 99) / 100;
        std::uint64_t seen = 0;
        for (std::size_t v = 0; v < Bins; ++v) {
            seen += histogram[v];
            if (seen >= needed && seen > 0) return static_cast<int>(v);
        }
        return static_cast<int>(Bins - 1);
    };
    spread.p10 = percentile(10);
    spread.p50 = percentile(50);
    spread.p90 = percentile(90);
    return spread;
}

template <std::size_t Bins>
double ShareAtLeast(const std::array<std::uint64_t, Bins>& histogram, int value, std::uint64_t deals) {
    if (deals == 0) return 0;
    std::uint64_t above = 0;
    for (std::size_t v = static_cast<std::size_t>(std::max(value, 0)); v < Bins; ++v) above += histogram[v];
    return static_cast<double>(above) / static_cast<double>(deals);
}

template MeldSpread SpreadOf(const std::array<std::uint64_t, kPartnerMeldBins>&, std::int64_t, std::int64_t,
                             std::uint64_t);
template MeldSpread SpreadOf(const std::array<std::uint64_t, kOpponentsMeldBins>&, std::int64_t, std::int64_t,
                             std::uint64_t);
template double ShareAtLeast(const std::array<std::uint64_t, kPartnerMeldBins>&, int, std::uint64_t);
template double ShareAtLeast(const std::array<std::uint64_t, kOpponentsMeldBins>&, int, std::uint64_t);

double ChancePartnerHoldsAll(const RuleSet& rules, const KindCounts& own, const std::vector<int>& kinds) {
    if (!IsFormHand(rules, own)) return 0;
    const KindCounts whole = WholeDeckOf(rules.form);
    std::vector<int> out;
    out.reserve(kinds.size());
    for (const int kind : kinds)
        out.push_back(whole[static_cast<std::size_t>(kind)] - own[static_cast<std::size_t>(kind)]);
    return ChanceHandHoldsAll(rules.form.DeckCards() - rules.form.widow - rules.form.handCards, rules.form.handCards,
                              out);
}

std::vector<NearMeld> FindNearMelds(const RuleSet& rules, const KindCounts& own) {
    std::vector<NearMeld> found;
    if (!IsFormHand(rules, own)) return found;
    constexpr std::array<std::string_view, 5> kTimes{"", "", "Double ", "Triple ", "Quadruple "};
    // A meld of these kinds held `times` times is one card short of once more
    // where one or two kinds are held exactly `times` times and the rest
    // more: partner's copy of each would complete it. A meld not held at all
    // may be two cards short.
    auto add = [&](const std::vector<int>& kinds, const auto& name) {
        int times = rules.form.copies;
        for (const int kind : kinds) times = std::min(times, CountIn(own, kind));
        if (times >= rules.form.copies) return;
        std::vector<int> missing;
        for (const int kind : kinds)
            if (CountIn(own, kind) == times) missing.push_back(kind);
        if (missing.empty() || missing.size() > 2) return;
        NearMeld near{name(times + 1), missing, 0};
        near.exact = ChancePartnerHoldsAll(rules, own, near.kinds);
        found.push_back(std::move(near));
    };
    for (int suit = 0; suit < 4; ++suit) {
        const std::string suitName(kSuitNames[static_cast<std::size_t>(suit)]);
        const std::vector<int> run{KindOf(suit, 0), KindOf(suit, 1), KindOf(suit, 2), KindOf(suit, 3), KindOf(suit, 4)};
        add(run, [&](int times) {
            return times == 1 ? "Run in " + suitName
                              : std::string(kTimes[static_cast<std::size_t>(times)]) + "run in " + suitName;
        });
    }
    static constexpr std::array<std::pair<int, std::string_view>, 4> kFours{
        {{0, "Aces"}, {2, "Kings"}, {3, "Queens"}, {4, "Jacks"}}};
    for (const auto& four : kFours) {
        const std::vector<int> around{KindOf(0, four.first), KindOf(1, four.first), KindOf(2, four.first),
                                      KindOf(3, four.first)};
        add(around, [&](int times) {
            return std::string(kTimes[static_cast<std::size_t>(times)]).append(four.second) + " around";
        });
    }
    add({KindOf(2, 3), KindOf(3, 4)}, [&](int times) {
        return times == 1 ? std::string("Pinochle") : std::string(kTimes[static_cast<std::size_t>(times)]) + "pinochle";
    });
    for (int suit = 0; suit < 4; ++suit) {
        const std::string suitName(kSuitNames[static_cast<std::size_t>(suit)]);
        add({KindOf(suit, 2), KindOf(suit, 3)}, [&](int times) {
            return times == 1 ? "Marriage in " + suitName : std::to_string(times) + " marriages in " + suitName;
        });
    }
    return found;
}

SimulationTally Simulate(const RuleSet& rules, const KindCounts& own, const std::vector<NearMeld>& nearMelds,
                         std::uint64_t seed, std::uint64_t deals, unsigned threads, const std::atomic<bool>* cancel,
                         const std::function<void(const SimulationTally&)>& progress) {
    SimulationTally total;
    total.nearMeldHits.resize(nearMelds.size());
    if (!IsFormHand(rules, own) || deals == 0) return total;
    const std::uint64_t blocks = (deals + kBlockDeals - 1) / kBlockDeals;
    RunBlocks<SimulationTally>(
        blocks, threads, cancel,
        [&](std::uint64_t block, SimulationTally& mine) {
            const std::uint64_t count = std::min(kBlockDeals, deals - block * kBlockDeals);
            mine.nearMeldHits.resize(nearMelds.size());
            OthersDeal others(rules, own);
            Random random(seed, block);
            for (std::uint64_t deal = 0; deal < count; ++deal) {
                // Partner, one opponent and the other opponent.
                const std::array<KindCounts, 3> hands = others.Next(random);
                Tally(mine, CountsMeld(rules, hands[0]), CountsMeld(rules, hands[1]), CountsMeld(rules, hands[2]));
                for (std::size_t w = 0; w < nearMelds.size(); ++w) {
                    bool all = true;
                    for (const int kind : nearMelds[w].kinds) all = all && CountIn(hands[0], kind) > 0;
                    mine.nearMeldHits[w] += all ? 1 : 0;
                }
            }
            mine.deals += count;
        },
        [&](const SimulationTally& mine) {
            total.Merge(mine);
            if (progress) progress(total);
        });
    return total;
}

}  // namespace vantrel
