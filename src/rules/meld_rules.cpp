#include "rules/meld_rules.h"

#include <algorithm>
#include <array>

#include "app/seats.h"
#include "eval/meld.h"
#include "eval/playing_points.h"
#include "rules/card_records.h"

namespace vantrel {

namespace {

constexpr int kAce = 0, kKing = 2, kQueen = 3, kJack = 4, kNine = 5;
constexpr int kSpades = 2, kDiamonds = 3;

struct Around {
    int rank;
    const char* name;
    int single;
    int twice;
};
constexpr std::array<Around, 4> kArounds{
    {{kAce, "Aces", 100, 1000}, {kKing, "Kings", 80, 800}, {kQueen, "Queens", 60, 600}, {kJack, "Jacks", 40, 400}}};
constexpr std::array<int, 3> kRunValue{0, 150, 1500};
constexpr std::array<int, 3> kPinochleValue{0, 40, 300};

int Count(HandCounts hand, int suit, int rank) { return CountOf(hand, KindOf(suit, rank)); }

int MarriagesIn(HandCounts hand, int suit) { return std::min(Count(hand, suit, kKing), Count(hand, suit, kQueen)); }

// One suit's twelve bits, read once for the fast count.
struct SuitFacts {
    std::uint8_t runs = 0;
    std::uint8_t marriages = 0;
    std::uint8_t nines = 0;
    std::array<std::uint8_t, 4> around{};  // counts of A, K, Q, J
};

constexpr std::array<SuitFacts, 4096> BuildSuitTable() {
    std::array<SuitFacts, 4096> table{};
    for (int bits = 0; bits < 4096; ++bits) {
        const std::array<int, 6> n = RankCounts(bits);
        SuitFacts& facts = table[static_cast<std::size_t>(bits)];
        facts.runs = static_cast<std::uint8_t>(std::min({n[0], n[1], n[2], n[3], n[4], 2}));
        facts.marriages = static_cast<std::uint8_t>(std::min(n[2], n[3]));
        facts.nines = static_cast<std::uint8_t>(n[5]);
        facts.around = {static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[2]),
                        static_cast<std::uint8_t>(n[3]), static_cast<std::uint8_t>(n[4])};
    }
    return table;
}
constexpr std::array<SuitFacts, 4096> kSuitTable = BuildSuitTable();

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

MeldReport StandardMeldReport(HandCounts hand, int trump) {
    MeldReport report;
    auto add = [&](std::string name, int value, HandCounts cards, MeldLine::Group group) {
        report.lines.push_back({std::move(name), value, cards, group});
        report.total += value;
    };
    auto suitName = [](int suit) { return std::string(kSuitNames[static_cast<std::size_t>(suit)]); };
    const bool trumpNamed = trump >= 0 && trump < 4;
    int runs = 0;
    if (trumpNamed) {
        runs = RunsIn(hand, trump);
        HandCounts cards = 0;
        for (int rank = kAce; rank <= kJack; ++rank) cards += runs * KindBit(KindOf(trump, rank));
        if (runs > 0)
            add((runs == 2 ? "Double run in " : "Run in ") + suitName(trump), kRunValue[runs], cards,
                MeldLine::Marriages);
    }
    auto marriages = [&](int suit, bool royal) {
        const HandCounts pair = KindBit(KindOf(suit, kKing)) + KindBit(KindOf(suit, kQueen));
        for (int m = royal ? runs : 0; m < MarriagesIn(hand, suit); ++m)
            add((royal ? "Royal marriage in " : "Marriage in ") + suitName(suit), royal ? 40 : 20, pair,
                MeldLine::Marriages);
    };
    if (trumpNamed) marriages(trump, true);
    for (int suit = 0; suit < 4; ++suit)
        if (!trumpNamed || suit != trump) marriages(suit, false);
    if (trumpNamed)
        for (int nine = 0; nine < Count(hand, trump, kNine); ++nine)
            add("Nine of trump", 10, KindBit(KindOf(trump, kNine)), MeldLine::Marriages);
    for (const Around& around : kArounds) {
        const int times = TimesAround(hand, around.rank);
        HandCounts cards = 0;
        for (int suit = 0; suit < 4; ++suit) cards += times * KindBit(KindOf(suit, around.rank));
        if (times > 0)
            add((times == 2 ? "Double " + std::string(around.name) + " around" : std::string(around.name) + " around"),
                times == 2 ? around.twice : around.single, cards, MeldLine::Arounds);
    }
    const int pinochles = std::min(Count(hand, kSpades, kQueen), Count(hand, kDiamonds, kJack));
    if (pinochles > 0)
        add(pinochles == 2 ? "Double pinochle" : "Pinochle", kPinochleValue[pinochles],
            pinochles * (KindBit(KindOf(kSpades, kQueen)) + KindBit(KindOf(kDiamonds, kJack))), MeldLine::Pinochles);
    return report;
}

HandCounts MeldReport::Shown() const {
    // Within a group the cards add up; across groups one card serves each.
    std::array<HandCounts, 3> groups{};
    for (const MeldLine& line : lines) groups[static_cast<std::size_t>(line.group)] += line.cards;
    HandCounts shown = 0;
    for (int kind = 0; kind < kCardKinds; ++kind) {
        int most = 0;
        for (const HandCounts group : groups) most = std::max(most, CountOf(group, kind));
        shown += static_cast<HandCounts>(most) * KindBit(kind);
    }
    return shown;
}

std::string MeldReport::Text() const {
    std::string text;
    for (const MeldLine& line : lines) {
        std::string cards;
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < CountOf(line.cards, kind); ++copy) cards += " " + KindText(kind);
        text += line.name + "  " + std::to_string(line.value) + " " + cards + "\n";
    }
    return text + "Total meld  " + std::to_string(total) + "\n";
}

StandardMeld::StandardMeld(HandCounts hand) {
    std::array<const SuitFacts*, 4> suit{};
    std::array<int, 4> around{2, 2, 2, 2};
    for (std::size_t s = 0; s < 4; ++s) {
        suit[s] = &kSuitTable[static_cast<std::size_t>((hand >> (12 * s)) & 0xFFFu)];
        base_ += 20 * suit[s]->marriages;
        for (std::size_t r = 0; r < 4; ++r) around[r] = std::min<int>(around[r], suit[s]->around[r]);
    }
    for (std::size_t r = 0; r < 4; ++r)
        base_ += around[r] == 2 ? kArounds[r].twice : around[r] == 1 ? kArounds[r].single : 0;
    base_ += kPinochleValue[static_cast<std::size_t>(
        std::min(CountOf(hand, KindOf(kSpades, kQueen)), CountOf(hand, KindOf(kDiamonds, kJack))))];
    for (std::size_t t = 0; t < 4; ++t) {
        const SuitFacts& f = *suit[t];
        withTrump_[t] = base_ - 20 * f.marriages + kRunValue[f.runs] + 40 * (f.marriages - f.runs) + 10 * f.nines;
    }
}

int MeldOf(const RuleSet& rules, HandCounts hand, int trump) {
    if (rules.meld == MeldRules::Standard)
        return trump >= 0 && trump < 4 ? StandardMeld(hand).WithTrump(trump) : StandardMeld(hand).NoTrump();
    // The program's own count, card by card, as the main list gives it.
    const std::array<CardRec, 12> cards = CardsOfHand(hand);
    const std::string_view letter = trump >= 0 && trump < 4 ? kSuitLetters[static_cast<std::size_t>(trump)] : "x";
    return CountMeld(cards.data(), letter).total + CountPlayingPoints(cards.data(), letter).DixMeld();
}

}  // namespace vantrel
