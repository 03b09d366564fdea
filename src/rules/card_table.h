#pragma once

#include <string>

#include "rules/card_rec.h"
#include "rules/seats.h"

namespace vantrel {

/// The card record of `suit` (1..4) and `rank` (1..6) with the seat letter
/// given: Code is 100 * suit + rank and Pic 194 + 6 * suit + rank.
constexpr CardRec MakeCard(int suit, int rank, std::string_view seat) {
    CardRec card;
    card.Pic = static_cast<std::int16_t>(194 + 6 * suit + rank);
    card.Suit = kSuitLetters[static_cast<std::size_t>(suit - 1)];
    card.Rank = kRankTexts[static_cast<std::size_t>(rank - 1)];
    card.Code = static_cast<std::int16_t>(100 * suit + rank);
    card.Seat = seat;
    return card;
}

/// The fixed card table at position 1..48: each hand holds both copies of
/// the six cards of one suit, rank order twice; South clubs, West hearts,
/// North diamonds, East spades.
CardRec TableCard(int position);

/// The listing line of a card: rank text, suit letter, a blank and the code
/// in the standard number text, eight characters in all.
std::string CardLine(const CardRec& card);

}  // namespace vantrel
