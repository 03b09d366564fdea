#include "search/hand_solver.h"

#include <utility>

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "rules/auction.h"
#include "rules/seats.h"
#include "rules/trick_rules.h"
#include "search/rule_card.h"

namespace vantrel {

namespace {

constexpr int kInfinity = 1 << 20;

// Asks for the memory at `address` ahead of its use.
inline void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// Random 64-bit words for each copy of each kind in each seat's hand, and
// for the seat to lead. A position's key is the exclusive or of the words
// of what it holds, kept as the cards fall, with the game's own word (the
// trump and the rules). The words are independent, so two positions share
// a key no more often than a random 64-bit match: once in many thousands
// of years of solving. The table is shared by the solves of different
// deals, whose last tricks often meet the same cards.
constexpr std::uint64_t SplitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}
struct KeyWords {
    std::array<std::array<std::array<std::uint64_t, 2>, kCardKinds>, 4> card{};
    std::array<std::uint64_t, 4> leader{};
    std::array<std::uint64_t, 2> side{};
};
constexpr KeyWords kKeyWords = [] {
    KeyWords words;
    std::uint64_t state = 0x5EED'0F'7A'B1E5ull;
    for (auto& seat : words.card)
        for (auto& kind : seat)
            for (std::uint64_t& copy : kind) copy = SplitMix(state);
    for (std::uint64_t& seat : words.leader) seat = SplitMix(state);
    for (std::uint64_t& side : words.side) side = SplitMix(state);
    return words;
}();
// The word that a card of `kind` adds to or takes from `seat`'s hand when
// the hand holds `copies` of it beside that card.
constexpr std::uint64_t CardWord(int seat, int kind, int copies) {
    return kKeyWords
        .card[static_cast<std::size_t>(seat)][static_cast<std::size_t>(kind)][static_cast<std::size_t>(copies & 1)];
}

}  // namespace

HandSolver::HandSolver(int tableBits)
    : table_(std::size_t{1} << (std::clamp(tableBits, 4, 26) - 2)),
      mask_(table_.size() - 1),
      lastTwo_(std::size_t{1} << (std::clamp(tableBits, 4, 26) - 3)),
      lastTwoMask_(lastTwo_.size() - 1) {}

void HandSolver::Clear() {
    std::fill(table_.begin(), table_.end(), Bucket{});
    std::fill(lastTwo_.begin(), lastTwo_.end(), 0);
    history_ = {};
    killers_ = NoKillers();
}

int HandSolver::Solve(const PlayState& state, int side, const std::atomic<bool>* cancel, int guess) {
    best_ = -1;
    if (state.Over()) return 0;
    Prepare(state, side, cancel);
    if (guess < 0) {
        // The rule players' playout of the position is the first guess.
        PlayState playout = state;
        while (!playout.Over()) playout.Make(RuleCard(playout, playout.Leader()));
        guess = playout.Points()[static_cast<std::size_t>(side_)] - base_;
    }
    const int value = Mtd(guess);
    return stopped_ ? -1 : value;
}

HandSolver::Bounds HandSolver::SolveWithin(const PlayState& state, int side, std::uint64_t nodes,
                                           const std::atomic<bool>* cancel, int guess) {
    const std::uint64_t limit = std::exchange(nodeLimit_, std::min(nodeLimit_, nodes_ + nodes));
    const int value = Solve(state, side, cancel, guess);
    nodeLimit_ = limit;
    if (value >= 0) return {value, value};
    if (state.Over() || (cancel != nullptr && cancel->load(std::memory_order_relaxed))) return {-1, -1};
    return proved_;
}

int HandSolver::TestWithin(const PlayState& state, int side, int gamma, std::uint64_t nodes,
                           const std::atomic<bool>* cancel) {
    const std::uint64_t limit = std::exchange(nodeLimit_, std::min(nodeLimit_, nodes_ + nodes));
    const int value = Test(state, side, gamma, cancel);
    nodeLimit_ = limit;
    return value;
}

int HandSolver::Test(const PlayState& state, int side, int gamma, const std::atomic<bool>* cancel) {
    best_ = -1;
    if (state.Over()) return 0;
    Prepare(state, side, cancel);
    rootPlayed_ = node_.played;
    rootCard_ = -1;
    const int value = Search(gamma - 1, gamma);
    if (stopped_) return -1;
    // The root's card reached the bound where the test went the way of the
    // seat to play.
    if (SideOf(ToPlay()) == side_ ? value >= gamma : value < gamma) best_ = rootCard_;
    return value;
}

