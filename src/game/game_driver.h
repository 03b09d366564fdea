#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "game/game.h"
#include "game/game_move.h"
#include "game/game_settings.h"

namespace vantrel {

/// A computer decision the driver wants made off its thread: for a seat of a
/// copy of the game. Its id names the position it was asked in; an answer for
/// any other position is dropped.
struct DecisionRequest {
    std::uint64_t id = 0;
    int seat = -1;
    Level level = Level::Normal;
    std::uint64_t seed = 0;
    Game position;
};

/// A hint the user asked for in the play: the seat of a copy of the game,
/// whose view is to be searched.
struct HintRequest {
    std::uint64_t id = 0;
    int seat = -1;
    Game position;
};
/// The hint's search, off the window's thread: the 48-card deck's by the
/// Normal player's search, another form's by its playouts.
SearchChoice HintChoice(const HintRequest& request, const std::atomic<bool>* cancel = nullptr);

/// Runs a game between the user and the computer: it takes the user's moves,
/// says which computer decision is wanted, and applies the answers at the
/// pace, holding a finished trick in view and the computer declarer's meld
/// on the table a while. It reads time only from the clock it is given
/// (milliseconds), so a test drives a whole game with a clock of its own.
/// Undo lives here, beside the game: each move's earlier game, by seat,
/// within the hand being played.
class GameDriver {
public:
    using Clock = std::function<std::int64_t()>;

    GameDriver(const GameSettings& settings, std::uint64_t seed, Clock clock);
    /// The game the moves made, with the undo of its hand as it stood; none
    /// when a move is refused, `refused` then saying which and why.
    static std::optional<GameDriver> Restore(const GameSettings& settings, std::uint64_t seed, Clock clock,
                                             const std::vector<GameMove>& moves, std::string* refused = nullptr);

    [[nodiscard]] const Game& game() const { return game_; }
    [[nodiscard]] const GameSettings& settings() const { return settings_; }
    [[nodiscard]] std::uint64_t Seed() const { return seed_; }
    /// The moves that made the present game from its start; a move taken
    /// back leaves it.
    [[nodiscard]] const std::vector<GameMove>& Log() const { return log_; }
    /// Counts every change of the game: the id of the present position.
    [[nodiscard]] std::uint64_t Position() const { return position_; }
    [[nodiscard]] bool IsUser(int seat) const { return seat >= 0 && ((settings_.UserSeats() >> seat) & 1u) != 0; }
    /// The last refusal, hint or note for the user; empty when there is none.
    [[nodiscard]] const std::string& Message() const { return message_; }
    /// The cards the user has picked to pass.
    [[nodiscard]] const KindCounts& Selected() const { return selected_; }
    /// A computer move has been found and waits for its time.
    [[nodiscard]] bool MovePending() const { return pending_.has_value(); }
    /// The user is to name trump: the window asks for the suit.
    [[nodiscard]] bool UserNamesTrump() const;

    // The user's moves. Each refusal is kept as the message; a move out of
    // the user's turn is ignored.
    void Bid(int amount);
    void Pass();
    void NameTrump(int suit);
    /// A card clicked: picked or put back while passing, played in the play.
    void Card(int seat, int kind);
    void PassCards();
    void ThrowIn();
    /// Ends the look at the meld or at the scored hand.
    void Continue();
    /// Takes back the user's last move in this hand and every move after it.
    void Undo();
    std::string DealFromCode(const std::string& code);
    void ReplayLine(std::size_t line);
    void SetMessage(std::string message) { message_ = std::move(message); }

    /// The computer decision wanted now, once per position; none while the
    /// user is to act, a move waits, or the request is out.
    std::optional<DecisionRequest> TakeRequest();
    /// The worker stopped before answering (the window closed): the request
    /// is asked again.
    void Abandon() { requested_.reset(); }
    /// A decision's answer: kept for its time when it is for the present position.
    bool Deliver(std::uint64_t id, ComputerMove move);

    /// A hint for the user's card, where hints are on and the user is to play.
    std::optional<HintRequest> AskHint();
    /// The hint's answer: shown when the position is still the one it was asked for.
    bool DeliverHint(std::uint64_t id, const SearchChoice& choice);

    /// Does what is due at the clock's time: a waiting computer move, or the
    /// play begun after the computer declarer's meld.
    void Advance();
    /// When Advance next has something to do, or none while waiting for the
    /// user or a decision.
    [[nodiscard]] std::optional<std::int64_t> NextDue() const;

    /// The pause on the computer declarer's meld before the play begins.
    [[nodiscard]] int MeldPause() const { return std::max(1500, 6 * settings_.PaceMilliseconds()); }
    /// How long a finished trick stays in view before the next lead: three
    /// paces, and at least two and a half seconds but at the Fast pace, so
    /// that who took it can be seen.
    [[nodiscard]] int TrickInView() const {
        const int pace = settings_.PaceMilliseconds();
        return settings_.pace == Pace::Fast ? 3 * pace : std::max(2500, 3 * pace);
    }

private:
    // Takes a move, keeping the earlier game for undo.
    std::string Take(const GameMove& move);
    void Changed();

    GameSettings settings_;
    std::uint64_t seed_;
    Clock clock_;
    Game game_;
    std::uint64_t position_ = 1;
    std::optional<std::uint64_t> requested_;
    std::optional<ComputerMove> pending_;
    int pendingSeat_ = -1;
    std::int64_t nextMoveAt_ = 0;  // no computer move before this time
    std::optional<std::int64_t> meldShownAt_;
    std::string message_;
    KindCounts selected_{};
    // The game before each move of this hand, with the seat that made it
    // and the moves that had made it.
    struct Earlier {
        int seat;
        Game game;
        std::size_t moves;
    };
    std::vector<Earlier> undo_;
    std::vector<GameMove> log_;
};

}  // namespace vantrel
