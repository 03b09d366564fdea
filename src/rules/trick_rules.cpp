#include "rules/trick_rules.h"

#include <array>

#include "rules/designed_play.h"
#include "rules/seats.h"
#include "rules/unseen_deck.h"

namespace vantrel {

namespace {

constexpr std::array<std::string_view, 4> kPlural{"clubs", "hearts", "spades", "diamonds"};

}  // namespace

TrickState StateOf(std::span<const int> trick, int trump) {
    TrickState state;
    for (const int card : trick) AddToTrick(state, card, trump);
    return state;
}

KindMask LegalPlays(HandCounts hand, std::span<const int> trick, int trump, const PlayRules& rules) {
    return LegalPlays(hand, StateOf(trick, trump), trump, rules);
}

KindMask LegalPlays(HandCounts hand, const TrickState& t, int trump, const PlayRules& rules) {
    return LegalPlaysFromHeld(HeldKinds(hand), t, trump, rules);
}

namespace {

// Which rule a card breaks, and the card it had to beat: the one reckoning
// behind both phrasings of a refusal.
struct Breach {
    enum Rule { None, NotHeld, Head, Follow, Trump, OverTrump } rule = None;
    int beat = -1;
    std::string led;
    std::string trumps;
};

// Only which kinds the hand holds matters, so either deck's hand is read.
Breach BreachOf(KindMask held, std::span<const int> trick, int card, int trump, const PlayRules& rules) {
    if (card < 0 || card >= kCardKinds || (held & KindFlag(card)) == 0) return {Breach::NotHeld, -1, {}, {}};
    const TrickState t = StateOf(trick, trump);
    if ((LegalPlaysFromHeld(held, t, trump, rules) & KindFlag(card)) != 0) return {Breach::None, -1, {}, {}};
    const std::string led(kPlural[static_cast<std::size_t>(t.led)]);
    if (SuitOfKind(card) == t.led) return {Breach::Head, t.bestLed, led, {}};
    if ((held & SuitMask(t.led)) != 0) return {Breach::Follow, -1, led, {}};
    if (SuitOfKind(card) != trump)
        return {Breach::Trump, -1, led, std::string(kPlural[static_cast<std::size_t>(trump)])};
    return {Breach::OverTrump, t.bestTrump, led, {}};
}

}  // namespace

std::string WhyNotLegal(HandCounts hand, std::span<const int> trick, int card, int trump, const PlayRules& rules,
                        std::string_view seatName) {
    const std::string seat(seatName);
    const Breach b = BreachOf(HeldKinds(hand), trick, card, trump, rules);
    switch (b.rule) {
        case Breach::None:
            return {};
        case Breach::NotHeld:
            return seat + " does not hold the " + KindText(card);
        case Breach::Head:
            return seat + " could beat the " + KindText(b.beat) + ": must play higher";
        case Breach::Follow:
            return seat + " held " + b.led + ": must follow suit";
        case Breach::Trump:
            return seat + " was void in " + b.led + " and held " + b.trumps + ": must trump";
        case Breach::OverTrump:
            return seat + " could beat the " + KindText(b.beat) + ": must play a higher trump";
    }
    return {};
}

std::string WhyYouMayNot(KindMask held, std::span<const int> trick, int card, int trump, const PlayRules& rules) {
    const Breach b = BreachOf(held, trick, card, trump, rules);
    switch (b.rule) {
        case Breach::None:
            return {};
        case Breach::NotHeld:
            return "You do not hold the " + KindText(card) + ".";
        case Breach::Head:
            return "You can beat the " + KindText(b.beat) + ": play higher.";
        case Breach::Follow:
            return "You hold " + b.led + ": follow suit.";
        case Breach::Trump:
            return "You have no " + b.led + " and hold " + b.trumps + ": play a trump.";
        case Breach::OverTrump:
            return "You can beat the " + KindText(b.beat) + ": play a higher trump.";
    }
    return {};
}

int TrickWinner(std::span<const int> trick, int trump, TrickRules rules) {
    if (trick.empty()) return -1;
    // A strength per card; the first card of the greatest strength wins.
    auto strength = [&](int card) {
        const int suit = SuitOfKind(card);
        if (rules == TrickRules::RankAlone)
            return TrickValue(kRankTexts[static_cast<std::size_t>(RankOfKind(card))], suit == trump);
        if (suit == trump) return 20 - RankOfKind(card);
        return suit == SuitOfKind(trick.front()) ? 10 - RankOfKind(card) : 0;
    };
    int winner = 0;
    for (int i = 1; i < static_cast<int>(trick.size()); ++i)
        if (strength(trick[static_cast<std::size_t>(i)]) > strength(trick[static_cast<std::size_t>(winner)]))
            winner = i;
    return winner;
}

int CardPointsOf(const RuleSet& rules, int kind) {
    if (kind < 0 || kind >= kCardKinds) return 0;
    if (rules.cardPoints == CardValues::Designed)
        return CardPoints(kRankTexts[static_cast<std::size_t>(RankOfKind(kind))]);
    if (rules.cardPoints == CardValues::Counters) return RankOfKind(kind) <= 2 ? 1 : 0;
    return StandardCardPoints(kind);
}

int AllCardPoints(const RuleSet& rules) {
    const KindCounts deck = WholeDeckOf(rules.form);
    int points = rules.lastTrick;
    for (int kind = 0; kind < kCardKinds; ++kind)
        points += CardPointsOf(rules, kind) * deck[static_cast<std::size_t>(kind)];
    return points;
}

}  // namespace vantrel
