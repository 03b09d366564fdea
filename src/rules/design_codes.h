#pragma once

#include <optional>
#include <string_view>

#include "rules/card_rec.h"
#include "rules/cards.h"
#include "rules/seats.h"

namespace vantrel {

/// The one place where the design's numberings meet the engines' types: seat
/// letters and table positions, suit letters, and card codes (100 * suit +
/// rank, suits and ranks from 1) against seats, suits and card kinds.

/// The seat of a letter ("S", "W", "N", "E"); none for any other text.
constexpr std::optional<Seat> SeatFromLetter(std::string_view letter) {
    for (const Seat seat : kAllSeats)
        if (kSeats[static_cast<std::size_t>(Index(seat))].letter == letter) return seat;
    return std::nullopt;
}
constexpr std::string_view LetterOf(Seat seat) { return kSeats[static_cast<std::size_t>(Index(seat))].letter; }
constexpr std::string_view NameOf(Seat seat) { return kSeats[static_cast<std::size_t>(Index(seat))].name; }
/// The seat whose row holds table position 1..48; none for any other.
constexpr std::optional<Seat> SeatAtPosition(int position) {
    if (position < 1 || position > kTablePositions) return std::nullopt;
    return SeatAt((position - 1) / kCardsPerHand);
}
/// The first table position of a seat's row.
constexpr int FirstPosition(Seat seat) { return kSeats[static_cast<std::size_t>(Index(seat))].first; }

/// The suit of a letter ("C", "H", "S", "D"); None for any other text.
constexpr Suit SuitFromLetter(std::string_view letter) { return SuitAt(SuitNumber(letter) - 1); }
/// The letter of a suit; empty for None.
constexpr std::string_view LetterOf(Suit suit) {
    return suit == Suit::None ? std::string_view() : kSuitLetters[static_cast<std::size_t>(Index(suit))];
}

/// A card code's kind, and a kind's code.
constexpr int KindOfCode(int code) { return 6 * (code / 100 - 1) + (code % 100 - 1); }
constexpr int CodeOfKind(int kind) { return 100 * (kind / 6 + 1) + kind % 6 + 1; }
constexpr int KindOfCard(const CardRec& card) { return KindOfCode(card.Code); }

}  // namespace vantrel
