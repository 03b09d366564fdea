#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel {

/// How meld is counted: the program's own rules (four of a kind and the
/// pinochle never double, runs count in every suit), or the usual rules of
/// partnership pinochle (doubles, runs in trump only).
enum class MeldRules { Designed, Standard };

/// Who takes a trick: the highest trick value whatever the suit led (the
/// program's own table), or the highest trump, else the highest card of the
/// suit led.
enum class TrickRules { RankAlone, SuitLed };

/// What each card is worth in tricks: the program's own values (A and 10 10,
/// K and Q 5, 240 in the deck), the usual ones (A 11, 10 10, K 4, Q 3, J 2),
/// or counters (each A, 10 and K 1 point, as the double-deck game counts).
enum class CardValues { Designed, Standard, Counters };

/// The form of the game: the deck, the table and the deal. The seats across
/// the table play as partners.
struct GameForm {
    int copies = 2;      // copies of each card: 2 in the 48-card deck, 4 in the 80-card one
    bool nines = true;   // the deck holds nines
    int seats = 4;       // the players at the table
    int handCards = 12;  // cards dealt to each seat
    int widow = 0;       // cards dealt face down to the widow
    int dealBy = 3;      // cards dealt to a seat at a time

    [[nodiscard]] int DeckCards() const { return copies * (nines ? 24 : 20); }
    /// Whether the seats' hands and the widow take the whole deck, each hand
    /// dealt in whole packets.
    [[nodiscard]] bool DealsTheDeck() const {
        return dealBy > 0 && handCards % dealBy == 0 && seats * handCards + widow == DeckCards();
    }
    friend bool operator==(const GameForm&, const GameForm&) = default;
};

/// The rules of play a card is held to. Tables differ on heading the trick,
/// so each can be switched off on its own.
struct PlayRules {
    bool followSuit = true;     // follow the suit led
    bool headTrick = true;      // beat the best card of the suit led when able, unless the trick is trumped
    bool trumpWhenVoid = true;  // void in the suit led: play trump if able
    bool overTrump = true;      // beat a trump already in the trick when able
    friend bool operator==(const PlayRules&, const PlayRules&) = default;
};

/// The rules of play as they bind together, in one line: what a player
/// holding the suit led must play, and what one void in it must. Following
/// binds only the holder of the suit led; heading binds a card of the suit
/// led whether following is on or off; trumping and over-trumping bind only
/// a player void in the suit led.
std::string PlayRulesLine(const PlayRules& play);

/// A rule set: every variant is one named field. Four presets: "As
/// designed" (the program's own rules), "Standard" (four-handed partnership
/// pinochle as people play it), "Double-deck" (the 80-card partnership
/// game) and "Three-handed" (auction pinochle with a widow, the bidder
/// alone against the two others).
struct RuleSet {
    GameForm form;
    MeldRules meld = MeldRules::Standard;
    TrickRules tricks = TrickRules::SuitLed;
    CardValues cardPoints = CardValues::Standard;
    PlayRules play;
    int lastTrick = 10;          // card points for the last trick
    bool meldNeedsTrick = true;  // a side's meld counts only when it takes a trick
    int meldCounters = 0;        // ... and at least this many card points
    int standingBid = 190;       // the dealer's bid when nobody else bids
    int bidStep = 10;            // the least raise
    int gameTarget = 1500;       // the score that ends the game
    int passCards = 0;           // cards passed between partners after trump is named: 0, 3 or 4
    bool quadRunWins = false;    // a quadruple run in trump wins the game for its side (the 80-card deck)
    bool dealerStuck = true;     // all passing, the dealer plays the standing bid; else the next dealer deals
    // The three-handed game's own rules, where the bidder plays alone:
    bool bidderMeldsOnly = false;  // only the bidder melds (the classic game); else all three meld
    bool layAwayTrump = false;     // trump may be among the cards the bidder lays away
    bool concedeToEach = false;    // in the points game a concession pays the bid to each opponent, not once
    bool pointsGame = false;       // scored as the points game; else by the classic settlement
    bool spadesDouble = false;     // the classic settlement doubled with spades trump

    static RuleSet Designed();
    static RuleSet Standard();
    static RuleSet DoubleDeck();
    static RuleSet ThreeHanded();

    /// "As designed", "Standard", "Double-deck", "Three-handed", or the form's preset name
    /// followed by ", changed" for any other set.
    [[nodiscard]] std::string Name() const;
    /// One line a field, "description: value".
    [[nodiscard]] std::string Text() const;
    /// The fields as saved settings, name and value.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> ToSettings() const;

    friend bool operator==(const RuleSet&, const RuleSet&) = default;
};

/// A field of the rule set, as a settings dialog shows it and settings keep
/// it: its name, a one-line description, and its value as a whole number
/// (a switch is 0 or 1).
struct RuleField {
    std::string_view name;
    std::string_view description;
    int (*get)(const RuleSet&);
    void (*set)(RuleSet&, int);
    bool (*allowed)(int);
};
const std::array<RuleField, 27>& RuleFields();

/// A rule set read back from saved settings: only known names with values in
/// range are taken; anything else keeps the Standard default, and `notes`
/// says what was passed over.
/// Rules read back from saved settings: a value that is not a whole number
/// in its field's range is refused with a note naming it, and the default
/// of the form read is kept (the 80-card deck's defaults when the settings
/// ask for four copies). A form that does not deal its deck is refused whole.
struct ReadRules {
    RuleSet rules;
    std::vector<std::string> notes;
};
ReadRules RulesFromSettings(const std::vector<std::pair<std::string, std::string>>& settings);

}  // namespace vantrel
