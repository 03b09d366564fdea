#include "rules/card_table.h"
#include "form/form1.h"
#include "rules/seats.h"

namespace vantrel {

void Form1::LoadArray() {
    for (int index = 1; index <= kTablePositions; ++index) Image1.ZOrder(index);
    for (int position = 1; position <= kTablePositions; ++position) Deck[position] = TableCard(position);
    AlignCards();
    LoadSetup();
}

void Form1::LoadSetup() { AlignCards(); }

void Form1::AlignCards() {
    for (const SeatInfo& seat : kSeats) {
        for (int index = seat.first; index < seat.first + kCardsPerHand; ++index) {
            Image1[index].Visible = true;
            Image1[index].Top = seat.rowTop;
        }
    }
}

void Form1::display() {
    for (int position = 1; position <= kTablePositions; ++position) Image1.SetPicture(position, Deck[position].Pic);
}

void Form1::Deal_Click() {
    LoadArray();
    for (int position = 1; position <= kTablePositions; ++position) {
        Image1.SetPicture(position, Deck[position].Pic);
        List1.AddItem(CardLine(Deck[position]));
    }
    display();
}

}  // namespace vantrel
