// Three seats at the shared auction and trick ledger, against the test's own
// reckoning of a three-handed hand: the auction from 300 with a pass final,
// and fifteen tricks of three cards, the bidder alone against the two others.
#include <gtest/gtest.h>

#include <bit>

#include "analysis/widow_analysis.h"
#include "game/game.h"
#include "game/game_settings.h"
#include "game/three_handed_duel.h"
#include "game/three_handed_hand.h"
#include "play_support.h"
#include "players/playout_player.h"
#include "players/rule_player.h"
#include "players/three_handed_bidding.h"
#include "players/world_sampler.h"
#include "practice/deal_code.h"
#include "review/hand_review.h"
#include "rules/auction.h"
#include "rules/hand_score.h"
#include "rules/lay_away.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/seats.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"

namespace vantrel {
namespace {

RuleSet ThreeHandedRules(bool dealerStuck) {
    RuleSet rules;
    rules.form = {2, true, 3, 15, 3, 3};
    rules.standingBid = 300;
    rules.dealerStuck = dealerStuck;
    return rules;
}

// The auction as the test reckons it.
struct OwnAuction {
    int toAct = 0;
    int high = 0;
    int highBidder = -1;
    std::array<bool, 3> passed{};
    int passes = 0;
    [[nodiscard]] bool Over() const { return passes == 3 || (passes == 2 && highBidder >= 0); }
    // Whether the call is taken, and if so the auction moved on.
    bool Call(int seat, int bid) {
        if (Over() || seat != toAct || (bid > 0 && bid < high + 10)) return false;
        if (bid > 0) {
            high = bid;
            highBidder = seat;
        } else {
            passed[static_cast<std::size_t>(seat)] = true;
            ++passes;
        }
        if (!Over()) do
                toAct = (toAct + 1) % 3;
            while (passed[static_cast<std::size_t>(toAct)]);
        return true;
    }
};

// The Standard rules of play as the test reads them: follow suit and head
// the trick when able (unless it is trumped); void, trump, and over a trump
// when able; else any card. The best card so far: the highest trump, or the
// highest of the suit led, the first of equals.
int OwnBest(const std::vector<int>& trick, int trump) {
    int best = 0;
    for (std::size_t c = 1; c < trick.size(); ++c) {
        const int card = trick[c];
        const int top = trick[static_cast<std::size_t>(best)];
        const bool beats =
            SuitOfKind(card) == SuitOfKind(top) ? RankOfKind(card) < RankOfKind(top) : SuitOfKind(card) == trump;
        if (beats) best = static_cast<int>(c);
    }
    return best;
}

KindMask OwnLegal(const KindCounts& hand, const std::vector<int>& trick, int trump) {
    KindMask held = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        if (hand[static_cast<std::size_t>(kind)] > 0) held |= KindFlag(kind);
    if (trick.empty()) return held;
    const int led = SuitOfKind(trick.front());
    const int best = trick[static_cast<std::size_t>(OwnBest(trick, trump))];
    const auto beating = [&](KindMask cards) {
        KindMask over = 0;
        for (KindMask m = cards; m != 0; m &= m - 1)
            if (const int kind = std::countr_zero(m); RankOfKind(kind) < RankOfKind(best)) over |= KindFlag(kind);
        return over;
    };
    if (const KindMask suit = held & SuitMask(led); suit != 0) {
        if (SuitOfKind(best) != led) return suit;  // trumped: any card of the suit
        const KindMask over = beating(suit);
        return over != 0 ? over : suit;
    }
    if (const KindMask trumps = held & SuitMask(trump); trumps != 0) {
        if (SuitOfKind(best) != trump) return trumps;
        const KindMask over = beating(trumps);
        return over != 0 ? over : trumps;
    }
    return held;
}

int OwnPoints(int kind) {
    constexpr std::array<int, 6> kByRank{11, 10, 4, 3, 2, 0};
    return kByRank[static_cast<std::size_t>(RankOfKind(kind))];
}

TEST(ThreeHanded, AuctionAndTricksAgreeWithTheTestsOwnReckoning) {
    int auctions = 0;
    int refusals = 0;
    int passedOut = 0;
    int hands = 0;
    for (std::uint64_t game = 0; game < 200; ++game) {
        SCOPED_TRACE("game " + std::to_string(game));
        Random random(77, game);
        const bool stuck = game % 3 == 0;
        const RuleSet rules = ThreeHandedRules(stuck);
        ASSERT_TRUE(rules.form.DealsTheDeck());
        const FormDeal deal = DealOf(rules.form, random);
        ASSERT_EQ(CardCount(deal.widow), 3);
        ASSERT_EQ(CardCount(deal.hands[3]), 0);

        // Calls from random seats and of random amounts, some refused.
        const int dealer = static_cast<int>(game % 3);
        Auction auction(rules, dealer);
        OwnAuction own;
        own.toAct = (dealer + 1) % 3;
        own.high = stuck ? 300 : 290;
        own.highBidder = stuck ? dealer : -1;
        for (int call = 0; call < 40 && !own.Over(); ++call) {
            const int seat = random.Below(5) == 0 ? static_cast<int>(random.Below(3)) : own.toAct;
            const int bid = random.Below(3) == 0 ? 0 : own.high + 10 * (static_cast<int>(random.Below(4)) - 1);
            const bool taken = own.Call(seat, bid);
            const std::string refused = bid > 0 ? auction.Bid(seat, bid) : auction.Pass(seat);
            ASSERT_EQ(refused.empty(), taken) << refused;
            refusals += taken ? 0 : 1;
            ASSERT_EQ(auction.Finished(), own.Over());
            ASSERT_EQ(std::make_tuple(auction.HighBid(), auction.HighBidder()),
                      std::make_tuple(own.high, own.highBidder));
            if (!own.Over()) {
                ASSERT_EQ(auction.ToAct(), own.toAct);
            }
        }
        ASSERT_TRUE(own.Over()) << "the auction ended within its calls";
        ++auctions;
        EXPECT_EQ(auction.PassedOut(), own.highBidder < 0);
        if (auction.PassedOut()) {
            ++passedOut;
            continue;
        }

        // The bidder takes the widow and lays away three cards; the hand is
        // played with random cards, illegal ones tried and refused.
        const int bidder = auction.HighBidder();
        std::array<KindCounts, 4> dealt = deal.hands;
        KindCounts& bidders = dealt[static_cast<std::size_t>(bidder)];
        bidders = Plus(bidders, deal.widow);
        int laidAway = 0;
        for (int away = 0; away < 3; ++away) {
            int kind = 0;
            do kind = static_cast<int>(random.Below(kCardKinds));
            while (bidders[static_cast<std::size_t>(kind)] == 0);
            --bidders[static_cast<std::size_t>(kind)];
            laidAway += OwnPoints(kind);
        }
        const int trump = static_cast<int>(random.Below(4));
        FormPlayState play(rules, dealt, trump, bidder);
        std::array<KindCounts, 4> hand = dealt;
        std::vector<int> trick;
        std::array<int, 2> points{};
        std::array<int, 2> tricks{};
        int leader = bidder;
        for (int card = 0; card < 45; ++card) {
            const int seat = (leader + static_cast<int>(trick.size())) % 3;
            ASSERT_EQ(play.ToPlay(), seat);
            const KindMask legal = OwnLegal(hand[static_cast<std::size_t>(seat)], trick, trump);
            ASSERT_EQ(play.Legal(), legal) << "card " << card;
            const KindMask illegal = ~legal & ((KindMask{1} << kCardKinds) - 1);
            if (illegal != 0 && random.Below(4) == 0) {
                const FormPlayState before = play;
                EXPECT_FALSE(play.Play(testing::RandomLegal(illegal, random)).empty());
                EXPECT_EQ(play, before);
            }
            const int kind = testing::RandomLegal(legal, random);
            ASSERT_EQ(play.Play(kind), "");
            --hand[static_cast<std::size_t>(seat)][static_cast<std::size_t>(kind)];
            trick.push_back(kind);
            if (trick.size() < 3) continue;
            const int winner = (leader + OwnBest(trick, trump)) % 3;
            const auto side = static_cast<std::size_t>(winner == bidder ? 0 : 1);
            for (const int taken : trick) points[side] += OwnPoints(taken);
            if (card == 44) points[side] += 10;
            ++tricks[side];
            EXPECT_EQ(std::vector<int>(play.Ledger().LastTrick().begin(), play.Ledger().LastTrick().end()), trick);
            EXPECT_EQ(play.Ledger().LastTrickLeader(), leader);
            leader = winner;
            trick.clear();
            EXPECT_EQ(play.Points(), points);
            EXPECT_EQ(play.Tricks(), tricks);
            EXPECT_EQ(play.TricksPlayed(), tricks[0] + tricks[1]);
        }
        EXPECT_TRUE(play.Over());
        EXPECT_EQ(points[0] + points[1] + laidAway, 250) << "the deck's 240 and the last trick's 10";
        EXPECT_EQ(tricks[0] + tricks[1], 15);
        // The hand taken back card by card comes back to its start.
        FormPlayState back = play;
        for (int card = 0; card < 45; ++card) back.Unmake();
        EXPECT_EQ(back.Hands(), dealt);
        EXPECT_EQ(back.Points(), (std::array<int, 2>{}));
        EXPECT_EQ(back.ToPlay(), bidder);
        ++hands;
    }
    // Every path was taken: refused calls, deals thrown in, hands played.
    EXPECT_EQ(auctions, 200);
    EXPECT_GT(refusals, 100);
    EXPECT_GT(passedOut, 0);
    EXPECT_GT(hands, 100);
}

// A whole game of three-handed pinochle as the test reckons it, beside the
// engine's: the same moves, some of them garbled, offered to both. The meld
// of a hand is the shared count's; everything else is the test's own.
struct OwnGame {
    RuleSet rules;
    std::uint64_t seed = 0;
    int number = 1;
    int dealer = 0;
    std::array<int, 3> totals{};
    int winner = -1;
    // The hand.
    ThreePhase phase = ThreePhase::Auction;
    OwnAuction auction;
    std::array<KindCounts, 3> hands{};
    KindCounts widow{};
    KindCounts laidAway{};
    int trump = -1;
    std::array<int, 3> meld{};
    std::vector<int> trick;
    int leader = 0;
    int cards = 0;
    std::array<int, 3> points{};
    std::array<int, 3> tricks{};
    std::array<int, 3> score{};