void HandSolver::Prepare(const PlayState& state, int side, const std::atomic<bool>* cancel) {
    rules_ = state.Rules();
    trump_ = state.Trump();
    game_ = static_cast<std::uint64_t>(trump_ + 1) | static_cast<std::uint64_t>(rules_.tricks) << 3 |
            static_cast<std::uint64_t>(rules_.cardPoints) << 4 | std::uint64_t{rules_.play.followSuit} << 6 |
            std::uint64_t{rules_.play.headTrick} << 7 | std::uint64_t{rules_.play.trumpWhenVoid} << 8 |
            std::uint64_t{rules_.play.overTrump} << 9 | static_cast<std::uint64_t>(rules_.lastTrick & 0xFFFF) << 10;
    game_ *= std::uint64_t{0xC2B2AE3D27D4EB4F};
    // The game's tables serve every solve of the same trump and rules: a
    // search player solves hundreds of worlds for one card.
    if (tablesFor_ != game_) {
        tablesFor_ = game_;
        points_ = CardPointsTable(rules_);
        for (int bits = 0; bits < 4096; ++bits) {
            int sum = 0;
            for (int rank = 0; rank < 6; ++rank)
                sum += ((bits >> (2 * rank)) & 3) * points_[static_cast<std::size_t>(rank)];
            suitPoints_[static_cast<std::size_t>(bits)] = sum;
        }
        // The cards that take a trick from each card, by the rules' own
        // reckoning of a trick: the first of two equal cards keeps it.
        for (int winning = 0; winning < kCardKinds; ++winning) {
            KindMask beaters = 0;
            for (int card = 0; card < kCardKinds; ++card)
                if (TrickWinner(std::array<int, 2>{winning, card}, trump_, rules_.tricks) == 1)
                    beaters |= KindFlag(card);
            beaters_[static_cast<std::size_t>(winning)] = beaters;
        }
        // Cards can stand for each other only where tricks go by the suit led.
        mergeable_ = rules_.tricks == TrickRules::SuitLed;
    }
    // A position whose hands are not all within those of the last solve's
    // comes from another deal: what the table holds of earlier deals gives
    // way first.
    bool sameDeal = true;
    for (int seat = 0; seat < 4; ++seat) {
        const KindMask held = HeldKinds(state.Hands()[static_cast<std::size_t>(seat)]);
        sameDeal = sameDeal && (held & ~dealHeld_[static_cast<std::size_t>(seat)]) == 0;
        dealHeld_[static_cast<std::size_t>(seat)] = held;
    }
    if (!sameDeal) ++deal_;
    int out = rules_.lastTrick;
    for (const HandCounts hand : state.Hands())
        for (int suit = 0; suit < 4; ++suit)
            out += suitPoints_[static_cast<std::size_t>((hand >> (12 * suit)) & 0xFFF)];
    for (const int card : state.Trick()) out += points_[static_cast<std::size_t>(card)];
    side_ = side & 1;
    base_ = state.Points()[static_cast<std::size_t>(side_)];
    total_ = state.Points()[0] + state.Points()[1] + out;
    cancel_ = cancel;
    stopped_ = false;
    // The node: the hands, and the trick on the table as far as it goes.
    node_ = Node{};
    node_.hands = state.Hands();
    for (int seat = 0; seat < 4; ++seat) {
        node_.held[static_cast<std::size_t>(seat)] = HeldKinds(node_.hands[static_cast<std::size_t>(seat)]);
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < CountOf(node_.hands[static_cast<std::size_t>(seat)], kind); ++copy)
                node_.handKey ^= CardWord(seat, kind, copy);
    }
    node_.points = state.Points();
    node_.leader = static_cast<std::uint8_t>(state.Leader());
    node_.played = static_cast<std::uint8_t>(state.Played() - static_cast<int>(state.Trick().size()));
    for (const int card : state.Trick()) {
        node_.handKey ^= CardWord(ToPlay(), card, CountOf(node_.hands[static_cast<std::size_t>(ToPlay())], card));
        node_.hands[static_cast<std::size_t>(ToPlay())] += KindBit(card);
        node_.held[static_cast<std::size_t>(ToPlay())] |= KindFlag(card);
        Make(card);
    }
}

