#include "table/card_table.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Started;

TEST(CardTable, HoldsEachHandsSuitTwiceInRankOrder) {
    const struct {
        int position;
        CardRec card;
    } rows[] = {
        {1, {201, "C", " A", 101, "S"}},  {2, {202, "C", "10", 102, "S"}},  {7, {201, "C", " A", 101, "S"}},
        {12, {206, "C", " 9", 106, "S"}}, {13, {207, "H", " A", 201, "W"}}, {24, {212, "H", " 9", 206, "W"}},
        {25, {219, "D", " A", 401, "N"}}, {30, {224, "D", " 9", 406, "N"}}, {37, {213, "S", " A", 301, "E"}},
        {40, {216, "S", " Q", 304, "E"}}, {48, {218, "S", " 9", 306, "E"}},
    };
    for (const auto& row : rows) EXPECT_EQ(TableCard(row.position), row.card) << row.position;
}

TEST(CardTable, DealListsTheTableInEightCharacterLines) {
    Form1 form(testing::FixedClock());
    form.Deal_Click();
    ASSERT_EQ(form.List1.ListCount(), 48);
    EXPECT_EQ(form.List1.List(0), " AC  101");
    EXPECT_EQ(form.List1.List(1), "10C  102");
    EXPECT_EQ(form.List1.List(12), " AH  201");
    EXPECT_EQ(form.List1.List(29), " 9D  406");
    EXPECT_EQ(form.List1.List(47), " 9S  306");
    for (int p = 1; p <= 48; ++p) {
        const CardRec& card = form.Deck[static_cast<std::size_t>(p)];
        EXPECT_EQ(form.List1.List(p - 1).size(), 8u);
        EXPECT_EQ(form.List1.List(p - 1),
                  std::string(card.Rank) + std::string(card.Suit) + "  " + std::to_string(card.Code));
        EXPECT_EQ(form.Image1[p].Picture, card.Pic);
    }
    // The list is never cleared here: a second deal appends another 48.
    form.Deal_Click();
    EXPECT_EQ(form.List1.ListCount(), 96);
}

TEST(CardTable, LaterImagesLieOverEarlierOnesAndSlotZeroIsUntouched) {
    Form1 form(testing::FixedClock());
    const ImageControl slotZero = form.Image1[0];
    form.Deal_Click();
    for (int index = 2; index <= 48; ++index) EXPECT_GT(form.Image1[index].Stacking, form.Image1[index - 1].Stacking);
    EXPECT_EQ(form.Image1[0].Picture, slotZero.Picture);
    EXPECT_EQ(form.Image1[0].Top, slotZero.Top);
    EXPECT_EQ(form.Image1[0].Left, slotZero.Left);
    EXPECT_EQ(form.Image1[0].Stacking, slotZero.Stacking);
    EXPECT_EQ(form.Image1[1].Width, 71 * 15);
    EXPECT_EQ(form.Image1[1].Height, 96 * 15);
}

TEST(CardTable, AlignCardsUndoesRaisedAndHiddenCards) {
    Started form;
    const int before = form->Image1[5].Picture;
    form->Image1[5].Top -= 300;
    form->Image1[20].Visible = false;
    form->Image1[40].Top -= 600;
    form->AlignCards();
    const struct {
        int index;
        int top;
    } rows[] = {{1, 3960}, {5, 3960}, {12, 3960}, {13, 2160}, {20, 2160}, {25, 360}, {36, 360}, {37, 2160}, {40, 2160}};
    for (const auto& row : rows) {
        EXPECT_EQ(form->Image1[row.index].Top, row.top) << row.index;
        EXPECT_TRUE(form->Image1[row.index].Visible) << row.index;
    }
    EXPECT_EQ(form->Image1[5].Picture, before);
}

}  // namespace
}  // namespace vantrel
