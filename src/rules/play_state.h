#pragma once

#include <array>
#include <span>
#include <string>

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// A hand being played: the four hands, the trick on the table, whose turn
/// it is and what each side has taken. The declarer leads the first trick,
/// and the winner of each trick leads the next. Make and Unmake change it in
/// place, cheaply, for a search; Play checks the card first.
class PlayState {
public:
    PlayState(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int leader);
    /// A hand taken up between tricks: the hands as they stand, the seat to
    /// lead, and what each side has taken in the tricks already played.
    PlayState(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int leader,
              const std::array<int, 2>& points, const std::array<int, 2>& tricks);

    [[nodiscard]] int ToPlay() const { return (leader_ + trickSize_) & 3; }
    [[nodiscard]] int Leader() const { return leader_; }
    [[nodiscard]] int Trump() const { return trump_; }
    [[nodiscard]] KindMask Legal() const;
    [[nodiscard]] bool Over() const { return played_ == 48; }
    [[nodiscard]] int Played() const { return played_; }
    [[nodiscard]] int TricksPlayed() const { return played_ / 4; }
    [[nodiscard]] std::span<const int> Trick() const { return {trick_.data(), static_cast<std::size_t>(trickSize_)}; }
    [[nodiscard]] const std::array<HandCounts, 4>& Hands() const { return hands_; }
    /// Card points taken by each side (0 South-North, 1 East-West), the last trick included.
    [[nodiscard]] const std::array<int, 2>& Points() const { return points_; }
    [[nodiscard]] const std::array<int, 2>& Tricks() const { return tricks_; }
    [[nodiscard]] const RuleSet& Rules() const { return rules_; }

    /// Plays a card for the seat to play; empty when taken, else why not.
    std::string Play(int kind);
    /// Plays a card the caller knows to be legal.
    void Make(int kind);
    /// Takes back the last card made (none from before the state was taken up).
    void Unmake();

    friend bool operator==(const PlayState&, const PlayState&) = default;

private:
    struct Step {
        int kind = 0;
        int leader = 0;              // before the card
        std::array<int, 4> trick{};  // the trick the card completed, if it did
        int side = -1;               // who took it: -1 while the trick goes on
        int points = 0;
        friend bool operator==(const Step&, const Step&) = default;
    };

    RuleSet rules_;
    std::array<HandCounts, 4> hands_;
    int trump_;
    int leader_;
    std::array<int, 4> trick_{};
    int trickSize_ = 0;
    std::array<int, 2> points_{};
    std::array<int, 2> tricks_{};
    int played_ = 0;
    int first_ = 0;  // cards played before this state was taken up
    std::array<Step, 48> steps_{};
    std::array<int, kCardKinds> pointsOf_{};
};

}  // namespace vantrel
