#pragma once

#include <string>
#include <vector>

#include "game/game.h"
#include "players/search_player.h"

namespace vantrel {

/// The Game window's texts, written from the game alone so that a test reads
/// exactly what the player reads.

/// A suit's name and symbol, e.g. "Hearts ♥"; a dash for no suit.
std::string SuitWithSymbol(int suit);
/// "South-North" for side 0, "East-West" for side 1.
std::string SideName(int side);

/// The status line: what the user is to do next, or whom the table waits
/// for. `userSeats` has bit s set for each seat the user plays; `picked` is
/// the number of cards picked to pass.
std::string StatusLine(const Game& game, unsigned userSeats, int picked);

/// A line of the score panel: its bold lead and the rest.
struct PanelLine {
    std::string lead;
    std::string text;
    friend bool operator==(const PanelLine&, const PanelLine&) = default;
};
/// The score panel: the hand, its bid and trump, the meld and card points
/// once they are known, and the game's totals.
std::vector<PanelLine> ScorePanel(const Game& game);

/// The hint for a card, as the status line shows it.
std::string HintText(const SearchChoice& choice);

}  // namespace vantrel
