#include "practice/deal_code.h"

#include <algorithm>
#include <numeric>
#include <optional>
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

template <std::size_t N>
int CheckValue(const std::array<int, N>& digits, int start = 0) {
    int check = start;
    for (int digit : digits) check = (check * 32 + digit) % 37;
    return check;
}

// The code's characters, as whole UTF-8 sequences, without separators.
std::vector<std::string_view> CodeCharacters(std::string_view code) {
    std::vector<std::string_view> kept;
    for (std::size_t at = 0; at < code.size();) {
        const std::size_t length = Utf8Length(code, at);
        const std::string_view character = code.substr(at, length);
        at += length;
        if (!IsSeparator(character)) kept.push_back(character);
    }
    return kept;
}

// The digits of a code's characters and its check character, or why not.
template <std::size_t N>
std::string ReadDigits(const std::vector<std::string_view>& kept, std::array<int, N>& digits, int checkStart) {
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const int value = kept[i].size() == 1 ? SymbolValue(kept[i][0]) : -1;
        const bool isCheck = i == N;
        if (value < 0 || (!isCheck && value >= 32)) {
            const unsigned char c = static_cast<unsigned char>(kept[i][0]);
            const std::string shown =
                kept[i].size() == 1 && c >= 0x20 && c < 0x7F ? "\"" + std::string(kept[i]) + "\"" : "a character";
            return "The deal code holds " + shown + " at place " + std::to_string(i + 1) + ", which no deal code uses.";
        }
        if (!isCheck)
            digits[i] = value;
        else if (value != CheckValue(digits, checkStart))
            return "The check character does not fit: the code has been mistyped.";
    }
    return {};
}

// The 80-card deck: the 35 ways four copies of a card can lie among the
// four hands (seats in table order, each way's seats from the lowest).
constexpr std::array<std::array<int, 4>, 35> kSeatQuads = [] {
    std::array<std::array<int, 4>, 35> quads{};
    std::size_t n = 0;
    for (int a = 0; a < 4; ++a)
        for (int b = a; b < 4; ++b)
            for (int c = b; c < 4; ++c)
                for (int d = c; d < 4; ++d) quads[n++] = {a, b, c, d};
    return quads;
}();
constexpr std::size_t kDoubleDeckData = kDoubleDeckCodeCharacters - 1;
constexpr int kDoubleDeckKinds = 20;

// The kinds of the 80-card deck, in the deck's order without the nines.
constexpr int DoubleDeckKind(int k) { return KindOf(k / 5, k % 5); }

}  // namespace

namespace {

// The three-handed deal's check begins here, so that its code never reads as
// a four-handed deal's of the same deck.
constexpr int kThreeHandedCheck = 3;

// The 48-card deck's characters: each kind's pair of holders among four
// places (the three-handed deal's widow the fourth), three kinds to a number
// below 1,000 written in two characters, and the check character.
std::string PairsCode(const std::array<KindCounts, 4>& hands, int checkStart) {
    std::array<int, kDataCharacters> digits{};
    for (std::size_t triple = 0; triple < 8; ++triple) {
        int value = 0;
        for (std::size_t k = 3 * triple; k < 3 * triple + 3; ++k) {
            std::array<int, 2> holders{};
            std::size_t n = 0;
            for (int seat = 0; seat < 4; ++seat)
                for (int copy = 0; copy < hands[static_cast<std::size_t>(seat)][k] && n < 2; ++copy)
                    holders[n++] = seat;
            value = value * 10 + std::max(0, PairNumber(holders[0], holders[1]));
        }
        digits[2 * triple] = value / 32;
        digits[2 * triple + 1] = value % 32;
    }
    std::string code;
    for (std::size_t i = 0; i < kDataCharacters; ++i) {
        if (i > 0 && i % 4 == 0) code += '-';
        code += kSymbols[static_cast<std::size_t>(digits[i])];
    }
    code += '-';
    code += kSymbols[static_cast<std::size_t>(CheckValue(digits, checkStart))];
    return code;
}

// The hands of a 48-card code's digits; none where a number is out of range.
std::optional<std::array<KindCounts, 4>> PairsHands(const std::array<int, kDataCharacters>& digits) {
    std::array<KindCounts, 4> hands{};
    for (std::size_t triple = 0; triple < 8; ++triple) {
        const int value = digits[2 * triple] * 32 + digits[2 * triple + 1];
        if (value >= 1000) return std::nullopt;
        for (int k = 0; k < 3; ++k) {
            const int pair = value / (k == 0 ? 100 : k == 1 ? 10 : 1) % 10;
            const auto kind = 3 * triple + static_cast<std::size_t>(k);
            for (const int seat : kSeatPairs[static_cast<std::size_t>(pair)])
                ++hands[static_cast<std::size_t>(seat)][kind];
        }
    }
    return hands;
}

}  // namespace

