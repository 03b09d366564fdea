// libFuzzer target: reading a deal code never fails. A refusal always names
// its problem; a code that is taken gives twelve cards to each hand, two of
// each card in all, and its deal's own code reads back to the same deal.
// The reader of every form's codes keeps to the same, with the form's deck
// and hands (the three-handed widow in the fourth place), and gives no hands
// where it refuses.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "practice/deal_code.h"
#include "rules/unseen_deck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vantrel::DecodedHands read = vantrel::ReadDealCode(text);
    if (read.ok == !read.problem.empty()) std::abort();
    if (!read.ok && read.hands != std::array<vantrel::KindCounts, 4>{}) std::abort();
    if (read.ok) {
        // Each seat's hand, and at a table of three the widow in the fourth place.
        vantrel::KindCounts deck{};
        for (std::size_t place = 0; place < 4; ++place) {
            const int cards = place == 3 && read.form.seats == 3 ? read.form.widow : read.form.handCards;
            if (vantrel::CardCount(read.hands[place]) != cards) std::abort();
            deck = vantrel::Plus(deck, read.hands[place]);
        }
        if (deck != vantrel::WholeDeckOf(read.form)) std::abort();
        const vantrel::DecodedHands again = vantrel::ReadDealCode(vantrel::DealCodeOf(read.form, read.hands));
        if (!again.ok || again.hands != read.hands || again.form != read.form) std::abort();
    }
    const vantrel::DecodedDeal decoded = vantrel::DecodeDealCode(text);
    if (decoded.ok == !decoded.problem.empty()) std::abort();
    if (!decoded.ok) return 0;
    std::array<int, 600> copies{};
    for (std::size_t p = 1; p <= 48; ++p) {
        const int code = decoded.deck[p].Code;
        if (code < 101 || code > 406 || code % 100 < 1 || code % 100 > 6) std::abort();
        ++copies[static_cast<std::size_t>(code)];
    }
    for (int code = 101; code <= 406; ++code)
        if (code % 100 >= 1 && code % 100 <= 6 && copies[static_cast<std::size_t>(code)] != 2) std::abort();
    const vantrel::DecodedDeal again = vantrel::DecodeDealCode(vantrel::DealCodeOf(decoded.deck));
    if (!again.ok || again.deck != decoded.deck) std::abort();
    return 0;
}
