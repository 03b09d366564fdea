// Naming trump and the playing-points estimate.
#include "eval/playing_points.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Hand;
using testing::Lines;
using testing::LinesFrom;
using testing::PlaceHand;
using testing::Started;

Lines PointsBlock(int dix, int meldTotal, int trumps, int aces, int playPoints) {
    const int value = trumps > 4 ? 20 : 15;
    return {"",
            "***************************************************",
            "",
            "More Meld",
            "Number of Dix's [Meld] = " + std::to_string(dix) + " x 10 = " + std::to_string(dix * 10),
            "Total Meld =  " + std::to_string(meldTotal),
            "",
            "Number of Trump = " + std::to_string(trumps) + " x " + std::to_string(value) + " = " +
                std::to_string(trumps * value),
            "Number of Aces = " + std::to_string(aces) + " x 20 = " + std::to_string(aces * 20),
            "",
            "Hands Playing Points =  " + std::to_string(playPoints),
            ""};
}

TEST(PlayingPoints, FollowsTheExample) {
    // Five hearts with one nine, and the aces of clubs and spades outside trump.
    Form1 form(testing::FixedClock());
    PlaceHand(form, "S", Hand({"AC", "AS", "10H", "KH", "JH", "9H", "JH", "10C", "KC", "KS", "10D", "JD"}));
    form.MeldTotal = 120;
    form.evalpoints(1, "H");
    EXPECT_EQ(form.List1.Lines(), PointsBlock(1, 130, 5, 2, 140));
    EXPECT_EQ(form.MeldTotal, 130);
    EXPECT_EQ(form.PlayPoints, 140);
}

TEST(PlayingPoints, CountsTrumpsAcesAndDixes) {
    const struct {
        const char* name;
        std::array<CardRec, 12> hand;
        PlayingPointsCount count;
        int playPoints;
    } cases[] = {
        {"FourTrumpAtFifteen",
         Hand({"AH", "10H", "KH", "QH", "AC", "AS", "AD", "10C", "KC", "KS", "10D", "JD"}),
         {4, 3, 0},
         120},
        {"FiveTrumpAtTwenty",
         Hand({"AH", "10H", "KH", "QH", "JH", "AS", "AD", "10C", "KC", "KS", "10D", "JD"}),
         {5, 2, 0},
         140},
        {"TwoDixes", Hand({"9H", "9H", "KH", "QH", "JC", "JS", "JD", "10C", "KC", "KS", "10D", "JD"}), {4, 0, 2}, 60},
        {"AceOfTrumpIsATrump",
         Hand({"AH", "AH", "9C", "9C", "9S", "9S", "9D", "9D", "10C", "10S", "10D", "JD"}),
         {2, 0, 0},
         30},
    };
    for (const auto& c : cases) {
        const PlayingPointsCount count = CountPlayingPoints(c.hand.data(), "H");
        EXPECT_EQ(count.trumps, c.count.trumps) << c.name;
        EXPECT_EQ(count.aces, c.count.aces) << c.name;
        EXPECT_EQ(count.dixes, c.count.dixes) << c.name;
        EXPECT_EQ(count.PlayPoints(), c.playPoints) << c.name;
    }
}

TEST(TrumpDeclaration, NamesTheCardsSuitForItsHand) {
    Started form;
    PlaceHand(*form, "W", Hand({"AH", "10H", "KH", "QH", "9H", "AC", "AS", "KS", "QS", "JD", "9C", "9D"}, "W"));
    const int before = form->List1.ListCount();
    form->Image1_DblClick(13);  // the ace of hearts, first card of West
    EXPECT_TRUE(form->TrumpDeclared);
    EXPECT_EQ(form->CurSeat, "W");
    EXPECT_EQ(form->module1.TrumpSuit, "H");
    EXPECT_TRUE(form->lbl2.FontBold);
    EXPECT_EQ(form->lbl2.ForeColor, kPureBlue);
    EXPECT_FALSE(form->lbl1.FontBold);
    Lines expected{"",
                   "******* Trump Declared *******",
                   "",
                   "West",
                   "Marriage Hearts\t=    40",
                   "Marriage Spades\t=    20",
                   "Pinochle/s\t=    40",
                   "",
                   "Total Meld\t=  100"};
    const Lines block = PointsBlock(1, 110, 5, 2, 140);
    expected.insert(expected.end(), block.begin(), block.end());
    expected.push_back("Bid Value = 250");
    EXPECT_EQ(LinesFrom(form->List1, before), expected);
    EXPECT_EQ(form->List1.ListIndex(), form->List1.ListCount() - 1);
    EXPECT_EQ(form->MeldTotal, 110);
    EXPECT_EQ(form->PlayPoints, 140);
}

TEST(TrumpDeclaration, EverySecondDoubleClickEmptiesTheListFirst) {
    Started form;
    const int dealLines = form->List1.ListCount();
    form->Image1_DblClick(30);
    EXPECT_EQ(form->List1.List(dealLines - 1), "Number of Hands Dealt: 1");
    EXPECT_TRUE(form->lbl3.FontBold);
    const int afterFirst = form->List1.ListCount();
    form->Image1_DblClick(30);
    EXPECT_FALSE(form->TrumpDeclared);
    EXPECT_EQ(form->List1.List(1), "******* Trump Declared *******");
    EXPECT_EQ(form->List1.ListCount(), afterFirst - dealLines);
    form->Image1_DblClick(30);
    EXPECT_TRUE(form->TrumpDeclared);
    EXPECT_EQ(form->List1.ListCount(), 2 * (afterFirst - dealLines));
}

TEST(TrumpDeclaration, ASingletonSuitCountsOneTrump) {
    Started form;
    PlaceHand(*form, "E", Hand({"AC", "10C", "KC", "QC", "JC", "9C", "AH", "10H", "KH", "QH", "JH", "AD"}, "E"));
    form->Image1_DblClick(48);
    EXPECT_EQ(form->List1.List(form->List1.ListCount() - 6), "Number of Trump = 1 x 15 = 15");
}

}  // namespace
}  // namespace vantrel
