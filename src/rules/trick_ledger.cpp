#include "rules/trick_ledger.h"

#include <algorithm>

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
      seats_(rules.form.seats == 3 ? 3 : 4),
      trump_(trump),
      leader_(((leader % seats_) + seats_) % seats_),
      cards_(std::clamp(seats_ * rules.form.handCards, seats_, 80) / seats_ * seats_),
      pointsOf_(CardPointsTable(rules)) {
    // Three seats: the first leader, the bidder, alone against the others.
    if (seats_ == 3)
        for (int seat = 0; seat < 4; ++seat) sides_[static_cast<std::size_t>(seat)] = seat == leader_ ? 0 : 1;
}

TrickLedger::TrickLedger(const RuleSet& rules, int trump, int leader, const std::array<int, 2>& points,
                         const std::array<int, 2>& tricks, int alone)
    : TrickLedger(rules, trump, alone >= 0 && rules.form.seats == 3 ? alone : leader) {
    leader_ = ((leader % seats_) + seats_) % seats_;
    points_ = points;
    tricks_ = tricks;
    played_ = first_ = seats_ * (tricks[0] + tricks[1]);
}

void TrickLedger::Book(Step& step) {
    const BookedTrick booked = BookTrick(rules_, pointsOf_, Trick(), trump_, played_ == cards_);
    const int place = leader_ + booked.winner;
    const int winner = place >= seats_ ? place - seats_ : place;
    const auto side = static_cast<std::size_t>(sides_[static_cast<std::size_t>(winner)]);
    // The tricks finished so far number the trick: no division on the search's path.
    const int finished = tricks_[0] + tricks_[1];
    booked_[static_cast<std::size_t>(finished)] = trick_;
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
        const int finished = tricks_[0] + tricks_[1];
        trick_ = booked_[static_cast<std::size_t>(finished)];
        trickSize_ = seats_;
    }
    leader_ = step.leader;
    --trickSize_;
    return step.kind;
}

std::span<const int> TrickLedger::LastTrick() const {
    const int finished = played_ - trickSize_;  // cards in finished tricks
    if (finished - first_ < seats_) return {};
    const int last = tricks_[0] + tricks_[1] - 1;
    return {booked_[static_cast<std::size_t>(last)].data(), static_cast<std::size_t>(seats_)};
}

int TrickLedger::LastTrickLeader() const {
    const int finished = played_ - trickSize_;
    if (finished - first_ < seats_) return leader_;
    return steps_[static_cast<std::size_t>(finished - seats_)].leader;
}

}  // namespace vantrel
