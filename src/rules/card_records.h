#pragma once

#include <array>
#include <string_view>

#include "rules/card_rec.h"
#include "rules/cards.h"

namespace vantrel {

/// Between the rule engine's hand counts and the card records the main window
/// and its codes use.

/// A hand's cards as records, in kind order (by suit, high to low), for a
/// seat letter; records past the hand's cards stay empty.
std::array<CardRec, 12> CardsOfHand(HandCounts hand, std::string_view seat = "S");

/// The counts of twelve card records, by their codes; records with no card
/// code count nothing.
HandCounts CountsOfHand(const CardRec* hand);

/// Four hands laid at their table positions 1..48 (element 0 unused).
std::array<CardRec, 49> DeckOfHands(const std::array<HandCounts, 4>& hands);

/// The four hands of a deck at table positions 1..48.
std::array<HandCounts, 4> HandsOfDeck(const std::array<CardRec, 49>& deck);

}  // namespace vantrel
