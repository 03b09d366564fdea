#include <algorithm>

#include "base/text_line.h"
#include "form/form1.h"
#include "rules/seats.h"
#include "table/deal_target.h"
#include "table/shuffle.h"

namespace vantrel {

void Form1::Shuffles() {
    random_.Reseed(clock_());
    // Exchanging whole records 5000 times while keeping each position's seat
    // letter ends in the same table as moving each card once to where the
    // exchanges put it, which is what happens here.
    const Arrangement from = ShuffleArrangement(random_);
    const Table before = Deck;
    for (int p = 1; p <= kTablePositions; ++p) {
        const FieldText seat = Deck[p].Seat;
        Deck[p] = before[from[static_cast<std::size_t>(p)]];
        Deck[p].Seat = seat;
    }
    Sorthand();
}

void Form1::ActualShuffle() {
    Shuffles();
    ListDealtMeld();
}

void Form1::ListDealtMeld() {
    MeldTotal = 0;
    List1.Clear();
    MeldShown = false;
    for (std::string_view seat : {"S", "E", "N", "W"}) {
        evalMeld(seat, "x");
        if (MeldTotal >= ReadTarget(txtRunToMeld.Text) && chkAutorun.Value() != 0) KeepDealing = 0;
        MeldShown = false;
        List1.AddItem("*********");
    }
    if (MaxSuitCount >= ReadTarget(txtRunToTrump.Text) && chkTrump.Value() != 0) KeepDealing = 0;
    if (KeepDealing != 0 && services_.ServiceWindow) services_.ServiceWindow();
}

void Form1::ClearForNewDeal() {
    TrumpDeclared = false;
    MaxSuitCount = 0;
    module1.PlayFlag = 0;
    LoadHelpBlurb();
    AlignCards();
    List1.Clear();
    cmdPlay.Caption = "Play Hand";
}

void Form1::ShowNewDeal(std::uint64_t handsDealt) {
    display();
    List1.AddItem("");
    List1.AddItem(TextLine() << "Number of Hands Dealt:" << TextLine().Number(static_cast<std::int64_t>(handsDealt)));
    List1.SelectLast();
}

void Form1::Shuffle_Click() {
    ClearForNewDeal();
    std::uint64_t handsDealt = 1;
    CheckTargetRanges();
    if ((chkAutorun.Value() | chkTrump.Value()) != 0)
        handsDealt = RunDealSearch();
    else
        ActualShuffle();
    ShowNewDeal(handsDealt);
}

}  // namespace vantrel
