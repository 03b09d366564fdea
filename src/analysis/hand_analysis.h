#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/hand_simulation.h"
#include "rules/card_rec.h"

namespace vantrel {

/// The hand's own figures for one trump, from the functions the main list's
/// declaration lines come from: meld with the nines of trump, the playing
/// points estimate and the bid value.
struct OwnFigures {
    int meld = 0;
    int playPoints = 0;
    int bidValue = 0;
};

/// Own figures for Clubs, Hearts, Spades and Diamonds; by the standard rules
/// the meld is the standard meld (the nines of trump in it), the playing
/// points the same estimate.
std::array<OwnFigures, 4> OwnFiguresOf(const CardRec* hand, MeldRules rules = MeldRules::Designed);

/// The suit (0..3) the hand holds most cards of; the first in suit order on a tie.
int LongestSuit(const CardRec* hand);

/// The twelve cards by suit with suit symbols, e.g. "♣ A 10 K  ♥ Q J".
std::string HandText(const CardRec* hand);

/// The figures table: a row a figure, a column a trump, every cell as text.
struct FigureRow {
    std::string name;
    std::array<std::string, 4> cells;
};
std::vector<FigureRow> FigureRows(const std::array<OwnFigures, 4>& own, const SimulationTally& tally);

/// A near meld's line: the meld and its cards, the exact chance, the
/// simulated frequency and its 95% error, as texts.
struct OddsRow {
    std::string meld;
    std::string exact;
    std::string simulated;
    std::string error;
};
std::vector<OddsRow> OddsRows(const std::vector<NearMeld>& nearMelds, const SimulationTally& tally);

/// A percentage with one decimal, e.g. "33.3%".
std::string PercentText(double share);

/// The whole analysis as plain text, for the clipboard.
struct AnalysisHeader {
    std::string rules;  // "As designed" or "Standard"
    std::string seatName;
    std::string dealCode;
    std::string hand;
    std::uint64_t seed = 0;
    std::uint64_t dealsAsked = 0;
};
std::string AnalysisText(const AnalysisHeader& header, const std::vector<FigureRow>& figures,
                         const std::vector<OddsRow>& odds, const std::vector<std::string>& notes,
                         std::uint64_t dealsDone);

}  // namespace vantrel
