#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Hand;
using testing::PlaceHand;

// A deck whose four hands have the given suit lengths, all of one suit where
// a length is 12.
Form1::Table TableOf(const std::array<std::array<CardRec, 12>, 4>& hands) {
    Form1 form(testing::FixedClock());
    const char* seats[] = {"S", "W", "N", "E"};
    for (std::size_t h = 0; h < 4; ++h) PlaceHand(form, seats[h], hands[h]);
    return form.Deck;
}

TEST(Sorthand, SortsEachHandByCodeAndKeepsSeats) {
    Form1 form(testing::FixedClock());
    const auto south = Hand({"9D", "AC", "QS", "AC", "10H", "JD", "KC", "9C", "AS", "QH", "10D", "JS"});
    PlaceHand(form, "S", south);
    PlaceHand(form, "W", Hand({"AD", "AD", "AH", "AH", "AS", "AS", "AC", "AC", "9C", "9H", "9S", "9D"}, "W"));
    PlaceHand(form, "N", Hand({"AC", "10C", "KC", "QC", "JC", "9C", "AH", "10H", "KH", "QH", "JH", "9H"}, "N"));
    PlaceHand(form, "E", Hand({"9S", "JS", "QS", "KS", "10S", "AS", "9D", "JD", "QD", "KD", "10D", "AD"}, "E"));
    form.Sorthand();
    std::vector<int> codes;
    for (int p = 1; p <= 12; ++p) codes.push_back(form.Deck[static_cast<std::size_t>(p)].Code);
    EXPECT_EQ(codes, (std::vector<int>{101, 101, 103, 106, 202, 204, 301, 304, 305, 402, 405, 406}));
    // The copies of a card that stood apart end up next to each other.
    EXPECT_EQ(form.Deck[13].Code, 101);
    EXPECT_EQ(form.Deck[14].Code, 101);
    for (int p = 1; p <= 48; ++p) {
        EXPECT_EQ(form.Deck[static_cast<std::size_t>(p)].Seat, SeatOfIndex(p)->letter);
        if ((p - 1) % 12 != 11) {
            EXPECT_LE(form.Deck[static_cast<std::size_t>(p)].Code, form.Deck[static_cast<std::size_t>(p + 1)].Code);
        }
    }
}

TEST(Sorthand, LeavesASortedHandAsItIs) {
    Form1 form(testing::FixedClock());
    form.LoadArray();  // one suit a hand, its ranks twice in a row
    form.Sorthand();
    EXPECT_EQ(form.MaxSuitCount, 12);
    const Form1::Table sorted = form.Deck;
    EXPECT_EQ(sorted[1].Code, 101);
    EXPECT_EQ(sorted[2].Code, 101);
    EXPECT_EQ(sorted[12].Code, 106);
    form.Sorthand();
    EXPECT_EQ(form.Deck, sorted);
}

TEST(Sorthand, FindsTheLongestSuitOfTheDeal) {
    const struct {
        const char* name;
        std::array<std::array<CardRec, 12>, 4> hands;
        int longest;
    } cases[] = {
        {"FirstSuitOfWest",
         {Hand({"AH", "10H", "KH", "AS", "10S", "KS", "AD", "10D", "KD", "QH", "QS", "QD"}),
          Hand({"AC", "10C", "KC", "QC", "JC", "9C", "AH", "10H", "AS", "10S", "AD", "10D"}),
          Hand({"KH", "KS", "KD", "QH", "QS", "QD", "JH", "JS", "JD", "9H", "9S", "9D"}),
          Hand({"AC", "10C", "KC", "JH", "JS", "JD", "9H", "9S", "9D", "JC", "QS", "QD"})},
         6},
        {"LastSuitOfSouth",
         {Hand({"AC", "10H", "KS", "AD", "10D", "KD", "QD", "JD", "9D", "QH", "QS", "QC"}),
          Hand({"AC", "10C", "KC", "QH", "JC", "9C", "AH", "10H", "AS", "10S", "JH", "KH"}),
          Hand({"KH", "KS", "KD", "QC", "QS", "QD", "JH", "JS", "JD", "9H", "9S", "9D"}),
          Hand({"AH", "10C", "KC", "AS", "10S", "JS", "AD", "9H", "9S", "10D", "JC", "9C"})},
         6},
        {"FourFiveThreeSeven",
         {Hand({"AC", "10C", "KC", "QC", "AH", "10H", "KH", "AS", "10S", "KS", "AD", "10D"}),
          Hand({"AH", "10H", "KH", "QH", "JH", "AC", "10C", "KC", "AS", "10S", "AD", "KD"}),
          Hand({"QC", "JC", "9C", "QH", "JH", "9H", "QS", "JS", "9S", "QD", "JD", "9D"}),
          Hand({"AS", "10S", "KS", "QS", "JS", "9S", "9S", "9H", "QD", "JD", "9D", "KD"})},
         7},
    };
    for (const auto& c : cases) {
        Form1 form(testing::FixedClock());
        form.Deck = TableOf(c.hands);
        form.Sorthand();
        EXPECT_EQ(form.MaxSuitCount, c.longest) << c.name;
    }
}

}  // namespace
}  // namespace vantrel
