#pragma once

#include <array>
#include <string>
#include <string_view>

#include "rules/card_rec.h"

namespace vantrel {

/// A deal's code: which hand holds each copy of the 24 cards, written in
/// Crockford's base 32 as four groups of four characters and a check
/// character, e.g. "9R9R-G0K3-VP66-VMQT-S". Per card, the pair of seats that
/// hold its two copies is one of ten; three cards make a number below 1,000,
/// two characters. The check character is the number mod 37, so that any one
/// mistyped character, and any two exchanged neighbours, are caught.
/// Lower case, I, L and O read as their look-alikes. Blanks, tabs, line ends,
/// dashes, and the no-break spaces and en and em dashes that word processors
/// and chat programs put in their place, do not count.
inline constexpr std::size_t kDealCodeCharacters = 17;

/// The code of the deal at table positions 1..48 (element 0 unused); the
/// order of the cards within a hand does not matter.
std::string DealCodeOf(const std::array<CardRec, 49>& deck);

/// A code read back: the deal in table order, each hand sorted by card code,
/// or the reason the code was refused.
struct DecodedDeal {
    bool ok = false;
    std::string problem;
    std::array<CardRec, 49> deck{};
};
DecodedDeal DecodeDealCode(std::string_view code);

}  // namespace vantrel
