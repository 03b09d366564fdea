#include "rules/card_table.h"

#include "rules/number_text.h"
#include "rules/seats.h"

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

}  // namespace vantrel
