#pragma once

#include <array>
#include <string_view>

#include "app/card_rec.h"
#include "app/controls.h"

namespace vantrel {

/// What one hand melds for one trump text, by this program's own rules: a
/// second set of a four-of-a-kind adds nothing, a double run is one run, runs
/// count in every suit, two pinochles are worth 80, and the nine of trump is
/// left to the playing-points estimate.
struct MeldCount {
    bool aces = false;
    bool kings = false;
    bool queens = false;
    bool jacks = false;
    std::array<bool, 4> runs{};      // Clubs, Hearts, Spades, Diamonds
    std::array<int, 4> marriages{};  // value per suit, doubled in trump
    int pinochle = 0;
    int total = 0;
    bool noRun = true;

    friend bool operator==(const MeldCount&, const MeldCount&) = default;
};

/// Counts the meld of twelve cards (their Code and Suit) for trump `t`: a
/// suit letter, or any other text for no trump.
MeldCount CountMeld(const CardRec* hand, std::string_view t);

/// Appends the meld report of a hand: an empty line, the seat name, a line
/// per meld, an empty line and the total line.
void WriteMeldReport(ListBox& list, std::string_view seatName, const MeldCount& meld);

}  // namespace vantrel
