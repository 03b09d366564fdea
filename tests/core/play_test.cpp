// Play control, tricks, scoring and the end-of-hand report.
#include "play/tricks.h"

#include <gtest/gtest.h>

#include <random>

#include "play/play_control.h"
#include "test_support.h"

namespace vantrel {
namespace {

using testing::Card;
using testing::Lines;
using testing::LinesFrom;
using testing::Started;

// A form showing the fixed card table: South the clubs, West the hearts,
// North the diamonds, East the spades, each suit's ranks twice in order.
std::unique_ptr<Started> TableForm() {
    auto form = std::make_unique<Started>();
    (*form)->LoadArray();
    (*form)->display();
    return form;
}

Lines TrickLines(const std::string& winner, int trumps, int sn, int ew) {
    return {"",
            " ****  Trick Winner: " + winner + " ****",
            "",
            "No. Trump Played =  " + std::to_string(trumps),
            "S-N Hand =  " + std::to_string(sn),
            "E-W Hand =  " + std::to_string(ew),
            ""};
}

// Plays the fixed table out trick by trick, South leading every trick with
// its next card, then West, North and East: every trick holds one rank.
void PlayTableOut(Form1& form) {
    for (int k = 0; k < 12; ++k)
        for (int first : {1, 13, 25, 37}) form.Image1_Click(first + k);
}

TEST(PlayControl, StartsWithTheDeclarationAndStopsWithANewDeal) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(30);  // North names diamonds
    const int before = f.List1.ListCount();
    f.cmdPlay_Click();
    EXPECT_EQ(LinesFrom(f.List1, before), (Lines{"Trump is: D", "Named By: N"}));
    EXPECT_EQ(f.module1.PlayFlag, -1);
    EXPECT_EQ(f.cmdPlay.Caption, "Stop Play");
    EXPECT_TRUE(f.lbl3.FontBold);
    EXPECT_EQ(f.lbl3.ForeColor, kSystemWindowText);
    EXPECT_FALSE(f.lbl1.FontBold);
    EXPECT_EQ(f.module1.TrickNumber, 1);
    for (int p = 1; p <= 48; ++p) {
        const CardRec& card = f.PlayDeck[static_cast<std::size_t>(p)];
        CardRec expected = f.Deck[static_cast<std::size_t>(p)];
        expected.Code = static_cast<std::int16_t>(TrickValue(card.Rank, card.Suit == "D"));
        EXPECT_EQ(card, expected);
    }
    EXPECT_EQ(f.PlayDeck[25].Code, 20);  // ace of trump
    EXPECT_EQ(f.PlayDeck[30].Code, 15);  // nine of trump
    EXPECT_EQ(f.PlayDeck[1].Code, 10);   // ace of clubs
    EXPECT_EQ(f.PlayDeck[6].Code, 5);    // nine of clubs

    f.Image1_Click(1);
    f.cmdPlay_Click();  // stop: no report, a new deal
    EXPECT_EQ(f.module1.PlayFlag, 0);
    EXPECT_EQ(f.module1.TrickNumber, 1);
    EXPECT_EQ(f.cmdPlay.Caption, "Play Hand");
    EXPECT_EQ(f.List1.List(f.List1.ListCount() - 1), "Number of Hands Dealt: 1");
    EXPECT_TRUE(f.Image1[1].Visible);
    EXPECT_EQ(f.Image1[1].Top, 3960);
}

TEST(PlayControl, WithoutADeclarationNoCardIsTrump) {
    Form1 form(testing::FixedClock());
    form.Form_Load();
    form.cmdPlay_Click();
    EXPECT_EQ(LinesFrom(form.List1, form.List1.ListCount() - 2), (Lines{"Trump is: ", "Named By: "}));
    for (const Label* label : {&form.lbl1, &form.lbl2, &form.lbl3, &form.lbl4}) EXPECT_FALSE(label->FontBold);
    for (int p = 1; p <= 48; ++p) EXPECT_LE(form.PlayDeck[static_cast<std::size_t>(p)].Code, 10);
}

TEST(PlayControl, ANewDealKeepsTheLastTrumpSuit) {
    auto form = TableForm();
    (*form)->Image1_DblClick(14);  // West names hearts
    (*form)->Shuffle_Click();
    (*form)->Image1_MouseMove(40);
    (*form)->cmdPlay_Click();
    EXPECT_EQ(LinesFrom((*form)->List1, (*form)->List1.ListCount() - 2), (Lines{"Trump is: H", "Named By: E"}));
}

TEST(Tricks, AWholeHandIsReportedForTheDeclaringPartnership) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(13);  // West names hearts with twelve hearts in hand
    f.cmdPlay_Click();
    const int start = f.List1.ListCount();
    PlayTableOut(f);

