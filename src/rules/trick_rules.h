#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// What a trick so far asks of the next card: the suit led, the best card of
/// that suit, and the best trump once a trump has cut into another suit
/// (-1 where there is none).
struct TrickState {
    int led = -1;
    int bestLed = -1;
    int bestTrump = -1;
};
TrickState StateOf(std::span<const int> trick, int trump);
/// The trick's state once `card` falls on it: for a search that keeps it as
/// the cards fall. Within a suit the lower kind is the higher card.
inline void AddToTrick(TrickState& t, int card, int trump) {
    const int suit = SuitOfKind(card);
    if (t.led < 0) {
        t = TrickState{suit, card, -1};
        return;
    }
    if (suit == t.led && card < t.bestLed) t.bestLed = card;
    if (suit == trump && suit != t.led && (t.bestTrump < 0 || card < t.bestTrump)) t.bestTrump = card;
}

/// A kind's card points by the usual values: A 11, 10 10, K 4, Q 3, J 2, 9 0.
constexpr int StandardCardPoints(int kind) {
    constexpr std::array<int, 6> kPoints{11, 10, 4, 3, 2, 0};
    return kPoints[static_cast<std::size_t>(RankOfKind(kind))];
}

/// The cards a seat holding `hand` may play to a trick that holds `trick`
/// (kinds in the order played; empty for the lead), with trump suit `trump`
/// (0..3, or -1 for none) and the rules of play switched as `rules` has them.
/// A card of the suit led must beat the best of that suit when the hand can
/// and the trick has not been trumped; a hand void in the suit led must trump
/// when it can, and beat a trump in the trick when it can; otherwise any card.
KindMask LegalPlays(HandCounts hand, std::span<const int> trick, int trump, const PlayRules& rules);
/// The same from what the trick asks (no suit led for the lead): for a
/// search that keeps the trick's state as the cards fall.
KindMask LegalPlays(HandCounts hand, const TrickState& trick, int trump, const PlayRules& rules);
/// The same from the kinds the hand holds at least one of: for a search
/// that keeps them as the cards fall, and calls it at every card.
inline KindMask LegalPlaysFromHeld(KindMask held, const TrickState& t, int trump, const PlayRules& rules) {
    if (t.led < 0) return held;
    const KindMask led = held & SuitMask(t.led);
    const bool trumped = t.bestTrump >= 0;
    if (led != 0) {
        KindMask following = led;
        if (rules.headTrick && !trumped && (led & Above(t.bestLed)) != 0) following = led & Above(t.bestLed);
        return following | (rules.followSuit ? 0 : held & ~SuitMask(t.led));
    }
    // Void in the suit led.
    const KindMask trumps = trump >= 0 && trump < 4 ? held & SuitMask(trump) : 0;
    const KindMask others = rules.trumpWhenVoid && trumps != 0 ? 0 : held & ~trumps;
    KindMask trumping = trumps;
    if (rules.overTrump && trumped && (trumps & Above(t.bestTrump)) != 0) trumping = trumps & Above(t.bestTrump);
    return others | trumping;
}

/// Why `card` may not be played, naming the rule and the seat, e.g. "West
/// held hearts: must follow suit"; empty when it may.
std::string WhyNotLegal(HandCounts hand, std::span<const int> trick, int card, int trump, const PlayRules& rules,
                        std::string_view seatName);
/// The same said to the player whose card it is, as a sentence, e.g. "You
/// hold hearts: follow suit." Read from the kinds the hand holds, so a hand
/// of either deck is asked alike.
std::string WhyYouMayNot(KindMask held, std::span<const int> trick, int card, int trump, const PlayRules& rules);

/// The place (0..) in `trick` of the card that takes it. By the suit led: the
/// highest trump, else the highest card of the suit led. By rank alone (the
/// program's own table): the highest trick value, a trump above every other
/// card. Of two equal cards the first played wins.
int TrickWinner(std::span<const int> trick, int trump, TrickRules rules);

/// Card points of a kind: A 11, 10 10, K 4, Q 3, J 2, 9 0 by the usual
/// rules (240 in the deck); the program's own values as designed.
int CardPointsOf(const RuleSet& rules, int kind);

/// The card points of every card of the form's deck, the last trick's
/// included: all a hand's tricks hold (250 in the 48-card deck, 50 in the
/// 80-card one by the usual rules).
int AllCardPoints(const RuleSet& rules);

}  // namespace vantrel