PerKind<int> HandSolver::CardValues(const PlayState& state, const std::atomic<bool>* cancel) {
    PerKind<int> values;
    values.fill(-1);
    PlayState after = state;
    const int side = SideOf(state.ToPlay());
    for (KindMask moves = state.Legal(); moves != 0; moves &= moves - 1) {
        const int card = std::countr_zero(moves);
        after.Make(card);
        const int taken =
            after.Points()[static_cast<std::size_t>(side)] - state.Points()[static_cast<std::size_t>(side)];
        const int rest = Solve(after, side, cancel);
        after.Unmake();
        if (rest < 0) {
            values.fill(-1);
            return values;
        }
        values[static_cast<std::size_t>(card)] = taken + rest;
    }
    return values;
}

int HandSolver::Mtd(int guess) {
    // Zero-window tests close in on the value from the guess. A test that
    // goes against the side to play at the root costs about three times one
    // that goes its way, since every card of that side must be refuted: the
    // steps double only while the tests go that side's way, and from the
    // first test against it the bracket is halved (a test's fail-soft answer
    // often closes more).
    int lower = 0;
    int upper = total_ - node_.points[0] - node_.points[1];
    int gamma = std::clamp(guess, lower + 1, std::max(lower + 1, upper));
    // The root's card that proved each bound: the one behind the final
    // bound of the side to play keeps the value.
    rootPlayed_ = node_.played;
    const bool maximising = SideOf(ToPlay()) == side_;
    int step = 2;
    bool bracketed = false;
    int lowerCard = -1;
    int upperCard = -1;
    while (lower < upper && !stopped_) {
        rootCard_ = -1;
        const int value = Search(gamma - 1, gamma);
        // A test cut short proves nothing: the bounds stay as the tests before it left them.
        if (stopped_) break;
        const bool up = value >= gamma;
        if (up)
            lower = value, lowerCard = rootCard_;
        else
            upper = value, upperCard = rootCard_;
        bracketed = bracketed || up != maximising;
        if (bracketed) {
            gamma = (lower + upper + 1) / 2;
        } else {
            gamma = maximising ? std::min(upper, lower + step) : std::max(lower + 1, upper - step + 1);
            step *= 2;
        }
    }
    best_ = stopped_ ? -1 : maximising ? lowerCard : upperCard;
    proved_ = {lower, upper};
    return lower;
}

[[gnu::always_inline]] inline void HandSolver::Make(int card) {
    Node& n = node_;
    const auto seat = static_cast<std::size_t>(ToPlay());
    n.hands[seat] -= KindBit(card);
    const int left = CountOf(n.hands[seat], card);
    n.handKey ^= CardWord(static_cast<int>(seat), card, left);
    if (left == 0) n.held[seat] &= ~KindFlag(card);
    n.trickPoints = static_cast<std::int16_t>(n.trickPoints + points_[static_cast<std::size_t>(card)]);
    // The trick's state as the rules read it, kept as each card falls.
    AddToTrick(n.asks, card, trump_);
    if (n.placed == 0)
        n.winner = 0;
    else if (Beats(card, n.trick[static_cast<std::size_t>(n.winner)]))
        n.winner = n.placed;
    n.trick[static_cast<std::size_t>(n.placed)] = static_cast<std::uint8_t>(card);
    ++n.played;
    if (++n.placed == 4) {
        const int taker = (n.leader + n.winner) & 3;
        n.points[static_cast<std::size_t>(taker & 1)] += n.trickPoints + (n.played == 48 ? rules_.lastTrick : 0);
        n.leader = static_cast<std::uint8_t>(taker);
        n.placed = 0;
        n.trickPoints = 0;
        n.asks = TrickState{};
    }
}

