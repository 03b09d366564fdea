#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "rules/card_rec.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// The verdict on the bid after the twelfth trick, by the record's rule set:
/// the declaring partnership's meld (both hands, the named trump) plus the
/// card points it took, against the bid.
struct BidVerdict {
    bool judged = false;  // false when no trump or declarer was named
    std::string side;     // "S-N" or "E-W"
    int declarerMeld = 0;
    int partnerMeld = 0;
    int points = 0;  // card points, the last trick included
    int tricks = 0;
    int bid = 0;
    bool meldCounts = false;
    int total = 0;
    std::string result;  // "Made by 30", "Made exactly", "Set by 20"
};

/// Judges a played hand: the declarer's and partner's hands as dealt, trump
/// suit 0..3, the bid, and what the partnership took.
BidVerdict JudgeBid(const RuleSet& rules, HandCounts declarerHand, HandCounts partnerHand, int trump, int bid,
                    int points, int tricks, const std::string& side);

/// What happens at the table while a hand is played: the trick being played,
/// every finished trick, the cards still out, the checker's marks and, after
/// the twelfth trick, the verdict on the bid. It is fed a deal and the cards
/// played, and reckons tricks, card points, meld and the verdict by its rule
/// set (Standard unless changed); where the program's own table gave a trick
/// to another seat, it says so. With the checker off it only records.
class PlayRecord {
public:
    struct Play {
        int index = 0;  // table position of the card
        Seat seat = Seat::South;
        int kind = 0;
        std::vector<std::string> faults;
    };
    struct Trick {
        std::vector<Play> plays;
        Seat winner = Seat::South;       // by the record's rules
        Seat tableWinner = Seat::South;  // by the program's own table
        int points = 0;
    };

    /// Where the hand comes from: the main window's table (the bid is the
    /// declarer's bid value from its list, and its own reckoning of each
    /// trick is set beside the record's), or a game (the auction's bid).
    enum class Source { Table, Game };

    /// A fresh record of a deal: table positions 1..48 (element 0 unused),
    /// trump (None where none was named), the declarer (where one was), the
    /// bid, and the deal's code.
    void Start(const std::array<CardRec, 49>& deal, Suit trump, std::optional<Seat> declarer, int bid,
               std::string dealCode, Source source = Source::Table);
    /// A card was played from table position `index`.
    void CardClicked(int index);
    /// A card of a kind was played from a seat's hand: the first such card
    /// there not yet played.
    void CardPlayed(Seat seat, int kind);

    /// The checker: off until the player switches it on.
    bool checking = false;
    /// The rules the record reckons by; its play switches are the checker's.
    RuleSet rules = RuleSet::Standard();

    [[nodiscard]] bool started() const { return started_; }
    [[nodiscard]] const std::vector<Trick>& tricks() const { return tricks_; }
    [[nodiscard]] const std::vector<Play>& current() const { return current_; }
    [[nodiscard]] const BidVerdict& verdict() const { return verdict_; }
    /// The cards not yet played, by suit (1..4), as their ranks 1..6.
    [[nodiscard]] std::array<std::vector<int>, 4> StillOut() const;
    /// The whole record as text, as the window shows it and "Copy" takes it.
    [[nodiscard]] std::string Text() const;

    /// For a review of the hand: the hands as dealt, the trump, and each
    /// card played in order with its seat.
    [[nodiscard]] std::array<HandCounts, 4> HandsAsDealt() const;
    [[nodiscard]] Suit Trump() const { return trump_; }
    [[nodiscard]] std::vector<Play> Plays() const;

private:
    void CompleteTrick();
    [[nodiscard]] HandCounts HandAsDealt(Seat seat) const;

    bool started_ = false;
    std::string dealCode_;
    std::array<CardRec, 49> dealt_{};
    Suit trump_ = Suit::None;
    std::optional<Seat> declarer_;
    int bid_ = 0;
    Source source_ = Source::Table;
    std::set<int> played_;
    std::vector<Trick> tricks_;
    std::vector<Play> current_;
    BidVerdict verdict_;
};

}  // namespace vantrel
