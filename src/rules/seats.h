#pragma once

#include <array>
#include <string_view>

namespace vantrel {

inline constexpr int kCardsPerHand = 12;
inline constexpr int kTablePositions = 48;

/// A hand of the table: its seat letter, name, first table position (which is
/// also the first index of its row of card images) and the top of its row.
struct SeatInfo {
    std::string_view letter;
    std::string_view name;
    int first;
    int rowTop;  // twips
};

// Table order: South 1-12, West 13-24, North 25-36, East 37-48.
inline constexpr std::array<SeatInfo, 4> kSeats{{
    {"S", "South", 1, 3960},
    {"W", "West", 13, 2160},
    {"N", "North", 25, 360},
    {"E", "East", 37, 2160},
}};

/// The hand whose row holds image index (table position) `index`, or nullptr
/// for slot 0 and anything outside 1..48.
constexpr const SeatInfo* SeatOfIndex(int index) {
    if (index < 1 || index > kTablePositions) return nullptr;
    return &kSeats[static_cast<std::size_t>((index - 1) / kCardsPerHand)];
}

/// The hand named by a seat letter, or nullptr for any other text.
constexpr const SeatInfo* SeatOfLetter(std::string_view letter) {
    for (const auto& seat : kSeats)
        if (seat.letter == letter) return &seat;
    return nullptr;
}

/// The partner's seat letter of a seat letter (S and N, W and E); empty for
/// any other text.
constexpr std::string_view PartnerOf(std::string_view seat) {
    if (seat == "S") return "N";
    if (seat == "N") return "S";
    if (seat == "W") return "E";
    if (seat == "E") return "W";
    return "";
}

inline constexpr std::array<std::string_view, 4> kSuitLetters{"C", "H", "S", "D"};
inline constexpr std::array<std::string_view, 4> kSuitNames{"Clubs", "Hearts", "Spades", "Diamonds"};
inline constexpr std::array<std::string_view, 6> kRankTexts{" A", "10", " K", " Q", " J", " 9"};

/// Order number 1..4 of a suit letter, 0 for any other text.
constexpr int SuitNumber(std::string_view letter) {
    for (std::size_t i = 0; i < kSuitLetters.size(); ++i)
        if (kSuitLetters[i] == letter) return static_cast<int>(i) + 1;
    return 0;
}

/// Order number 1..6 of a rank text, 0 for any other text.
constexpr int RankNumber(std::string_view rank) {
    for (std::size_t i = 0; i < kRankTexts.size(); ++i)
        if (kRankTexts[i] == rank) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace vantrel
