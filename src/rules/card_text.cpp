#include "rules/card_text.h"

#include "rules/seats.h"

namespace vantrel {

namespace {

// A rank without the blank that pads it in the card records: "A", "10", ...
std::string_view RankShort(int rank) {
    if (rank < 1 || rank > 6) return "?";
    const std::string_view text = kRankTexts[static_cast<std::size_t>(rank - 1)];
    return text.front() == ' ' ? text.substr(1) : text;
}

}  // namespace

std::string CardSymbolText(int suit, int rank) {
    if (suit < 1 || suit > 4 || rank < 1 || rank > 6) return "?";
    return std::string(RankShort(rank)) + std::string(kSuitSymbols[static_cast<std::size_t>(suit - 1)]);
}

std::string SuitsText(const std::array<std::vector<int>, 4>& ranksBySuit) {
    std::string text;
    for (std::size_t s = 0; s < 4; ++s) {
        text += (s == 0 ? "" : "  ") + std::string(kSuitSymbols[s]);
        if (ranksBySuit[s].empty()) text += " \u2014";
        for (int rank : ranksBySuit[s]) text += " " + std::string(RankShort(rank));
    }
    return text;
}

}  // namespace vantrel
