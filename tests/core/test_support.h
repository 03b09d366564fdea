#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "form/form1.h"
#include "rules/card_table.h"
#include "rules/cards.h"
#include "rules/design_codes.h"
#include "rules/seats.h"

namespace vantrel::testing {

/// A clock that never moves: every deal of a form made with it is reproducible.
inline Clock FixedClock(std::uint64_t reading = 20261206) {
    return [reading] { return reading; };
}

/// A card from a short name: rank ("A", "10", "K", "Q", "J", "9") then suit
/// letter, e.g. "10H" or "QS".
inline CardRec Card(std::string_view name, std::string_view seat = "S") {
    const std::string_view rank = name.substr(0, name.size() - 1);
    const std::string_view suit = name.substr(name.size() - 1);
    const std::string rankText = rank.size() == 1 ? " " + std::string(rank) : std::string(rank);
    const int r = RankNumber(rankText);
    const int s = SuitNumber(suit);
    if (r == 0 || s == 0) throw std::invalid_argument("no such card");
    return MakeCard(s, r, seat);
}

/// The parts of a text between separators, e.g. the lines of "a|b|c".
inline std::vector<std::string> Split(std::string_view text, char separator = '|') {
    std::vector<std::string> parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = std::min(text.find(separator, at), text.size());
        parts.emplace_back(text.substr(at, end - at));
        if (end == text.size()) return parts;
        at = end + 1;
    }
}

/// Cards from one text of names parted by blanks, e.g. "AC 10C KH".
inline std::vector<CardRec> CardsOf(std::string_view names, std::string_view seat = "S") {
    std::vector<CardRec> cards;
    for (const std::string& name : Split(names, ' '))
        if (!name.empty()) cards.push_back(Card(name, seat));
    return cards;
}

/// The hand counts of cards named in one text.
inline HandCounts CountsOf(std::string_view names) {
    HandCounts hand = 0;
    for (const CardRec& card : CardsOf(names)) hand += KindBit(KindOfCode(card.Code));
    return hand;
}

/// Twelve cards from one text of names.
inline std::array<CardRec, 12> HandOf(std::string_view names, std::string_view seat = "S") {
    const std::vector<CardRec> cards = CardsOf(names, seat);
    if (cards.size() != 12) throw std::invalid_argument("a hand holds twelve cards");
    std::array<CardRec, 12> hand{};
    std::copy(cards.begin(), cards.end(), hand.begin());
    return hand;
}

/// Puts twelve cards at the positions of a seat of the form's deck.
inline void PlaceHand(Form1& form, std::string_view seat, const std::array<CardRec, 12>& hand) {
    const SeatInfo& info = *SeatOfLetter(seat);
    for (int i = 0; i < 12; ++i) {
        form.Deck[static_cast<std::size_t>(info.first + i)] = hand[static_cast<std::size_t>(i)];
        form.Deck[static_cast<std::size_t>(info.first + i)].Seat = info.letter;
    }
}

/// A fresh form, started up, with services that count what they were asked.
struct Started {
    int endCalls = 0;
    int helpCalls = 0;
    int serviceCalls = 0;
    std::vector<bool> busy;
    std::unique_ptr<Form1> form;

    explicit Started(Clock clock = FixedClock()) {
        form = std::make_unique<Form1>(std::move(clock), WindowServices{
                                                             [this] { ++endCalls; },
                                                             [this] { ++helpCalls; },
                                                             [this] { ++serviceCalls; },
                                                             [this](bool b) { busy.push_back(b); },
                                                         });
        form->Form_Load();
    }
    Form1& operator*() { return *form; }
    Form1* operator->() { return form.get(); }
};

using Lines = std::vector<std::string>;

/// The lines of a list from line `from` on.
inline Lines LinesFrom(const ListBox& list, int from) {
    Lines lines;
    for (int i = from; i < list.ListCount(); ++i) lines.emplace_back(list.List(i));
    return lines;
}

}  // namespace vantrel::testing
