#include "base/text_line.h"
#include "form/form1.h"
#include "rules/designed_play.h"
#include "rules/number_text.h"
#include "rules/seats.h"

namespace vantrel {

void Form1::Image1_Click(int Index) {
    Module1& m = module1;
    // No rule of play is checked; only slot 0, which holds no card, is left out.
    if (m.PlayFlag != 0 && SeatOfIndex(Index) != nullptr) {
        Image1[Index].Top -= 300;
        const CardRec& card = PlayDeck[static_cast<std::size_t>(Index)];
        if (IsTrumpValue(card.Code)) ++m.TrumpsPlayed;
        m.TrickPoints += CardPoints(card.Rank);
        if (m.TrickCount == 0) {
            m.TrickLeader = card.Seat.str();
            m.TrickBest = card.Code;
            m.TrickWinner = card.Seat.str();
        } else if (card.Code > m.TrickBest) {
            m.TrickBest = card.Code;
            m.TrickWinner = card.Seat.str();
        }
        Text1.Text = m.TrickWinner;
        Text2.Text = card.Rank.str();
        ++m.TrickCount;
        m.TrickCards[static_cast<std::size_t>(m.TrickCount)] = Index;
        if (m.TrickCount == 4) CompleteTrick();
    }
    List1.SelectLast();
}

void Form1::CompleteTrick() {
    Module1& m = module1;
    List1.AddItem("");
    List1.AddItem(" ****  Trick Winner: " + m.TrickWinner + " ****");
    if (IsSouthNorth(m.TrickWinner)) {
        m.SNPoints += m.TrickPoints;
        ++m.SNTricks;
    } else {
        m.EWPoints += m.TrickPoints;
        ++m.EWTricks;
    }
    List1.AddItem("");
    List1.AddItem(TextLine() << "No. Trump Played = " << TextLine().Number(m.TrumpsPlayed));
    List1.AddItem(TextLine() << "S-N Hand = " << TextLine().Number(m.SNPoints));
    List1.AddItem(TextLine() << "E-W Hand = " << TextLine().Number(m.EWPoints));
    List1.AddItem("");
    ClearHandLabels();
    HighlightHandLabel(m.TrickWinner);
    m.TrickCount = 0;
    for (int slot = 1; slot <= 4; ++slot) Image1[m.TrickCards[static_cast<std::size_t>(slot)]].Visible = false;
    m.TrickWinner.clear();
    m.TrickBest = 0;
    m.TrickPoints = 0;
    ++m.TrickNumber;
    if (m.TrickNumber == 13) AppendEndOfHandReport();
}

void Form1::AppendEndOfHandReport() {
    const Module1& m = module1;
    List1.AddItem(TextLine() << "Bid Value = " << TextLine().Plain(std::int64_t{MeldTotal} + PlayPoints));
    List1.AddItem(TextLine() << "Prediction = " << TextLine().Number(PlayPoints));
    // The report sets the declarer's bid beside what the declaring partnership
    // made. The seat that named trump is the one play announced ("Named By: "),
    // and nothing changes it while the hand is played. Without one, the
    // partnership that led the last trick is reported.
    const std::string_view reported = SeatOfLetter(CurSeat) != nullptr ? std::string_view(CurSeat) : m.TrickLeader;
    if (IsSouthNorth(reported)) {
        List1.AddItem(TextLine() << "S-N Points Made = " << TextLine().Number(m.SNPoints));
        List1.AddItem(TextLine() << "S-N Tricks Made = " << TextLine().Number(m.SNTricks));
        List1.AddItem("S-N Points/Tricks = " + PointsPerTrickText(m.SNPoints, m.SNTricks));
    } else {
        List1.AddItem(TextLine() << "E-W Points Made = " << TextLine().Number(m.EWPoints));
        List1.AddItem(TextLine() << "E-W Tricks Made = " << TextLine().Number(m.EWTricks));
        List1.AddItem("E-W Points/Tricks = " + PointsPerTrickText(m.EWPoints, m.EWTricks));
    }
}

}  // namespace vantrel
