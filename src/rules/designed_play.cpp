#include "rules/designed_play.h"

#include "rules/number_text.h"
#include "rules/seats.h"

namespace vantrel {

int TrickValue(std::string_view rank, bool trump) {
    const int number = RankNumber(rank);
    if (number == 0) return 0;
    return (trump ? 21 : 11) - number;
}

int CardPoints(std::string_view rank) {
    if (rank == " A" || rank == "10") return 10;
    if (rank == " K" || rank == " Q") return 5;
    return 0;
}

std::string PointsPerTrickText(int points, int tricks) {
    if (tricks == 0) return "40 Trickless";
    return NumberText(static_cast<double>(points) / static_cast<double>(tricks));
}

}  // namespace vantrel