int HandSolver::Search(int alpha, int beta) {
    if ((++nodes_ & 0xFFF) == 0 &&
        (nodes_ >= nodeLimit_ || (cancel_ != nullptr && cancel_->load(std::memory_order_relaxed))))
        stopped_ = true;
    if (stopped_) return alpha;
    const std::array<int, 2>& points = node_.points;
    const int taken = points[static_cast<std::size_t>(side_)] - base_;
    const int out = total_ - points[0] - points[1];
    // What is taken stays taken, and no more than what is still out can be added.
    if (out == 0 || taken >= beta) return taken;
    if (taken + out <= alpha) return taken + out;

    const bool boundary = node_.placed == 0;
    // The last two tricks are worked out without the table: each hand
    // holds two cards, and looking them up would cost more than playing
    // them. (The root searches on, to find its best card.)
    const bool root = node_.played == rootPlayed_;
    if (boundary && node_.played == 40 && !root) return taken + LastTwoValue(Key(), node_.leader, node_.held);
    // South-North's share of what is still out, as the table knows it.
    int knownLower = 0;
    int knownUpper = out;
    int tableMove = -1;
    const std::uint64_t key = boundary ? Key() : 0;  // the table knows trick starts only
    if (boundary) {
        if (const Entry* entry = Find(key); entry != nullptr) {
            knownLower = entry->lower;
            knownUpper = entry->upper;
            // The other side takes what South-North leave.
            const int lower = side_ == 0 ? knownLower : out - knownUpper;
            const int upper = side_ == 0 ? knownUpper : out - knownLower;
            if (taken + lower >= beta) return taken + lower;
            if (taken + upper <= alpha) return taken + upper;
            alpha = std::max(alpha, taken + lower);
            beta = std::min(beta, taken + upper);
            tableMove = entry->move == 0xFF ? -1 : entry->move;
        }
    }
    const int seat = ToPlay();
    const bool maximising = SideOf(seat) == side_;
    const KindMask legal = Legal();
    if (node_.placed == 3 && node_.played == 39 && !root) {
        // The last card of the third trick from the end: each card leads to
        // two last tricks worked out without a search.
        int best = maximising ? -kInfinity : kInfinity;
        int a = alpha;
        int b = beta;
        for (KindMask moves = legal; moves != 0 && a < b; moves &= moves - 1) {
            const int card = std::countr_zero(moves);
            const int taker = TakerAfter(card);
            std::array<KindMask, 4> held = node_.held;
            if (CountOf(node_.hands[static_cast<std::size_t>(seat)], card) == 1)
                held[static_cast<std::size_t>(seat)] &= ~KindFlag(card);
            const int takenAfter =
                taken + (SideOf(taker) == side_ ? node_.trickPoints + points_[static_cast<std::size_t>(card)] : 0);
            const int value = takenAfter + LastTwoValue(KeyAfter(card, taker), taker, held);
            if (maximising)
                best = std::max(best, value), a = std::max(a, value);
            else
                best = std::min(best, value), b = std::min(b, value);
        }
        ++nodes_;
        return best;
    }
    // A card the rules force in the middle of a trick is played at once:
    // nothing to order, and after a trick's last card the trick start
    // looks itself up in the table.
    if ((legal & (legal - 1)) == 0 && node_.placed != 0 && !root) {
        Make(std::countr_zero(legal));
        return Search(alpha, beta);
    }
    if (node_.placed == 3 && node_.played < 39) {
        // The last card of a trick leads to trick starts the table may
        // know: one whose bound already settles this node ends it at once.
        // Each is worked out without making the card, before the cards are
        // ordered, and for every card the rules allow (a card a run stands
        // for has a value of its own). The table is asked for all of them
        // at once, so that their waits on memory overlap.
        std::array<std::uint64_t, kCardKinds> keyAfter;   // NOLINT(cppcoreguidelines-pro-type-member-init): by card
        std::array<std::uint8_t, kCardKinds> takerAfter;  // NOLINT(cppcoreguidelines-pro-type-member-init): by card
        for (KindMask moves = legal; moves != 0; moves &= moves - 1) {
            const int card = std::countr_zero(moves);
            const int taker = TakerAfter(card);
            takerAfter[static_cast<std::size_t>(card)] = static_cast<std::uint8_t>(taker);
            keyAfter[static_cast<std::size_t>(card)] = KeyAfter(card, taker);
            Prefetch(&table_[Slot(keyAfter[static_cast<std::size_t>(card)])]);
        }
        for (KindMask moves = legal; moves != 0; moves &= moves - 1) {
            const int card = std::countr_zero(moves);
            const Entry* entry = Find(keyAfter[static_cast<std::size_t>(card)]);
            if (entry == nullptr) continue;
            std::array<int, 2> after = node_.points;
            after[static_cast<std::size_t>(takerAfter[static_cast<std::size_t>(card)] & 1)] +=
                node_.trickPoints + points_[static_cast<std::size_t>(card)];
            const int takenAfter = after[static_cast<std::size_t>(side_)] - base_;
            const int outAfter = total_ - after[0] - after[1];
            const int lower = takenAfter + (side_ == 0 ? entry->lower : outAfter - entry->upper);
            const int upper = takenAfter + (side_ == 0 ? entry->upper : outAfter - entry->lower);
            if (maximising && lower >= beta) return lower;
            if (!maximising && upper <= alpha) return upper;
        }
    }
    std::array<int, 24> order;  // NOLINT(cppcoreguidelines-pro-type-member-init): filled by the ordering
    // Without the table's card, a lead weighs the rule player's choice.
    int ruleMove = -1;
    if (tableMove < 0 && boundary && (legal & (legal - 1)) != 0) {
        HandCounts others = 0;
        for (int s = 0; s < 4; ++s)
            if (s != seat) others += node_.hands[static_cast<std::size_t>(s)];
        ruleMove = RuleCard(
            RuleInput{node_.hands[static_cast<std::size_t>(seat)], others, {}, seat, trump_, seat, legal, &rules_});
    }
    // A card the rules force needs no ordering.
    KindMask linked = 0;
    const int count = (legal & (legal - 1)) == 0 ? (order[0] = std::countr_zero(legal), 1)
                                                 : OrderMoves(Distinct(legal, linked), tableMove, ruleMove, order);
    const Node before = node_;
    int best = maximising ? -kInfinity : kInfinity;
    int bestMove = -1;
    int a = alpha;
    int b = beta;
    // What the linked cards searched so far returned: bounds on their
    // values (above for the maximising side, below for the other).
    std::array<int, kCardKinds> linkedValue;  // NOLINT(cppcoreguidelines-pro-type-member-init): by card
    KindMask searched = 0;
    for (int i = 0; i < count; ++i) {
        const int card = order[static_cast<std::size_t>(i)];
        const KindMask flag = KindFlag(card);
        if ((linked & flag) != 0) {
            // A card of a run already searched is worth at most that card's
            // bound and their difference in points: no need to search it
            // when that cannot reach the window.
            int bound = maximising ? kInfinity : -kInfinity;
            for (KindMask kin = linked & searched & SuitMask(SuitOfKind(card)); kin != 0; kin &= kin - 1) {
                const int other = std::countr_zero(kin);
                const int apart =
                    std::abs(points_[static_cast<std::size_t>(card)] - points_[static_cast<std::size_t>(other)]);
                const int value = linkedValue[static_cast<std::size_t>(other)];
                bound = maximising ? std::min(bound, value + apart) : std::max(bound, value - apart);
            }
            if (maximising ? bound <= a : bound >= b) {
                best = maximising ? std::max(best, bound) : std::min(best, bound);
                continue;
            }
        }
        Make(card);
        const int value = Search(a, b);
        node_ = before;
        if ((linked & flag) != 0) linkedValue[static_cast<std::size_t>(card)] = value, searched |= flag;
        if (maximising ? value > best : value < best) best = value, bestMove = card;
        if (maximising)
            a = std::max(a, value);
        else
            b = std::min(b, value);
        if (a >= b) {
            if (boundary)
                killers_[static_cast<std::size_t>(node_.played / 4)][static_cast<std::size_t>(seat)] =
                    static_cast<std::uint8_t>(card);
            const int tricksLeft = 12 - node_.played / 4;
            int& cutoffs = history_[HistoryRow()][static_cast<std::size_t>(card)];
            cutoffs = std::min(cutoffs + tricksLeft, 65535);  // kept below the static score's bits
            break;
        }
    }
    if (stopped_) return best;

    if (boundary) {
        // What the root side takes from here, as bounds on South-North's share.
        const int own = side_ == 0 ? best - taken : out - (best - taken);
        const bool above = best > alpha;  // not a fail low: at least this
        const bool below = best < beta;   // not a fail high: at most this
        if (side_ == 0 ? above : below) knownLower = std::max(knownLower, own);
        if (side_ == 0 ? below : above) knownUpper = std::min(knownUpper, own);
        // Where every card fell short the best of them says little: the
        // card kept is the one the table had, if any.
        const bool fellShort = maximising ? best <= alpha : best >= beta;
        Store(key, knownLower, knownUpper, fellShort ? tableMove : bestMove);
    }
    if (root) rootCard_ = bestMove;
    return best;
}

