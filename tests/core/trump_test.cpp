// Naming trump and the playing-points estimate.
#include "rules/playing_points.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::HandOf;
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

TEST(PlayingPoints, ListTheTrumpsAcesAndDixesOfTheHand) {
    const struct {
        const char* hand;
        const char* trump;
        int dixes, trumps, aces, playPoints;
    } cases[] = {
        {"AC AS 10H KH JH 9H JH 10C KC KS 10D JD", "H", 1, 5, 2, 140},  // five trumps count 20 each
        {"AH 10H KH QH AC AS AD 10C KC KS 10D JD", "H", 0, 4, 3, 120},  // four count 15
        {"9H 9H KH QH JC JS JD 10C KC KS 10D JD", "H", 2, 4, 0, 60},
        {"AH AH 9C 9C 9S 9S 9D 9D 10C 10S 10D JD", "H", 0, 2, 0, 30},  // an ace of trump is a trump
        {"AC 10C KC QC JC 9C AH 10H KH QH JH AD", "D", 0, 1, 2, 55},
    };
    for (const auto& c : cases) {
        Form1 form(testing::FixedClock());
        PlaceHand(form, "S", testing::HandOf(c.hand));
        form.MeldTotal = 120;
        form.evalpoints(1, c.trump);
        EXPECT_EQ(form.List1.Lines(), PointsBlock(c.dixes, 120 + 10 * c.dixes, c.trumps, c.aces, c.playPoints))
            << c.hand;
        EXPECT_EQ(std::tie(form.MeldTotal, form.PlayPoints), std::make_tuple(120 + 10 * c.dixes, c.playPoints));
    }
}

TEST(TrumpDeclaration, NamesTheCardsSuitForItsHand) {
    Started form;
    PlaceHand(*form, "W", HandOf("AH 10H KH QH 9H AC AS KS QS JD 9C 9D", "W"));
    const int before = form->List1.ListCount();
    form->Image1_DblClick(13);  // the ace of hearts, first card of West
    EXPECT_EQ(std::tie(form->TrumpDeclared, form->CurSeat, form->module1.TrumpSuit),
              std::make_tuple(true, std::string("W"), std::string("H")));
    EXPECT_TRUE(form->lbl2.FontBold && form->lbl2.ForeColor == kPureBlue && !form->lbl1.FontBold);
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
    EXPECT_EQ(std::tie(form->MeldTotal, form->PlayPoints), std::make_tuple(110, 140));
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

}  // namespace
}  // namespace vantrel
