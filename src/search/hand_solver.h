#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "rules/cards.h"
#include "rules/play_state.h"
#include "rules/trick_rules.h"

namespace vantrel {

/// The exact perfect-information value of a hand in play: the card points a
/// side takes from a position to the end of the hand with every hand seen
/// and both sides playing their best.
///
/// Zero-window searches converge on the value (MTD(f)); each is an
/// alpha-beta search that stops where the points already taken or the points
/// still out settle the question, and that keeps what it learns at each
/// trick's start in a transposition table shared by every solve of the
/// solver, whatever the deal. The first guess is the rule players' playout.
/// Moves are tried best-first: on the lead the lead that last cut off at
/// that trick, the table's card, then the rule player's; then cards that take
/// the trick with the most points or feed a partner's winner, and cards that
/// cut off earlier searches. Cards of one hand that no other card can tell
/// apart (no card still out between them in rank, no copy of either
/// elsewhere) are searched once where that is exact: when they carry the
/// same points, or when the card settles which side takes the trick, and
/// then the one of most points goes to the own side's trick and the one of
/// fewest to the other's. Otherwise a second such card is searched only if
/// the first one's value, give or take their difference in points, leaves
/// it a chance. The node is kept lean, since the search visits hundreds of
/// thousands of them from nine tricks: the kinds each hand holds and the
/// position's key change with each card, the cards that beat each card come
/// from a table, and the last two tricks, where each hand holds two cards,
/// are played out by a small search of their own, without the table; their
/// exact values are kept apart, since the same last tricks come back in
/// test after test.
class HandSolver {
public:
    /// The table for solves from the first lead. A whole hand stores far more
    /// positions than 2^20 entries hold; 2^22 (64 MB) cut the par through a
    /// hand by a third, and more did not pay.
    static constexpr int kWholeHandTableBits = 22;

    /// A table of 2^tableBits entries (16 bytes each). Solves from nine
    /// tricks store fewer than 2^18 positions each: 4 MB of table took 5%
    /// more nodes than 16 MB but 7% to 11% less time, as more of it stays
    /// in the cache. The last two tricks' values take a sixteenth as much
    /// again (2^(tableBits-3) of 8 bytes).
    explicit HandSolver(int tableBits = 18);

    /// The card points `side` (0 South-North, 1 West-East) takes from the
    /// position to the end of the hand, the tricks on the table included;
    /// 0 for a hand that is over. -1 when cancelled. A `guess` of the
    /// value (such as the value a card earlier) saves time when it is near;
    /// without one the rule players' playout is the guess.
    int Solve(const PlayState& state, int side, const std::atomic<bool>* cancel = nullptr, int guess = -1);

    /// What a solve proved: the value when `lower == upper`, else the
    /// bounds the tests had closed in to when they stopped.
    struct Bounds {
        int lower = 0;
        int upper = 0;
        [[nodiscard]] bool Exact() const { return lower == upper; }
        friend bool operator==(const Bounds&, const Bounds&) = default;
    };
    /// A solve that searches at most about `nodes` positions: the value, or
    /// the bounds proved when the budget ran out; {-1, -1} when cancelled.
    /// The review gives each position a budget, so that a hand the solver
    /// finds hard is reviewed in seconds all the same.
    Bounds SolveWithin(const PlayState& state, int side, std::uint64_t nodes, const std::atomic<bool>* cancel = nullptr,
                       int guess = -1);

    /// For each card the seat to play may play, what its side takes from
    /// the position to the end after that card; -1 for the others. All -1
    /// when cancelled.
    PerKind<int> CardValues(const PlayState& state, const std::atomic<bool>* cancel = nullptr);

    /// A card of the seat to play that keeps the value of the last solve,
    /// or after a test a card that reaches the bound the test proved for
    /// the seat to play; -1 where the search proved none (a position the
    /// table settled, a test that went against that seat, a cancelled
    /// search). Other cards may do as well.
    [[nodiscard]] int BestCard() const { return best_; }

