#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "players/search_player.h"
#include "rules/rule_set.h"

namespace vantrel {

/// Who sits in a seat of the game: the user, or a computer at a level.
enum class SeatPlayer { You, Easy, Normal, Strong };

/// How long the computer's moves wait, so that a player can follow them.
enum class Pace { Fast, Normal, Slow };

/// The choices of the "New Game" dialog, kept between runs.
struct GameSettings {
    std::array<SeatPlayer, 4> seats{SeatPlayer::You, SeatPlayer::Normal, SeatPlayer::Normal, SeatPlayer::Normal};
    RuleSet rules = RuleSet::Standard();
    Pace pace = Pace::Normal;
    bool hints = true;
    bool showAll = false;

    /// Milliseconds between the computer's moves at the pace.
    [[nodiscard]] int PaceMilliseconds() const { return pace == Pace::Fast ? 150 : pace == Pace::Slow ? 1400 : 650; }
    /// Bit s set for each seat the user plays.
    [[nodiscard]] unsigned UserSeats() const;
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> ToSettings() const;
    /// Settings read back: unknown names and values out of range keep their defaults.
    static GameSettings FromSettings(const std::vector<std::pair<std::string, std::string>>& settings);
    friend bool operator==(const GameSettings&, const GameSettings&) = default;
};

/// The computer level of a seat's player (Easy for the user's own seats).
Level LevelOf(SeatPlayer player);

}  // namespace vantrel