int HandSolver::LastTrick(int leader, const std::array<KindMask, 4>& held) const {
    int taker = leader;
    int winning = std::countr_zero(held[static_cast<std::size_t>(leader)]);
    int trickPoints = points_[static_cast<std::size_t>(winning)] + rules_.lastTrick;
    for (int place = 1; place < 4; ++place) {
        const int seat = (leader + place) & 3;
        const int card = std::countr_zero(held[static_cast<std::size_t>(seat)]);
        trickPoints += points_[static_cast<std::size_t>(card)];
        if (Beats(card, winning)) taker = seat, winning = card;
    }
    return SideOf(taker) == side_ ? trickPoints : 0;
}

int HandSolver::LastTwoTricks(int place, int leader, const TrickState& asks, int winner, int winning, int trickPoints,
                              std::array<KindMask, 4>& held, int alpha, int beta) const {
    // Fail-soft alpha-beta over the first of the two tricks; the second
    // plays itself. `held` has each hand's kinds before its card of the
    // first trick, and after it the one card left.
    const int seat = (leader + place) & 3;
    const auto at = static_cast<std::size_t>(seat);
    const KindMask cards = held[at];
    const bool maximising = SideOf(seat) == side_;
    int best = maximising ? -kInfinity : kInfinity;
    for (KindMask moves = LegalPlaysFromHeld(cards, asks, trump_, rules_.play); moves != 0 && alpha < beta;
         moves &= moves - 1) {
        const int card = std::countr_zero(moves);
        // A hand of two copies of one card keeps that card.
        held[at] = (cards & (cards - 1)) == 0 ? cards : cards & ~KindFlag(card);
        const int taker = place == 0 || Beats(card, winning) ? seat : winner;
        const int points = trickPoints + points_[static_cast<std::size_t>(card)];
        int value = 0;
        if (place < 3) {
            TrickState next = asks;
            AddToTrick(next, card, trump_);
            value = LastTwoTricks(place + 1, leader, next, taker, taker == seat ? card : winning, points, held, alpha,
                                  beta);
        } else {
            value = (SideOf(taker) == side_ ? points : 0) + LastTrick(taker, held);
        }
        if (maximising)
            best = std::max(best, value), alpha = std::max(alpha, value);
        else
            best = std::min(best, value), beta = std::min(beta, value);
    }
    held[at] = cards;
    return best;
}