    /// One zero-window test: whether `side` takes at least `gamma` from the
    /// position. The answer is at least `gamma` when it does, and below it
    /// when not, a bound on the value either way; -1 when cancelled.
    int Test(const PlayState& state, int side, int gamma, const std::atomic<bool>* cancel = nullptr);
    /// The same within about `nodes` positions: -1 also when they ran out.
    int TestWithin(const PlayState& state, int side, int gamma, std::uint64_t nodes,
                   const std::atomic<bool>* cancel = nullptr);

    /// From now on every solve stops once about `nodes` more positions are
    /// searched, as a cancel stops it; until `Unbudgeted`.
    void Budget(std::uint64_t nodes) { nodeLimit_ = nodes_ + nodes; }
    void Unbudgeted() { nodeLimit_ = ~std::uint64_t{0}; }
    [[nodiscard]] bool OverBudget() const { return nodes_ >= nodeLimit_; }

    /// Forgets what earlier solves learnt.
    void Clear();
    /// Positions searched since the solver was made.
    [[nodiscard]] std::uint64_t Nodes() const { return nodes_; }
    /// Cards left unsearched because a card of the same hand stood for them.
    [[nodiscard]] std::uint64_t Merged() const { return merged_; }

private:
    struct Entry {
        std::uint64_t key = 0;   // the position: the four hands and the leader
        std::int16_t lower = 0;  // what South-North take from the trick's start to the end, as bounds
        std::int16_t upper = 0;
        std::uint8_t move = 0xFF;  // the best card found, 0xFF for none
        std::int8_t tricksLeft = -1;
        std::uint16_t deal = 0;  // the deal that stored it, as deal_ counts them
    };
    // The position searched, cut to what the search asks of it, kept whole
    // so that a card is taken back by copying the node from before it.
    struct Node {
        std::array<HandCounts, 4> hands{};
        std::array<KindMask, 4> held{};  // the kinds each hand holds at least one of
        std::uint64_t handKey = 0;       // the hands' part of the position's key
        std::array<int, 2> points{};     // card points taken by South-North and West-East
        TrickState asks;                 // the suit led, its best card, the best trump cut in
        std::array<std::uint8_t, 4> trick{};
        std::uint8_t leader = 0;
        std::uint8_t placed = 0;  // cards of the trick on the table
        std::uint8_t played = 0;  // cards played in the hand
        std::uint8_t winner = 0;  // place of the card holding the trick
        std::int16_t trickPoints = 0;
    };

    void Prepare(const PlayState& state, int side, const std::atomic<bool>* cancel);
    [[nodiscard]] int ToPlay() const { return (node_.leader + node_.placed) & 3; }
    [[nodiscard]] KindMask Legal() const {
        return LegalPlaysFromHeld(node_.held[static_cast<std::size_t>(ToPlay())], node_.asks, trump_, rules_.play);
    }
    void Make(int card);
    [[nodiscard]] std::uint64_t Key() const;
    [[nodiscard]] std::uint64_t KeyOf(std::uint64_t handKey, int leader) const;
    // Who takes the trick, and the key of the trick start after it, when
    // the seat to play ends the trick with `card`.
    [[nodiscard]] int TakerAfter(int card) const;
    [[nodiscard]] std::uint64_t KeyAfter(int card, int taker) const;
    // What the root side takes in the last trick, led by `leader`, when
    // each hand holds the one card of its mask.
    [[nodiscard]] int LastTrick(int leader, const std::array<KindMask, 4>& held) const;
    // What the root side takes in the last two tricks, each hand holding
    // two cards of the kinds in `held`, from the card at `place` of the
    // first of them on: a fail-soft alpha-beta value. The trick so far is
    // `asks`, held by `winner` with `winning`, worth `trickPoints`.
    [[nodiscard]] int LastTwoTricks(int place, int leader, const TrickState& asks, int winner, int winning,
                                    int trickPoints, std::array<KindMask, 4>& held, int alpha, int beta) const;
    // What the root side takes in the last two tricks from the trick start
    // whose key is `key`, led by `leader`, exactly.
    int LastTwoValue(std::uint64_t key, int leader, std::array<KindMask, 4> held);
    [[nodiscard]] const Entry* Find(std::uint64_t key) const;
    // Keeps bounds and the best card (-1 for none) of the position searched,
    // whose key is `key`.
    void Store(std::uint64_t key, int lower, int upper, int move);
    int Mtd(int guess);
    int Search(int alpha, int beta);
    // The cards worth searching of `legal`; `linked` gets the cards of runs
    // whose values lie within their difference in points of each other.
    KindMask Distinct(KindMask legal, KindMask& linked) const;
    // The side that takes the trick whatever follows once the seat to play
    // plays `card`, or -1 while the other side can still take it.
    [[nodiscard]] int SettledSide(int card) const;
    [[nodiscard]] bool Beats(int card, int winning) const {
        return (beaters_[static_cast<std::size_t>(winning)] & KindFlag(card)) != 0;
    }
    // Orders the cards best first: a lead by the killer, then the table's
    // card, then the rule player's card; every card by a static score and
    // then its cut-offs.
    int OrderMoves(KindMask moves, int tableMove, int ruleMove, std::array<int, 24>& order) const;
    // The bucket of a key; the key's lowest bit is always set.
    std::size_t Slot(std::uint64_t key) const { return static_cast<std::size_t>(key >> 1) & mask_; }

