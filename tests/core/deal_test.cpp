// The card table, the draws, shuffling, sorting and dealing, and start-up.
#include "table/shuffle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "app/help_texts.h"
#include "form/meld_report.h"
#include "rules/card_table.h"
#include "rules/designed_meld.h"
#include "test_support.h"

namespace vantrel {
namespace {

using testing::HandOf;
using testing::Lines;
using testing::LinesFrom;
using testing::Started;

TEST(CardTable, DealListsTheTableAndStacksItsImages) {
    Form1 form(testing::FixedClock());
    const ImageControl slotZero = form.Image1[0];
    form.Deal_Click();
    // Each hand holds both copies of its suit's ranks in order: South clubs,
    // West hearts, North diamonds, East spades.
    const Lines expected{" AC  101", "10C  102", " KC  103", " QC  104", " JC  105", " 9C  106"};
    const Lines all = LinesFrom(form.List1, 0);
    ASSERT_EQ(all.size(), 48u);
    EXPECT_EQ(Lines(all.begin(), all.begin() + 6), expected);
    EXPECT_EQ(Lines(all.begin() + 6, all.begin() + 12), expected);
    EXPECT_EQ((Lines{all[12], all[29], all[39], all[47]}), (Lines{" AH  201", " 9D  406", " QS  304", " 9S  306"}));
    EXPECT_EQ(form.Deck[40], (CardRec{216, "S", " Q", 304, "E"}));
    for (int p = 1; p <= 48; ++p) {
        EXPECT_EQ(form.Image1[p].Picture, form.Deck[static_cast<std::size_t>(p)].Pic);
        if (p > 1) {
            EXPECT_GT(form.Image1[p].Stacking, form.Image1[p - 1].Stacking);  // later cards lie over earlier
        }
    }
    EXPECT_EQ(std::tie(form.Image1[0].Picture, form.Image1[0].Top, form.Image1[0].Left, form.Image1[0].Stacking),
              std::tie(slotZero.Picture, slotZero.Top, slotZero.Left, slotZero.Stacking));
    form.Deal_Click();  // the list is never cleared here
    EXPECT_EQ(form.List1.ListCount(), 96);

    // AlignCards lays raised and hidden cards back in their rows.
    form.Image1[5].Top -= 300;
    form.Image1[20].Visible = false;
    form.Image1[40].Top -= 600;
    form.AlignCards();
    for (int index = 1; index <= 48; ++index)
        EXPECT_TRUE(form.Image1[index].Visible && form.Image1[index].Top == SeatOfIndex(index)->rowTop) << index;
}

TEST(Draws, TurnIntoPositionsOneToFortyEightTheSameByEitherPath) {
    EXPECT_EQ(PositionFromDraw(0.0f), 1);
    EXPECT_EQ(PositionFromDraw(std::nextafter(1.0f, 0.0f)), 48);
    for (int k = 1; k < 48; ++k) {
        // The draw just below k/48 still lies in position k, the one at or above it in k + 1.
        const float boundary = static_cast<float>(k) / 48.0f;
        EXPECT_EQ(PositionFromDraw(boundary), static_cast<double>(boundary) * 48.0 >= k ? k + 1 : k) << k;
        EXPECT_EQ(PositionFromDraw(std::nextafter(boundary, 0.0f)), k) << k;
    }
    for (std::uint32_t k = 0; k < (1u << 24); ++k)
        ASSERT_EQ(PositionFromDrawBits(k), PositionFromDraw(static_cast<float>(k) * (1.0f / 16777216.0f))) << k;
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

TEST(Sorthand, SortsEachHandAndFindsTheLongestSuit) {
    const struct {
        std::array<const char*, 4> hands;  // South, West, North, East
        std::vector<int> south;            // South's codes once sorted
        int longest;
    } cases[] = {
        {{"9D AC QS AC 10H JD KC 9C AS QH 10D JS", "AD AD AH AH AS AS AC AC 9C 9H 9S 9D",
          "AC 10C KC QC JC 9C AH 10H KH QH JH 9H", "9S JS QS KS 10S AS 9D JD QD KD 10D AD"},
         {101, 101, 103, 106, 202, 204, 301, 304, 305, 402, 405, 406},
         6},
        {{"AC 10H KS AD 10D KD QD JD 9D QH QS QC", "AC 10C KC QH JC 9C AH 10H AS 10S JH KH",
          "KH KS KD QC QS QD JH JS JD 9H 9S 9D", "AH 10C KC AS 10S JS AD 9H 9S 10D JC 9C"},
         {101, 104, 202, 204, 303, 304, 401, 402, 403, 404, 405, 406},
         6},
        {{"AC 10C KC QC AH 10H KH AS 10S KS AD 10D", "AH 10H KH QH JH AC 10C KC AS 10S AD KD",
          "QC JC 9C QH JH 9H QS JS 9S QD JD 9D", "AS 10S KS QS JS 9S 9S 9H QD JD 9D KD"},
         {101, 102, 103, 104, 201, 202, 203, 301, 302, 303, 401, 402},
         7},
    };
    for (const auto& c : cases) {
        Form1 form(testing::FixedClock());
        for (std::size_t h = 0; h < 4; ++h) testing::PlaceHand(form, kSeats[h].letter, HandOf(c.hands[h]));
        form.Sorthand();
        std::vector<int> south;
        for (int p = 1; p <= 12; ++p) south.push_back(form.Deck[static_cast<std::size_t>(p)].Code);
        EXPECT_EQ(south, c.south);
        EXPECT_EQ(form.MaxSuitCount, c.longest);
        for (int p = 1; p <= 48; ++p) EXPECT_EQ(form.Deck[static_cast<std::size_t>(p)].Seat, SeatOfIndex(p)->letter);
        const Form1::Table sorted = form.Deck;
        form.Sorthand();  // a sorted hand stays as it is
        EXPECT_EQ(form.Deck, sorted);
    }
}

TEST(StartUp, ListsEveryHandsMeldSouthEastNorthWestThenTheCount) {
    Started form;
    // Each hand's meld without trump, a row of stars, and the count.
    Lines expected;
    ListBox reports;
    for (const char* seat : {"S", "E", "N", "W"}) {
        const SeatInfo& info = *SeatOfLetter(seat);
        WriteMeldReport(reports, info.name, CountMeld(&form->Deck[static_cast<std::size_t>(info.first)], "x"));
        reports.AddItem("*********");
    }
    expected = reports.Lines();
    expected.insert(expected.end(), {"", "Number of Hands Dealt: 1"});
    EXPECT_EQ(form->List1.Lines(), expected);
    EXPECT_EQ(form->List1.ListIndex(), form->List1.ListCount() - 1);
    // West is listed last, so its meld stays behind in MeldTotal.
    EXPECT_EQ(form->MeldTotal, CountMeld(&form->Deck[13], "x").total);
    const auto& evaluation = InstructionLines(false);
    EXPECT_EQ(form->List2.Lines(), Lines(evaluation.begin(), evaluation.end()));
    EXPECT_EQ(std::tie(form->Text1.Visible, form->Text2.Visible, form->List1.Visible, form->cmdPlay.Caption,
                       form->txtRunToMeld.Text, form->txtRunToTrump.Text),
              std::make_tuple(false, false, true, std::string("Play Hand"), std::string("100"), std::string()));
    EXPECT_EQ(std::tie(form->module1.PlayFlag, form->KeepDealing, form->MeldShown, form->TrumpDeclared),
              std::make_tuple(std::int16_t{0}, std::int16_t{0}, false, false));
    for (int p = 1; p <= 48; ++p) EXPECT_EQ(form->Image1[p].Picture, form->Deck[static_cast<std::size_t>(p)].Pic);
    // Quit, closing and File > Exit all end the program.
    form->btnEnd_Click();
    form->Form_Terminate();
    form->mnuExit_Click();
    EXPECT_EQ(form.endCalls, 3);
}

TEST(Deal, IsReproducibleFromTheClockAndEndsPlay) {
    Started a(testing::FixedClock(99));
    Started b(testing::FixedClock(99));
    EXPECT_EQ(a->List1.Lines(), b->List1.Lines());
    b->cmdPlay_Click();
    for (int index : {1, 13, 25, 37, 2}) b->Image1_Click(index);
    a->Shuffle_Click();
    b->Shuffle_Click();  // Shuffle during play ends it and lays the cards out again
    EXPECT_EQ(a->Deck, b->Deck);
    EXPECT_EQ(std::tie(b->module1.PlayFlag, b->cmdPlay.Caption, b->TrumpDeclared),
              std::make_tuple(std::int16_t{0}, std::string("Play Hand"), false));
    EXPECT_EQ(b->List2.Lines(), a->List2.Lines());
    for (int index = 1; index <= 48; ++index)
        EXPECT_TRUE(b->Image1[index].Visible && b->Image1[index].Top == SeatOfIndex(index)->rowTop);
    // Two shuffles at one clock reading still differ.
    const Form1::Table first = a->Deck;
    a->Shuffle_Click();
    EXPECT_NE(a->Deck, first);
}

// Each step sets one box by value, as a click does; the boxes' handlers
// uncheck the other box, and that box's own handler then does nothing.
TEST(SearchBoxes, ExcludeEachOther) {
    const std::vector<std::string> sequences = {"M1:10 T1:01 M1:10", "T1:01 T0:00 M0:00", "M1:10 M0:00 T1:01 T0:00",
                                                "M1:10 T0:10", "T1:01 M2:10"};
    for (const std::string& sequence : sequences) {
        Started form;
        const auto before = form->List1.Lines();
        for (std::size_t at = 0; at < sequence.size(); at += 6) {
            (sequence[at] == 'M' ? form->chkAutorun : form->chkTrump).SetValue(sequence[at + 1] - '0');
            EXPECT_EQ(form->chkAutorun.Value() != 0, sequence[at + 3] == '1') << sequence << " " << at;
            EXPECT_EQ(form->chkTrump.Value() != 0, sequence[at + 4] == '1') << sequence << " " << at;
        }
        EXPECT_EQ(form->List1.Lines(), before);  // the boxes neither deal nor search
    }
}

}  // namespace
}  // namespace vantrel
