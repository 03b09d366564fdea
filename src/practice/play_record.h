#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

#include "app/card_rec.h"
#include "practice/play_check.h"

namespace vantrel {

class Form1;

/// The verdict on the bid after the twelfth trick: the declaring
/// partnership's meld (both hands, the named trump) plus the card points it
/// took, against the declarer's bid value.
struct BidVerdict {
    bool judged = false;  // false when no trump or declarer was named
    std::string side;     // "S-N" or "E-W"
    int declarerMeld = 0;
    int partnerMeld = 0;
    int points = 0;
    int tricks = 0;
    int bidValue = 0;
    bool meldCounts = false;  // only with a trick taken
    int total = 0;
    std::string result;  // "Made by 30", "Made exactly", "Set by 20"
};

/// Judges a played hand: `declarerHand` and `partnerHand` as dealt, trump
/// suit 1..4, and what the partnership took.
BidVerdict JudgeBid(const CardRec* declarerHand, const CardRec* partnerHand, int trumpSuit, int points, int tricks,
                    const std::string& side);

/// What happens at the table while a hand is played: the trick being played,
/// every finished trick, the cards still out, the checker's marks and, after
/// the twelfth trick, the verdict on the bid. It watches the form and never
/// changes it: with the checker off it only records.
class PlayRecord {
public:
    struct Play {
        int index = 0;
        std::string seat;  // seat letter
        CheckedCard card;
        std::vector<std::string> faults;
    };
    struct Trick {
        std::vector<Play> plays;
        std::string winner;
        int points = 0;
    };

    /// Play has just begun on the form: a fresh record of its deal.
    void Start(const Form1& form, std::string dealCode);
    /// A card was clicked during play; called before the form's own handler.
    void CardClicked(int index);

    /// The checker: off until the player switches it on.
    bool checking = false;
    PlayRules rules;

    [[nodiscard]] bool started() const { return started_; }
    [[nodiscard]] const std::vector<Trick>& tricks() const { return tricks_; }
    [[nodiscard]] const std::vector<Play>& current() const { return current_; }
    [[nodiscard]] const BidVerdict& verdict() const { return verdict_; }
    /// The cards not yet played, by suit (1..4), as their ranks 1..6.
    [[nodiscard]] std::array<std::vector<int>, 4> StillOut() const;
    /// The whole record as text, as the window shows it and "Copy" takes it.
    [[nodiscard]] std::string Text() const;

private:
    void CompleteTrick();

    bool started_ = false;
    std::string dealCode_;
    std::array<CardRec, 49> dealt_{};   // the deck as dealt, element 0 unused
    std::array<int, 49> trickValue_{};  // each position's trick value in play
    int trumpSuit_ = 0;
    std::string declarer_;
    std::set<int> played_;
    std::vector<Trick> tricks_;
    std::vector<Play> current_;
    BidVerdict verdict_;
};

}  // namespace vantrel
