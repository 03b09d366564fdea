#include "search/form_solver.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "base/random.h"
#include "rules/auction.h"

namespace vantrel {

FormSolver::FormSolver(int tableBits)
    : table_(std::size_t{1} << std::clamp(tableBits, 8, 26)),
      mask_((std::uint64_t{1} << std::clamp(tableBits, 8, 26)) - 1) {
    Random random(0x5EED'F0E3, 7);
    for (auto& seat : zobrist_)
        for (auto& word : seat) word = random.Next64();
}

std::uint64_t FormSolver::Key() const {
    std::uint64_t key = game_ ^ (std::uint64_t{static_cast<unsigned>(state_->Leader())} << 60);
    for (std::size_t seat = 0; seat < 4; ++seat) {
        const KindCounts& hand = state_->Hands()[seat];
        for (std::size_t kind = 0; kind < hand.size(); ++kind)
            if (hand[kind] != 0) key ^= zobrist_[seat][5 * kind + std::min<std::size_t>(hand[kind], 4)];
    }
    return key | 1;  // 0 marks an empty entry
}

int FormSolver::Search(int alpha, int beta) {
    FormPlayState& state = *state_;
    const std::array<int, 2>& points = state.Points();
    const int taken = points[static_cast<std::size_t>(side_)] - base_;
    if (state.Over()) return taken;
    // The root side ends with what it has taken, and at most all that is still out besides.
    const int out = total_ - points[0] - points[1];
    if (taken >= beta) return taken;
    if (taken + out <= alpha) return taken + out;
    if (++nodes_ >= limit_ ||
        (cancel_ != nullptr && (nodes_ & 1023) == 0 && cancel_->load(std::memory_order_relaxed))) {
        stopped_ = true;
        return taken;
    }
    Entry* entry = nullptr;
    std::uint64_t key = 0;
    int tableMove = -1;
    if (state.Trick().empty()) {
        key = Key();
        entry = &table_[static_cast<std::size_t>(key >> 1) & mask_];
        if (entry->key == key) {
            const int lower = taken + entry->lower;
            const int upper = taken + entry->upper;
            if (lower >= beta) return lower;
            if (upper <= alpha) return upper;
            alpha = std::max(alpha, lower);
            beta = std::min(beta, upper);
            tableMove = entry->move == 0xFF ? -1 : entry->move;
        }
    }
    // The lead that cut off here before, then the cards of most points, the
    // highest first: a side keeping the trick plays them, a side losing it
    // keeps them, and either way the bound moves soonest.
    std::array<int, kCardKinds> order{};
    int moves = 0;
    const KindMask legal = state.Legal();
    for (KindMask m = legal; m != 0; m &= m - 1) order[static_cast<std::size_t>(moves++)] = std::countr_zero(m);
    const auto rank = [&](int card) {
        return (card == tableMove ? 1000 : 0) + 10 * points_[static_cast<std::size_t>(card)] - RankOfKind(card);
    };
    std::sort(order.begin(), order.begin() + moves, [&](int a, int b) { return rank(a) > rank(b); });

    // The sides are the ledger's: partners, or the bidder against the two others.
    const bool ours = state.Ledger().SideOfSeat(state.ToPlay()) == side_;
    const int alphaIn = alpha;
    const int betaIn = beta;
    int best = ours ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    int bestMove = -1;
    for (int i = 0; i < moves; ++i) {
        const int card = order[static_cast<std::size_t>(i)];
        state.Make(card);
        const int value = Search(alpha, beta);
        state.Unmake();
        if (stopped_) return taken;
        if (ours ? value > best : value < best) best = value, bestMove = card;
        if (ours)
            alpha = std::max(alpha, best);
        else
            beta = std::min(beta, best);
        if (alpha >= beta) break;
    }
    if (entry != nullptr) {
        // What the root side takes from this trick's start on, whatever it took before.
        const int value = best - taken;
        Entry fresh{key, 0, static_cast<std::int16_t>(out), 0xFF};
        if (entry->key == key) fresh = *entry;
        if (best > alphaIn) fresh.lower = static_cast<std::int16_t>(std::max<int>(fresh.lower, value));
        if (best < betaIn) fresh.upper = static_cast<std::int16_t>(std::min<int>(fresh.upper, value));
        if (best >= betaIn && ours) fresh.move = static_cast<std::uint8_t>(bestMove);
        *entry = fresh;
    }
    return best;
}

FormSolver::Bounds FormSolver::SolveWithin(const FormPlayState& state, int side, std::uint64_t nodes,
                                           const std::atomic<bool>* cancel, int guess) {
    state_ = state;
    side_ = side & 1;
    cancel_ = cancel;
    stopped_ = false;
    limit_ = nodes_ + std::max<std::uint64_t>(nodes, 1);
    points_ = CardPointsTable(state.Rules());
    const std::array<int, 2>& taken = state.Points();
    base_ = taken[static_cast<std::size_t>(side_)];
    // Everything still out: the cards in the hands and on the table, and the last trick.
    int out = state.Over() ? 0 : state.Rules().lastTrick;
    for (const KindCounts& hand : state.Hands())
        for (std::size_t kind = 0; kind < hand.size(); ++kind) out += hand[kind] * points_[kind];
    for (const int card : state.Trick()) out += points_[static_cast<std::size_t>(card)];
    total_ = taken[0] + taken[1] + out;
    // The keys of one solve hold its trump and side; the table outlives it
    // between solves of the same hand, whose positions it shares.
    game_ = zobrist_[0][0] * static_cast<std::uint64_t>(state.Trump() + 2) ^
            zobrist_[1][0] * static_cast<std::uint64_t>(side_ + 1);
    Bounds bounds{0, out};
    int value = std::clamp(guess < 0 ? out / 2 : guess, 0, out);
    while (bounds.lower < bounds.upper) {
        const int beta = value == bounds.lower ? value + 1 : value;
        value = Search(beta - 1, beta);
        if (stopped_) break;
        if (value < beta)
            bounds.upper = value;
        else
            bounds.lower = value;
    }
    if (stopped_ && cancel != nullptr && cancel->load(std::memory_order_relaxed)) return {-1, -1};
    return bounds;
}

}  // namespace vantrel