    Lines expected;
    const int ew[] = {40, 80, 100, 120, 120, 120, 160, 200, 220, 240, 240, 240};
    for (int k = 0; k < 12; ++k) {
        const Lines trick = TrickLines("W", k + 1, 0, ew[k]);
        expected.insert(expected.end(), trick.begin(), trick.end());
    }
    // West: a run in hearts (150) and two dixes (20); twelve trumps at 20.
    expected.insert(expected.end(), {"Bid Value = 410", "Prediction =  240", "E-W Points Made =  240",
                                     "E-W Tricks Made =  12", "E-W Points/Tricks =  20"});
    EXPECT_EQ(LinesFrom(f.List1, start), expected);
    EXPECT_EQ(f.List1.ListIndex(), f.List1.ListCount() - 1);
    EXPECT_EQ(f.module1.TrickNumber, 13);
    EXPECT_EQ(f.module1.TrickLeader, "S");
    EXPECT_TRUE(f.lbl2.FontBold);
    EXPECT_EQ(f.lbl2.ForeColor, kPureBlue);
    for (int index = 1; index <= 48; ++index) {
        EXPECT_FALSE(f.Image1[index].Visible);
        EXPECT_EQ(f.Image1[index].Top, SeatOfIndex(index)->rowTop - 300);
    }
}

TEST(Tricks, TheDeclarersPartnershipIsReportedEvenWithoutATrick) {
    // South names clubs; West leads every trick and South's trump takes each
    // one. The report covers South-North, who named trump, although West led
    // the last trick.
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(1);
    f.cmdPlay_Click();
    for (int k = 0; k < 12; ++k)
        for (int first : {13, 25, 37, 1}) f.Image1_Click(first + k);
    const Lines tail = LinesFrom(f.List1, f.List1.ListCount() - 3);
    EXPECT_EQ(tail, (Lines{"S-N Points Made =  240", "S-N Tricks Made =  12", "S-N Points/Tricks =  20"}));

    // Now West names hearts and South leads, so East-West win every trick and
    // South-North none: the report still covers West's partnership, not the
    // partnership of the seat that led the last trick.
    auto second = TableForm();
    Form1& g = **second;
    g.Image1_DblClick(20);
    g.cmdPlay_Click();
    PlayTableOut(g);
    EXPECT_EQ(LinesFrom(g.List1, g.List1.ListCount() - 3),
              (Lines{"E-W Points Made =  240", "E-W Tricks Made =  12", "E-W Points/Tricks =  20"}));
}

TEST(Tricks, WithNoSeatNamedTheLeaderOfTheLastTrickIsReported) {
    auto form = TableForm();
    Form1& f = **form;
    f.cmdPlay_Click();  // no trump and no seat
    // East leads every trick with the same rank as the others: East wins all.
    for (int k = 0; k < 12; ++k)
        for (int first : {37, 1, 13, 25}) f.Image1_Click(first + k);
    EXPECT_EQ(LinesFrom(f.List1, f.List1.ListCount() - 5),
              (Lines{"Bid Value = " + std::to_string(f.MeldTotal + f.PlayPoints), "Prediction =  0",
                     "E-W Points Made =  240", "E-W Tricks Made =  12", "E-W Points/Tricks =  20"}));

    // When South leads (and wins) the last trick, South-North are reported.
    auto third = TableForm();
    Form1& h = **third;
    h.cmdPlay_Click();
    for (int k = 0; k < 11; ++k)
        for (int first : {37, 1, 13, 25}) h.Image1_Click(first + k);
    for (int first : {12, 24, 36, 48}) h.Image1_Click(first);
    EXPECT_EQ(LinesFrom(h.List1, h.List1.ListCount() - 3),
              (Lines{"S-N Points Made =  0", "S-N Tricks Made =  1", "S-N Points/Tricks =  0"}));
}

struct TrickCase {
    const char* name;
    const char* trump;
    std::array<const char*, 4> cards;  // South, West, North, East cards, played in the order below
    std::array<int, 4> order;          // image indexes in play order
    const char* winner;
    int points;
};

TEST(Tricks, DecidesByTrickValueAlone) {
    const TrickCase cases[] = {
        {"AceBeatsLedQueenWhateverTheSuit", "D", {"QH", "AS", "9C", "JC"}, {1, 13, 25, 37}, "W", 15},
        {"NineOfTrumpThenTenOfTrump", "D", {"AH", "9D", "10D", "JC"}, {1, 13, 25, 37}, "N", 20},
        {"IdenticalCardsFirstWins", "D", {"KH", "KH", "QH", "JH"}, {1, 13, 25, 37}, "S", 15},
        {"ThirtyPoints", "x", {"AC", "10H", "KS", "QD"}, {1, 13, 25, 37}, "S", 30},
        {"NoPointsStillATrick", "x", {"JC", "9H", "JS", "9D"}, {37, 1, 13, 25}, "S", 0},
        {"LaterTrumpWins", "C", {"9C", "AH", "AS", "AD"}, {13, 25, 37, 1}, "S", 30},
    };
    for (const TrickCase& c : cases) {
        Started form;
        const char* seats[] = {"S", "W", "N", "E"};
        for (int s = 0; s < 4; ++s)
            form->Deck[static_cast<std::size_t>(1 + 12 * s)] = Card(c.cards[static_cast<std::size_t>(s)], seats[s]);
        form->module1.TrumpSuit = c.trump;
        form->CurSeat = "S";
        form->cmdPlay_Click();
        for (int index : c.order) form->Image1_Click(index);
        const Form1& f = *form;
        const bool sn = IsSouthNorth(c.winner);
        EXPECT_EQ(f.List1.List(f.List1.ListCount() - 6), std::string(" ****  Trick Winner: ") + c.winner + " ****")
            << c.name;
        EXPECT_EQ(f.module1.SNPoints, sn ? c.points : 0) << c.name;
        EXPECT_EQ(f.module1.EWPoints, sn ? 0 : c.points) << c.name;
        EXPECT_EQ(f.module1.SNTricks + f.module1.EWTricks, 1) << c.name;
        EXPECT_EQ(f.module1.TrickCount, 0);
        EXPECT_EQ(f.module1.TrickBest, 0);
        EXPECT_EQ(f.module1.TrickPoints, 0);
        EXPECT_EQ(f.module1.TrickWinner, "");
        EXPECT_EQ(f.Text2.Text, f.PlayDeck[static_cast<std::size_t>(c.order[3])].Rank.str());
    }
}

