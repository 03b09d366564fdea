#include "rules/trick_rules.h"

#include <array>

#include "rules/designed_play.h"
#include "rules/seats.h"

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

std::string WhyNotLegal(HandCounts hand, std::span<const int> trick, int card, int trump, const PlayRules& rules,
                        std::string_view seatName) {
    const std::string seat(seatName);
    if (card < 0 || card >= kCardKinds || CountOf(hand, card) == 0)
        return seat + " does not hold the " + KindText(card);
    if ((LegalPlays(hand, trick, trump, rules) & KindFlag(card)) != 0) return {};
    const TrickState t = StateOf(trick, trump);
    const KindMask held = HeldKinds(hand);
    if (SuitOfKind(card) == t.led) return seat + " could beat the " + KindText(t.bestLed) + ": must play higher";
    if ((held & SuitMask(t.led)) != 0)
        return seat + " held " + std::string(kPlural[static_cast<std::size_t>(t.led)]) + ": must follow suit";
    if (SuitOfKind(card) != trump)
        return seat + " was void in " + std::string(kPlural[static_cast<std::size_t>(t.led)]) + " and held " +
               std::string(kPlural[static_cast<std::size_t>(trump)]) + ": must trump";
    return seat + " could beat the " + KindText(t.bestTrump) + ": must play a higher trump";
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
    return StandardCardPoints(kind);
}

}  // namespace vantrel
