#include "rules/meld_rules.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string_view>

#include "rules/designed_meld.h"
#include "rules/meld_values.h"
#include "rules/seats.h"
#include "rules/suit_facts.h"

namespace vantrel {

namespace {

using namespace meld_values;

constexpr int kAce = 0, kKing = 2, kQueen = 3, kJack = 4, kNine = 5;
constexpr int kSpades = 2, kDiamonds = 3;

int Count(HandCounts hand, int suit, int rank) { return CountOf(hand, KindOf(suit, rank)); }

}  // namespace

int TimesAround(HandCounts hand, int rank) {
    int times = 2;
    for (int suit = 0; suit < 4; ++suit) times = std::min(times, Count(hand, suit, rank));
    return times;
}

int RunsIn(HandCounts hand, int suit) {
    int runs = 2;
    for (int rank = kAce; rank <= kJack; ++rank) runs = std::min(runs, Count(hand, suit, rank));
    return runs;
}

int RunsIn(const KindCounts& hand, int suit) {
    if (suit < 0 || suit > 3) return 0;
    int runs = 4;
    for (int rank = kAce; rank <= kJack; ++rank) runs = std::min(runs, CountIn(hand, KindOf(suit, rank)));
    return runs;
}

namespace {

// "Double ", "Triple ", ... before a meld held more than once.
constexpr std::array<std::string_view, 5> kTimesWords{"", "", "Double ", "Triple ", "Quadruple "};

std::string TimesName(int times, std::string_view once, std::string_view more) {
    return times == 1 ? std::string(once) : std::string(kTimesWords[static_cast<std::size_t>(times)]).append(more);
}

std::size_t At(int times) { return static_cast<std::size_t>(std::clamp(times, 0, 4)); }

// With `lines` false only the total is counted: a playout melds every hand
// and reads nothing else.
MeldReport MeldReportIn(const Table& table, const KindCounts& hand, int trump, bool lines = true) {
    MeldReport report;
    auto add = [&](auto name, int value, KindMask kinds, int times, MeldLine::Group group) {
        if (lines) report.lines.push_back({name(), value, kinds, times, group});
        report.total += value;
    };
    auto count = [&](int suit, int rank) {
        return static_cast<int>(hand[static_cast<std::size_t>(KindOf(suit, rank))]);
    };
    auto suitName = [](int suit) { return std::string(kSuitNames[static_cast<std::size_t>(suit)]); };
    const bool trumpNamed = trump >= 0 && trump < 4;
    int runs = 0;
    if (trumpNamed) {
        runs = 4;
        KindMask kinds = 0;
        for (int rank = kAce; rank <= kJack; ++rank) {
            runs = std::min(runs, count(trump, rank));
            kinds |= KindFlag(KindOf(trump, rank));
        }
        if (runs > 0)
            add([&] { return TimesName(runs, "Run in ", "run in ") + suitName(trump); }, table.run[At(runs)], kinds,
                runs, MeldLine::Marriages);
    }
    auto marriages = [&](int suit, bool royal) {
        const KindMask pair = KindFlag(KindOf(suit, kKing)) | KindFlag(KindOf(suit, kQueen));
        for (int m = royal ? runs : 0; m < std::min(count(suit, kKing), count(suit, kQueen)); ++m)
            add([&] { return (royal ? "Royal marriage in " : "Marriage in ") + suitName(suit); },
                royal ? table.royalMarriage : table.marriage, pair, 1, MeldLine::Marriages);
    };
    if (trumpNamed) marriages(trump, true);
    for (int suit = 0; suit < 4; ++suit)
        if (!trumpNamed || suit != trump) marriages(suit, false);
    if (trumpNamed && table.nineOfTrump > 0)
        for (int nine = 0; nine < count(trump, kNine); ++nine)
            add([] { return std::string("Nine of trump"); }, table.nineOfTrump, KindFlag(KindOf(trump, kNine)), 1,
                MeldLine::Marriages);
    for (std::size_t a = 0; a < kAroundRanks.size(); ++a) {
        int times = 4;
        KindMask kinds = 0;
        for (int suit = 0; suit < 4; ++suit) {
            times = std::min(times, count(suit, kAroundRanks[a]));
            kinds |= KindFlag(KindOf(suit, kAroundRanks[a]));
        }
        const auto name = [&] {
            const std::string around = std::string(kAroundNames[a]) + " around";
            return TimesName(times, around, around);
        };
        if (times > 0) add(name, table.around[a][At(times)], kinds, times, MeldLine::Arounds);
    }
    const int pinochles = std::min(count(kSpades, kQueen), count(kDiamonds, kJack));
    if (pinochles > 0)
        add([&] { return TimesName(pinochles, "Pinochle", "pinochle"); }, table.pinochle[At(pinochles)],
            KindFlag(KindOf(kSpades, kQueen)) | KindFlag(KindOf(kDiamonds, kJack)), pinochles, MeldLine::Pinochles);
    return report;
}

}  // namespace

MeldReport StandardMeldReport(HandCounts hand, int trump) { return MeldReportIn(kSingleDeck, CountsOf(hand), trump); }

MeldReport MeldReportOf(const RuleSet& rules, const KindCounts& hand, int trump) {
    return MeldReportIn(rules.form.copies > 2 ? kDoubleDeck : kSingleDeck, hand, trump);
}

CountsMeld::CountsMeld(const RuleSet& rules, const KindCounts& hand) {
    const Table& table = rules.form.copies > 2 ? kDoubleDeck : kSingleDeck;
    auto count = [&](int suit, int rank) {
        return static_cast<int>(hand[static_cast<std::size_t>(KindOf(suit, rank))]);
    };
    std::array<int, 4> pairs{};
    for (int suit = 0; suit < 4; ++suit) {
        pairs[static_cast<std::size_t>(suit)] = std::min(count(suit, kKing), count(suit, kQueen));
        base_ += table.marriage * pairs[static_cast<std::size_t>(suit)];
    }
    for (std::size_t a = 0; a < kAroundRanks.size(); ++a) {
        int times = 4;
        for (int suit = 0; suit < 4; ++suit) times = std::min(times, count(suit, kAroundRanks[a]));
        base_ += table.around[a][At(times)];
    }
    base_ += table.pinochle[At(std::min(count(kSpades, kQueen), count(kDiamonds, kJack)))];
    for (int trump = 0; trump < 4; ++trump) {
        int runs = 4;
        for (int rank = kAce; rank <= kJack; ++rank) runs = std::min(runs, count(trump, rank));
        const int married = pairs[static_cast<std::size_t>(trump)];
        withTrump_[static_cast<std::size_t>(trump)] = base_ - table.marriage * married + table.run[At(runs)] +
                                                      table.royalMarriage * (married - runs) +
                                                      table.nineOfTrump * count(trump, kNine);
    }
}

int MeldOf(const RuleSet& rules, const KindCounts& hand, int trump) {
    const CountsMeld meld(rules, hand);
    return trump >= 0 && trump < 4 ? meld.WithTrump(trump) : meld.NoTrump();
}

HandCounts MeldLine::Cards() const {
    HandCounts cards = 0;
    for (KindMask k = kinds; k != 0; k &= k - 1) cards += static_cast<HandCounts>(times) * KindBit(std::countr_zero(k));
    return cards;
}

KindCounts MeldReport::ShownCounts() const {
    // Within a group the cards add up; across groups one card serves each.
    std::array<KindCounts, 3> groups{};
    for (const MeldLine& line : lines)
        for (KindMask k = line.kinds; k != 0; k &= k - 1)
            groups[static_cast<std::size_t>(line.group)][static_cast<std::size_t>(std::countr_zero(k))] +=
                static_cast<std::uint8_t>(line.times);
    KindCounts shown{};
    for (const KindCounts& group : groups)
        for (std::size_t kind = 0; kind < shown.size(); ++kind) shown[kind] = std::max(shown[kind], group[kind]);
    return shown;
}

HandCounts MeldReport::Shown() const {
    const KindCounts counts = ShownCounts();
    HandCounts shown = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        shown += static_cast<HandCounts>(std::min<int>(counts[static_cast<std::size_t>(kind)], 2)) * KindBit(kind);
    return shown;
}

std::string MeldReport::Text() const {
    std::string text;
    for (const MeldLine& line : lines) {
        std::string cards;
        for (KindMask k = line.kinds; k != 0; k &= k - 1)
            for (int copy = 0; copy < line.times; ++copy) cards += " " + KindText(std::countr_zero(k));
        text += line.name + "  " + std::to_string(line.value) + " " + cards + "\n";
    }
    return text + "Total meld  " + std::to_string(total) + "\n";
}

StandardMeld::StandardMeld(HandCounts hand) {
    std::array<const SuitFacts*, 4> suit{};
    std::array<int, 4> around{2, 2, 2, 2};
    for (std::size_t s = 0; s < 4; ++s) {
        suit[s] = &FactsOf(hand, static_cast<int>(s));
        base_ += kMarriage * suit[s]->Marriages();
        for (std::size_t r = 0; r < 4; ++r) around[r] = std::min(around[r], suit[s]->Around(r));
    }
    for (std::size_t r = 0; r < 4; ++r) base_ += kSingleDeck.around[r][static_cast<std::size_t>(around[r])];
    base_ += kSingleDeck.pinochle[static_cast<std::size_t>(
        std::min(CountOf(hand, KindOf(kSpades, kQueen)), CountOf(hand, KindOf(kDiamonds, kJack))))];
    for (std::size_t t = 0; t < 4; ++t) {
        const SuitFacts& f = *suit[t];
        withTrump_[t] = base_ - kMarriage * f.Marriages() + kSingleDeck.run[static_cast<std::size_t>(f.Runs())] +
                        kRoyalMarriage * (f.Marriages() - f.Runs()) + kNineOfTrump * f.Nines();
    }
}

int MeldOf(const RuleSet& rules, HandCounts hand, int trump) {
    if (rules.meld == MeldRules::Standard)
        return trump >= 0 && trump < 4 ? StandardMeld(hand).WithTrump(trump) : StandardMeld(hand).NoTrump();
    // The program's own count (the main list's meld plus the nines of trump).
    const DesignedMeld designed(hand);
    return trump >= 0 && trump < 4 ? designed.WithTrump(trump) : designed.NoTrump();
}

}  // namespace vantrel