int HandSolver::LastTwoValue(std::uint64_t key, int leader, std::array<KindMask, 4> held) {
    // The same two last tricks come back again and again, in other tests
    // and by other ways of reaching them: their values are kept, exact,
    // by the position's key and the side asking.
    key ^= kKeyWords.side[static_cast<std::size_t>(side_)];
    std::uint64_t& slot = lastTwo_[static_cast<std::size_t>(key >> 8) & lastTwoMask_];
    if (slot != 0 && (slot >> 8) == (key >> 8)) return static_cast<int>(slot & 0xFF);
    const int value = LastTwoTricks(0, leader, TrickState{}, 0, 0, 0, held, -kInfinity, kInfinity);
    if (value <= 0xFF) slot = (key & ~std::uint64_t{0xFF}) | static_cast<std::uint64_t>(value);
    return value;
}

std::uint64_t HandSolver::Key() const { return KeyOf(node_.handKey, node_.leader); }

std::uint64_t HandSolver::KeyOf(std::uint64_t handKey, int leader) const {
    return (handKey ^ kKeyWords.leader[static_cast<std::size_t>(leader)] ^ game_) | 1;  // never the empty entry's 0
}

int HandSolver::TakerAfter(int card) const {
    return Beats(card, node_.trick[static_cast<std::size_t>(node_.winner)]) ? ToPlay()
                                                                            : (node_.leader + node_.winner) & 3;
}