std::string DealCodeOf(const std::array<CardRec, 49>& deck) {
    // The hands as counts a kind, each seat's twelve places in turn.
    std::array<KindCounts, 4> hands{};
    for (int p = 1; p <= kTablePositions; ++p) {
        const int code = deck[static_cast<std::size_t>(p)].Code;
        const int suit = code / 100;
        const int rank = code % 100;
        if (suit < 1 || suit > 4 || rank < 1 || rank > 6) continue;
        ++hands[static_cast<std::size_t>((p - 1) / kCardsPerHand)]
               [static_cast<std::size_t>(KindOf(suit - 1, rank - 1))];
    }
    return PairsCode(hands, 0);
}

DecodedDeal DecodeDealCode(std::string_view code) {
    DecodedDeal decoded;
    const std::vector<std::string_view> kept = CodeCharacters(code);
    if (kept.size() != kDealCodeCharacters) {
        decoded.problem = "A deal code has 17 characters besides dashes and blanks; this one has " +
                          std::to_string(kept.size()) + ".";
        return decoded;
    }
    std::array<int, kDataCharacters> digits{};
    decoded.problem = ReadDigits(kept, digits, 0);
    if (!decoded.problem.empty()) return decoded;
    const std::optional<std::array<KindCounts, 4>> hands = PairsHands(digits);
    if (!hands) {
        decoded.problem = "The deal code does not give two of each card.";
        return decoded;
    }
    for (const KindCounts& hand : *hands)
        if (CardCount(hand) != kCardsPerHand) {
            decoded.problem = "The deal code does not give twelve cards to each hand.";
            return decoded;
        }
    // Each hand's cards in the deck's order, at the seat's places.
    for (std::size_t s = 0; s < 4; ++s) {
        int at = kSeats[s].first;
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < (*hands)[s][static_cast<std::size_t>(kind)]; ++copy)
                decoded.deck[static_cast<std::size_t>(at++)] =
                    MakeCard(SuitOfKind(kind) + 1, RankOfKind(kind) + 1, kSeats[s].letter);
    }
    decoded.ok = true;
    return decoded;
}

std::string DealCodeOf(const GameForm& form, const std::array<KindCounts, 4>& hands) {
    if (form.seats == 3) return PairsCode(hands, kThreeHandedCheck);
    if (form.copies != 4) return PairsCode(hands, 0);
    // The number, its base-32 digits from the lowest, as each kind's way is
    // added: number = number * 35 + way, the first kind the most significant.
    std::array<int, kDoubleDeckData> low{};
    for (int k = 0; k < kDoubleDeckKinds; ++k) {
        const auto kind = static_cast<std::size_t>(DoubleDeckKind(k));
        std::array<int, 4> seats{};
        std::size_t n = 0;
        for (int seat = 0; seat < 4; ++seat)
            for (int copy = 0; copy < hands[static_cast<std::size_t>(seat)][kind] && n < 4; ++copy) seats[n++] = seat;
        const auto way = static_cast<int>(std::find(kSeatQuads.begin(), kSeatQuads.end(), seats) - kSeatQuads.begin());
        int carry = way < 35 ? way : 0;
        for (int& digit : low) {
            const int value = digit * 35 + carry;
            digit = value % 32;
            carry = value / 32;
        }
    }
    std::array<int, kDoubleDeckData> digits{};
    for (std::size_t i = 0; i < kDoubleDeckData; ++i) digits[i] = low[kDoubleDeckData - 1 - i];
    std::string code;
    for (std::size_t i = 0; i < kDoubleDeckData; ++i) {
        if (i > 0 && i % 4 == 0 && i < 20) code += '-';
        code += kSymbols[static_cast<std::size_t>(digits[i])];
    }
    code += '-';
    code += kSymbols[static_cast<std::size_t>(CheckValue(digits, 4))];
    return code;
}

