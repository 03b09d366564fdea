#include "rules/meld_rules.h"

#include <algorithm>
#include <array>

#include "rules/designed_meld.h"
#include "rules/meld_values.h"
#include "rules/seats.h"
#include "rules/suit_facts.h"

namespace vantrel {

namespace {

using namespace meld_values;

constexpr int kAce = 0, kKing = 2, kQueen = 3, kJack = 4, kNine = 5;
constexpr int kSpades = 2, kDiamonds = 3;

constexpr std::array<int, 3> kRunValue{0, kRun, kDoubleRun};
constexpr std::array<int, 3> kPinochleValue{0, kPinochle, kDoublePinochle};

int Count(HandCounts hand, int suit, int rank) { return CountOf(hand, KindOf(suit, rank)); }

int MarriagesIn(HandCounts hand, int suit) { return std::min(Count(hand, suit, kKing), Count(hand, suit, kQueen)); }

int AroundValue(std::size_t around, int times) {
    return times == 2 ? kDoubleAroundTimes * kAround[around] : times == 1 ? kAround[around] : 0;
}

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
        for (int rank = kAce; rank <= kJack; ++rank)
            cards += static_cast<HandCounts>(runs) * KindBit(KindOf(trump, rank));
        if (runs > 0)
            add((runs == 2 ? "Double run in " : "Run in ") + suitName(trump), kRunValue[static_cast<std::size_t>(runs)],
                cards, MeldLine::Marriages);
    }
    auto marriages = [&](int suit, bool royal) {
        const HandCounts pair = KindBit(KindOf(suit, kKing)) + KindBit(KindOf(suit, kQueen));
        for (int m = royal ? runs : 0; m < MarriagesIn(hand, suit); ++m)
            add((royal ? "Royal marriage in " : "Marriage in ") + suitName(suit), royal ? kRoyalMarriage : kMarriage,
                pair, MeldLine::Marriages);
    };
    if (trumpNamed) marriages(trump, true);
    for (int suit = 0; suit < 4; ++suit)
        if (!trumpNamed || suit != trump) marriages(suit, false);
    if (trumpNamed)
        for (int nine = 0; nine < Count(hand, trump, kNine); ++nine)
            add("Nine of trump", kNineOfTrump, KindBit(KindOf(trump, kNine)), MeldLine::Marriages);
    for (std::size_t a = 0; a < kAroundRanks.size(); ++a) {
        const int times = TimesAround(hand, kAroundRanks[a]);
        HandCounts cards = 0;
        for (int suit = 0; suit < 4; ++suit)
            cards += static_cast<HandCounts>(times) * KindBit(KindOf(suit, kAroundRanks[a]));
        const std::string name = std::string(kAroundNames[a]) + " around";
        if (times > 0) add(times == 2 ? "Double " + name : name, AroundValue(a, times), cards, MeldLine::Arounds);
    }
    const int pinochles = std::min(Count(hand, kSpades, kQueen), Count(hand, kDiamonds, kJack));
    if (pinochles > 0)
        add(pinochles == 2 ? "Double pinochle" : "Pinochle", kPinochleValue[static_cast<std::size_t>(pinochles)],
            static_cast<HandCounts>(pinochles) * (KindBit(KindOf(kSpades, kQueen)) + KindBit(KindOf(kDiamonds, kJack))),
            MeldLine::Pinochles);
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
        suit[s] = &FactsOf(hand, static_cast<int>(s));
        base_ += kMarriage * suit[s]->Marriages();
        for (std::size_t r = 0; r < 4; ++r) around[r] = std::min(around[r], suit[s]->Around(r));
    }
    for (std::size_t r = 0; r < 4; ++r) base_ += AroundValue(r, around[r]);
    base_ += kPinochleValue[static_cast<std::size_t>(
        std::min(CountOf(hand, KindOf(kSpades, kQueen)), CountOf(hand, KindOf(kDiamonds, kJack))))];
    for (std::size_t t = 0; t < 4; ++t) {
        const SuitFacts& f = *suit[t];
        withTrump_[t] = base_ - kMarriage * f.Marriages() + kRunValue[static_cast<std::size_t>(f.Runs())] +
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
