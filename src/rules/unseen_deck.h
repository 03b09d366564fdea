#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "base/random.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// Two copies of each of the 24 kinds: the whole deck as hand counts.
inline constexpr HandCounts kWholeDeck = 0xAAAAAAAAAAAAull;

/// Cards to be dealt out again and again: the unseen cards of a seat, the
/// whole deck for a fresh deal. Each deal is a partial Fisher-Yates shuffle of
/// the order the last one left, so a run of deals from one generator costs a
/// draw a card and gives every deal with the same chance.
class UnseenDeck {
public:
    /// The deck of the cards given (each count 0..2).
    explicit UnseenDeck(HandCounts cards) {
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < CountOf(cards, kind); ++copy) cards_[size_++] = static_cast<std::uint8_t>(kind);
    }
    /// The deck of the cards given, of any form (up to four copies a kind).
    explicit UnseenDeck(const KindCounts& cards) {
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < cards[static_cast<std::size_t>(kind)] && size_ < cards_.size(); ++copy)
                cards_[size_++] = static_cast<std::uint8_t>(kind);
    }
    /// The cards a seat has not seen, beside those it has (each count 0..2).
    static UnseenDeck Besides(HandCounts seen) { return UnseenDeck(kWholeDeck - seen); }

    [[nodiscard]] int Size() const { return static_cast<int>(size_); }

    /// Deals the cards into hands of the sizes given, which add up to Size():
    /// each hand but the last draws its cards in turn, and the last holds
    /// what is left.
    template <std::size_t N>
    std::array<HandCounts, N> Deal(Random& random, const std::array<int, N>& sizes) {
        return DealAs<HandCounts>(random, sizes, [](HandCounts& hand, int kind) { hand += KindBit(kind); });
    }
    /// The same into hands of any form.
    template <std::size_t N>
    std::array<KindCounts, N> DealCounts(Random& random, const std::array<int, N>& sizes) {
        return DealAs<KindCounts>(random, sizes,
                                  [](KindCounts& hand, int kind) { ++hand[static_cast<std::size_t>(kind)]; });
    }

private:
    template <class Hand, std::size_t N, class Add>
    std::array<Hand, N> DealAs(Random& random, const std::array<int, N>& sizes, Add add) {
        std::array<Hand, N> hands{};
        std::uint32_t at = 0;
        const auto size = static_cast<std::uint32_t>(size_);
        for (std::size_t h = 0; h < N; ++h) {
            const auto end = h + 1 == N ? size : std::min(size, at + static_cast<std::uint32_t>(sizes[h]));
            for (; at < end; ++at) {
                if (h + 1 < N) std::swap(cards_[at], cards_[at + random.Below(size - at)]);
                add(hands[h], cards_[at]);
            }
        }
        return hands;
    }

    std::array<std::uint8_t, 80> cards_{};
    std::size_t size_ = 0;
};

/// The whole deck of a form: each kind as many times as the deck has copies,
/// the nines left out where the deck has none.
inline KindCounts WholeDeckOf(const GameForm& form) {
    KindCounts deck{};
    for (int kind = 0; kind < kCardKinds; ++kind)
        if (form.nines || RankOfKind(kind) != 5)
            deck[static_cast<std::size_t>(kind)] = static_cast<std::uint8_t>(form.copies);
    return deck;
}

/// Whether a hand is one of a four-handed form without a widow: the form's
/// cards a hand, none beyond the copies its deck holds.
inline bool IsFormHand(const RuleSet& rules, const KindCounts& own) {
    const KindCounts whole = WholeDeckOf(rules.form);
    for (std::size_t kind = 0; kind < own.size(); ++kind)
        if (own[kind] > whole[kind]) return false;
    return rules.form.seats == 4 && rules.form.widow == 0 && CardCount(own) == rules.form.handCards;
}

/// The three other hands around a hand of a four-handed form, dealt again
/// and again from the cards it does not hold: the left-hand opponent's,
/// partner's and the right-hand opponent's, in the order dealt.
class OthersDeal {
public:
    OthersDeal(const RuleSet& rules, const KindCounts& own)
        : unseen_(Less(WholeDeckOf(rules.form), own)), size_(rules.form.handCards) {}
    std::array<KindCounts, 3> Next(Random& random) {
        return unseen_.DealCounts(random, std::array<int, 3>{size_, size_, size_});
    }

private:
    UnseenDeck unseen_;
    int size_;
};

/// A deal of a form's whole deck: four hands (South, West, North, East; the
/// unused ones empty where fewer seats play) and the widow.
struct FormDeal {
    std::array<KindCounts, 4> hands{};
    KindCounts widow{};
    friend bool operator==(const FormDeal&, const FormDeal&) = default;
};
inline FormDeal DealOf(const GameForm& form, Random& random) {
    const int seats = std::clamp(form.seats, 1, 4);
    std::array<int, 5> sizes{};
    for (int seat = 0; seat < seats; ++seat) sizes[static_cast<std::size_t>(seat)] = form.handCards;
    // The widow takes what the seats leave: it is dealt last.
    const std::array<KindCounts, 5> dealt =
        UnseenDeck(WholeDeckOf(form))
            .DealCounts(random, std::array<int, 5>{sizes[0], sizes[1], sizes[2], sizes[3], form.widow});
    FormDeal deal;
    for (std::size_t seat = 0; seat < 4; ++seat) deal.hands[seat] = dealt[seat];
    deal.widow = dealt[4];
    return deal;
}

/// A deal of the 48 cards into four hands of twelve (South, West, North,
/// East), from a seed and a stream number.
inline std::array<HandCounts, 4> DealHands(std::uint64_t seed, std::uint64_t stream) {
    Random random(seed, stream);
    return UnseenDeck(kWholeDeck).Deal(random, std::array<int, 4>{12, 12, 12, 12});
}

}  // namespace vantrel
