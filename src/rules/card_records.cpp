#include "rules/card_records.h"

#include "rules/card_table.h"
#include "rules/design_codes.h"
#include "rules/seats.h"

namespace vantrel {

std::array<CardRec, 12> CardsOfHand(HandCounts hand, std::string_view seat) {
    std::array<CardRec, 12> cards{};
    std::size_t n = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountOf(hand, kind) && n < cards.size(); ++copy)
            cards[n++] = MakeCard(SuitOfKind(kind) + 1, RankOfKind(kind) + 1, seat);
    return cards;
}

std::array<CardRec, 49> DeckOfHands(const std::array<HandCounts, 4>& hands) {
    std::array<CardRec, 49> deck{};
    for (std::size_t s = 0; s < 4; ++s) {
        const std::array<CardRec, 12> cards = CardsOfHand(hands[s], kSeats[s].letter);
        for (std::size_t i = 0; i < cards.size(); ++i) deck[static_cast<std::size_t>(kSeats[s].first) + i] = cards[i];
    }
    return deck;
}

std::array<HandCounts, 4> HandsOfDeck(const std::array<CardRec, 49>& deck) {
    std::array<HandCounts, 4> hands{};
    for (std::size_t p = 1; p <= 48; ++p) hands[(p - 1) / 12] += KindBit(KindOfCode(deck[p].Code));
    return hands;
}

HandCounts CountsOfHand(const CardRec* hand) {
    HandCounts counts = 0;
    for (int i = 0; i < 12; ++i) {
        const int code = hand[i].Code;
        if (code / 100 >= 1 && code / 100 <= 4 && code % 100 >= 1 && code % 100 <= 6)
            counts += KindBit(KindOfCode(code));
    }
    return counts;
}

}  // namespace vantrel
