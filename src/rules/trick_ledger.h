#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// A finished trick as the rules book it: the place (from 0, in the order
/// played) of the card that takes it and the card points it carries, the
/// last trick's points included. The one place where a trick is reckoned.
struct BookedTrick {
    int winner = 0;
    int points = 0;
};
BookedTrick BookTrick(const RuleSet& rules, std::span<const int> trick, int trump, bool lastTrick);

/// Each kind's card points under a rule set.
using CardPointTable = std::array<int, kCardKinds>;
CardPointTable CardPointsTable(const RuleSet& rules);
/// BookTrick with the card points read from a table made beforehand: the
/// search books millions of tricks.
BookedTrick BookTrick(const RuleSet& rules, const CardPointTable& points, std::span<const int> trick, int trump,
                      bool lastTrick);

/// The tricks of a hand as its cards are played, whoever's cards they are:
/// the seat to lead and to play, the trick on the table, the trick last
/// finished, and each side's tricks and card points. The hand in play, a
/// seat's view of it and the game keep their tricks here. Cards can be taken
/// back one at a time, cheaply, for a search. A trick holds a card of each
/// of the form's seats: four in partnership, where the sides are
/// South-North and East-West; three in the three-handed game, where the
/// seat that leads first (the bidder) plays alone as side 0 against the two
/// others as side 1.
class TrickLedger {
public:
    TrickLedger(const RuleSet& rules, int trump, int leader);
    /// A hand taken up between tricks: the seat to lead and what each side
    /// has taken in the tricks already played; in the three-handed game,
    /// `alone` is the seat playing alone (the leader where none is given).
    TrickLedger(const RuleSet& rules, int trump, int leader, const std::array<int, 2>& points,
                const std::array<int, 2>& tricks, int alone = -1);

    [[nodiscard]] int ToPlay() const {
        const int seat = leader_ + trickSize_;
        return seat >= seats_ ? seat - seats_ : seat;
    }
    [[nodiscard]] int Seats() const { return seats_; }
    /// The side of a seat: 0 South-North (or the seat playing alone), 1 the others.
    [[nodiscard]] int SideOfSeat(int seat) const { return sides_[static_cast<std::size_t>(seat & 3)]; }
    [[nodiscard]] int Leader() const { return leader_; }
    [[nodiscard]] int Trump() const { return trump_; }
    [[nodiscard]] int Played() const { return played_; }
    [[nodiscard]] bool Over() const { return played_ == cards_; }
    [[nodiscard]] std::span<const int> Trick() const { return {trick_.data(), static_cast<std::size_t>(trickSize_)}; }
    /// Card points and tricks taken by each side (0 South-North or the seat
    /// playing alone, 1 East-West or the two against it).
    [[nodiscard]] const std::array<int, 2>& Points() const { return points_; }
    [[nodiscard]] const std::array<int, 2>& Tricks() const { return tricks_; }

    /// The trick last finished, in the order played, and the seat that led
    /// it; empty before the first trick is over (or since the hand was taken up).
    [[nodiscard]] std::span<const int> LastTrick() const;
    [[nodiscard]] int LastTrickLeader() const;

    /// The card of the seat to play; the trick's last card books it.
    void Add(int kind) {
        Step& step = steps_[static_cast<std::size_t>(played_)];
        step.kind = static_cast<std::uint8_t>(kind);
        step.leader = static_cast<std::uint8_t>(leader_);
        step.side = kTrickGoesOn;
        trick_[static_cast<std::size_t>(trickSize_++)] = kind;
        ++played_;
        if (trickSize_ == seats_) Book(step);
    }
    /// Takes back the last card added and returns it; -1 when there is none
    /// from after the hand was taken up.
    int TakeBack();

    friend bool operator==(const TrickLedger&, const TrickLedger&) = default;

private:
    static constexpr std::uint8_t kTrickGoesOn = 2;
    // A card as played, in six bytes: the ledger is copied with every hand
    // a search or a playout takes up, and the 80-card deck's holds 80 of them.
    struct Step {
        std::uint8_t kind = 0;
        std::uint8_t leader = 0;  // before the card
        std::uint8_t side = 2;    // who took the trick the card completed, or kTrickGoesOn
        std::int16_t points = 0;
        friend bool operator==(const Step&, const Step&) = default;
    };
    void Book(Step& step);

    RuleSet rules_;
    int seats_;
    std::array<std::uint8_t, 4> sides_{0, 1, 0, 1};
    int trump_;
    int leader_;
    std::array<int, 4> trick_{};
    int trickSize_ = 0;
    std::array<int, 2> points_{};
    std::array<int, 2> tricks_{};
    int played_ = 0;
    int first_ = 0;   // cards played before the hand was taken up
    int cards_ = 48;  // in the whole hand: the last of them ends it
    std::array<Step, 80> steps_{};
    // Each trick as it was completed; three seats leave the fourth card unused.
    std::array<std::array<int, 4>, 20> booked_{};
    CardPointTable pointsOf_{};
};

}  // namespace vantrel
