#include "form/form1.h"
#include "rules/designed_play.h"
#include "rules/seats.h"

namespace vantrel {

void Form1::cmdPlay_Click() {
    Module1& m = module1;
    m.TrickNumber = 1;
    if (m.PlayFlag == 0) {
        m.TrumpsPlayed = 0;
        m.PlayFlag = -1;
        LoadHelpBlurb();
        cmdPlay.Caption = "Stop Play";
        m.SNPoints = 0;
        m.SNTricks = 0;
        m.EWPoints = 0;
        m.EWTricks = 0;
        // Play begins with an empty trick: cards counted into a trick that an
        // earlier play left unfinished belong to another deal.
        m.TrickCount = 0;
        m.TrickCards = {};
        m.TrickLeader.clear();
        m.TrickWinner.clear();
        m.TrickBest = 0;
        m.TrickPoints = 0;
        ClearHandLabels();
        if (Label* label = HandLabel(CurSeat)) label->FontBold = true;
        List1.AddItem("Trump is: " + m.TrumpSuit);
        List1.AddItem("Named By: " + CurSeat);
        for (int p = 1; p <= kTablePositions; ++p) PlayDeck[p] = Deck[p];
        for (int p = 1; p <= kTablePositions; ++p) {
            CardRec& card = PlayDeck[p];
            card.Code = static_cast<std::int16_t>(TrickValue(card.Rank, card.Suit == m.TrumpSuit));
        }
        List1.SelectLast();
    } else {
        m.PlayFlag = 0;
        LoadHelpBlurb();
        cmdPlay.Caption = "Play Hand";
        Shuffle_Click();
    }
}

}  // namespace vantrel
