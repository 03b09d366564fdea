#include "practice/play_check.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/card_text.h"

namespace vantrel {

namespace {

constexpr std::array<std::string_view, 4> kPlural{"clubs", "hearts", "spades", "diamonds"};

// A is rank 1 and the highest; a card beats another of its suit with a lower rank number.
bool Beats(CheckedCard a, CheckedCard b) { return a.suit == b.suit && a.rank < b.rank; }

std::string_view SuitWord(int suit) {
    return suit >= 1 && suit <= 4 ? kPlural[static_cast<std::size_t>(suit - 1)] : "?";
}

}  // namespace

std::string CardText(CheckedCard card) { return CardSymbolText(card.suit, card.rank); }

std::vector<std::string> CheckPlay(const std::vector<CheckedCard>& trick, const std::vector<CheckedCard>& hand,
                                   CheckedCard card, int trumpSuit, const std::string& seatName,
                                   const PlayRules& rules) {
    std::vector<std::string> faults;
    if (trick.empty()) return faults;  // the lead is free
    const int led = trick.front().suit;
    auto holds = [&](auto&& test) { return std::any_of(hand.begin(), hand.end(), test); };

    // The best card of the suit led, and the best trump when a trump has cut
    // into another suit's trick.
    CheckedCard bestLed = trick.front();
    CheckedCard bestTrump{};
    for (CheckedCard c : trick) {
        if (Beats(c, bestLed)) bestLed = c;
        if (c.suit == trumpSuit && led != trumpSuit && (bestTrump.suit == 0 || Beats(c, bestTrump))) bestTrump = c;
    }
    const bool trumped = bestTrump.suit != 0;

    if (card.suit == led) {
        if (rules.beatLed && !trumped && !Beats(card, bestLed) &&
            holds([&](CheckedCard c) { return Beats(c, bestLed); }))
            faults.push_back(seatName + " could beat the " + CardText(bestLed) + ": must play higher");
        return faults;
    }
    if (holds([&](CheckedCard c) { return c.suit == led; })) {
        if (rules.followSuit) faults.push_back(seatName + " held " + std::string(SuitWord(led)) + ": must follow suit");
        return faults;
    }
    if (card.suit != trumpSuit) {
        if (rules.trumpWhenVoid && trumpSuit != 0 && holds([&](CheckedCard c) { return c.suit == trumpSuit; }))
            faults.push_back(seatName + " was void in " + std::string(SuitWord(led)) + " and held " +
                             std::string(SuitWord(trumpSuit)) + ": must trump");
        return faults;
    }
    if (rules.overTrump && trumped && !Beats(card, bestTrump) &&
        holds([&](CheckedCard c) { return Beats(c, bestTrump); }))
        faults.push_back(seatName + " could beat the " + CardText(bestTrump) + ": must play a higher trump");
    return faults;
}

}  // namespace vantrel
