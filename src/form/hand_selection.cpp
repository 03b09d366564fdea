// Choosing the hand to look at by moving the mouse over its cards.
#include "form/form1.h"
#include "rules/seats.h"

namespace vantrel {

void Form1::ClearHandLabels() {
    for (Label* label : {&lbl1, &lbl2, &lbl3, &lbl4}) {
        label->FontBold = false;
        label->ForeColor = kSystemWindowText;
    }
}

void Form1::HighlightHandLabel(std::string_view seat) {
    if (Label* label = HandLabel(seat)) {
        label->FontBold = true;
        label->ForeColor = kPureBlue;
    }
}

void Form1::Form_MouseMove() {
    if (module1.PlayFlag != 0) return;
    MeldShown = false;
    ClearHandLabels();
}

void Form1::Image1_MouseMove(int Index) {
    if (module1.PlayFlag != 0 || TrumpDeclared) return;
    // Slot 0 belongs to no hand: it neither selects nor clears anything.
    const SeatInfo* seat = SeatOfIndex(Index);
    if (seat == nullptr) return;
    MeldTotal = 0;
    ClearHandLabels();
    HighlightHandLabel(seat->letter);
    CurSeat = seat->letter;
    evalMeld(CurSeat, "x");
}

}  // namespace vantrel
