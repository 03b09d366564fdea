#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

/// The suit symbols in suit order: Clubs, Hearts, Spades, Diamonds.
inline constexpr std::array<std::string_view, 4> kSuitSymbols{"\u2663", "\u2665", "\u2660", "\u2666"};

/// A card as a player writes it, rank then suit symbol, e.g. "10♥", for suit
/// 1..4 and rank 1..6 (A 10 K Q J 9); "?" for anything else.
std::string CardSymbolText(int suit, int rank);

/// Cards grouped by suit as a player writes them: each suit's symbol and its
/// ranks (1..6), or a dash where there are none, the suits two blanks apart,
/// e.g. "♣ A K  ♥ —  ♠ 10 9 9  ♦ Q".
std::string SuitsText(const std::array<std::vector<int>, 4>& ranksBySuit);

}  // namespace vantrel
