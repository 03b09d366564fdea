#include "practice/deal_code.h"
#include "form/form1.h"
#include "rules/seats.h"

namespace vantrel {

std::string Form1::DealFromCode(std::string_view code) {
    const DecodedDeal decoded = DecodeDealCode(code);
    if (!decoded.ok) return decoded.problem;
    // Laid as Shuffle lays a deal after its shuffle step; the deal-until
    // boxes play no part.
    ClearForNewDeal();
    for (int p = 1; p <= kTablePositions; ++p)
        Deck[static_cast<std::size_t>(p)] = decoded.deck[static_cast<std::size_t>(p)];
    Sorthand();
    ListDealtMeld();
    ShowNewDeal(1);
    return {};
}

void Form1::ReplayDeal() { DealFromCode(DealCodeOf(Deck)); }

}  // namespace vantrel
