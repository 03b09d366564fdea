#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "game/game.h"

namespace vantrel {

/// One move of a game, whoever made it, as it is kept: a game is its rules,
/// its seed and its moves, and replaying the moves on a new game of the same
/// seed gives the same game (the deals come from the seed).
struct GameMove {
    /// Unreadable stands for a kept move that could not be read back (an
    /// unknown name, a number out of range): it is refused, never guessed at.
    enum class Kind { Bid, Pass, Trump, PassCards, ThrowIn, Play, Continue, DealCode, ReplayLine, Unreadable };
    Kind kind = Kind::Continue;
    int seat = -1;       // -1 for Continue, a deal code and a replayed line
    int value = 0;       // the bid, the suit, the card's kind, or the sheet's line
    KindCounts cards{};  // the cards passed
    std::string text;    // a computer call's reason, or the deal code

    static GameMove Of(Kind kind, int seat = -1, int value = 0, KindCounts cards = {}, std::string text = {}) {
        return {kind, seat, value, cards, std::move(text)};
    }
    friend bool operator==(const GameMove&, const GameMove&) = default;
};

/// Cards passed as a file keeps them, in one whole number: two bits a kind,
/// as the 48-card deck's passes have always been kept, and a kind passed
/// four times (the 80-card deck; a pass of at most four cards holds one
/// such) as its kind plus one in the bits from 48 up. A number that names
/// no kind there reads as none.
std::uint64_t CardsWord(const KindCounts& cards);
std::optional<KindCounts> CardsOfWord(std::uint64_t word);

/// Makes the move on `game`; empty when taken, else why it was refused.
std::string Apply(Game& game, const GameMove& move);

/// A computer's move for `seat` as a game move.
GameMove MoveOf(int seat, const ComputerMove& move);

/// "bid", "pass", "trump", "pass-cards", "throw-in", "play", "continue",
/// "deal-code", "replay-line": the names moves are stored under.
std::string_view KindName(GameMove::Kind kind);
std::optional<GameMove::Kind> KindNamed(std::string_view name);

}  // namespace vantrel
