#include "rules/lay_away.h"

#include <optional>
#include <string>

#include "rules/meld_rules.h"

namespace vantrel {

std::string WhyNotLaidAway(const RuleSet& rules, const KindCounts& hand, int trump, const KindCounts& cards,
                           LayAwayFreedom freedom) {
    const int count = rules.form.widow;
    if (CardCount(cards) != count) return "Lay away " + std::to_string(count) + " cards.";
    for (int kind = 0; kind < kCardKinds; ++kind) {
        const auto k = static_cast<std::size_t>(kind);
        if (cards[k] > hand[k]) return "You do not hold the cards to lay away.";
        if (cards[k] > 0 && SuitOfKind(kind) == trump && !rules.layAwayTrump && freedom == LayAwayFreedom::WithinRules)
            return "Trump cannot be laid away.";
    }
    if (freedom != LayAwayFreedom::AnyCards && MeldOf(rules, Less(hand, cards), trump) != MeldOf(rules, hand, trump))
        return "A card of the meld shown cannot be laid away.";
    return {};
}

std::optional<KindCounts> FirstLayAway(const RuleSet& rules, const KindCounts& hand, int trump,
                                       LayAwayFreedom freedom) {
    // Every way of choosing the cards, kind by kind with the copies held:
    // a few thousand at most.
    KindCounts cards{};
    bool found = false;
    auto search = [&](auto& self, int from, int left) -> void {
        if (left == 0) {
            found = WhyNotLaidAway(rules, hand, trump, cards, freedom).empty();
            return;
        }
        for (int kind = from; kind < kCardKinds && !found; ++kind) {
            const auto k = static_cast<std::size_t>(kind);
            if (cards[k] >= hand[k]) continue;
            ++cards[k];
            self(self, kind, left - 1);
            if (!found) --cards[k];
        }
    };
    search(search, 0, rules.form.widow);
    if (!found) return std::nullopt;
    return cards;
}

LayAwayFreedom LayAwayFreedomOf(const RuleSet& rules, const KindCounts& hand, int trump) {
    for (const LayAwayFreedom freedom : {LayAwayFreedom::WithinRules, LayAwayFreedom::TrumpToo})
        if (FirstLayAway(rules, hand, trump, freedom)) return freedom;
    return LayAwayFreedom::AnyCards;
}

}  // namespace vantrel
