// Play control, tricks, scoring and the end-of-hand report.
#include "rules/designed_play.h"

#include <gtest/gtest.h>

#include "rules/designed_play.h"
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

// Plays the fixed table out trick by trick, the hands in the order given
// (first positions of their rows), each playing its next card: every trick
// holds one rank.
void PlayTableOut(Form1& form, std::array<int, 4> order = {1, 13, 25, 37}, int tricks = 12) {
    for (int k = 0; k < tricks; ++k)
        for (int first : order) form.Image1_Click(first + k);
}

TEST(PlayControl, StartsWithTheDeclarationAndStopsWithANewDeal) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(30);  // North names diamonds
    const int before = f.List1.ListCount();
    f.cmdPlay_Click();
    EXPECT_EQ(LinesFrom(f.List1, before), (Lines{"Trump is: D", "Named By: N"}));
    EXPECT_EQ(std::tie(f.module1.PlayFlag, f.cmdPlay.Caption, f.module1.TrickNumber),
              std::make_tuple(std::int16_t{-1}, std::string("Stop Play"), 1));
    EXPECT_TRUE(f.lbl3.FontBold && f.lbl3.ForeColor == kSystemWindowText && !f.lbl1.FontBold);
    for (int p = 1; p <= 48; ++p) {
        CardRec expected = f.Deck[static_cast<std::size_t>(p)];
        expected.Code = f.PlayDeck[static_cast<std::size_t>(p)].Code;
        EXPECT_EQ(f.PlayDeck[static_cast<std::size_t>(p)], expected);
    }
    // Ace and nine of trump, ace and nine of clubs.
    EXPECT_EQ((std::array<int, 4>{f.PlayDeck[25].Code, f.PlayDeck[30].Code, f.PlayDeck[1].Code, f.PlayDeck[6].Code}),
              (std::array<int, 4>{20, 15, 10, 5}));

    f.Image1_Click(1);
    f.cmdPlay_Click();  // stop: no report, a new deal
    EXPECT_EQ(std::tie(f.module1.PlayFlag, f.cmdPlay.Caption, f.module1.TrickNumber),
              std::make_tuple(std::int16_t{0}, std::string("Play Hand"), 1));
    EXPECT_EQ(f.List1.List(f.List1.ListCount() - 1), "Number of Hands Dealt: 1");
    EXPECT_TRUE(f.Image1[1].Visible && f.Image1[1].Top == 3960);

    // Without a declaration no card is trump; a new deal keeps the last trump suit.
    Started plain;
    plain->cmdPlay_Click();
    EXPECT_EQ(LinesFrom(plain->List1, plain->List1.ListCount() - 2), (Lines{"Trump is: ", "Named By: "}));
    for (const Label* label : {&plain->lbl1, &plain->lbl2, &plain->lbl3, &plain->lbl4}) EXPECT_FALSE(label->FontBold);
    for (int p = 1; p <= 48; ++p) EXPECT_LE(plain->PlayDeck[static_cast<std::size_t>(p)].Code, 10);
    f.Image1_DblClick(14);  // West names hearts
    f.Shuffle_Click();
    f.Image1_MouseMove(40);
    f.cmdPlay_Click();
    EXPECT_EQ(LinesFrom(f.List1, f.List1.ListCount() - 2), (Lines{"Trump is: H", "Named By: E"}));
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
    EXPECT_EQ(std::tie(f.module1.TrickNumber, f.module1.TrickLeader), std::make_tuple(13, std::string("S")));
    EXPECT_TRUE(f.lbl2.FontBold && f.lbl2.ForeColor == kPureBlue);
    for (int index = 1; index <= 48; ++index)
        EXPECT_TRUE(!f.Image1[index].Visible && f.Image1[index].Top == SeatOfIndex(index)->rowTop - 300);

    // A thirteenth trick brings no second report.
    const int afterReport = f.List1.ListCount();
    for (int index : {1, 13, 25, 37}) f.Image1_Click(index);
    EXPECT_EQ(f.module1.TrickNumber, 14);
    EXPECT_EQ(LinesFrom(f.List1, afterReport), TrickLines("W", 13, 0, 280));
}

// Whose partnership the end-of-hand report covers: the seat that named trump,
// whoever led and won; with no seat named, the one that led the last trick.
TEST(Tricks, TheReportCoversTheDeclarersPartnership) {
    const struct {
        int declare;  // image double-clicked, or 0 for none
        std::array<int, 4> order;
        bool lastTrickBySouth;
        Lines tail;
    } cases[] = {
        // South names clubs, West leads and South's trump takes every trick.
        {1, {13, 25, 37, 1}, false, {"S-N Points Made =  240", "S-N Tricks Made =  12", "S-N Points/Tricks =  20"}},
        // West names hearts and South leads: South-North take no trick.
        {20, {1, 13, 25, 37}, false, {"E-W Points Made =  240", "E-W Tricks Made =  12", "E-W Points/Tricks =  20"}},
        // No seat named, East leads every trick and wins it.
        {0, {37, 1, 13, 25}, false, {"E-W Points Made =  240", "E-W Tricks Made =  12", "E-W Points/Tricks =  20"}},
        // No seat named, South leads (and wins) the last trick.
        {0, {37, 1, 13, 25}, true, {"S-N Points Made =  0", "S-N Tricks Made =  1", "S-N Points/Tricks =  0"}},
    };
    for (const auto& c : cases) {
        auto form = TableForm();
        Form1& f = **form;
        if (c.declare != 0) f.Image1_DblClick(c.declare);
        f.cmdPlay_Click();
        PlayTableOut(f, c.order, c.lastTrickBySouth ? 11 : 12);
        if (c.lastTrickBySouth)
            for (int first : {12, 24, 36, 48}) f.Image1_Click(first);
        EXPECT_EQ(LinesFrom(f.List1, f.List1.ListCount() - 3), c.tail) << c.declare;
        if (c.declare == 0 && !c.lastTrickBySouth) {
            EXPECT_EQ(LinesFrom(f.List1, f.List1.ListCount() - 5).front(),
                      "Bid Value = " + std::to_string(f.MeldTotal + f.PlayPoints));
        }
    }
}