std::uint64_t HandSolver::KeyAfter(int card, int taker) const {
    const int seat = ToPlay();
    return KeyOf(node_.handKey ^ CardWord(seat, card, CountOf(node_.hands[static_cast<std::size_t>(seat)], card) - 1),
                 taker);
}

const HandSolver::Entry* HandSolver::Find(std::uint64_t key) const {
    for (const Entry& entry : table_[Slot(key)].entries)
        if (entry.key == key) return &entry;
    return nullptr;
}

void HandSolver::Store(std::uint64_t key, int lower, int upper, int move) {
    const auto tricksLeft = static_cast<std::int8_t>(12 - node_.played / 4);
    // The position's own entry, else the shallowest, earlier deals first.
    Entry* slot = nullptr;
    int shallowest = kInfinity;
    for (Entry& entry : table_[Slot(key)].entries) {
        if (entry.key == key) {
            slot = &entry;
            break;
        }
        const int depth = entry.deal == deal_ ? entry.tricksLeft : -1;
        if (depth <= shallowest) shallowest = depth, slot = &entry;
    }
    *slot = Entry{key,
                  static_cast<std::int16_t>(lower),
                  static_cast<std::int16_t>(upper),
                  static_cast<std::uint8_t>(move),
                  tricksLeft,
                  deal_};
}

[[gnu::always_inline]] inline KindMask HandSolver::Distinct(KindMask legal, KindMask& linked) const {
    // Under the suit led, a card's rank matters only against the cards
    // still out. A run of a hand's cards with nothing out between them in
    // rank, none of which another seat or the trick holds a copy of, is one
    // card in every trick to come: only the points differ. Once the seat's
    // card settles which side takes the trick (see SettledSide), the run's
    // card of most points is best when the seat's side takes it, and its
    // card of fewest when not: any play after one can be mirrored after the
    // other, and all that changes is whether the points fall in this trick
    // or in a later one. Before the trick is settled, only cards of equal
    // points stand for each other. Trick values by rank alone compare suits
    // too: no merging.
    if (!mergeable_) return legal;
    const int seat = ToPlay();
    const auto held = [&](int place) { return node_.held[static_cast<std::size_t>((seat + place) & 3)]; };
    // The cards that can stand in a run: no other hand holds a copy. A card
    // whose copy lies in the trick can still head a run: neither it nor the
    // cards below it beat that copy, and the copy leaves with the trick.
    const KindMask elsewhere = held(1) | held(2) | held(3);
    const KindMask alone = legal & ~elsewhere;
    if ((alone & (alone - 1)) == 0) return legal;
    KindMask onTable = 0;
    for (int place = 0; place < node_.placed; ++place)
        onTable |= KindFlag(node_.trick[static_cast<std::size_t>(place)]);
    const KindMask heads = alone & onTable;
    // The cards that break a run.
    const KindMask breaks = (elsewhere | onTable | held(0)) & ~alone;
    KindMask distinct = legal;
    const auto merge = [&](KindMask run) {
        const int card = std::countr_zero(run);
        const int side = SettledSide(card);
        const bool settled = side >= 0;
        const bool ours = side == SideOf(seat);
        int kept = -1;
        for (KindMask m = run; m != 0; m &= m - 1) {
            const int kind = std::countr_zero(m);
            const int points = points_[static_cast<std::size_t>(kind)];
            const int keptPoints = kept < 0 ? 0 : points_[static_cast<std::size_t>(kept)];
            if (kept >= 0 && (settled ? (ours ? points <= keptPoints : points >= keptPoints) : points == keptPoints)) {
                distinct &= ~KindFlag(kind);
                ++merged_;
                continue;
            }
            if (kept >= 0 && settled) distinct &= ~KindFlag(kept), ++merged_;
            kept = kind;
        }
        // An unsettled run's cards are worth within their difference in
        // points of each other: one run a suit is linked for the search.
        const KindMask left = run & distinct;
        if (!settled && (left & (left - 1)) != 0 && (linked & SuitMask(SuitOfKind(card))) == 0) linked |= left;
    };
    // Runs from the highest rank of each suit down, each ending at a card
    // that breaks it, at a card that heads the next, or at the suit's end.
    const KindMask ends = breaks | heads;
    for (KindMask cards = alone; cards != 0;) {
        const int first = std::countr_zero(cards);
        const KindMask below = ends & ~((KindMask{2} << first) - 1);
        const int end = std::min(below == 0 ? kCardKinds : std::countr_zero(below), 6 * (SuitOfKind(first) + 1));
        const KindMask run = cards & ((KindMask{1} << end) - 1);
        if ((run & (run - 1)) != 0) merge(run);
        cards &= ~run;
    }
    return distinct;
}

