#include "players/world_sampler.h"

#include <algorithm>
#include <bit>
#include <type_traits>
#include <vector>

#include "rules/unseen_deck.h"

namespace vantrel {

namespace {

template <class HandType>
BasicSampledWorld<HandType> Sample(const BasicSeatView<HandType>& view, Random& random, int tries) {
    const int me = view.Seat();
    std::array<int, 4> room{};
    std::array<HandType, 4> base{};
    HandType pool = view.Unseen();
    base[static_cast<std::size_t>(me)] = view.Hand();
    for (int s = 0; s < 4; ++s) {
        if (s == me) continue;
        const HandType& known = view.KnownIn(s);
        base[static_cast<std::size_t>(s)] = known;
        pool = Less(pool, known);
        room[static_cast<std::size_t>(s)] = view.CardsLeft(s) - CardCount(known);
    }
    // The widow's cards seen go to the bidder or among the cards laid away
    // (the fourth place of a three-seat table), before any other.
    const int holder = view.WidowHolder();
    HandType widow{};
    for (int kind = 0; kind < kCardKinds && holder >= 0; ++kind)
        if (const int copies = std::min(CountIn(view.WidowLeft(), kind), CountIn(pool, kind)); copies > 0)
            AddCards(widow, kind, copies);
    pool = Less(pool, widow);
    std::vector<int> widowCards;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountIn(widow, kind); ++copy) widowCards.push_back(kind);
    // The cards to place, most constrained first.
    std::vector<int> cards;
    for (int kind = 0; kind < kCardKinds; ++kind)
        for (int copy = 0; copy < CountIn(pool, kind); ++copy) cards.push_back(kind);
    auto seatsFor = [&](int kind) {
        int seats = 0;
        for (int s = 0; s < 4; ++s) seats += s != me && (view.Excluded(s) & KindFlag(kind)) == 0;
        return seats;
    };
    std::stable_sort(cards.begin(), cards.end(), [&](int a, int b) { return seatsFor(a) < seatsFor(b); });

    BasicSampledWorld<HandType> world;
    for (int attempt = 0; attempt < tries; ++attempt) {
        world.hands = base;
        std::array<int, 4> left = room;
        bool stuck = false;
        for (const int kind : widowCards) {
            // The bidder's room and the cards laid away, in proportion.
            const int away = (view.Excluded(3) & KindFlag(kind)) == 0 ? left[3] : 0;
            const int total = left[static_cast<std::size_t>(holder)] + away;
            if (total == 0) {
                stuck = true;
                break;
            }
            const std::size_t to = static_cast<int>(random.Below(static_cast<std::uint32_t>(total))) < away
                                       ? 3
                                       : static_cast<std::size_t>(holder);
            AddCards(world.hands[to], kind);
            --left[to];
        }
        for (const int kind : cards) {
            if (stuck) break;
            int total = 0;
            for (int s = 0; s < 4; ++s)
                if (left[static_cast<std::size_t>(s)] > 0 && (view.Excluded(s) & KindFlag(kind)) == 0)
                    total += left[static_cast<std::size_t>(s)];
            if (total == 0) {
                stuck = true;
                break;
            }
            int pick = static_cast<int>(random.Below(static_cast<std::uint32_t>(total)));
            for (int s = 0; s < 4; ++s) {
                const int r = left[static_cast<std::size_t>(s)];
                if (r == 0 || (view.Excluded(s) & KindFlag(kind)) != 0) continue;
                if (pick < r) {
                    AddCards(world.hands[static_cast<std::size_t>(s)], kind);
                    --left[static_cast<std::size_t>(s)];
                    break;
                }
                pick -= r;
            }
        }
        if (!stuck) {
            world.consistent = true;
            return world;
        }
    }
    // No world met every inference in time: the unseen cards are dealt as
    // they come, into the room each seat has.
    // The widow's cards still go to the bidder, or among the cards laid away.
    world.hands = base;
    std::array<int, 4> left = room;
    for (const int kind : widowCards) {
        const std::size_t to = left[static_cast<std::size_t>(holder)] > 0 ? static_cast<std::size_t>(holder) : 3;
        AddCards(world.hands[to], kind);
        --left[to];
    }
    std::array<int, 3> sizes{};
    std::array<std::size_t, 3> seats{};
    std::size_t n = 0;
    for (int s = 0; s < 4; ++s)
        if (s != me) {
            seats[n] = static_cast<std::size_t>(s);
            sizes[n++] = left[static_cast<std::size_t>(s)];
        }
    UnseenDeck deck(pool);
    std::array<HandType, 3> dealt{};
    if constexpr (std::is_same_v<HandType, HandCounts>)
        dealt = deck.Deal(random, sizes);
    else
        dealt = deck.DealCounts(random, sizes);
    for (std::size_t i = 0; i < 3; ++i) world.hands[seats[i]] = Plus(world.hands[seats[i]], dealt[i]);
    world.consistent = false;
    return world;
}

}  // namespace

SampledWorld SampleWorld(const SeatView& view, Random& random, int tries) { return Sample(view, random, tries); }
FormSampledWorld SampleWorld(const FormSeatView& view, Random& random, int tries) {
    return Sample(view, random, tries);
}

}  // namespace vantrel
