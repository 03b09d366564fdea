#include "rules/cards.h"

#include <array>
#include <vector>

#include "rules/card_text.h"

namespace vantrel {

std::string KindText(int kind) {
    if (kind < 0 || kind >= kCardKinds) return "?";
    return CardSymbolText(SuitOfKind(kind) + 1, RankOfKind(kind) + 1);
}

std::string CountsText(HandCounts hand) {
    std::array<std::vector<int>, 4> ranks;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountOf(hand, kind); ++copy)
            ranks[static_cast<std::size_t>(SuitOfKind(kind))].push_back(RankOfKind(kind) + 1);
    return SuitsText(ranks);
}

std::string CardsText(const KindCounts& cards) {
    std::string text;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountIn(cards, kind); ++copy) text += (text.empty() ? "" : " ") + KindText(kind);
    return text;
}

}  // namespace vantrel
