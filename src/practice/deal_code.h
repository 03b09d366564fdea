#pragma once

#include <array>
#include <string>
#include <string_view>

#include "rules/card_rec.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

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

/// The code of a deal of either deck's form, from the four hands (South,
/// West, North, East). The 48-card deck's is the code above. The 80-card
/// deck's has 22 characters, e.g. "1WYP-H8H2-9C8A-B0D7-RXDWV-H": per kind of
/// card (twenty: no nines), the seats holding its four copies are one of 35
/// ways; the kinds make one number below 35^20, written in 21 base-32
/// characters, and a check character, the number mod 37 begun from the
/// deck's four copies, so that neither deck's code reads as the other's.
inline constexpr std::size_t kDoubleDeckCodeCharacters = 22;
/// The three-handed deal's code is the 48-card deck's, the widow taking the
/// fourth hand's place, with its check character begun apart so that it
/// reads as the three-handed deal alone.
std::string DealCodeOf(const GameForm& form, const std::array<KindCounts, 4>& hands);

/// A code of either deck read back: the form it deals and its hands, or the
/// reason the code was refused. A 48-card code reads as it always has.
struct DecodedHands {
    bool ok = false;
    std::string problem;
    GameForm form;
    std::array<KindCounts, 4> hands{};
};
DecodedHands ReadDealCode(std::string_view code);

}  // namespace vantrel