TEST(Tricks, DecidesByTrickValueAlone) {
    const struct {
        const char* name;
        const char* trump;
        std::array<const char*, 4> cards;  // South, West, North, East
        std::array<int, 4> order;          // image indexes in play order
        const char* winner;
        int points;
    } cases[] = {
        {"AceBeatsLedQueenWhateverTheSuit", "D", {"QH", "AS", "9C", "JC"}, {1, 13, 25, 37}, "W", 15},
        {"NineOfTrumpThenTenOfTrump", "D", {"AH", "9D", "10D", "JC"}, {1, 13, 25, 37}, "N", 20},
        {"IdenticalCardsFirstWins", "D", {"KH", "KH", "QH", "JH"}, {1, 13, 25, 37}, "S", 15},
        {"ThirtyPoints", "x", {"AC", "10H", "KS", "QD"}, {1, 13, 25, 37}, "S", 30},
        {"NoPointsStillATrick", "x", {"JC", "9H", "JS", "9D"}, {37, 1, 13, 25}, "S", 0},
        {"LaterTrumpWins", "C", {"9C", "AH", "AS", "AD"}, {13, 25, 37, 1}, "S", 30},
    };
    for (const auto& c : cases) {
        Started form;
        const char* seats[] = {"S", "W", "N", "E"};
        for (int s = 0; s < 4; ++s)
            form->Deck[static_cast<std::size_t>(1 + 12 * s)] = Card(c.cards[static_cast<std::size_t>(s)], seats[s]);
        form->module1.TrumpSuit = c.trump;
        form->CurSeat = "S";
        form->cmdPlay_Click();
        for (int index : c.order) form->Image1_Click(index);
        const Form1& f = *form;
        const Module1& m = f.module1;
        const bool sn = IsSouthNorth(c.winner);
        EXPECT_EQ(f.List1.List(f.List1.ListCount() - 6), std::string(" ****  Trick Winner: ") + c.winner + " ****")
            << c.name;
        EXPECT_EQ(std::tie(m.SNPoints, m.EWPoints, m.SNTricks, m.EWTricks),
                  std::make_tuple(sn ? c.points : 0, sn ? 0 : c.points, sn ? 1 : 0, sn ? 0 : 1))
            << c.name;
        // The trick is cleared for the next one.
        EXPECT_EQ(std::tie(m.TrickCount, m.TrickBest, m.TrickPoints, m.TrickWinner),
                  std::make_tuple(std::int16_t{0}, 0, 0, std::string()));
        EXPECT_EQ(f.Text2.Text, f.PlayDeck[static_cast<std::size_t>(c.order[3])].Rank.str());
    }
}

TEST(Tricks, ACardClickedTwiceCountsTwiceAndClicksOutsidePlayOnlyScroll) {
    auto form = TableForm();
    Form1& f = **form;
    f.List1.SetListIndex(0);
    f.Image1_Click(5);  // not playing
    EXPECT_EQ(std::tie(f.Image1[5].Top, f.module1.TrickCount), std::make_tuple(3960, std::int16_t{0}));
    EXPECT_EQ(f.List1.ListIndex(), f.List1.ListCount() - 1);
    f.Image1_DblClick(13);  // hearts
    f.cmdPlay_Click();
    f.Image1_Click(14);  // ten of hearts
    f.Image1_Click(14);
    EXPECT_EQ(std::tie(f.Image1[14].Top, f.module1.TrumpsPlayed, f.module1.TrickPoints),
              std::make_tuple(2160 - 600, 2, 20));
    f.Image1_Click(1);
    f.Image1_Click(25);
    EXPECT_EQ(std::tie(f.module1.EWPoints, f.module1.EWTricks, f.Image1[14].Visible), std::make_tuple(40, 1, false));
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
    for (int index : {26, 38}) f.Image1_Click(index);
    EXPECT_EQ(f.module1.SNTricks + f.module1.EWTricks, 1);
    for (int index : {2, 14, 26, 38}) EXPECT_FALSE(f.Image1[index].Visible);
    EXPECT_TRUE(f.Image1[1].Visible && f.Image1[13].Visible);
}

// Mended: a double-click in play plays the card once, through its first
// click, and does not toggle the declaration nor empty the reports.
TEST(MendedFaults, DoubleClickDuringPlayOnlyPlaysTheCardOnce) {
    auto form = TableForm();
    Form1& f = **form;
    f.Image1_DblClick(13);
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
