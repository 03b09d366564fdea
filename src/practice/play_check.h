#pragma once

#include <string>
#include <vector>

namespace vantrel {

/// The rules of play the checker holds a card to. Tables differ on whether a
/// player must head the trick, so each rule can be switched off on its own.
struct PlayRules {
    bool followSuit = true;     // follow the suit led
    bool beatLed = true;        // beat the best card of the suit led when able (unless trumped)
    bool trumpWhenVoid = true;  // void in the suit led: play trump if able
    bool overTrump = true;      // beat a trump already in the trick when able
};

/// A card as the checker sees it: suit 1..4 (C H S D), rank 1..6 (A 10 K Q J 9).
struct CheckedCard {
    int suit = 0;
    int rank = 0;
    friend bool operator==(const CheckedCard&, const CheckedCard&) = default;
};

/// The faults of playing `card` to a trick that holds `trick` (in the order
/// played) from a hand that held `hand` (the card itself among them), with
/// `trumpSuit` 1..4 (0: no trump). Each fault is a sentence such as
/// "West held hearts: must follow suit". An empty list: the card is sound.
std::vector<std::string> CheckPlay(const std::vector<CheckedCard>& trick, const std::vector<CheckedCard>& hand,
                                   CheckedCard card, int trumpSuit, const std::string& seatName,
                                   const PlayRules& rules);

/// The short name of a card, e.g. "10♥".
std::string CardText(CheckedCard card);

}  // namespace vantrel
