#include "rules/trick_ledger.h"

#include <algorithm>

#include "rules/auction.h"
#include "rules/trick_rules.h"

namespace vantrel {

CardPointTable CardPointsTable(const RuleSet& rules) {
    CardPointTable table{};
    for (int kind = 0; kind < kCardKinds; ++kind) table[static_cast<std::size_t>(kind)] = CardPointsOf(rules, kind);
    return table;
}

BookedTrick BookTrick(const RuleSet& rules, const CardPointTable& points, std::span<const int> trick, int trump,
                      bool lastTrick) {
    BookedTrick booked{TrickWinner(trick, trump, rules.tricks), lastTrick ? rules.lastTrick : 0};
    for (const int card : trick) booked.points += points[static_cast<std::size_t>(card)];
    return booked;
}

BookedTrick BookTrick(const RuleSet& rules, std::span<const int> trick, int trump, bool lastTrick) {
    return BookTrick(rules, CardPointsTable(rules), trick, trump, lastTrick);
}

TrickLedger::TrickLedger(const RuleSet& rules, int trump, int leader)
    : rules_(rules),
      trump_(trump),
      leader_(leader & 3),
      cards_(std::clamp(rules.form.seats * rules.form.handCards, 4, 80) / 4 * 4),
      pointsOf_(CardPointsTable(rules)) {}

TrickLedger::TrickLedger(const RuleSet& rules, int trump, int leader, const std::array<int, 2>& points,
                         const std::array<int, 2>& tricks)
    : TrickLedger(rules, trump, leader) {
    points_ = points;
    tricks_ = tricks;
    played_ = first_ = 4 * (tricks[0] + tricks[1]);
}

void TrickLedger::Book(Step& step) {
    const BookedTrick booked = BookTrick(rules_, pointsOf_, trick_, trump_, played_ == cards_);
    const int winner = (leader_ + booked.winner) & 3;
    const auto side = static_cast<std::size_t>(SideOf(winner));
    booked_[static_cast<std::size_t>((played_ - 1) / 4)] = trick_;
    step.side = static_cast<std::uint8_t>(side);
    step.points = static_cast<std::int16_t>(booked.points);
    points_[side] += booked.points;
    ++tricks_[side];
    leader_ = winner;
    trickSize_ = 0;
}

int TrickLedger::TakeBack() {
    if (played_ == first_) return -1;
    const Step& step = steps_[static_cast<std::size_t>(--played_)];
    if (step.side != kTrickGoesOn) {
        points_[static_cast<std::size_t>(step.side)] -= step.points;
        --tricks_[static_cast<std::size_t>(step.side)];
        trick_ = booked_[static_cast<std::size_t>(played_ / 4)];
        trickSize_ = 4;
    }
    leader_ = step.leader;
    --trickSize_;
    return step.kind;
}

std::span<const int> TrickLedger::LastTrick() const {
    const int finished = played_ - trickSize_;  // cards in finished tricks
    if (finished - first_ < 4) return {};
    return booked_[static_cast<std::size_t>((finished - 1) / 4)];
}

int TrickLedger::LastTrickLeader() const {
    const int finished = played_ - trickSize_;
    if (finished - first_ < 4) return leader_;
    return steps_[static_cast<std::size_t>(finished - 4)].leader;
}

}  // namespace vantrel
