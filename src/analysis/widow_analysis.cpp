#include "analysis/widow_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "rules/meld_rules.h"
#include "rules/seats.h"
#include "rules/unseen_deck.h"

namespace vantrel {

WidowAnalysis AnalyseWidow(const RuleSet& rules, const KindCounts& hand) {
    WidowAnalysis analysis;
    // Each unseen card apart, so that a kind the hand lacks both copies of
    // is twice as likely in the widow as one it holds a copy of.
    const KindCounts unseen = Less(WholeDeckOf(rules.form), hand);
    std::vector<int> cards;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountIn(unseen, kind); ++copy) cards.push_back(kind);
    const std::size_t n = cards.size();
    std::array<std::vector<int>, 4> melds;
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = a + 1; b < n; ++b)
            for (std::size_t c = b + 1; c < n; ++c) {
                KindCounts whole = hand;
                for (const std::size_t at : {a, b, c}) ++whole[static_cast<std::size_t>(cards[at])];
                for (std::size_t suit = 0; suit < 4; ++suit)
                    melds[suit].push_back(MeldOf(rules, whole, static_cast<int>(suit)));
            }
    analysis.widows = melds[0].size();
    if (analysis.widows == 0) return analysis;
    const auto count = static_cast<double>(analysis.widows);
    for (std::size_t suit = 0; suit < 4; ++suit) {
        WidowTrump& trump = analysis.trumps[suit];
        trump.own = MeldOf(rules, hand, static_cast<int>(suit));
        std::vector<int>& all = melds[suit];
        double sum = 0;
        int adds = 0;
        int forty = 0;
        for (const int meld : all) {
            sum += meld;
            adds += meld > trump.own;
            forty += meld >= trump.own + 40;
        }
        trump.withWidow = sum / count;
        trump.adds = adds / count;
        trump.addsForty = forty / count;
        std::sort(all.begin(), all.end());
        const auto at = [&](std::size_t tenths) { return all[(all.size() - 1) * tenths / 10]; };
        trump.low = at(1);
        trump.middle = at(5);
        trump.high = at(9);
    }
    return analysis;
}

std::string WidowText(const WidowAnalysis& analysis) {
    std::string text =
        "The widow: your meld in each trump without it, and with it (mean; 10th, 50th, 90th\n"
        "percentile), over all " +
        std::to_string(analysis.widows) + " widows\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-10s %7s %7s %15s %9s %9s\n", "Trump", "Own", "Mean", "10/50/90", "Adds",
                  "Adds 40");
    text += line;
    for (std::size_t suit = 0; suit < 4; ++suit) {
        const WidowTrump& t = analysis.trumps[suit];
        const std::string spread =
            std::to_string(t.low) + "/" + std::to_string(t.middle) + "/" + std::to_string(t.high);
        std::snprintf(line, sizeof line, "%-10s %7d %7.0f %15s %8.0f%% %8.0f%%\n",
                      std::string(kSuitNames[suit]).c_str(), t.own, t.withWidow, spread.c_str(), 100 * t.adds,
                      100 * t.addsForty);
        text += line;
    }
    return text;
}

}  // namespace vantrel
