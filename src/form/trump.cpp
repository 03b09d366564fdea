// Naming trump by double-clicking a card.
#include "base/text_line.h"
#include "form/form1.h"
#include "rules/seats.h"

namespace vantrel {

void Form1::Image1_DblClick(int Index) {
    // While a hand is played, the first click of the double-click has already
    // played the card; the double-click must not also clear the trick reports.
    if (module1.PlayFlag != 0) return;
    // Slot 0 belongs to no hand.
    const SeatInfo* seat = SeatOfIndex(Index);
    if (seat == nullptr) return;

    if (TrumpDeclared) {
        TrumpDeclared = false;
        List1.Clear();
    } else {
        TrumpDeclared = true;
    }
    ClearHandLabels();
    HighlightHandLabel(seat->letter);
    CurSeat = seat->letter;
    const int first = seat->first;
    const std::string suit = Deck[static_cast<std::size_t>(Index)].Suit.str();
    module1.TrumpSuit = suit;
    MeldShown = false;
    List1.AddItem("");
    List1.AddItem("******* Trump Declared *******");
    evalMeld(CurSeat, suit);
    evalpoints(first, suit);
    List1.AddItem(TextLine() << "Bid Value = " << TextLine().Plain(std::int64_t{PlayPoints} + MeldTotal));
    List1.SelectLast();
}

}  // namespace vantrel
