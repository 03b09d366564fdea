#include "table/card_table.h"

#include "app/form1.h"
#include "app/number_text.h"
#include "app/seats.h"

namespace vantrel {

namespace {

// The suit each hand holds in the fixed table, in table order.
constexpr std::array<int, 4> kTableSuit{1, 2, 4, 3};  // South C, West H, North D, East S

}  // namespace

CardRec TableCard(int position) {
    const SeatInfo& seat = *SeatOfIndex(position);
    const int hand = (position - 1) / kCardsPerHand;
    const int rank = (position - seat.first) % 6 + 1;
    return MakeCard(kTableSuit[static_cast<std::size_t>(hand)], rank, seat.letter);
}

std::string CardLine(const CardRec& card) {
    std::string line;
    line.reserve(8);
    line.append(card.Rank.view()).append(card.Suit.view()).append(" ").append(NumberText(std::int64_t{card.Code}));
    return line;
}

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
