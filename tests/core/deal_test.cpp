// Shuffling and dealing: the draws, the deal's invariants and its listing.
#include "table/shuffle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Started;

TEST(Draws, TurnIntoPositionsOneToFortyEight) {
    EXPECT_EQ(PositionFromDraw(0.0f), 1);
    EXPECT_EQ(PositionFromDraw(std::nextafter(1.0f, 0.0f)), 48);
    EXPECT_EQ(PositionFromDraw(0.5f), 25);
    for (int k = 1; k < 48; ++k) {
        // The draw just below k/48 still lies in position k, the one at or
        // above it in position k + 1.
        const float boundary = static_cast<float>(k) / 48.0f;
        const int expected = static_cast<double>(boundary) * 48.0 >= k ? k + 1 : k;
        EXPECT_EQ(PositionFromDraw(boundary), expected) << k;
        EXPECT_EQ(PositionFromDraw(std::nextafter(boundary, 0.0f)), k) << k;
    }
}

TEST(Draws, IntegerPathGivesTheSamePositionForEveryDraw) {
    for (std::uint32_t k = 0; k < (1u << 24); ++k) {
        const float r = static_cast<float>(k) * (1.0f / 16777216.0f);
        ASSERT_EQ(PositionFromDrawBits(k), PositionFromDraw(r)) << k;
    }
    RandomSource singles;
    RandomSource pairs;
    singles.Reseed(3);
    pairs.Reseed(3);
    for (int i = 0; i < 1000; ++i) {
        const auto [a, b] = pairs.NextDrawPair();
        ASSERT_EQ(static_cast<float>(a) * (1.0f / 16777216.0f), singles.NextSingle());
        ASSERT_EQ(static_cast<float>(b) * (1.0f / 16777216.0f), singles.NextSingle());
    }
}

TEST(Draws, AreUniformInTheUnitInterval) {
    RandomSource random;
    random.Reseed(1);
    std::array<int, 48> counts{};
    constexpr int kDraws = 480000;
    for (int i = 0; i < kDraws; ++i) {
        const float r = random.NextSingle();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ++counts[static_cast<std::size_t>(PositionFromDraw(r) - 1)];
    }
    // Each position expects 10000; six standard deviations is about 600.
    for (int count : counts) EXPECT_NEAR(count, 10000, 600);
}

TEST(Draws, ReseedsWithinOneTickNeverRepeatASequence) {
    RandomSource a;
    RandomSource b;
    a.Reseed(42);
    b.Reseed(42);
    EXPECT_EQ(ShuffleArrangement(a), ShuffleArrangement(b));  // same clock, same first shuffle
    a.Reseed(42);
    const Arrangement second = ShuffleArrangement(a);
    b.Reseed(42);
    EXPECT_EQ(ShuffleArrangement(b), second);
    RandomSource c;
    c.Reseed(42);
    EXPECT_NE(ShuffleArrangement(c), second);
}

void ExpectValidDeal(const Form1& form) {
    std::map<int, int> copies;
    for (int p = 1; p <= 48; ++p) {
        const CardRec& card = form.Deck[static_cast<std::size_t>(p)];
        ++copies[card.Code];
        ASSERT_EQ(card.Seat, SeatOfIndex(p)->letter) << p;
        ASSERT_EQ(card, MakeCard(card.Code / 100, card.Code % 100, card.Seat)) << p;
        if ((p - 1) % 12 != 11) {
            ASSERT_LE(card.Code, form.Deck[static_cast<std::size_t>(p + 1)].Code) << p;
        }
    }
    ASSERT_EQ(copies.size(), 24u);
    for (const auto& [code, count] : copies) ASSERT_EQ(count, 2) << code;
    // The longest suit of the deal, counted afresh.
    int longest = 0;
    for (int hand = 0; hand < 4; ++hand) {
        std::map<std::string, int> suits;
        for (int p = 1 + 12 * hand; p <= 12 * (hand + 1); ++p)
            longest = std::max(longest, ++suits[form.Deck[static_cast<std::size_t>(p)].Suit.str()]);
    }
    ASSERT_EQ(form.MaxSuitCount, longest);
    ASSERT_GE(form.MaxSuitCount, 3);
}

TEST(Deal, EveryShuffleGivesFourSortedHandsOfTheWholeDeck) {
    Started form(SystemClockNanoseconds);
    for (int round = 0; round < 3000; ++round) {
        form->Shuffle_Click();
        ExpectValidDeal(*form);
        for (int p = 1; p <= 48; ++p) ASSERT_EQ(form->Image1[p].Picture, form->Deck[static_cast<std::size_t>(p)].Pic);
    }
}

TEST(Deal, ListsSouthEastNorthWestThenTheCount) {
    Started form;
    const ListBox& list = form->List1;
    std::vector<std::string> names;
    int separators = 0;
    for (int i = 0; i < list.ListCount(); ++i) {
        const std::string_view line = list.List(i);
        if (line == "*********") {
            ++separators;
            continue;
        }
        if (i > 0 && list.List(i - 1).empty() &&
            (line == "South" || line == "East" || line == "North" || line == "West"))
            names.emplace_back(line);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"South", "East", "North", "West"}));
    EXPECT_EQ(separators, 4);
    EXPECT_EQ(list.List(list.ListCount() - 3), "*********");
    EXPECT_EQ(list.List(list.ListCount() - 2), "");
    EXPECT_EQ(list.List(list.ListCount() - 1), "Number of Hands Dealt: 1");
    // West is listed last, so its meld stays behind in MeldTotal.
    const std::string_view westTotal = list.List(list.ListCount() - 4);
    EXPECT_EQ(std::stoi(std::string(westTotal.substr(westTotal.find('=') + 1))), form->MeldTotal);
}

TEST(Deal, IsReproducibleFromTheClock) {
    Started a(testing::FixedClock(99));
    Started b(testing::FixedClock(99));
    EXPECT_EQ(a->Deck, b->Deck);
    EXPECT_EQ(a->List1.Lines(), b->List1.Lines());
    a->Shuffle_Click();
    b->Shuffle_Click();
    EXPECT_EQ(a->Deck, b->Deck);
    // Two shuffles at one clock reading still differ.
    const Form1::Table first = a->Deck;
    a->Shuffle_Click();
    EXPECT_NE(a->Deck, first);
}

TEST(Deal, ShuffleDuringPlayEndsItAndLaysTheCardsOutAgain) {
    Started form;
    form->cmdPlay_Click();
    for (int index : {1, 13, 25, 37, 2}) form->Image1_Click(index);
    ASSERT_FALSE(form->Image1[1].Visible);
    form->Shuffle_Click();
    EXPECT_EQ(form->module1.PlayFlag, 0);
    EXPECT_EQ(form->cmdPlay.Caption, "Play Hand");
    for (int index = 1; index <= 48; ++index) {
        EXPECT_TRUE(form->Image1[index].Visible);
        EXPECT_EQ(form->Image1[index].Top, SeatOfIndex(index)->rowTop);
    }
    EXPECT_EQ(form->List2.List(0), "Place mouse over hand to select that hand.While over card,");
    EXPECT_FALSE(form->TrumpDeclared);
}

}  // namespace
}  // namespace vantrel
