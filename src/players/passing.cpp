#include "players/passing.h"

#include <array>

#include "rules/meld_rules.h"
#include "rules/trick_rules.h"

namespace vantrel {

HandCounts ChoosePass(HandCounts hand, int trump, int count, bool toDeclarer) {
    const HandCounts meld = toDeclarer ? 0 : StandardMeldReport(hand, trump).Shown();
    // A worth per card: the card passed first has the highest worth.
    auto worth = [&](int kind, HandCounts left) {
        const bool isTrump = SuitOfKind(kind) == trump;
        const bool isAce = RankOfKind(kind) == 0;
        if (toDeclarer)
            return (isTrump ? 1000 : 0) + (isAce ? 500 : 0) + 10 * StandardCardPoints(kind) - RankOfKind(kind);
        // Returning: a card the meld needs, a trump or an ace is kept as long as can be.
        const bool forMeld = CountOf(left, kind) <= CountOf(meld, kind);
        return -(forMeld ? 2000 : 0) - (isTrump ? 1000 : 0) - (isAce ? 500 : 0) - 10 * StandardCardPoints(kind) +
               RankOfKind(kind);
    };
    HandCounts left = hand;
    HandCounts passed = 0;
    for (int n = 0; n < count && left != 0; ++n) {
        int best = -1;
        for (int kind = 0; kind < kCardKinds; ++kind)
            if (CountOf(left, kind) > 0 && (best < 0 || worth(kind, left) > worth(best, left))) best = kind;
        left -= KindBit(best);
        passed += KindBit(best);
    }
    return passed;
}

}  // namespace vantrel
