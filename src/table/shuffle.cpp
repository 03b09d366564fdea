#include "table/shuffle.h"

#include <algorithm>

#include "app/form1.h"
#include "app/seats.h"
#include "app/text_line.h"
#include "table/deal_search.h"

namespace vantrel {

Arrangement ShuffleArrangement(RandomSource& random) {
    Arrangement from{};
    for (int p = 0; p <= kTablePositions; ++p) from[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
    for (int i = 0; i < kShuffleExchanges; ++i) {
        const auto [drawA, drawB] = random.NextDrawPair();
        const auto a = static_cast<std::size_t>(PositionFromDrawBits(drawA));
        const auto b = static_cast<std::size_t>(PositionFromDrawBits(drawB));
        std::swap(from[a], from[b]);
    }
    return from;
}

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
