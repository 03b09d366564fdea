#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "rules/cards.h"
#include "rules/play_state.h"
#include "rules/trick_ledger.h"

namespace vantrel {

/// The perfect-information value of a hand of any form's deck, within a
/// budget of positions: the card points a side takes from a position to the
/// end with every hand seen and both sides playing their best.
///
/// The 48-card deck has its own solver (HandSolver), lean enough to solve a
/// whole hand. With four copies of each card and twenty cards a hand, no
/// search proves a whole hand in seconds, so this one is plain: zero-window
/// alpha-beta tests (MTD(f)) over the kinds each hand may play (equal cards
/// are one move), bounded by the points taken and the points still out, with
/// what it learns at each trick's start kept in a table. It proves the last
/// tricks of a hand quickly, and earlier positions as far as the budget goes;
/// where the budget runs out it says the bounds it proved.
class FormSolver {
public:
    /// A table of 2^tableBits entries (16 bytes each).
    explicit FormSolver(int tableBits = 18);

    /// What a solve proved: the value when `lower == upper`, else the bounds
    /// the tests had closed in to when the budget ran out; {-1, -1} when
    /// cancelled.
    struct Bounds {
        int lower = 0;
        int upper = 0;
        [[nodiscard]] bool Exact() const { return lower == upper; }
        friend bool operator==(const Bounds&, const Bounds&) = default;
    };
    /// The points `side` (0 South-North, 1 West-East) takes from the position
    /// to the end of the hand, the trick on the table included, searching at
    /// most about `nodes` positions. A `guess` near the value saves time.
    Bounds SolveWithin(const FormPlayState& state, int side, std::uint64_t nodes,
                       const std::atomic<bool>* cancel = nullptr, int guess = -1);

    /// Positions searched since the solver was made.
    [[nodiscard]] std::uint64_t Nodes() const { return nodes_; }

private:
    struct Entry {
        std::uint64_t key = 0;   // the hands and the leader at a trick's start; 0 for none
        std::int16_t lower = 0;  // what the root side takes from there to the end, as bounds
        std::int16_t upper = 0;
        std::uint8_t move = 0xFF;  // the lead that last cut off, 0xFF for none
    };

    [[nodiscard]] std::uint64_t Key() const;
    int Search(int alpha, int beta);

    std::vector<Entry> table_;
    std::uint64_t mask_ = 0;
    std::array<std::array<std::uint64_t, 5 * kCardKinds>, 4> zobrist_{};  // seat, kind and count
    std::optional<FormPlayState> state_;  // the position searched, played and taken back in place
    CardPointTable points_{};
    std::uint64_t game_ = 0;  // the trump and the root side, in every key
    int side_ = 0;
    int base_ = 0;   // the root side's points when the solve began
    int total_ = 0;  // the points of the whole hand, taken or still out
    std::uint64_t nodes_ = 0;
    std::uint64_t limit_ = 0;
    const std::atomic<bool>* cancel_ = nullptr;
    bool stopped_ = false;
};

}  // namespace vantrel
