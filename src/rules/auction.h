#pragma once

#include <array>
#include <string>
#include <vector>

#include "rules/rule_set.h"

namespace vantrel {

/// Seats in table order, as the deck deals them: South 0, West 1, North 2,
/// East 3. A seat's left is the next one; partners sit two apart.
constexpr int LeftOf(int seat) { return (seat + 1) % 4; }
constexpr int PartnerSeat(int seat) { return (seat + 2) % 4; }
/// The side of a seat: 0 for South-North, 1 for East-West.
constexpr int SideOf(int seat) { return seat % 2; }

/// The auction of a hand, round the form's seats (four, or three in the
/// three-handed game). The dealer holds the standing bid; bidding starts
/// at the dealer's left and goes round to the left. Each bid is at least the
/// high bid plus the step; a pass is final; partners may bid over each other
/// and the dealer over the standing bid. When three have passed the fourth
/// has won (the last of the seats in): the dealer at the standing bid when nobody bid. Where the dealer
/// is not stuck (`dealerStuck` off) nobody holds a bid: the first bid may be
/// the standing bid itself, and when all four pass the auction ends with no
/// bidder and the hand is dealt again.
class Auction {
public:
    struct Call {
        int seat = 0;
        int bid = 0;  // 0: a pass
        friend bool operator==(const Call&, const Call&) = default;
    };

    Auction(const RuleSet& rules, int dealer);

    /// A bid or a pass from a seat; empty when taken, else why it was refused
    /// (the auction is then unchanged).
    std::string Bid(int seat, int amount);
    std::string Pass(int seat);

    [[nodiscard]] bool Finished() const { return passes_ == seats_ || (passes_ == seats_ - 1 && highBidder_ >= 0); }
    /// Every seat passed and nobody holds a bid: the deal is thrown in.
    [[nodiscard]] bool PassedOut() const { return passes_ == seats_; }
    [[nodiscard]] int Seats() const { return seats_; }
    /// The seat to call next, or -1 once the auction is over.
    [[nodiscard]] int ToAct() const { return Finished() ? -1 : toAct_; }
    [[nodiscard]] int HighBid() const { return highBid_; }
    /// The seat holding the high bid; -1 while nobody does.
    [[nodiscard]] int HighBidder() const { return highBidder_; }
    [[nodiscard]] int MinimumBid() const { return highBid_ + step_; }
    [[nodiscard]] int Dealer() const { return dealer_; }
    [[nodiscard]] int StandingBid() const { return standing_; }
    [[nodiscard]] bool HasPassed(int seat) const { return passed_[static_cast<std::size_t>(seat & 3)]; }
    [[nodiscard]] const std::vector<Call>& Calls() const { return calls_; }
    friend bool operator==(const Auction&, const Auction&) = default;

private:
    std::string Refusal(int seat) const;
    void Advance();

    int seats_;
    int dealer_;
    int step_;
    int standing_;
    int highBid_;
    int highBidder_;
    int toAct_;
    int passes_ = 0;
    std::array<bool, 4> passed_{};
    std::vector<Call> calls_;
};

/// A seat's name, e.g. "West".
std::string SeatName(int seat);
/// A seat's name at a table of `seats`: where three play, South, West on
/// its left, then East.
std::string SeatName(int seat, int seats);

}  // namespace vantrel
