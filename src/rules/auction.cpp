#include "rules/auction.h"

#include "rules/seats.h"

namespace vantrel {

std::string SeatName(int seat) {
    return seat >= 0 && seat < 4 ? std::string(kSeats[static_cast<std::size_t>(seat)].name) : std::string("?");
}

std::string SeatName(int seat, int seats) {
    if (seats != 3) return SeatName(seat);
    return seat == 2 ? std::string("East") : seat >= 0 && seat < 2 ? SeatName(seat) : std::string("?");
}

Auction::Auction(const RuleSet& rules, int dealer)
    : seats_(rules.form.seats == 3 ? 3 : 4),
      dealer_(((dealer % seats_) + seats_) % seats_),
      step_(rules.bidStep),
      standing_(rules.standingBid),
      highBid_(rules.dealerStuck ? rules.standingBid : rules.standingBid - rules.bidStep),
      highBidder_(rules.dealerStuck ? dealer_ : -1),
      toAct_((dealer_ + 1) % seats_) {}

std::string Auction::Refusal(int seat) const {
    if (Finished()) return "The auction is over.";
    if (seat != toAct_)
        return "It is " + SeatName(toAct_, seats_) + "'s turn to bid, not " + SeatName(seat, seats_) + "'s.";
    return {};
}

void Auction::Advance() {
    if (Finished()) return;
    do toAct_ = (toAct_ + 1) % seats_;
    while (passed_[static_cast<std::size_t>(toAct_)]);
}

std::string Auction::Bid(int seat, int amount) {
    if (std::string refused = Refusal(seat); !refused.empty()) return refused;
    if (amount < MinimumBid()) return "A bid must be at least " + std::to_string(MinimumBid()) + ".";
    highBid_ = amount;
    highBidder_ = seat;
    calls_.push_back({seat, amount});
    Advance();
    return {};
}

std::string Auction::Pass(int seat) {
    if (std::string refused = Refusal(seat); !refused.empty()) return refused;
    // Refusal keeps the seat within the table.
    passed_[static_cast<std::size_t>(seat)] = true;
    ++passes_;
    calls_.push_back({seat, 0});
    Advance();
    return {};
}

}  // namespace vantrel
