#include "players/passing.h"

#include <array>

#include "rules/meld_rules.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

// The cards passed from `hand`, where `meld` holds the cards its meld shows.
template <class HandType>
HandType PassFrom(const HandType& hand, const HandType& meld, int trump, int count, bool toDeclarer) {
    // A worth per card: the card passed first has the highest worth.
    auto worth = [&](int kind, const HandType& left) {
        const bool isTrump = SuitOfKind(kind) == trump;
        const bool isAce = RankOfKind(kind) == 0;
        if (toDeclarer)
            return (isTrump ? 1000 : 0) + (isAce ? 500 : 0) + 10 * StandardCardPoints(kind) - RankOfKind(kind);
        // Returning: a card the meld needs, a trump or an ace is kept as long as can be.
        const bool forMeld = CountIn(left, kind) <= CountIn(meld, kind);
        return -(forMeld ? 2000 : 0) - (isTrump ? 1000 : 0) - (isAce ? 500 : 0) - 10 * StandardCardPoints(kind) +
               RankOfKind(kind);
    };
    HandType left = hand;
    HandType passed{};
    for (int n = 0; n < count && CardCount(left) > 0; ++n) {
        int best = -1;
        for (int kind = 0; kind < kCardKinds; ++kind)
            if (CountIn(left, kind) > 0 && (best < 0 || worth(kind, left) > worth(best, left))) best = kind;
        TakeCards(left, best);
        AddCards(passed, best);
    }
    return passed;
}

}  // namespace

HandCounts ChoosePass(HandCounts hand, int trump, int count, bool toDeclarer) {
    return PassFrom(hand, toDeclarer ? HandCounts{0} : StandardMeldReport(hand, trump).Shown(), trump, count,
                    toDeclarer);
}

KindCounts ChoosePass(const RuleSet& rules, const KindCounts& hand, int trump, int count, bool toDeclarer) {
    return PassFrom(hand, toDeclarer ? KindCounts{} : MeldReportOf(rules, hand, trump).ShownCounts(), trump, count,
                    toDeclarer);
}

}  // namespace vantrel
