#include "practice/deal_code.h"

#include <algorithm>
#include <vector>

#include "rules/card_table.h"
#include "rules/seats.h"

namespace vantrel {

namespace {

constexpr std::string_view kSymbols = "0123456789ABCDEFGHJKMNPQRSTVWXYZ*~$=U";
constexpr std::size_t kDataCharacters = 16;

// The ten ways two copies of a card can lie among the four hands (seats in
// table order, the lower first).
constexpr std::array<std::array<int, 2>, 10> kSeatPairs{
    {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}, {3, 3}}};

int PairNumber(int a, int b) {
    if (a > b) std::swap(a, b);
    for (std::size_t i = 0; i < kSeatPairs.size(); ++i)
        if (kSeatPairs[i][0] == a && kSeatPairs[i][1] == b) return static_cast<int>(i);
    return -1;
}

// The value of a symbol, or -1: Crockford's reading, forgiving of case and of
// the letters that look like digits.
int SymbolValue(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == 'O') c = '0';
    if (c == 'I' || c == 'L') c = '1';
    const std::size_t at = kSymbols.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The bytes of the UTF-8 character starting at `at`: a lead byte's own
// count where the continuation bytes are there, else one byte on its own.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    if (at + length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

// What may stand between groups: blanks, tabs and line ends, dashes, and what
// word processors and chat programs turn them into (no-break and narrow
// spaces, hyphens, en and em dashes, the minus sign).
bool IsSeparator(std::string_view character) {
    static constexpr std::array<std::string_view, 13> kSeparators{
        " ", "-", "\t", "\r", "\n", "\u00A0", "\u202F", "\u2009", "\u2010", "\u2011", "\u2013", "\u2014", "\u2212"};
    return std::find(kSeparators.begin(), kSeparators.end(), character) != kSeparators.end();
}

int CheckValue(const std::array<int, kDataCharacters>& digits) {
    int check = 0;
    for (int digit : digits) check = (check * 32 + digit) % 37;
    return check;
}

}  // namespace

std::string DealCodeOf(const std::array<CardRec, 49>& deck) {
    // The seats holding each kind of card, in the order met.
    std::array<std::array<int, 2>, 24> holders{};
    std::array<int, 24> seen{};
    for (int p = 1; p <= kTablePositions; ++p) {
        const int code = deck[static_cast<std::size_t>(p)].Code;
        const int suit = code / 100;
        const int rank = code % 100;
        if (suit < 1 || suit > 4 || rank < 1 || rank > 6) continue;
        const auto kind = static_cast<std::size_t>(6 * (suit - 1) + rank - 1);
        if (seen[kind] < 2) holders[kind][static_cast<std::size_t>(seen[kind]++)] = (p - 1) / kCardsPerHand;
    }
    std::array<int, kDataCharacters> digits{};
    for (std::size_t triple = 0; triple < 8; ++triple) {
        int value = 0;
        for (std::size_t k = 3 * triple; k < 3 * triple + 3; ++k)
            value = value * 10 + std::max(0, PairNumber(holders[k][0], holders[k][1]));
        digits[2 * triple] = value / 32;
        digits[2 * triple + 1] = value % 32;
    }
    std::string code;
    for (std::size_t i = 0; i < kDataCharacters; ++i) {
        if (i > 0 && i % 4 == 0) code += '-';
        code += kSymbols[static_cast<std::size_t>(digits[i])];
    }
    code += '-';
    code += kSymbols[static_cast<std::size_t>(CheckValue(digits))];
    return code;
}

DecodedDeal DecodeDealCode(std::string_view code) {
    DecodedDeal decoded;
    // The code's characters, as whole UTF-8 sequences, without separators.
    std::vector<std::string_view> kept;
    for (std::size_t at = 0; at < code.size();) {
        const std::size_t length = Utf8Length(code, at);
        const std::string_view character = code.substr(at, length);
        at += length;
        if (!IsSeparator(character)) kept.push_back(character);
    }
    if (kept.size() != kDealCodeCharacters) {
        decoded.problem = "A deal code has 17 characters besides dashes and blanks; this one has " +
                          std::to_string(kept.size()) + ".";
        return decoded;
    }
    std::array<int, kDataCharacters> digits{};
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const int value = kept[i].size() == 1 ? SymbolValue(kept[i][0]) : -1;
        const bool isCheck = i == kDataCharacters;
        if (value < 0 || (!isCheck && value >= 32)) {
            const unsigned char c = static_cast<unsigned char>(kept[i][0]);
            const std::string shown =
                kept[i].size() == 1 && c >= 0x20 && c < 0x7F ? "\"" + std::string(kept[i]) + "\"" : "a character";
            decoded.problem =
                "The deal code holds " + shown + " at place " + std::to_string(i + 1) + ", which no deal code uses.";
            return decoded;
        }
        if (!isCheck)
            digits[i] = value;
        else if (value != CheckValue(digits)) {
            decoded.problem = "The check character does not fit: the code has been mistyped.";
            return decoded;
        }
    }
    std::array<std::vector<int>, 4> hands;
    for (std::size_t triple = 0; triple < 8; ++triple) {
        const int value = digits[2 * triple] * 32 + digits[2 * triple + 1];
        if (value >= 1000) {
            decoded.problem = "The deal code does not give two of each card.";
            return decoded;
        }
        for (int k = 0; k < 3; ++k) {
            const int pair = value / (k == 0 ? 100 : k == 1 ? 10 : 1) % 10;
            const int kind = static_cast<int>(3 * triple) + k;
            for (int seat : kSeatPairs[static_cast<std::size_t>(pair)])
                hands[static_cast<std::size_t>(seat)].push_back(100 * (kind / 6 + 1) + kind % 6 + 1);
        }
    }
    for (const auto& hand : hands)
        if (hand.size() != kCardsPerHand) {
            decoded.problem = "The deal code does not give twelve cards to each hand.";
            return decoded;
        }
    for (std::size_t s = 0; s < 4; ++s) {
        const SeatInfo& seat = kSeats[s];
        for (int i = 0; i < kCardsPerHand; ++i) {
            const int card = hands[s][static_cast<std::size_t>(i)];
            decoded.deck[static_cast<std::size_t>(seat.first) + static_cast<std::size_t>(i)] =
                MakeCard(card / 100, card % 100, seat.letter);
        }
    }
    decoded.ok = true;
    return decoded;
}

}  // namespace vantrel
