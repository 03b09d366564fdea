#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

/// The program-wide values: play mode, the trump suit, the hand totals and
/// trick state of play, and the help texts. A Form1 owns one.
struct Module1 {
    std::int16_t PlayFlag = 0;  // -1 while a hand is being played
    std::string TrumpSuit;

    // Hand totals, from one press of the play button to the next.
    int TrickNumber = 0;
    int TrumpsPlayed = 0;
    int SNPoints = 0;
    int SNTricks = 0;
    int EWPoints = 0;
    int EWTricks = 0;

    // The trick being played.
    std::int16_t TrickCount = 0;
    std::array<int, 5> TrickCards{};  // image indexes in slots 1..4; slot 0 unused
    std::string TrickLeader;
    std::string TrickWinner;
    int TrickBest = 0;
    int TrickPoints = 0;

    std::string MeldText;
    std::string HandEvalText;
    std::string OpeningText;
    std::string BidText;
    std::string HelpText;  // what the help window shows

    /// Fills the fixed help texts.
    void LoadHelpTexts();
};

}  // namespace vantrel
