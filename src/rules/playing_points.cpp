#include "rules/playing_points.h"

namespace vantrel {

PlayingPointsCount CountPlayingPoints(const CardRec* hand, std::string_view s) {
    PlayingPointsCount count;
    for (int i = 0; i < 12; ++i) {
        const CardRec& c = hand[i];
        const bool trump = c.Suit == s;
        const int rank = c.Code % 100;
        if (trump) ++count.trumps;
        if (rank == 1 && c.Code >= 101 && c.Code <= 401 && !trump) ++count.aces;
        if (rank == 6 && c.Code >= 106 && c.Code <= 406 && trump) ++count.dixes;
    }
    return count;
}

}  // namespace vantrel