    void Deal() {
        const FormDeal deal = ThreeHandedDeal(rules, seed, number);
        for (std::size_t seat = 0; seat < 3; ++seat) hands[seat] = deal.hands[seat];
        widow = deal.widow;
        phase = ThreePhase::Auction;
        auction = OwnAuction{};
        auction.toAct = (dealer + 1) % 3;
        auction.high = rules.dealerStuck ? rules.standingBid : rules.standingBid - 10;
        auction.highBidder = rules.dealerStuck ? dealer : -1;
        laidAway = {};
        trump = -1;
        meld = points = tricks = score = {};
        trick.clear();
        cards = 0;
    }
    [[nodiscard]] int Bidder() const { return auction.highBidder; }
    [[nodiscard]] int ToAct() const {
        switch (phase) {
            case ThreePhase::Auction:
                return auction.toAct;
            case ThreePhase::Play:
                return (leader + static_cast<int>(trick.size())) % 3;
            case ThreePhase::Scored:
            case ThreePhase::PassedOut:
                return -1;
            default:
                return Bidder();
        }
    }
    bool Call(int seat, int bid) {
        if (phase != ThreePhase::Auction || !auction.Call(seat, bid)) return false;
        if (auction.Over()) phase = auction.highBidder < 0 ? ThreePhase::PassedOut : ThreePhase::Widow;
        return true;
    }
    bool TakeWidow(int seat) {
        if (phase != ThreePhase::Widow || seat != Bidder()) return false;
        hands[static_cast<std::size_t>(seat)] = Plus(hands[static_cast<std::size_t>(seat)], widow);
        phase = ThreePhase::Trump;
        return true;
    }
    bool NameTrump(int seat, int suit) {
        if (phase != ThreePhase::Trump || seat != Bidder() || suit < 0 || suit > 3) return false;
        trump = suit;
        for (int s = 0; s < 3; ++s)
            if (s == seat || !rules.bidderMeldsOnly)
                meld[static_cast<std::size_t>(s)] = MeldOf(rules, hands[static_cast<std::size_t>(s)], suit);
        phase = ThreePhase::LayAway;
        return true;
    }
    // Cards that may be laid away: held, no trump (at the strictest, unless
    // the rules allow it), none the meld needs (but at the freest).
    [[nodiscard]] bool Fits(const KindCounts& hand, const KindCounts& away, int freedom) const {
        if (CardCount(away) != 3) return false;
        for (int kind = 0; kind < kCardKinds; ++kind) {
            const auto k = static_cast<std::size_t>(kind);
            if (away[k] > hand[k]) return false;
            if (freedom == 0 && away[k] > 0 && !rules.layAwayTrump && SuitOfKind(kind) == trump) return false;
        }
        return freedom == 2 || MeldOf(rules, Less(hand, away), trump) == MeldOf(rules, hand, trump);
    }
    [[nodiscard]] int Freedom(const KindCounts& hand) const {
        for (int freedom = 0; freedom < 2; ++freedom)
            for (int a = 0; a < kCardKinds; ++a)
                for (int b = a; b < kCardKinds; ++b)
                    for (int c = b; c < kCardKinds; ++c) {
                        KindCounts away{};
                        ++away[static_cast<std::size_t>(a)];
                        ++away[static_cast<std::size_t>(b)];
                        ++away[static_cast<std::size_t>(c)];
                        if (Fits(hand, away, freedom)) return freedom;
                    }
        return 2;
    }
    bool LayAway(int seat, const KindCounts& away) {
        if (phase != ThreePhase::LayAway || seat != Bidder()) return false;
        KindCounts& hand = hands[static_cast<std::size_t>(seat)];
        const int freedom = Freedom(hand);
        if (!Fits(hand, away, freedom)) return false;
        if (freedom == 2) meld[static_cast<std::size_t>(seat)] = MeldOf(rules, Less(hand, away), trump);
        hand = Less(hand, away);
        laidAway = away;
        leader = seat;
        phase = ThreePhase::Decide;
        return true;
    }
    bool Concede(int seat) {
        if (phase != ThreePhase::Decide || seat != Bidder()) return false;
        Settle(true);
        return true;
    }
    bool Play(int seat, int kind) {
        if ((phase != ThreePhase::Decide && phase != ThreePhase::Play) || seat != ToAct() || kind < 0 ||
            kind >= kCardKinds || (OwnLegal(hands[static_cast<std::size_t>(seat)], trick, trump) & KindFlag(kind)) == 0)
            return false;
        phase = ThreePhase::Play;
        --hands[static_cast<std::size_t>(seat)][static_cast<std::size_t>(kind)];
        trick.push_back(kind);
        ++cards;
        if (trick.size() == 3) {
            const int winner = (leader + OwnBest(trick, trump)) % 3;
            for (const int card : trick) points[static_cast<std::size_t>(winner)] += OwnPoints(card);
            if (cards == 45) points[static_cast<std::size_t>(winner)] += 10;
            ++tricks[static_cast<std::size_t>(winner)];
            leader = winner;
            trick.clear();
        }
        if (cards == 45) Settle(false);
        return true;
    }
    // The units of a bid: 3, 5, 10, 15, 20, 25 and 30 by fifties from 300.
    [[nodiscard]] int Units() const {
        const int bid = auction.high;
        const int units = bid >= 600   ? 30
                          : bid >= 550 ? 25
                          : bid >= 500 ? 20
                          : bid >= 450 ? 15
                          : bid >= 400 ? 10
                          : bid >= 350 ? 5
                                       : 3;
        return rules.spadesDouble && trump == 2 ? 2 * units : units;
    }
    void Settle(bool conceded) {
        const auto b = static_cast<std::size_t>(Bidder());
        bool made = false;
        if (!conceded) {
            for (int kind = 0; kind < kCardKinds; ++kind)
                points[b] += laidAway[static_cast<std::size_t>(kind)] * OwnPoints(kind);
            made = points[b] + (tricks[b] > 0 ? meld[b] : 0) >= auction.high;
        }
        for (std::size_t seat = 0; seat < 3; ++seat) {
            if (!rules.pointsGame) {
                const int each = made ? Units() : conceded ? -Units() : -2 * Units();
                score[seat] = seat == b ? 2 * each : -each;
            } else if (seat == b) {
                score[seat] = made ? points[b] + (tricks[b] > 0 ? meld[b] : 0) : -auction.high;
            } else if (conceded) {
                score[seat] = meld[seat] + (rules.concedeToEach ? auction.high : 0);
            } else {
                score[seat] = points[seat] + (tricks[seat] > 0 ? meld[seat] : 0);
            }
        }
        phase = ThreePhase::Scored;
        for (std::size_t seat = 0; seat < 3; ++seat) totals[seat] += score[seat];
        if (!rules.pointsGame) return;
        // Out: the bidder first when it made its bid; else the highest other, the first from its left.
        if (made && totals[b] >= rules.gameTarget) {
            winner = Bidder();
            return;
        }
        for (int step = 1; step <= 2; ++step) {
            const int seat = (Bidder() + step) % 3;
            if (totals[static_cast<std::size_t>(seat)] >= rules.gameTarget &&
                (winner < 0 || totals[static_cast<std::size_t>(seat)] > totals[static_cast<std::size_t>(winner)]))
                winner = seat;
        }
    }
    bool NextHand() {
        if (winner >= 0 || (phase != ThreePhase::Scored && phase != ThreePhase::PassedOut)) return false;
        ++number;
        dealer = (dealer + 1) % 3;
        Deal();
        return true;
    }
};

// The game's phase where the test's hand stands at `phase`.
Phase GamePhaseOf(ThreePhase phase, bool meldSeen) {
    switch (phase) {
        case ThreePhase::Auction:
        case ThreePhase::PassedOut:
            return Phase::Auction;
        case ThreePhase::Widow:
            return Phase::Widow;
        case ThreePhase::Trump:
            return Phase::Trump;
        case ThreePhase::LayAway:
            return Phase::LayAway;
        case ThreePhase::Decide:
            return meldSeen ? Phase::Play : Phase::Meld;
        case ThreePhase::Play:
            return Phase::Play;
        case ThreePhase::Scored:
            break;
    }
    return Phase::HandScored;
}

// Three cards of a hand at random, each a kind it holds.
KindCounts RandomCards(const KindCounts& hand, Random& random) {
    KindCounts cards{};
    for (int card = 0; card < 3 && CardCount(Less(hand, cards)) > 0; ++card) {
        int kind = 0;
        do kind = static_cast<int>(random.Below(kCardKinds));
        while (hand[static_cast<std::size_t>(kind)] <= cards[static_cast<std::size_t>(kind)]);
        ++cards[static_cast<std::size_t>(kind)];
    }
    return cards;
}

TEST(ThreeHanded, GamesAgreeWithTheTestsOwnStateMachineMoveForMove) {
    int moves = 0;
    int refused = 0;
    int scored = 0;
    int conceded = 0;
    int won = 0;
    for (std::uint64_t g = 0; g < 48; ++g) {
        SCOPED_TRACE("game " + std::to_string(g));
        RuleSet rules = RuleSet::ThreeHanded();
        rules.pointsGame = g % 2 == 1;
        rules.bidderMeldsOnly = g % 4 < 2;
        rules.layAwayTrump = g % 3 == 0;
        rules.concedeToEach = g % 5 == 0;
        rules.dealerStuck = g % 6 == 0;
        rules.gameTarget = 1000;
        Random random(31, g);
        Game game(rules, g, static_cast<int>(g % 3));
        OwnGame own;
        own.rules = rules;
        own.seed = g;
        own.dealer = static_cast<int>(g % 3);
        own.Deal();
        bool meldSeen = false;  // the game's look at the meld is over: the bidder leads or concedes
        // Continue ends the look at the widow (the bidder takes it), at the
        // meld, or at the scored hand (the next is dealt).
        auto continued = [&] {
            if (own.phase == ThreePhase::Widow) return own.TakeWidow(own.Bidder());
            if (own.phase == ThreePhase::Decide && !meldSeen) return meldSeen = true;
            if (own.phase != ThreePhase::Scored || !own.NextHand()) return false;
            ++scored;
            meldSeen = false;
            return true;
        };
        for (int step = 0; step < 3000 && own.winner < 0; ++step) {
            ASSERT_EQ(game.CurrentPhase(), GamePhaseOf(own.phase, meldSeen));
            const int toAct =
                own.phase == ThreePhase::Widow || (own.phase == ThreePhase::Decide && !meldSeen) ? -1 : own.ToAct();
            ASSERT_EQ(game.ToAct(), toAct);
            // The seat meant to move, or now and then another; the move of
            // the phase, or now and then one of another phase.
            const int seat = random.Below(6) == 0 ? static_cast<int>(random.Below(3)) : std::max(0, own.ToAct());
            const ThreePhase kind = random.Below(8) == 0 ? static_cast<ThreePhase>(random.Below(8)) : own.phase;
            bool taken = false;
            std::string why;
            switch (kind) {
                case ThreePhase::Auction: {
                    const int bid =
                        random.Below(3) == 0 ? 0 : own.auction.high + 10 * (static_cast<int>(random.Below(4)) - 1);
                    taken = own.Call(seat, bid);
                    why = bid > 0 ? game.Bid(seat, bid) : game.Pass(seat);
                    break;
                }
                case ThreePhase::Widow:
                case ThreePhase::Scored:
                case ThreePhase::PassedOut:
                    taken = continued();
                    why = game.Continue();
                    break;
                case ThreePhase::Trump: {
                    const int suit = static_cast<int>(random.Below(5)) - (random.Below(8) == 0 ? 1 : 0);
                    taken = own.NameTrump(seat, suit);
                    why = game.NameTrump(seat, suit);
                    break;
                }
                case ThreePhase::LayAway: {
                    const KindCounts away = RandomCards(own.hands[static_cast<std::size_t>(seat)], random);
                    taken = own.LayAway(seat, away);
                    why = game.PassCards(seat, away);
                    break;
                }
                case ThreePhase::Decide:
                    if (random.Below(4) == 0) {
                        taken = !meldSeen && own.Concede(seat);
                        why = game.ThrowIn(seat);
                        break;
                    }
                    if (!meldSeen) {
                        taken = continued();
                        why = game.Continue();
                        break;
                    }
                    [[fallthrough]];
                case ThreePhase::Play: {
                    const KindMask legal = OwnLegal(own.hands[static_cast<std::size_t>(seat)], own.trick, own.trump);
                    const int card = legal != 0 && random.Below(5) != 0 ? testing::RandomLegal(legal, random)
                                                                        : static_cast<int>(random.Below(kCardKinds));
                    taken = meldSeen && own.Play(seat, card);
                    why = game.PlayCard(seat, card);
                    break;
                }
            }
            ++moves;
            ASSERT_EQ(why.empty(), taken) << why << " (phase " << static_cast<int>(own.phase) << ")";
            refused += taken ? 0 : 1;
            if (taken && own.phase == ThreePhase::PassedOut) {
                // All passed: the game deals again at once, the next dealer's deal.
                EXPECT_TRUE(game.PassedOut());
                ASSERT_TRUE(own.NextHand());
            }
            if (taken && own.phase == ThreePhase::Scored && game.CurrentPhase() != Phase::Auction &&
                game.Sheet().size() == static_cast<std::size_t>(scored + 1)) {
                // The hand goes on the sheet with its scores, and the totals after it.
                const SheetLine& line = game.Sheet().back();
                EXPECT_EQ(line.score, own.score);
                EXPECT_EQ(line.cardPoints, own.points);
                EXPECT_EQ(game.Totals(), own.totals);
                EXPECT_EQ(line.totals, own.totals);
                EXPECT_EQ(line.declarer, own.Bidder());
                conceded += line.record.plays.empty() ? 1 : 0;
                // The record plays again from the hands as the play began to the same points.
                if (!line.record.plays.empty()) {
                    FormPlayState replay(rules, line.record.hands, line.trump, line.declarer);
                    for (const int card : line.record.plays) ASSERT_EQ(replay.Play(card), "");
                    EXPECT_TRUE(replay.Over());
                }
                EXPECT_EQ(
                    Plus(line.record.hands[static_cast<std::size_t>(line.declarer)], line.record.passedBack),
                    Plus(line.record.dealt[static_cast<std::size_t>(line.declarer)], line.record.passedToDeclarer));
            }
            if (own.winner >= 0) {
                // The game's end: nothing follows it.
                EXPECT_EQ(game.CurrentPhase(), Phase::GameOver);
                EXPECT_EQ(game.Winner(), own.winner);
                EXPECT_NE(game.Continue(), "") << "nothing follows the end";
                ++won;
            }
        }
        if (own.winner < 0) EXPECT_EQ(game.Totals(), own.totals);
    }
    // Every path was taken, and often.
    EXPECT_GT(moves, 10000);
    EXPECT_GT(refused, 1000);
    EXPECT_GT(scored, 100);
    EXPECT_GT(conceded, 10);
    EXPECT_GT(won, 5);
}

// Hands bid, laid away and partly played, each seat's view sampled: the
// widow, shown to all, lies in every world with the bidder or among the cards
// laid away, which only the bidder knows, and never with another seat.
TEST(ThreeHanded, TheWidowIsKnownToAllAndTheCardsLaidAwayToTheBidderAlone) {
    int worlds = 0;
    for (std::uint64_t g = 0; g < 30; ++g) {
        SCOPED_TRACE("deal " + std::to_string(g));
        RuleSet rules = RuleSet::ThreeHanded();
        rules.layAwayTrump = g % 2 == 0;
        Random random(41, g);
        ThreeHandedHand hand(rules, ThreeHandedDeal(rules, 9, static_cast<int>(g)), static_cast<int>(g % 3));
        // The first to call bids; the others pass.
        ASSERT_EQ(hand.Bid(hand.ToAct(), 300), "");
        while (hand.Phase() == ThreePhase::Auction) ASSERT_EQ(hand.Pass(hand.ToAct()), "");
        const int bidder = hand.Bidder();
        const KindCounts widow = hand.ShownWidow();
        ASSERT_EQ(CardCount(widow), 3);
        ASSERT_EQ(hand.TakeWidow(bidder), "");
        ASSERT_EQ(hand.NameTrump(bidder, static_cast<int>(random.Below(4))), "");
        for (int tries = 0; tries < 500 && hand.Phase() == ThreePhase::LayAway; ++tries)
            (void)hand.LayAway(bidder, RandomCards(hand.HandOf(bidder), random));
        ASSERT_EQ(hand.Phase(), ThreePhase::Decide);
        for (int card = static_cast<int>(random.Below(31)); card > 0; --card)
            ASSERT_EQ(hand.PlayCard(hand.ToAct(), testing::RandomLegal(hand.Play().Legal(), random)), "");
        for (int seat = 0; seat < 3; ++seat) {
            const FormSeatView view = hand.ViewOf(seat);
            EXPECT_EQ(view.Hand(), hand.HandOf(seat));
            const KindCounts unseen = view.Unseen();
            for (int w = 0; w < 40; ++w, ++worlds) {
                const FormSampledWorld world = SampleWorld(view, random);
                ASSERT_TRUE(world.consistent);
                ASSERT_EQ(world.hands[static_cast<std::size_t>(seat)], hand.HandOf(seat));
                KindCounts others{};
                for (int s = 0; s < 4; ++s)
                    if (s != seat) others = Plus(others, world.hands[static_cast<std::size_t>(s)]);
                ASSERT_EQ(others, unseen) << "every unseen card dealt once";
                const KindCounts& away = world.hands[3];
                if (seat == bidder) {
                    // The bidder knows what it laid away: no card is dealt there.
                    EXPECT_EQ(CardCount(away), 0);
                    EXPECT_EQ(CardCount(unseen),
                              CardCount(hand.HandOf((seat + 1) % 3)) + CardCount(hand.HandOf((seat + 2) % 3)));
                    continue;
                }
                EXPECT_EQ(CardCount(away), 3);
                const int other = 3 - seat - bidder;
                for (int kind = 0; kind < kCardKinds; ++kind) {
                    const auto k = static_cast<std::size_t>(kind);
                    // The widow's cards still out lie with the bidder or laid away, never with the other opponent.
                    EXPECT_LE(world.hands[static_cast<std::size_t>(other)][k],
                              unseen[k] - std::min(unseen[k], view.WidowLeft()[k]));
                    if (!rules.layAwayTrump && SuitOfKind(kind) == hand.Trump()) EXPECT_EQ(away[k], 0);
                }
            }
        }
    }
    EXPECT_EQ(worlds, 30 * 3 * 40);
}

// The computers play the three-handed hand from their own views, every card
// legal, the two opponents as partners; the Normal bidder, weighing its cards
// over worlds drawn from its view, takes more than the rule player does in
// its place against the same defence.
TEST(ThreeHanded, ComputersPlayTheHandAndTheNormalBidderTakesMore) {
    const RuleSet rules = RuleSet::ThreeHanded();
    std::array<int, 2> taken{};  // the bidder's card points: rule player, Normal
    for (std::uint64_t g = 0; g < 24; ++g) {
        SCOPED_TRACE("deal " + std::to_string(g));
        for (int normal = 0; normal < 2; ++normal) {
            Random random(43, g);
            ThreeHandedHand hand(rules, ThreeHandedDeal(rules, 11, static_cast<int>(g)), static_cast<int>(g % 3));
            ASSERT_EQ(hand.Bid(hand.ToAct(), 300), "");
            while (hand.Phase() == ThreePhase::Auction) ASSERT_EQ(hand.Pass(hand.ToAct()), "");
            const int bidder = hand.Bidder();
            ASSERT_EQ(hand.TakeWidow(bidder), "");
            ASSERT_EQ(hand.NameTrump(bidder, static_cast<int>(g % 4)), "");
            for (int tries = 0; tries < 500 && hand.Phase() == ThreePhase::LayAway; ++tries)
                (void)hand.LayAway(bidder, RandomCards(hand.HandOf(bidder), random));
            ASSERT_EQ(hand.Phase(), ThreePhase::Decide);
            while (hand.Phase() != ThreePhase::Scored) {
                const int seat = hand.ToAct();
                const FormSeatView view = hand.ViewOf(seat);
                const int card = seat == bidder && normal == 1 ? ComputerCard(view, Level::Normal, g) : RuleCard(view);
                ASSERT_EQ(hand.PlayCard(seat, card), "");
            }
            taken[static_cast<std::size_t>(normal)] += hand.CardPoints()[static_cast<std::size_t>(bidder)];
        }
    }
    EXPECT_GT(taken[1], taken[0]) << "rule player " << taken[0] << ", Normal " << taken[1];
}

// Whole games of the points game bid, laid away, conceded or played by the
// computers: every move they choose is taken, and the game ends with a
// winner; the same seed plays the same game.
void ComputerGame(const RuleSet& rules, std::uint64_t seed, int& hands, std::array<int, 3>& totals) {
    Game game(rules, seed);
    for (int step = 0; step < 5000 && game.Winner() < 0; ++step) {
        const Phase phase = game.CurrentPhase();
        const int seat = game.ToAct();
        const ComputerMove move = seat >= 0 || phase == Phase::Meld
                                      ? ChooseMove(game, seat >= 0 ? seat : game.Declarer(), Level::Easy,
                                                   seed + static_cast<std::uint64_t>(step))
                                      : ComputerMove{};
        // The looks at the widow, the meld and the scored hand end as the window ends them.
        const std::string why = move.kind == ComputerMove::None
                                    ? game.Continue()
                                    : ApplyMove(game, seat >= 0 ? seat : game.Declarer(), move);
        ASSERT_EQ(why, "") << "phase " << static_cast<int>(phase);
    }
    EXPECT_GE(game.Winner(), 0);
    hands += static_cast<int>(game.Sheet().size());
    totals = game.Totals();
}

TEST(ThreeHanded, ComputersBidLayAwayAndConcedeThroughWholeGames) {
    RuleSet rules = RuleSet::ThreeHanded();
    rules.pointsGame = true;
    rules.bidderMeldsOnly = false;
    rules.gameTarget = 1000;
    int hands = 0;
    for (const std::uint64_t seed : {1, 2, 3}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        int again = 0;
        std::array<int, 3> totals{};
        std::array<int, 3> replayed{};
        ComputerGame(rules, seed, hands, totals);
        ComputerGame(rules, seed, again, replayed);
        EXPECT_EQ(replayed, totals) << "the same seed, the same game";
    }
    EXPECT_GT(hands, 6);

    // A duplicate match: every deal three times, A in each seat in turn; the
    // same on any number of threads, and the Normal bidder makes most of its bids.
    const ThreeHandedDuelResult duel = PlayThreeHandedDuel(RuleSet::ThreeHanded(), Level::Normal, Level::Easy, 4, 7, 2);
    EXPECT_EQ(duel.deals, 4u);
    const ThreeHandedDuelResult again =
        PlayThreeHandedDuel(RuleSet::ThreeHanded(), Level::Normal, Level::Easy, 4, 7, 1);
    EXPECT_EQ(std::tie(again.score, again.bidsA, again.madeA), std::tie(duel.score, duel.bidsA, duel.madeA));
    EXPECT_GT(duel.bidsA, 0);
    EXPECT_GE(2 * duel.madeA, duel.bidsA);

    // The chance to make: the widow once seen is known as if held, and a
    // hand rich in meld makes a bid that a poor one does not.
    const FormDeal deal = ThreeHandedDeal(rules, 21, 1);
    const ChanceTally seen = ThreeHandedChance(rules, deal.hands[0], deal.widow, 200, 5);
    EXPECT_EQ(seen.taken, ThreeHandedChance(rules, Plus(deal.hands[0], deal.widow), {}, 200, 5).taken);
    EXPECT_EQ(seen.deals, 200u);
    KindCounts rich{};
    for (int rank = 0; rank < 5; ++rank) rich[static_cast<std::size_t>(KindOf(1, rank))] = 2;  // a double run in hearts
    for (int suit : {0, 2, 3}) rich[static_cast<std::size_t>(KindOf(suit, 0))] = 1;
    rich[static_cast<std::size_t>(KindOf(0, 1))] = 2;
    ASSERT_EQ(CardCount(rich), 15);
    const ChanceTally strong = ThreeHandedChance(rules, rich, {}, 200, 5);
    EXPECT_GT(strong.Chance(1, 400), 0.9);
    EXPECT_EQ(BestThreeHandedTrump(rules, strong, 400), 1);
    EXPECT_GT(ThreeHandedExpected(rules, strong, 1, 400), 0);
    // The cards laid away are as the rules allow: within them where the
    // hand can, else trump too, else any cards.
    const KindCounts full = Plus(rich, deal.widow);
    const KindCounts away = ChooseLayAway(rules, full, 1);
    // Sure of 400 it plays; far short of 650 with a poor hand it concedes.
    const RuleSet classic = RuleSet::ThreeHanded();
    for (const Level level : {Level::Easy, Level::Normal}) {
        EXPECT_FALSE(ChooseConcession(classic, Less(full, away), away, 1, 400, level, 3));
        const KindCounts poor = Plus(deal.hands[1], deal.widow);
        const KindCounts poorAway = ChooseLayAway(classic, poor, 0);
        EXPECT_TRUE(ChooseConcession(classic, Less(poor, poorAway), poorAway, 0, 650, level, 3));
    }
    EXPECT_EQ(WhyNotLaidAway(rules, full, 1, away, LayAwayFreedomOf(rules, full, 1)), "");
    KindCounts allMeld{};  // every heart, three aces and a pinochle with a spade marriage: all trump or meld
    for (int rank = 0; rank < 6; ++rank) allMeld[static_cast<std::size_t>(KindOf(1, rank))] = 2;
    for (const int kind : {KindOf(0, 0), KindOf(2, 0), KindOf(3, 0), KindOf(2, 2), KindOf(2, 3), KindOf(3, 4)})
        ++allMeld[static_cast<std::size_t>(kind)];
    ASSERT_EQ(CardCount(allMeld), 18);
    EXPECT_EQ(LayAwayFreedomOf(rules, allMeld, 1), LayAwayFreedom::AnyCards);
    EXPECT_EQ(LayAwayFreedomOf(rules, allMeld, 0), LayAwayFreedom::WithinRules) << "clubs trump: the hearts may go";
    const KindCounts forced = ChooseLayAway(rules, allMeld, 1);
    EXPECT_EQ(WhyNotLaidAway(rules, allMeld, 1, forced, LayAwayFreedom::AnyCards), "");
    EXPECT_NE(WhyNotLaidAway(rules, allMeld, 1, forced, LayAwayFreedom::WithinRules), "");
}

// Whole hands scored by the classic settlement and by the points game, each
// row a hand: who bid what in which trump, what each seat melded and took,
// and the scores and result the rules give.
TEST(ThreeHanded, TheSettlementAndThePointsGameScoreWholeHands) {
    RuleSet settlement = RuleSet::ThreeHanded();
    RuleSet points = settlement;
    points.pointsGame = true;
    points.bidderMeldsOnly = false;
    RuleSet pointsPaid = points;
    pointsPaid.concedeToEach = true;
    RuleSet plainSpades = settlement;
    plainSpades.spadesDouble = false;
    const struct {
        const char* name;
        const RuleSet& rules;
        ThreeHandTally hand;
        std::array<int, 3> score;
        const char* result;
    } rows[] = {
        {"made at 350: 5 units from each",
         settlement,
         {0, 350, 1, {150, 0, 0}, {210, 30, 10}, {8, 2, 1}, false},
         {10, -5, -5},
         "Made by 10"},
        {"set in spades: 3 units doubled, paid double",
         settlement,
         {1, 300, 2, {0, 60, 0}, {20, 200, 30}, {1, 12, 2}, false},
         {12, -24, 12},
         "Set by 40"},
        {"the same without spades doubled",
         plainSpades,
         {1, 300, 2, {0, 60, 0}, {20, 200, 30}, {1, 12, 2}, false},
         {6, -12, 6},
         "Set by 40"},
        {"conceded at 400: paid single", settlement, {2, 400, 0, {}, {}, {}, true}, {10, 10, -20}, "Conceded"},
        {"600 and over in spades: 30 doubled",
         settlement,
         {0, 600, 2, {350, 0, 0}, {250, 0, 0}, {15, 0, 0}, false},
         {120, -60, -60},
         "Made exactly"},
        {"meld without a trick does not count",
         settlement,
         {0, 300, 3, {200, 0, 0}, {0, 160, 90}, {0, 9, 6}, false},
         {-12, 6, 6},
         "Set by 300"},
        {"points game, set: each opponent its own",
         points,
         {1, 300, 1, {40, 120, 60}, {60, 150, 40}, {3, 8, 4}, false},
         {100, -300, 100},
         "Set by 30"},
        {"points game, made; an opponent without a trick keeps no meld",
         points,
         {1, 300, 1, {40, 120, 60}, {60, 190, 0}, {5, 10, 0}, false},
         {100, 310, 0},
         "Made by 10"},
        {"points game, conceded once: the opponents' meld",
         points,
         {1, 300, 1, {40, 120, 60}, {}, {}, true},
         {40, -300, 60},
         "Conceded"},
        {"points game, conceded to each",
         pointsPaid,
         {1, 300, 1, {40, 120, 60}, {}, {}, true},
         {340, -300, 360},
         "Conceded"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ThreeHandScore score = ScoreThreeHanded(row.rules, row.hand);
        EXPECT_EQ(score.score, row.score);
        EXPECT_EQ(score.Result(), row.result);
        if (!row.rules.pointsGame)
            EXPECT_EQ(score.score[0] + score.score[1] + score.score[2], 0) << "units change hands";
    }

    // A sheet of the points game to 1,500: running totals, the bidder out first.
    std::array<int, 3> totals{1300, 1450, 1200};
    const ThreeHandScore last = ScoreThreeHanded(points, {0, 300, 1, {150, 0, 0}, {170, 50, 30}, {9, 4, 2}, false});
    for (std::size_t seat = 0; seat < 3; ++seat) totals[seat] += last.score[seat];
    EXPECT_EQ(totals, (std::array<int, 3>{1620, 1500, 1230}));
    EXPECT_EQ(ThreeHandedWinner(points, totals, 0, last.made), 0) << "the bidder counts out first";
    EXPECT_EQ(ThreeHandedWinner(points, totals, 0, false), 1) << "set, the highest of the others";
    EXPECT_EQ(ThreeHandedWinner(points, {1400, 1550, 1550}, 0, true), 1) << "equals: the first from the bidder's left";
    EXPECT_EQ(ThreeHandedWinner(points, {1400, 1450, 1499}, 2, true), -1);
    EXPECT_EQ(ThreeHandedWinner(settlement, {9000, 0, 0}, 0, true), -1) << "the settlement keeps running totals";
}

TEST(ThreeHanded, TheFormIsARuleSetOfItsOwnWithDealCodesAndSettings) {
    const RuleSet rules = RuleSet::ThreeHanded();
    EXPECT_EQ(rules.Name(), "Three-handed");
    EXPECT_TRUE(rules.form.DealsTheDeck());
    EXPECT_EQ(AllCardPoints(rules), 250);
    EXPECT_EQ(RulesFromSettings(rules.ToSettings()).rules, rules) << "read back whole, three seats and all";
    RuleSet changed = rules;
    changed.pointsGame = true;
    EXPECT_EQ(changed.Name(), "Three-handed, changed");
    EXPECT_NE(rules.Text().find("Seats at the table (4: two partnerships, 3: the bidder alone against two): 3\n"),
              std::string::npos);
    // Deal codes for three hands and the widow: read back as the three-handed
    // deal, never as a four-handed one, and a mistyped one refused.
    for (std::uint64_t n = 1; n <= 20; ++n) {
        const FormDeal deal = ThreeHandedDeal(rules, 5, static_cast<int>(n));
        const std::array<KindCounts, 4> laid{deal.hands[0], deal.hands[1], deal.hands[2], deal.widow};
        const std::string code = DealCodeOf(rules.form, laid);
        const DecodedHands read = ReadDealCode(code);
        ASSERT_TRUE(read.ok) << code << ": " << read.problem;
        EXPECT_EQ(read.form, rules.form);
        EXPECT_EQ(read.hands, laid);
        Random fourHanded(5, n);
        const std::array<KindCounts, 4> four = CountsOf(testing::RandomDeal(fourHanded));
        const DecodedHands standard = ReadDealCode(DealCodeOf(GameForm{}, four));
        EXPECT_TRUE(standard.ok && standard.form == GameForm{} && standard.hands == four);
        std::string typo = code;
        typo[0] = typo[0] == '7' ? '8' : '7';
        EXPECT_FALSE(ReadDealCode(typo).ok) << typo;
    }
    // A game's settings read back whole, the user in South alone; a game
    // of three takes a code of three hands, not one of four, nor the other way.
    GameSettings settings;
    settings.rules = rules;
    settings.rules.pointsGame = true;
    settings.seats = {SeatPlayer::You, SeatPlayer::Strong, SeatPlayer::You, SeatPlayer::Easy};
    const GameSettings read = GameSettings::FromSettings(settings.ToSettings());
    EXPECT_EQ(read.rules, settings.rules);
    EXPECT_EQ(read.UserSeats(), 1u);
    EXPECT_EQ(read.seats[1], SeatPlayer::Strong);
    Game three(rules, 4);
    Game four(RuleSet::Standard(), 4);
    EXPECT_EQ(three.DealFromCode(four.DealCode()), "That code deals 4 hands; this game deals 3.");
    EXPECT_EQ(four.DealFromCode(three.DealCode()), "That code deals 3 hands; this game deals 4.");
    const std::string code = Game(rules, 9).DealCode();
    ASSERT_EQ(three.DealFromCode(code), "");
    EXPECT_EQ(three.DealCode(), code);
    EXPECT_EQ(CardCount(three.Widow()), 3);
    for (int seat = 0; seat < 3; ++seat) EXPECT_EQ(CardCount(three.HandOf(seat)), 15);
}

// Hands of whole games played by the computers, reviewed for South: the
// par is the bidder's against the two others, as an exhaustive search
// finds it in the last tricks; no card gains its side anything against the
// par; the points are the bidder's in tricks.
TEST(ThreeHanded, TheReviewWeighsTheBiddersParAgainstTheTwo) {
    const RuleSet rules = RuleSet::ThreeHanded();
    int reviewed = 0;
    int compared = 0;
    for (std::uint64_t seed = 1; reviewed < 3 && seed < 40; ++seed) {
        Game game(rules, seed);
        for (int step = 0; step < 400 && game.Sheet().empty(); ++step) {
            const int seat = game.ToAct();
            const ComputerMove move = seat >= 0 || game.CurrentPhase() == Phase::Meld
                                          ? ChooseMove(game, seat >= 0 ? seat : game.Declarer(), Level::Easy, seed)
                                          : ComputerMove{};
            ASSERT_EQ(move.kind == ComputerMove::None ? game.Continue()
                                                      : ApplyMove(game, seat >= 0 ? seat : game.Declarer(), move),
                      "");
        }
        ASSERT_FALSE(game.Sheet().empty());
        const SheetLine& line = game.Sheet().front();
        if (!WhyNotReviewed(rules, line).empty()) continue;  // conceded
        SCOPED_TRACE("seed " + std::to_string(seed));
        // Every seat reviewed: the bidder's cards laid away are weighed too.
        ReviewRequest request = RequestOf(rules, line, {true, true, true, true});
        request.worlds = 12;
        request.parNodes = 2'000'000;
        request.threads = 2;
        const HandReview review = ReviewHand(request);
        ASSERT_TRUE(review.complete);
        ASSERT_EQ(review.cards.size(), 45u);
        EXPECT_EQ(review.trickWinners.size(), 15u);
        const auto PointsOf = [&](const KindCounts& cards) {
            int points = 0;
            for (int kind = 0; kind < kCardKinds; ++kind) points += CountIn(cards, kind) * CardPointsOf(rules, kind);
            return points;
        };
        const int laidAway = PointsOf(line.record.passedBack);
        EXPECT_EQ(review.points[0] + laidAway, line.cardPoints[static_cast<std::size_t>(line.declarer)]);
        EXPECT_EQ(review.cards.back().parAfter, review.points[0]);
        // The last three tricks searched by the test: the same par.
        FormPlayState state(rules, line.record.hands, line.trump, line.declarer);
        for (std::size_t i = 0; i < 36; ++i) state.Make(line.record.plays[i]);
        if (review.cards[36].parBefore >= 0 && review.cards[35].parProved) {
            EXPECT_EQ(review.cards[36].parBefore, testing::Exhaustive(state, 0));
            ++compared;
        }
        for (const ReviewedCard& card : review.cards) {
            EXPECT_GE(card.exactCost, 0) << "card " << KindText(card.kind) << " of " << SeatName(card.seat, 3);
            if (card.reviewed && !card.forced) EXPECT_GE(card.cost, 0.0);
        }
        // The auction is weighed by the three-handed game's own figures, a
        // verdict for each seat.
        ASSERT_EQ(review.auction.size(), 3u);
        const std::string bidder = SeatName(line.declarer, 3);
        EXPECT_NE(review.auction[static_cast<std::size_t>(line.declarer)].text.find(bidder + "'s bid of"),
                  std::string::npos);
        // Every call weighed, the pass at nothing and each bid open in its
        // best trump in the bidder's units, costly from the least bid's three.
        ASSERT_EQ(review.calls.size(), line.record.calls.size());
        for (const CallVerdict& call : review.calls) {
            ASSERT_NE(call.Figure(call.called), nullptr);
            EXPECT_EQ(call.figures.front().bid, 0);
            EXPECT_EQ(call.figures.front().margin, 0.0);
            for (std::size_t f = 1; f < call.figures.size(); ++f) {
                EXPECT_GT(call.figures[f].bid, call.figures[f - 1].bid);
                EXPECT_TRUE(call.figures[f].trump >= 0 && call.figures[f].trump < 4);
            }
            EXPECT_EQ(call.costly, 3.0);
            EXPECT_EQ(CallVerdictText(call).rfind(SeatName(call.seat, 3) + "'s ", 0), 0u) << CallVerdictText(call);
        }
        // The cards laid away against the computer's from the same eighteen,
        // with every hand seen, those laid away counted for the bidder.
        ASSERT_EQ(review.passes.size(), 1u);
        const PassVerdict& laid = review.passes[0];
        EXPECT_EQ(laid.passed, line.record.passedBack);
        const KindCounts whole = Plus(line.record.hands[static_cast<std::size_t>(line.declarer)], laid.passed);
        EXPECT_EQ(laid.computers, ChooseLayAway(rules, whole, line.trump));
        EXPECT_EQ(laid.text.rfind(bidder + " laid away ", 0), 0u) << laid.text;
        if (laid.computers != laid.passed) {
            EXPECT_EQ(laid.par, review.parAtStart + laidAway);
            EXPECT_GE(laid.computersPar, PointsOf(laid.computers));
        }
        if (reviewed == 0) {
            // Another lay-away within the rules, the hand not yet led: it is
            // weighed against the computer's, each layout's par the bidder's
            // card points with best play, those laid away counted.
            const auto b = static_cast<std::size_t>(line.declarer);
            const LayAwayFreedom freedom = LayAwayFreedomOf(rules, whole, line.trump);
            KindCounts other{};
            Random random(seed, 77);
            for (int tries = 0; tries < 2000 && (CardCount(other) != 3 || other == laid.computers ||
                                                 !WhyNotLaidAway(rules, whole, line.trump, other, freedom).empty());
                 ++tries)
                other = RandomCards(whole, random);
            ASSERT_TRUE(WhyNotLaidAway(rules, whole, line.trump, other, freedom).empty());
            ReviewRequest mine = request;
            mine.plays.clear();
            mine.hands[b] = Less(whole, other);
            mine.gave[b] = other;
            mine.reviewed = {false, false, false, false};
            mine.reviewed[b] = true;
            const HandReview weighed = ReviewHand(mine);
            ASSERT_EQ(weighed.passes.size(), 1u);
            const PassVerdict& verdict = weighed.passes[0];
            EXPECT_EQ(verdict.par, weighed.parAtStart + PointsOf(other));
            // What the computer's lay-away leaves the bidder: at least the points laid away, at most every point.
            EXPECT_GE(verdict.computersPar, PointsOf(laid.computers));
            EXPECT_LE(verdict.computersPar, AllCardPoints(rules));
            EXPECT_NE(verdict.text.find(verdict.Gain() == 0  ? "no difference"
                                        : verdict.Gain() > 0 ? "points better"
                                                             : "points worse"),
                      std::string::npos)
                << verdict.text;
            EXPECT_NE(ReviewText(mine, weighed).find("Lay-away: " + bidder + " laid away " + CardsText(other)),
                      std::string::npos);
        }
        const std::string text = ReviewText(request, review);
        EXPECT_NE(text.find(SeatName(line.declarer, 3) + " bids alone against the two others"), std::string::npos)
            << text;
        ++reviewed;
    }
    EXPECT_EQ(reviewed, 3);
    EXPECT_GT(compared, 0);
}

// What the widow brings a hand's meld, over every widow: the same means as
// widows drawn from the form's own shuffle; a run wanting only the ace of
// trump gains at least 40 whenever an ace of hearts lies in the widow.
TEST(ThreeHanded, TheWidowsAnalysisWeighsEveryWidow) {
    const RuleSet rules = RuleSet::ThreeHanded();
    KindCounts hand{};
    for (int rank = 1; rank < 5; ++rank) ++hand[static_cast<std::size_t>(KindOf(1, rank))];  // 10 K Q J of hearts
    for (const int kind : {KindOf(0, 1), KindOf(0, 2), KindOf(0, 5), KindOf(2, 1), KindOf(2, 4), KindOf(2, 5),
                           KindOf(3, 1), KindOf(3, 3), KindOf(3, 4), KindOf(3, 5), KindOf(0, 4)})
        ++hand[static_cast<std::size_t>(kind)];
    ASSERT_EQ(CardCount(hand), 15);
    const WidowAnalysis analysis = AnalyseWidow(rules, hand);
    EXPECT_EQ(analysis.widows, 5456u) << "every three of the 33 unseen cards";
    const double anAce = 1.0 - 4495.0 / 5456.0;  // one ace of hearts or both among the three
    EXPECT_GE(analysis.trumps[1].addsForty, anAce - 1e-12);
    // Widows drawn from the deck's shuffle agree with the enumeration.
    const KindCounts unseen = Less(WholeDeckOf(rules.form), hand);
    UnseenDeck deck(unseen);
    Random random(9, 1);
    constexpr int kDraws = 20000;
    std::array<double, 4> sums{};
    for (int draw = 0; draw < kDraws; ++draw) {
        const KindCounts widow = deck.DealCounts(random, std::array<int, 2>{3, 30})[0];
        for (int suit = 0; suit < 4; ++suit)
            sums[static_cast<std::size_t>(suit)] += MeldOf(rules, Plus(hand, widow), suit);
    }
    for (std::size_t suit = 0; suit < 4; ++suit) {
        const WidowTrump& t = analysis.trumps[suit];
        EXPECT_NEAR(t.withWidow, sums[suit] / kDraws, 1.5) << kSuitNames[suit];
        EXPECT_EQ(t.own, MeldOf(rules, hand, static_cast<int>(suit)));
        EXPECT_TRUE(t.own <= t.low && t.low <= t.middle && t.middle <= t.high) << kSuitNames[suit];
        EXPECT_GE(t.adds, t.addsForty);
    }
    EXPECT_NE(WidowText(analysis).find("over all 5456 widows"), std::string::npos);
    // The hint's chance table speaks of the bidder alone: no other side.
    const std::string hint = ChanceHint(rules, ThreeHandedChance(rules, hand, {}, 400, 3), 300);
    EXPECT_EQ(hint.rfind("Best bid: ", 0), 0u);
    EXPECT_EQ(hint.find("other side"), std::string::npos) << hint;
}

}  // namespace
}  // namespace vantrel
