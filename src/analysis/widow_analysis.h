#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// What the widow brings a three-handed hand's meld in one trump, over
/// every widow the unseen cards can make, each as likely as any other.
struct WidowTrump {
    int own = 0;           // the hand's meld without the widow
    double withWidow = 0;  // the mean meld once the widow is taken
    int low = 0;           // the 10th, 50th and 90th percentile of that meld
    int middle = 0;
    int high = 0;
    double adds = 0;       // the chance the widow adds any meld
    double addsForty = 0;  // and at least 40
};

/// The widow's figures for a hand of the three-handed game, exact: every
/// three of the cards the hand does not hold.
struct WidowAnalysis {
    std::uint64_t widows = 0;  // the widows weighed, counting the copies apart
    std::array<WidowTrump, 4> trumps{};
};
WidowAnalysis AnalyseWidow(const RuleSet& rules, const KindCounts& hand);

/// The figures as a table, a row a trump, for the auction's hint.
std::string WidowText(const WidowAnalysis& analysis);

}  // namespace vantrel