    Node node_;
    RuleSet rules_ = RuleSet::Standard();
    int trump_ = -1;
    std::optional<std::uint64_t> tablesFor_;  // the game the tables below were built for
    PerKind<KindMask> beaters_{};             // the cards that take a trick from each card
    CardPointTable points_{};
    std::array<int, 4096> suitPoints_{};  // card points of a suit's twelve count bits
    bool mergeable_ = false;
    std::uint64_t game_ = 0;  // the trump and the rules, in every key
    int side_ = 0;
    int base_ = 0;   // points of the root side when the solve began
    int total_ = 0;  // points taken by both sides at the end
    const std::atomic<bool>* cancel_ = nullptr;
    std::uint64_t nodeLimit_ = ~std::uint64_t{0};  // the search stops once it has counted this many positions
    Bounds proved_;                                // what the last MTD steps proved
    bool stopped_ = false;
    int rootPlayed_ = 0;  // cards played at the root of the solve
    int rootCard_ = -1;   // the root's best card in the test under way
    int best_ = -1;
    // Four entries a bucket, a cache line aligned: a look in the table then
    // waits on memory once, and a prefetch brings the whole bucket. A new
    // position takes the place of the shallowest of an earlier deal, else
    // of this one.
    struct alignas(64) Bucket {
        std::array<Entry, 4> entries;
    };
    static_assert(sizeof(Bucket) == 64, "four entries to a bucket of a cache line");
    std::vector<Bucket> table_;
    std::size_t mask_ = 0;
    // The last two tricks' values for the side asking: the key's top 56
    // bits, and the value in its lowest byte.
    std::vector<std::uint64_t> lastTwo_;
    std::size_t lastTwoMask_ = 0;
    // The cut-offs each card made, by seat, kept apart for leads and for
    // the cards that follow: a good lead says little of a good follow.
    // Each counts the tricks left where it cut, so that cut-offs high in
    // the tree weigh more.
    std::array<std::array<int, kCardKinds>, 8> history_{};
    [[nodiscard]] std::size_t HistoryRow() const {
        return static_cast<std::size_t>(ToPlay() + (node_.placed == 0 ? 0 : 4));
    }
    // The lead that last cut off a search, by the tricks played and the
    // seat: leads that refute one line of play often refute its neighbours,
    // more often than the table's card from another test or the rule
    // player's choice does. 0xFF for none.
    std::array<std::array<std::uint8_t, 4>, 12> killers_ = NoKillers();
    static std::array<std::array<std::uint8_t, 4>, 12> NoKillers() {
        std::array<std::array<std::uint8_t, 4>, 12> unset{};
        for (auto& trick : unset) trick.fill(0xFF);
        return unset;
    }
    // Deals as the solves meet them: a solve whose hands are not within the
    // last solve's starts another. Entries of earlier deals give way first
    // in the table: the worlds a search player solves, or the deals of a
    // benchmark, seldom meet each other's positions. (It wraps around, at
    // worst keeping an old entry a while longer.)
    std::uint16_t deal_ = 0;
    std::array<KindMask, 4> dealHeld_{};
    std::uint64_t nodes_ = 0;
    mutable std::uint64_t merged_ = 0;
};

}  // namespace vantrel