DecodedHands ReadDealCode(std::string_view code) {
    DecodedHands read;
    const std::vector<std::string_view> kept = CodeCharacters(code);
    if (kept.size() == kDealCodeCharacters) {
        // A three-handed deal's check begins apart: three hands of fifteen and the widow's three.
        std::array<int, kDataCharacters> digits{};
        const bool fourHanded = ReadDigits(kept, digits, 0).empty();
        if (!fourHanded && ReadDigits(kept, digits, kThreeHandedCheck).empty())
            if (const std::optional<std::array<KindCounts, 4>> hands = PairsHands(digits)) {
                read.form = RuleSet::ThreeHanded().form;
                const std::array<KindCounts, 4>& dealt = *hands;
                read.ok = CardCount(dealt[0]) == 15 && CardCount(dealt[1]) == 15 && CardCount(dealt[2]) == 15 &&
                          CardCount(dealt[3]) == 3;
                // A refused code gives no hands.
                if (read.ok)
                    read.hands = dealt;
                else
                    read.problem =
                        "The deal code does not give fifteen cards to each of three hands and three to the widow.";
                return read;
            }
        const DecodedDeal deal = DecodeDealCode(code);
        read.ok = deal.ok;
        read.problem = deal.problem;
        for (int p = 1; deal.ok && p <= kTablePositions; ++p) {
            const int card = deal.deck[static_cast<std::size_t>(p)].Code;
            ++read.hands[static_cast<std::size_t>((p - 1) / kCardsPerHand)]
                        [static_cast<std::size_t>(KindOf(card / 100 - 1, card % 100 - 1))];
        }
        return read;
    }
    if (kept.size() != kDoubleDeckCodeCharacters) {
        read.problem =
            "A deal code has 17 characters besides dashes and blanks (22 for the 80-card deck); this one "
            "has " +
            std::to_string(kept.size()) + ".";
        return read;
    }
    read.form = RuleSet::DoubleDeck().form;
    std::array<int, kDoubleDeckData> digits{};
    read.problem = ReadDigits(kept, digits, 4);
    if (!read.problem.empty()) return read;
    // Each kind's way is the remainder of dividing by 35, the last kind first.
    std::array<int, kDoubleDeckData> number = digits;  // the most significant first
    for (int k = kDoubleDeckKinds - 1; k >= 0; --k) {
        int remainder = 0;
        for (int& digit : number) {
            const int value = remainder * 32 + digit;
            digit = value / 35;
            remainder = value % 35;
        }
        for (const int seat : kSeatQuads[static_cast<std::size_t>(remainder)])
            ++read.hands[static_cast<std::size_t>(seat)][static_cast<std::size_t>(DoubleDeckKind(k))];
    }
    if (std::any_of(number.begin(), number.end(), [](int digit) { return digit != 0; })) {
        read.hands = {};
        read.problem = "The deal code does not give four of each card.";
        return read;
    }
    for (const KindCounts& hand : read.hands)
        if (std::accumulate(hand.begin(), hand.end(), 0) != read.form.handCards) {
            read.hands = {};
            read.problem = "The deal code does not give twenty cards to each hand.";
            return read;
        }
    read.ok = true;
    return read;
}

}  // namespace vantrel