int HandSolver::SettledSide(int card) const {
    // Who holds the trick once the card falls, and with what.
    const int taker = node_.placed == 0 ? ToPlay() : TakerAfter(card);
    const int winning = taker == ToPlay() ? card : node_.trick[static_cast<std::size_t>(node_.winner)];
    // No seat of the other side still to play can beat that card with what
    // it may play (a seat holding the suit led follows it). A partner may
    // still beat it, and then nobody of the other side can beat the
    // partner's card either.
    const KindMask beaters = beaters_[static_cast<std::size_t>(winning)];
    const KindMask led = SuitMask(SuitOfKind(node_.placed == 0 ? card : node_.trick[0]));
    for (int place = node_.placed + 1; place < 4; ++place) {
        const int other = (node_.leader + place) & 3;
        if (SideOf(other) == SideOf(taker)) continue;
        KindMask may = node_.held[static_cast<std::size_t>(other)];
        if (rules_.play.followSuit && (may & led) != 0) may &= led;
        if ((may & beaters) != 0) return -1;
    }
    return SideOf(taker);
}

int HandSolver::OrderMoves(KindMask moves, int tableMove, int ruleMove, std::array<int, 24>& order) const {
    // A static score first, the cut-offs the card made elsewhere to break ties.
    const std::array<int, kCardKinds>& cutoffs = history_[HistoryRow()];
    std::array<int, 24> score;  // NOLINT(cppcoreguidelines-pro-type-member-init): filled below
    int count = 0;
    const auto add = [&](int card, int value) {
        order[static_cast<std::size_t>(count)] = card;
        score[static_cast<std::size_t>(count)] = value * 65536 + cutoffs[static_cast<std::size_t>(card)];
        ++count;
    };
    if (node_.placed == 0) {
        // The killer, the table's card and the rule player's lead; then a
        // lead no card still out can beat in its suit, which takes the trick
        // unless it is cut.
        const int killer = killers_[static_cast<std::size_t>(node_.played / 4)][static_cast<std::size_t>(ToPlay())];
        KindMask out = 0;
        for (const KindMask held : node_.held) out |= held;
        for (; moves != 0; moves &= moves - 1) {
            const int card = std::countr_zero(moves);
            add(card, card == killer      ? 1 << 14
                      : card == tableMove ? 1 << 13
                      : card == ruleMove  ? 1 << 12
                                          : static_cast<int>((Above(card) & out) == 0));
        }
    } else {
        // Win the trick or feed a partner's winner with points; when the
        // trick is the other side's, give it the least. (The table knows
        // trick starts only.)
        const KindMask takers = beaters_[static_cast<std::size_t>(node_.trick[static_cast<std::size_t>(node_.winner)])];
        const bool ours = SideOf((node_.leader + node_.winner) & 3) == SideOf(ToPlay());
        for (; moves != 0; moves &= moves - 1) {
            const int card = std::countr_zero(moves);
            const int cardPoints = points_[static_cast<std::size_t>(card)];
            add(card, ours || (takers & KindFlag(card)) != 0 ? 300 + node_.trickPoints + cardPoints : -cardPoints);
        }
    }
    // Most nodes have two or three cards to order.
    if (count == 2) {
        if (score[1] > score[0]) std::swap(order[0], order[1]);
        return count;
    }
    for (int i = 1; i < count; ++i) {
        const int s = score[static_cast<std::size_t>(i)];
        const int card = order[static_cast<std::size_t>(i)];
        int j = i;
        for (; j > 0 && s > score[static_cast<std::size_t>(j - 1)]; --j) {
            score[static_cast<std::size_t>(j)] = score[static_cast<std::size_t>(j - 1)];
            order[static_cast<std::size_t>(j)] = order[static_cast<std::size_t>(j - 1)];
        }
        score[static_cast<std::size_t>(j)] = s;
        order[static_cast<std::size_t>(j)] = card;
    }
    return count;
}

}  // namespace vantrel