TEST(Tricks, ACardClickedTwiceCountsTwice) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(13);  // hearts
    f.cmdPlay_Click();
    f.Image1_Click(14);  // ten of hearts
    f.Image1_Click(14);
    EXPECT_EQ(f.Image1[14].Top, 2160 - 600);
    EXPECT_EQ(f.module1.TrumpsPlayed, 2);
    EXPECT_EQ(f.module1.TrickPoints, 20);
    f.Image1_Click(1);
    f.Image1_Click(25);
    EXPECT_EQ(f.module1.EWPoints, 40);
    EXPECT_EQ(f.module1.EWTricks, 1);
    EXPECT_FALSE(f.Image1[14].Visible);
}

TEST(Tricks, AThirteenthTrickBringsNoSecondReport) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(13);
    f.cmdPlay_Click();
    PlayTableOut(f);
    const int afterReport = f.List1.ListCount();
    for (int index : {1, 13, 25, 37}) f.Image1_Click(index);
    EXPECT_EQ(f.module1.TrickNumber, 14);
    EXPECT_EQ(LinesFrom(f.List1, afterReport), TrickLines("W", 13, 0, 280));
}

TEST(Tricks, ClicksOutsidePlayOnlyScrollTheList) {
    Started form;
    const auto lines = form->List1.Lines();
    form->List1.SetListIndex(0);
    form->Image1_Click(5);
    EXPECT_EQ(form->List1.Lines(), lines);
    EXPECT_EQ(form->Image1[5].Top, 3960);
    EXPECT_EQ(form->List1.ListIndex(), form->List1.ListCount() - 1);
    EXPECT_EQ(form->module1.TrickCount, 0);
}

// Mended: a new start of play begins with an empty trick, so a trick left
// unfinished by "Stop Play" does not take the new deal's first cards.
TEST(MendedFaults, PlayStartsWithAnEmptyTrick) {
    auto form = TableForm();
    Form1& f = **form;
    f.cmdPlay_Click();
    f.Image1_Click(1);
    f.Image1_Click(13);
    f.cmdPlay_Click();  // stop, new deal
    f.cmdPlay_Click();  // play again
    for (int index : {2, 14}) f.Image1_Click(index);
    EXPECT_EQ(f.module1.TrickCount, 2);
    EXPECT_TRUE(f.Image1[1].Visible);
    for (int index : {26, 38}) f.Image1_Click(index);
    EXPECT_EQ(f.module1.SNTricks + f.module1.EWTricks, 1);
    for (int index : {2, 14, 26, 38}) EXPECT_FALSE(f.Image1[index].Visible);
    EXPECT_TRUE(f.Image1[1].Visible);
    EXPECT_TRUE(f.Image1[13].Visible);
}

// Mended: a double-click in play plays the card once, through its first
// click, and does not toggle the declaration nor empty the reports.
TEST(MendedFaults, DoubleClickDuringPlayOnlyPlaysTheCardOnce) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(13);
    ASSERT_TRUE(f.TrumpDeclared);
    f.cmdPlay_Click();
    PlayTableOut(f);
    const auto report = f.List1.Lines();
    f.Image1_Click(5);
    f.Image1_DblClick(5);
    EXPECT_TRUE(f.TrumpDeclared);
    EXPECT_EQ(f.module1.TrickCount, 1);
    EXPECT_EQ(f.List1.Lines(), report);
    EXPECT_EQ(f.Image1[5].Top, 3960 - 600);  // raised by its one click, after the trick before it
}

TEST(Tricks, PointsPerTrickText) {
    EXPECT_EQ(PointsPerTrickText(100, 8), " 12.5");
    EXPECT_EQ(PointsPerTrickText(150, 7), " 21.4285714285714");
    EXPECT_EQ(PointsPerTrickText(240, 12), " 20");
    EXPECT_EQ(PointsPerTrickText(5, 13), " 0.384615384615385");
    EXPECT_EQ(PointsPerTrickText(0, 0), "40 Trickless");
}

}  // namespace
}  // namespace vantrel
