#pragma once

#include <array>
#include <span>
#include <string>

#include "rules/cards.h"
#include "rules/rule_set.h"
#include "rules/trick_ledger.h"

namespace vantrel {

/// A hand being played: the four hands, the trick on the table, whose turn
/// it is and what each side has taken. The declarer leads the first trick,
/// and the winner of each trick leads the next. Make and Unmake change it in
/// place, cheaply, for a search; Play checks the card first. A hand of the
/// 48-card deck is kept as hand counts (PlayState), one of any form's deck
/// as a count a kind (FormPlayState); the rules and the ledger are the same.
template <class Hand>
class BasicPlayState {
public:
    BasicPlayState(const RuleSet& rules, const std::array<Hand, 4>& hands, int trump, int leader);
    /// A hand taken up between tricks: the hands as they stand, the seat to
    /// lead, and what each side has taken in the tricks already played; at
    /// a table of three, `alone` is the declarer's seat (the leader where
    /// none is given).
    BasicPlayState(const RuleSet& rules, const std::array<Hand, 4>& hands, int trump, int leader,
                   const std::array<int, 2>& points, const std::array<int, 2>& tricks, int alone = -1);

    [[nodiscard]] int ToPlay() const { return ledger_.ToPlay(); }
    [[nodiscard]] int Leader() const { return ledger_.Leader(); }
    [[nodiscard]] int Trump() const { return ledger_.Trump(); }
    [[nodiscard]] KindMask Legal() const;
    [[nodiscard]] bool Over() const { return ledger_.Over(); }
    [[nodiscard]] int Played() const { return ledger_.Played(); }
    [[nodiscard]] int TricksPlayed() const { return ledger_.Tricks()[0] + ledger_.Tricks()[1]; }
    [[nodiscard]] std::span<const int> Trick() const { return ledger_.Trick(); }
    [[nodiscard]] const std::array<Hand, 4>& Hands() const { return hands_; }
    /// Card points taken by each side (0 South-North, 1 East-West), the last trick included.
    [[nodiscard]] const std::array<int, 2>& Points() const { return ledger_.Points(); }
    [[nodiscard]] const std::array<int, 2>& Tricks() const { return ledger_.Tricks(); }
    /// The tricks as they stand, the one last finished included.
    [[nodiscard]] const TrickLedger& Ledger() const { return ledger_; }
    [[nodiscard]] const RuleSet& Rules() const { return rules_; }

    /// Plays a card for the seat to play; empty when taken, else why not.
    std::string Play(int kind);
    /// Plays a card the caller knows to be legal.
    void Make(int kind) {
        TakeCards(hands_[static_cast<std::size_t>(ledger_.ToPlay())], kind);
        ledger_.Add(kind);
    }
    /// Takes back the last card made (none from before the state was taken up).
    void Unmake() {
        const int kind = ledger_.TakeBack();
        if (kind >= 0) AddCards(hands_[static_cast<std::size_t>(ledger_.ToPlay())], kind);
    }

    friend bool operator==(const BasicPlayState&, const BasicPlayState&) = default;

private:
    RuleSet rules_;
    std::array<Hand, 4> hands_;
    TrickLedger ledger_;
};

using PlayState = BasicPlayState<HandCounts>;
using FormPlayState = BasicPlayState<KindCounts>;
extern template class BasicPlayState<HandCounts>;
extern template class BasicPlayState<KindCounts>;

}  // namespace vantrel
