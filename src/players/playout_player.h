#pragma once

#include <atomic>
#include <cstdint>

#include "players/search_player.h"
#include "players/seat_view.h"

namespace vantrel {

/// The computer's card for a seat of any form's deck, where the 48-card
/// solver does not reach (the 80-card deck): each legal card is played in
/// every world drawn from the seat's view, and four rule players play the
/// hand out from there; from the last four tricks on, each world is solved
/// to the end instead. The card whose side takes most card points on average is
/// played; the same seed gives the same card.
///   Easy: the rule player's card.
///   Normal: 40 worlds. Strong: 160 worlds.
struct PlayoutChoice {
    int card = -1;
    double expected = 0;  // mean card points for its side, to the end of the hand
    int worlds = 0;
    PerKind<double> byCard = [] {
        PerKind<double> none{};
        none.fill(-1);
        return none;
    }();
};
int PlayoutWorlds(Level level);
PlayoutChoice PlayoutCard(const FormSeatView& view, int worlds, std::uint64_t seed,
                          const std::atomic<bool>* cancel = nullptr);

/// The card a computer plays for a seat's view of any form at a level.
int ComputerCard(const FormSeatView& view, Level level, std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantrel
