// Sorting each hand by card code, and the longest suit of the deal.
#include "form/form1.h"
#include "rules/seats.h"

namespace vantrel {

void Form1::Sorthand() {
    MaxSuitCount = 0;
    for (const SeatInfo& seat : kSeats) {
        int f = seat.first;
        // Full passes until one exchanges nothing; equal codes never move,
        // and the two copies of a card are identical records anyway.
        bool exchanged = true;
        while (exchanged) {
            exchanged = false;
            for (int p = f; p <= f + 10; ++p) {
                if (Deck[p].Code > Deck[p + 1].Code) {
                    TempCard = Deck[p];
                    Deck[p] = Deck[p + 1];
                    Deck[p + 1] = TempCard;
                    exchanged = true;
                }
            }
        }
        CountSuit(f);
    }
}

void Form1::CountSuit(int x) {
    FieldText current = Deck[x].Suit;
    int run = 1;
    for (int p = x + 1; p <= x + 11; ++p) {
        if (Deck[p].Suit == current) {
            ++run;
            if (run > MaxSuitCount) MaxSuitCount = run;
        } else {
            current = Deck[p].Suit;
            run = 1;
        }
    }
}

}  // namespace vantrel
