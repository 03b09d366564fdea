// The double-deck form in the rule engine: its meld at every multiplicity,
// its counters and scoring, and its rule set read back from settings.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <map>
#include <numeric>

#include "analysis/hand_simulation.h"
#include "base/random.h"
#include "game/game_settings.h"
#include "play_support.h"
#include "players/chance_to_make.h"
#include "players/duel.h"
#include "players/passing.h"
#include "players/playout_player.h"
#include "players/world_sampler.h"
#include "practice/deal_code.h"
#include "rules/hand_score.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"
#include "search/form_solver.h"
#include "search/hand_solver.h"
#include "search/rule_card.h"

namespace vantrel {
namespace {

constexpr int C = 0, H = 1, S = 2, D = 3;
constexpr int kAce = 0, kTen = 1, kKing = 2, kQueen = 3, kJack = 4;

// An 80-card hand from names such as "4AH 10S 2QS": a count of copies (one
// when left out), the rank, then the suit's letter.
KindCounts Hand(std::string_view names) {
    KindCounts hand{};
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find(' ', at), names.size());
        std::string_view name = names.substr(at, end - at);
        int copies = 1;
        if (name.size() > 2 && name[0] >= '2' && name[0] <= '4' && name.substr(1, 1) != "0")
            copies = name[0] - '0', name.remove_prefix(1);
        const int suit = static_cast<int>(std::string_view("CHSD").find(name.back()));
        const std::string_view rank = name.substr(0, name.size() - 1);
        const std::array<std::string_view, 5> ranks{"A", "10", "K", "Q", "J"};
        const auto r = static_cast<int>(std::find(ranks.begin(), ranks.end(), rank) - ranks.begin());
        hand[static_cast<std::size_t>(KindOf(suit, r))] += static_cast<std::uint8_t>(copies);
        at = end + 1;
    }
    return hand;
}

// The plain reckoning of the double-deck count, written out from the
// published table without the engine's.
int PlainDoubleDeckMeld(const KindCounts& hand, int trump) {
    auto n = [&](int suit, int rank) { return static_cast<int>(hand[static_cast<std::size_t>(KindOf(suit, rank))]); };
    const int runValue[] = {0, 15, 150, 225, 300};
    const int aroundValue[5][5] = {
        {0, 10, 100, 150, 200}, {}, {0, 8, 80, 120, 160}, {0, 6, 60, 90, 120}, {0, 4, 40, 60, 80}};
    const int pinochleValue[] = {0, 4, 30, 60, 90};
    int meld = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const int pairs = std::min(n(suit, kKing), n(suit, kQueen));
        if (suit != trump) {
            meld += 2 * pairs;
            continue;
        }
        const int runs = std::min({n(suit, kAce), n(suit, kTen), n(suit, kKing), n(suit, kQueen), n(suit, kJack)});
        meld += runValue[runs] + 4 * (pairs - runs);
    }
    for (int rank : {kAce, kKing, kQueen, kJack})
        meld += aroundValue[rank][std::min({n(C, rank), n(H, rank), n(S, rank), n(D, rank)})];
    return meld + pinochleValue[std::min(n(S, kQueen), n(D, kJack))];
}

std::string Lines(const MeldReport& report) {
    std::string lines;
    for (const MeldLine& line : report.lines) lines += line.name + " " + std::to_string(line.value) + "|";
    return lines + std::to_string(report.total);
}

TEST(Meld, DoubleDeckHandsAtTheTable) {
    const RuleSet rules = RuleSet::DoubleDeck();
    const std::vector<std::tuple<const char*, int, const char*>> cases{
        {"4AH 410H 4KH 4QH 4JH", H, "Quadruple run in Hearts 300|300"},
        {"4AH 410H 4KH 4QH 4JH", S,
         "Marriage in Hearts 2|Marriage in Hearts 2|Marriage in Hearts 2|"
         "Marriage in Hearts 2|8"},
        // A run's own King and Queen make no marriage; the extra ones are royal.
        {"AH 10H 3KH 3QH JH 2KC QC 4JD 4AS 2AD", H,
         "Run in Hearts 15|Royal marriage in Hearts 4|Royal marriage in Hearts 4|Marriage in Clubs 2|25"},
        // The run's queen of spades is the pinochle's too.
        {"3AS 10S KS QS JS JD 4AC 4AH 3AD", S, "Run in Spades 15|Triple Aces around 150|Pinochle 4|169"},
        // Two kings of hearts with no queen marry nothing.
        {"2AC 2AH 2AS 2AD 4QS 4JD 2KS 2KH", C,
         "Marriage in Spades 2|Marriage in Spades 2|Double Aces around 100|Quadruple pinochle 90|194"},
        {"3KC 3KH 3KS 3KD 3QC 3QH 3QS 3QD JD 10H", kNoTrump,
         "Marriage in Clubs 2|Marriage in Clubs 2|Marriage in Clubs 2|Marriage in Hearts 2|Marriage in Hearts 2|"
         "Marriage in Hearts 2|Marriage in Spades 2|Marriage in Spades 2|Marriage in Spades 2|Marriage in Diamonds 2|"
         "Marriage in Diamonds 2|Marriage in Diamonds 2|Triple Kings around 120|Triple Queens around 90|Pinochle 4|"
         "238"},
        {"4JC 4JH 4JS 4JD 2QS 10C 10H", D, "Quadruple Jacks around 80|Double pinochle 30|110"},
    };
    for (const auto& [cards, trump, expected] : cases) {
        const MeldReport report = MeldReportOf(rules, Hand(cards), trump);
        EXPECT_EQ(Lines(report), expected) << cards;
        EXPECT_EQ(report.total, PlainDoubleDeckMeld(Hand(cards), trump)) << cards;
    }
    // The cards shown: a card serves once in each group, up to four copies.
    const MeldReport report = MeldReportOf(rules, Hand("3AS 10S KS QS JS JD 4AC 4AH 3AD"), S);
    EXPECT_EQ(report.ShownCounts(), Hand("3AC 3AH 3AS 10S KS QS JS 3AD JD"));
    EXPECT_EQ(report.Text().substr(0, report.Text().find('\n')), "Run in Spades  15  A♠ 10♠ K♠ Q♠ J♠");
}

TEST(Meld, DoubleDeckAgreesWithAPlainReckoningAtEveryMultiplicity) {
    // Hands of 20 from the 80-card deck built round a meld (a run, four of a
    // kind, the pinochle with a marriage), its cards taken one to four times,
    // the rest dealt at random: each meld class is met at every multiplicity.
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(37, 0);
    std::map<std::string, int> met;
    for (int i = 0; i < 20000; ++i) {
        std::vector<int> core;
        const int pick = static_cast<int>(random.Below(3));
        const int which = static_cast<int>(random.Below(4));
        if (pick == 0)
            for (int rank = kAce; rank <= kJack; ++rank) core.push_back(KindOf(which, rank));
        else if (pick == 1)
            for (int suit = 0; suit < 4; ++suit) core.push_back(KindOf(suit, std::array{0, 2, 3, 4}[which]));
        else
            core = {KindOf(S, kQueen), KindOf(D, kJack), KindOf(which, kKing), KindOf(which, kQueen)};
        const auto times = static_cast<std::uint8_t>(1 + random.Below(4));
        KindCounts hand{};
        int cards = 0;
        for (const int kind : core)
            if (cards < 20 && hand[static_cast<std::size_t>(kind)] == 0)
                hand[static_cast<std::size_t>(kind)] = times, cards += times;
        while (cards < 20)
            if (const int kind = KindOf(static_cast<int>(random.Below(4)), static_cast<int>(random.Below(5)));
                hand[static_cast<std::size_t>(kind)] < 4)
                ++hand[static_cast<std::size_t>(kind)], ++cards;
        for (int trump = kNoTrump; trump < 4; ++trump) {
            const MeldReport report = MeldReportOf(rules, hand, trump);
            int sum = 0;
            for (const MeldLine& line : report.lines) {
                sum += line.value;
                met[line.name.substr(0, line.name.find(" in ")) + " x" + std::to_string(line.times)] += 1;
            }
            ASSERT_EQ(report.total, PlainDoubleDeckMeld(hand, trump)) << Lines(report) << ", trump " << trump;
            const CountsMeld fast(rules, hand);
            ASSERT_EQ(trump == kNoTrump ? fast.NoTrump() : fast.WithTrump(trump), report.total) << Lines(report);
            ASSERT_EQ(sum, report.total);
        }
    }
    for (const std::string once : {"Run", "Aces around", "Kings around", "Queens around", "Jacks around", "Pinochle"})
        for (int times = 1; times <= 4; ++times) {
            const std::string name =
                times == 1 ? once
                           : std::array{"", "", "Double ", "Triple ", "Quadruple "}[times] +
                                 (once == "Run" || once == "Pinochle"
                                      ? std::string(1, static_cast<char>(std::tolower(once[0]))) + once.substr(1)
                                      : once);
            EXPECT_GT(met[name + " x" + std::to_string(times)], 20) << name << " was seldom met";
        }
}

// Kinds by name, "AH 10C", one a card.
std::vector<int> Cards(std::string_view names) {
    std::vector<int> cards;
    const KindCounts hand = Hand(names);
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find(' ', at), names.size());
        const KindCounts one = Hand(names.substr(at, end - at));
        cards.push_back(
            static_cast<int>(std::find_if(one.begin(), one.end(), [](auto n) { return n != 0; }) - one.begin()));
        at = end + 1;
    }
    EXPECT_LE(cards.size(), static_cast<std::size_t>(std::accumulate(hand.begin(), hand.end(), 0)));
    return cards;
}

TEST(LegalPlay, DoubleDeckFourCopiesAndEqualCardsInATrick) {
    // The one rule of play and of the trick's taker serves the 80-card deck:
    // a hand holds up to four of a card, and a trick up to four equal cards,
    // the first of which takes it.
    const PlayRules play = RuleSet::DoubleDeck().play;
    const struct {
        const char* hand;
        const char* trick;
        int trump;
        const char* legal;
    } plays[] = {
        {"4AH 2KH 3QC", "QH", S, "AH KH"},      // head the trick with either
        {"4AH 2KH 3QC", "AH", S, "AH KH"},      // an ace led is not beaten by an ace
        {"4AH 2KH 3QC", "10H AS", S, "AH KH"},  // trumped: any heart
        {"4QC 4JS", "KH", S, "JS"},             // void: trump
        {"4QC 4JS", "KH AS", S, "JS"},          // cannot over-trump: any trump
        {"4QC 4JS 2AS", "KH 10S", S, "AS"},     // over-trump
        {"4QC 2KD", "KH", S, "QC KD"},          // void, no trump: any card
    };
    for (const auto& p : plays) {
        KindMask expected = 0;
        for (const int card : Cards(p.legal)) expected |= KindFlag(card);
        const std::vector<int> trick = Cards(p.trick);
        EXPECT_EQ(LegalPlaysFromHeld(HeldKinds(Hand(p.hand)), StateOf(trick, p.trump), p.trump, play), expected)
            << p.hand << " to " << p.trick;
    }
    const struct {
        const char* trick;
        int trump;
        int winner;
    } tricks[] = {
        {"AH AH AH 10H", S, 0},  // three equal aces: the first
        {"KH AH AH AH", S, 1},   // three equal aces after the lead: the first of them
        {"KC JS JS JS", S, 1},   // three equal trumps
        {"KC JS QS QS", S, 2},   // the first of two equal higher trumps
        {"10D AD AD KD", S, 1},
    };
    for (const auto& t : tricks) {
        EXPECT_EQ(TrickWinner(Cards(t.trick), t.trump, TrickRules::SuitLed), t.winner) << t.trick;
    }
}

// A random legal card of the seat to play.
template <class State>
int AnyLegal(const State& state, Random& random) {
    const KindMask legal = state.Legal();
    auto pick = static_cast<int>(random.Below(static_cast<std::uint32_t>(std::popcount(legal))));
    KindMask rest = legal;
    while (pick-- > 0) rest &= rest - 1;
    return std::countr_zero(rest);
}

TEST(PlayState, DoubleDeckHandsPlayedOutByTheOneLedger) {
    // Whole 80-card hands played by random legal cards: twenty tricks, the
    // 50 counters all taken, a card refused where the rules say, and every
    // card taken back to the deal.
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(59, 0);
    int refusals = 0;
    for (int deal = 0; deal < 300; ++deal) {
        const FormDeal dealt = DealOf(rules.form, random);
        FormPlayState play(rules, dealt.hands, static_cast<int>(random.Below(4)), deal % 4);
        while (!play.Over()) {
            const KindMask legal = play.Legal();
            const KindMask held = HeldKinds(play.Hands()[static_cast<std::size_t>(play.ToPlay())]);
            ASSERT_EQ(legal & ~held, 0u);
            if (const KindMask barred = held & ~legal; barred != 0) {
                EXPECT_NE(play.Play(std::countr_zero(barred)), "");
                ++refusals;
            }
            ASSERT_EQ(play.Play(AnyLegal(play, random)), "");
        }
        EXPECT_EQ(play.Played(), 80);
        EXPECT_EQ(play.Tricks()[0] + play.Tricks()[1], 20);
        EXPECT_EQ(play.Points()[0] + play.Points()[1], 50);
        EXPECT_EQ(play.Play(0), "The hand is over.");
        while (play.Played() > 0) play.Unmake();
        EXPECT_EQ(play.Hands(), dealt.hands);
        EXPECT_EQ(play.Points(), (std::array<int, 2>{}));
    }
    EXPECT_GT(refusals, 1000);
    // The rule player plays a legal card throughout, and its playout is
    // scored as the hand's counters and meld say.
    for (int deal = 0; deal < 100; ++deal) {
        const FormDeal dealt = DealOf(rules.form, random);
        const int trump = deal % 4;
        FormPlayState play(rules, dealt.hands, trump, deal % 4);
        while (!play.Over()) {
            const int card = RuleCard(play, deal % 4);
            ASSERT_NE(play.Legal() & KindFlag(card), 0u) << KindText(card);
            play.Make(card);
        }
        std::array<int, 2> meld{};
        for (int seat = 0; seat < 4; ++seat)
            meld[static_cast<std::size_t>(seat % 2)] +=
                MeldReportOf(rules, dealt.hands[static_cast<std::size_t>(seat)], trump).total;
        const std::array<int, 2> taken = PlayOutDeal(rules, dealt.hands, trump, deal % 4);
        for (std::size_t side = 0; side < 2; ++side)
            EXPECT_EQ(taken[side], play.Points()[side] + (play.Points()[side] >= 20 ? meld[side] : 0));
    }
    // The 48-card deck played as counts a kind goes card for card as the
    // hand counts do, and the rule player chooses alike in both.
    for (int deal = 0; deal < 200; ++deal) {
        const FormDeal dealt = DealOf(GameForm{}, random);
        std::array<HandCounts, 4> hands{};
        for (std::size_t seat = 0; seat < 4; ++seat)
            for (int kind = 0; kind < kCardKinds; ++kind)
                hands[seat] += dealt.hands[seat][static_cast<std::size_t>(kind)] * KindBit(kind);
        PlayState counts(RuleSet::Standard(), hands, deal % 4, deal % 4);
        FormPlayState kinds(RuleSet::Standard(), dealt.hands, deal % 4, deal % 4);
        while (!counts.Over()) {
            ASSERT_EQ(kinds.Legal(), counts.Legal());
            ASSERT_EQ(kinds.Ledger(), counts.Ledger());
            const int card = deal % 2 == 0 ? AnyLegal(counts, random) : RuleCard(counts, deal % 4);
            if (deal % 2 == 1) ASSERT_EQ(RuleCard(kinds, deal % 4), card);
            counts.Make(card);
            kinds.Make(card);
        }
        EXPECT_TRUE(kinds.Over());
        EXPECT_EQ(kinds.Points(), counts.Points());
    }
}

TEST(FormSolver, DoubleDeckValuesAgreeWithAPlainSearchAndTheSingleDeckSolver) {
    Random random(83, 0);
    // 80-card positions three tricks from the end, at every place in a
    // trick, for either side: the value a plain search proves.
    const RuleSet rules = RuleSet::DoubleDeck();
    FormSolver solver(12);
    for (int deal = 0; deal < 60; ++deal) {
        FormPlayState play(rules, DealOf(rules.form, random).hands, deal % 4, deal % 4);
        while (play.Played() < 68 + deal % 4) play.Make(RuleCard(play, deal % 4));
        const int side = deal / 4 % 2;
        const int plain = testing::Exhaustive(play, side) - play.Points()[static_cast<std::size_t>(side)];
        ASSERT_EQ(solver.SolveWithin(play, side, 1'000'000), (FormSolver::Bounds{plain, plain})) << "deal " << deal;
    }
    // The 48-card deck, five to seven tricks from the end: the value the
    // 48-card solver proves.
    HandSolver single(16);
    for (int deal = 0; deal < 30; ++deal) {
        const FormDeal dealt = DealOf(GameForm{}, random);
        FormPlayState play(RuleSet::Standard(), dealt.hands, deal % 4, deal % 4);
        PlayState same(RuleSet::Standard(), PackedCounts(dealt.hands), deal % 4, deal % 4);
        while (play.Played() < 20 + 2 * (deal % 5)) {
            same.Make(RuleCard(play, deal % 4));
            play.Make(RuleCard(play, deal % 4));
        }
        const int exact = single.Solve(same, deal % 2);
        ASSERT_EQ(solver.SolveWithin(play, deal % 2, 50'000'000), (FormSolver::Bounds{exact, exact})) << deal;
    }
    // A whole 80-card hand within a small budget: bounds that hold the
    // value proved with a larger one, or that value; a cancel gives -1.
    FormPlayState whole(rules, DealOf(rules.form, random).hands, 1, 1);
    for (int card = 0; card < 40; ++card) whole.Make(RuleCard(whole, 1));
    FormSolver fresh(16);
    const FormSolver::Bounds exact = fresh.SolveWithin(whole, 0, 200'000'000);
    ASSERT_TRUE(exact.Exact()) << exact.lower << ".." << exact.upper;
    const FormSolver::Bounds rough = FormSolver(12).SolveWithin(whole, 0, 2'000);
    EXPECT_FALSE(rough.Exact());
    EXPECT_LE(rough.lower, exact.lower);
    EXPECT_GE(rough.upper, exact.upper);
    const std::atomic<bool> cancel{true};
    EXPECT_EQ(FormSolver().SolveWithin(whole, 0, 200'000'000, &cancel), (FormSolver::Bounds{-1, -1}));
}

TEST(WorldSampler, DoubleDeckWorldsKeepToTheSeatsView) {
    // A seat's view of an 80-card hand in play: what it infers never
    // excludes a card the other hand really holds, and every world drawn
    // from it deals the unseen cards, four copies a kind in all, into the
    // room each hand has, none where the view excludes it.
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(61, 0);
    int worlds = 0;
    int inferred = 0;
    for (int deal = 0; deal < 60; ++deal) {
        const FormDeal dealt = DealOf(rules.form, random);
        const int trump = deal % 4;
        const int seat = deal / 4 % 4;
        FormPlayState play(rules, dealt.hands, trump, deal % 4);
        FormSeatView view(rules, seat, dealt.hands[static_cast<std::size_t>(seat)], trump, deal % 4);
        const int stop = 4 + static_cast<int>(random.Below(72));
        while (play.Played() < stop) {
            const int card = deal % 2 == 0 ? AnyLegal(play, random) : RuleCard(play, deal % 4);
            view.Observe(card);
            play.Make(card);
        }
        ASSERT_EQ(view.Hand(), play.Hands()[static_cast<std::size_t>(seat)]);
        ASSERT_EQ(view.Unseen(), [&] {
            KindCounts others{};
            for (int s = 0; s < 4; ++s)
                if (s != seat) others = Plus(others, play.Hands()[static_cast<std::size_t>(s)]);
            return others;
        }());
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(view.Excluded(s) & HeldKinds(play.Hands()[static_cast<std::size_t>(s)]), 0u) << "seat " << s;
            inferred += std::popcount(view.Excluded(s));
        }
        for (int w = 0; w < 20; ++w, ++worlds) {
            const FormSampledWorld world = SampleWorld(view, random);
            KindCounts all = WholeDeckOf(rules.form);
            for (int s = 0; s < 4; ++s) {
                const KindCounts& hand = world.hands[static_cast<std::size_t>(s)];
                EXPECT_EQ(CardCount(hand), view.CardsLeft(s));
                if (world.consistent) EXPECT_EQ(view.Excluded(s) & HeldKinds(hand), 0u);
                all = Less(all, hand);
            }
            for (const int card : view.Plays()) TakeCards(all, card);
            EXPECT_EQ(all, KindCounts{}) << "the world and the cards played are not the deck";
            ASSERT_EQ(world.hands[static_cast<std::size_t>(seat)], view.Hand());
        }
    }
    EXPECT_EQ(worlds, 1200);
    EXPECT_GT(inferred, 100) << "the views inferred little";
}

TEST(Players, DoubleDeckPlayoutsChooseByTheirMeansAndBeatTheRulePlayer) {
    // Through whole 80-card hands, at every decision with a choice: the
    // card chosen is legal, has the best mean of the legal cards, each mean
    // lies within the counters still out, and the same seed chooses alike.
    const RuleSet rules = RuleSet::DoubleDeck();
    Random random(67, 0);
    int choices = 0;
    for (int deal = 0; deal < 3; ++deal) {
        const std::array<KindCounts, 4> hands = DealOf(rules.form, random).hands;
        FormPlayState play(rules, hands, deal, deal);
        std::vector<FormSeatView> views;
        for (int seat = 0; seat < 4; ++seat)
            views.emplace_back(rules, seat, hands[static_cast<std::size_t>(seat)], deal, deal);
        while (!play.Over()) {
            const FormSeatView& view = views[static_cast<std::size_t>(play.ToPlay())];
            const PlayoutChoice choice = PlayoutCard(view, 12, 5);
            const KindMask legal = play.Legal();
            ASSERT_NE(legal & KindFlag(choice.card), 0u);
            if (std::popcount(legal) > 1) {
                ++choices;
                EXPECT_EQ(choice.worlds, 12);
                const int out = 50 - play.Points()[0] - play.Points()[1];
                for (int kind = 0; kind < kCardKinds; ++kind) {
                    const double mean = choice.byCard[static_cast<std::size_t>(kind)];
                    if ((legal & KindFlag(kind)) == 0) {
                        EXPECT_EQ(mean, -1);
                        continue;
                    }
                    EXPECT_GE(mean, 0);
                    EXPECT_LE(mean, out);
                    EXPECT_LE(mean, choice.expected);
                }
                EXPECT_EQ(choice.byCard[static_cast<std::size_t>(choice.card)], choice.expected);
                EXPECT_EQ(PlayoutCard(view, 12, 5).card, choice.card);
            }
            play.Make(choice.card);
            for (FormSeatView& v : views) v.Observe(choice.card);
        }
    }
    EXPECT_GT(choices, 100);
    // A duplicate match of Normal against Easy: more counters, beyond chance.
    const DuelResult duel = PlayDuel(rules, DuelPlayer::Normal, DuelPlayer::Easy, 24, 3);
    EXPECT_GT(duel.cardPoints - duel.cardPointsHalfWidth, 0) << duel.cardPoints << " +/- " << duel.cardPointsHalfWidth;
}

TEST(Passing, DoubleDeckPassesTrumpsToTheDeclarerAndKeepsTheMeldComingBack) {
    const RuleSet rules = RuleSet::DoubleDeck();
    // Partner gives its highest trumps, then aces.
    const KindCounts partner = Hand("3AH 10H 2JH 2AC KS QS 4JC 4QD 2KD");
    EXPECT_EQ(ChoosePass(rules, partner, H, 4, true), Hand("3AH 10H"));
    EXPECT_EQ(ChoosePass(rules, partner, H, 3, true), Hand("3AH"));
    // The declarer passes back losers and keeps its run, its aces around
    // and its pinochles, even where it holds three of a card.
    const KindCounts declarer = Hand("AH 10H KH QH JH AC AS AD 2QS 2JD 3JC 3QC QH");
    const KindCounts back = ChoosePass(rules, declarer, H, 4, false);
    EXPECT_EQ(CardCount(back), 4);
    const KindCounts kept = Less(declarer, back);
    EXPECT_EQ(MeldOf(rules, kept, H), MeldOf(rules, declarer, H)) << "meld was passed back";
    EXPECT_EQ(back, Hand("3JC QC"));
    // A playout with four cards passed each way plays the hands after the passes.
    RuleSet passing = rules;
    passing.passCards = 4;
    Random random(71, 0);
    int differ = 0;
    for (int deal = 0; deal < 40; ++deal) {
        const std::array<KindCounts, 4> hands = DealOf(rules.form, random).hands;
        std::array<KindCounts, 4> passed = hands;
        const KindCounts given = ChoosePass(rules, passed[2], deal % 4, 4, true);
        passed[2] = Less(passed[2], given);
        passed[0] = Plus(passed[0], given);
        const KindCounts returned = ChoosePass(rules, passed[0], deal % 4, 4, false);
        passed[0] = Less(passed[0], returned);
        passed[2] = Plus(passed[2], returned);
        EXPECT_EQ(CardCount(passed[0]), 20);
        EXPECT_EQ(PlayOutDeal(passing, hands, deal % 4, 0), PlayOutDeal(rules, passed, deal % 4, 0));
        differ += PlayOutDeal(passing, hands, deal % 4, 0) != PlayOutDeal(rules, hands, deal % 4, 0);
    }
    EXPECT_GT(differ, 10) << "passing cards changed few hands";
}

TEST(ChanceToMake, DoubleDeckHandsAcrossBidsThreadsAndCancel) {
    const RuleSet rules = RuleSet::DoubleDeck();
    // A long heart suit with its run, the aces around and more: hearts make
    // far more than a plain suit, and every bid's chance falls as it rises.
    const KindCounts strong = Hand("2AH 210H 2KH 2QH 2JH AC AS AD 2KC 2QC JD QS 10S");
    ASSERT_EQ(CardCount(strong), 20);
    const ChanceTally one = ChanceToMake(rules, strong, 800, 7, 1);
    const ChanceTally two = ChanceToMake(rules, strong, 800, 7, 2);
    ASSERT_EQ(one.deals, 800u);
    EXPECT_EQ(one.taken, two.taken) << "the figures depend on the threads";
    EXPECT_EQ(one.defended, two.defended);
    const std::vector<ChanceRow> rows = ChanceRows(one, rules);
    ASSERT_GT(rows.size(), 10u);
    EXPECT_EQ(rows.front().bid, 50);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].bid, rows[r - 1].bid + 1);
        for (std::size_t t = 0; t < 4; ++t) EXPECT_LE(rows[r].chance[t], rows[r - 1].chance[t]);
    }
    EXPECT_GT(one.Chance(H, 100), 0.9);
    EXPECT_GT(one.ExpectedScore(H, 80), one.ExpectedScore(C, 80) + 20);
    const BestBid best = BestBidOf(one, rules);
    EXPECT_EQ(best.trump, H);
    EXPECT_GT(best.bid, 100);
    // A hand the form cannot hold gives nothing; a cancel stops the work.
    EXPECT_EQ(ChanceToMake(rules, Plus(strong, Hand("JC")), 100, 7).deals, 0u);
    EXPECT_EQ(ChanceToMake(rules, Hand("4AH 410H 4KH 4QH 4JH"), 100, 7).deals, 100u);
    EXPECT_EQ(ChanceToMake(rules, Plus(Hand("4AH 410H 4KH 4QH 3JH"), Hand("2JH")), 100, 7).deals, 0u);
    std::atomic<bool> cancel{true};
    EXPECT_LT(ChanceToMake(rules, strong, 100000, 7, 1, &cancel).deals, 100000u);
}

TEST(HandAnalysis, DoubleDeckNearMeldsTheirExactOddsAndTheSimulation) {
    const RuleSet rules = RuleSet::DoubleDeck();
    // Two of each heart but one jack, two or three aces of each suit, a queen
    // of spades.
    const KindCounts own = Hand("2AH 210H 2KH 2QH JH 3AC 3AS 2AD QS KC 10C");
    ASSERT_EQ(CardCount(own), 20);
    std::string found;
    for (const NearMeld& near : FindNearMelds(rules, own)) {
        found += near.meld + ":";
        for (const int kind : near.kinds) found += " " + KindText(kind);
        found += "|";
    }
    EXPECT_EQ(found,
              "Run in Clubs: Q♣ J♣|Double run in Hearts: J♥|Triple Aces around: A♥ A♦|Kings around: K♠ K♦|"
              "Queens around: Q♣ Q♦|Pinochle: J♦|Marriage in Clubs: Q♣|3 marriages in Hearts: K♥ Q♥|"
              "Marriage in Spades: K♠|Marriage in Diamonds: K♦ Q♦|");
    const std::vector<NearMeld> near = FindNearMelds(rules, own);
    // One kind with u copies out: partner's twenty of the sixty unseen cards
    // miss them all with chance C(60 - u, 20) / C(60, 20).
    auto missAll = [](int u) {
        double p = 1;
        for (int j = 0; j < 20; ++j) p *= (60.0 - u - j) / (60.0 - j);
        return p;
    };
    EXPECT_NEAR(ChancePartnerHoldsAll(rules, own, {KindOf(H, kJack)}), 1 - missAll(3), 1e-12);
    EXPECT_NEAR(ChancePartnerHoldsAll(rules, own, {KindOf(H, kAce), KindOf(D, kAce)}),
                1 - missAll(2) - missAll(2) + missAll(4), 1e-12);
    // The simulation's hits agree with the exact odds within four standard
    // errors, and its figures do not depend on the threads.
    const SimulationTally one = Simulate(rules, own, near, 3, 40000, 1);
    const SimulationTally two = Simulate(rules, own, near, 3, 40000, 2);
    ASSERT_EQ(one.deals, 40000u);
    EXPECT_EQ(one.nearMeldHits, two.nearMeldHits);
    EXPECT_EQ(one.trumps[1].partner, two.trumps[1].partner);
    for (std::size_t n = 0; n < near.size(); ++n) {
        const double share = static_cast<double>(one.nearMeldHits[n]) / 40000.0;
        const double error = std::sqrt(near[n].exact * (1 - near[n].exact) / 40000.0);
        EXPECT_NEAR(share, near[n].exact, 4 * error + 1e-9) << near[n].meld;
    }
    // Partner's meld in hearts: a random 20 cards' in hearts, on average
    // above a few marriages; the opponents' two hands about twice it.
    const MeldSpread partner =
        SpreadOf(one.trumps[1].partner, one.trumps[1].partnerSum, one.trumps[1].partnerSquares, one.deals);
    const MeldSpread opponents =
        SpreadOf(one.trumps[1].opponents, one.trumps[1].opponentsSum, one.trumps[1].opponentsSquares, one.deals);
    EXPECT_GT(partner.mean, 8);
    EXPECT_NEAR(opponents.mean / partner.mean, 2, 0.25);
    // A hand the form cannot hold is refused.
    EXPECT_TRUE(FindNearMelds(rules, Plus(own, Hand("JC"))).empty());
    EXPECT_EQ(Simulate(rules, Plus(own, Hand("JC")), {}, 3, 100).deals, 0u);
}

TEST(HandScore, DoubleDeckCountersAndTheMeldTheyLetCount) {
    // Every A, 10 and K a counter; the last trick 2: 50 in a hand.
    const RuleSet rules = RuleSet::DoubleDeck();
    int counters = rules.lastTrick;
    for (int kind = 0; kind < kCardKinds; ++kind)
        if (RankOfKind(kind) < 5) counters += 4 * CardPointsOf(rules, kind);
    EXPECT_EQ(counters, 50);
    // Declarers (side 0) bid 60 on 40 meld; the defenders hold 15 meld.
    const struct {
        std::array<int, 2> counters;
        std::array<int, 2> tricks;
        std::array<int, 2> score;
        const char* result;
    } hands[] = {
        {{30, 20}, {12, 8}, {70, 35}, "Made by 10"},    // both sides reach 20 counters
        {{20, 30}, {9, 11}, {60, 45}, "Made exactly"},  // exactly 20 is enough
        {{19, 31}, {9, 11}, {-60, 46}, "Set by 41"},    // 19 counters: the meld is lost
        {{50, 0}, {20, 0}, {90, 0}, "Made by 30"},      // no trick, no counters, no meld
        {{35, 15}, {14, 6}, {75, 15}, "Made by 15"},    // tricks but not 20 counters
    };
    for (const auto& hand : hands) {
        const HandScore score = ScoreHand(rules, {0, 60, {40, 15}, hand.counters, hand.tricks, false});
        EXPECT_EQ(score.score, hand.score) << hand.result;
        EXPECT_EQ(score.Result(), hand.result);
    }
    // The game goes to 500; when both sides pass it in one hand the
    // declarers count out first, unless they were set.
    EXPECT_EQ(GameWinner(rules, {499, 430}, 0, true), -1);
    EXPECT_EQ(GameWinner(rules, {500, 430}, 1, false), 0);
    EXPECT_EQ(GameWinner(rules, {520, 510}, 1, true), 1);
    EXPECT_EQ(GameWinner(rules, {520, 510}, 1, false), 0);
}

TEST(Deal, DoubleDeckDealsAndTheirCodes) {
    // Every 80-card deal reads back from its code; the hands hold twenty
    // cards each and the deck four of each card, no nines.
    const GameForm form = RuleSet::DoubleDeck().form;
    Random random(53, 0);
    std::string code;
    for (int deal = 0; deal < 2000; ++deal) {
        const FormDeal dealt = DealOf(form, random);
        KindCounts deck{};
        for (const KindCounts& hand : dealt.hands) {
            ASSERT_EQ(std::accumulate(hand.begin(), hand.end(), 0), 20);
            for (std::size_t kind = 0; kind < deck.size(); ++kind) deck[kind] += hand[kind];
        }
        ASSERT_EQ(deck, WholeDeckOf(form));
        code = DealCodeOf(form, dealt.hands);
        ASSERT_EQ(code.size(), kDoubleDeckCodeCharacters + 5) << code;
        const DecodedHands read = ReadDealCode(code);
        ASSERT_TRUE(read.ok) << code << ": " << read.problem;
        ASSERT_EQ(read.hands, dealt.hands) << code;
        ASSERT_EQ(read.form, form);
    }
    // The code in the README is pinned to its deal, and written with its dashes.
    Random pinned(2026, 15);
    EXPECT_EQ(DealCodeOf(form, DealOf(form, pinned).hands), "1WYP-H8H2-9C8A-B0D7-RXDWV-H");
    // Any one mistyped character, and any two exchanged neighbours, are caught.
    const std::string symbols = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    int mistyped = 0;
    for (std::size_t at = 0; at < code.size(); ++at) {
        if (code[at] == '-') continue;
        for (const char symbol : symbols) {
            if (symbol == code[at]) continue;
            std::string typed = code;
            typed[at] = symbol;
            EXPECT_FALSE(ReadDealCode(typed).ok) << typed;
            ++mistyped;
        }
        if (at + 1 < code.size() && code[at + 1] != '-' && code[at + 1] != code[at]) {
            std::string swapped = code;
            std::swap(swapped[at], swapped[at + 1]);
            EXPECT_EQ(ReadDealCode(swapped).problem, "The check character does not fit: the code has been mistyped.");
        }
    }
    EXPECT_GT(mistyped, 600);
    // A 48-card code reads as it always has, and the 48-card form writes it.
    Random single(54, 0);
    const FormDeal standard = DealOf(GameForm{}, single);
    const std::string standardCode = DealCodeOf(GameForm{}, standard.hands);
    const DecodedDeal old = DecodeDealCode(standardCode);
    ASSERT_TRUE(old.ok);
    EXPECT_EQ(DealCodeOf(old.deck), standardCode);
    const DecodedHands read = ReadDealCode(standardCode);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.form, GameForm{});
    EXPECT_EQ(read.hands, standard.hands);
    // What no deal gives is refused with its reason.
    std::array<KindCounts, 4> uneven = DealOf(form, random).hands;
    for (std::size_t kind = 0; kind < kCardKinds; ++kind)
        if (uneven[1][kind] > 0) {
            --uneven[1][kind], ++uneven[0][kind];
            break;
        }
    // The highest number 21 characters write, with its check character: far
    // beyond any deal's.
    int check = 4;
    for (int i = 0; i < 21; ++i) check = (check * 32 + 31) % 37;
    const std::string beyond =
        "ZZZZ-ZZZZ-ZZZZ-ZZZZ-ZZZZZ-" + std::string(1, "0123456789ABCDEFGHJKMNPQRSTVWXYZ*~$=U"[check]);
    const std::vector<std::pair<std::string, std::string>> refused{
        {DealCodeOf(form, uneven), "The deal code does not give twenty cards to each hand."},
        {beyond, "The deal code does not give four of each card."},
        {"0K3V-9R9R-G0K3-VP66",
         "A deal code has 17 characters besides dashes and blanks (22 for the 80-card deck); "
         "this one has 16."},
        {"0K3V-9R9R-G0K3-VP66-VMQTU-S", "The deal code holds \"U\" at place 21, which no deal code uses."},
    };
    for (const auto& [bad, problem] : refused) {
        const DecodedHands refusal = ReadDealCode(bad);
        EXPECT_FALSE(refusal.ok) << bad;
        EXPECT_EQ(refusal.problem, problem) << bad;
        EXPECT_EQ(refusal.hands, (std::array<KindCounts, 4>{})) << bad;
    }
}

TEST(RuleSet, DoubleDeckPresetAndItsSettingsReadBack) {
    const RuleSet doubleDeck = RuleSet::DoubleDeck();
    EXPECT_EQ(doubleDeck.Name(), "Double-deck");
    EXPECT_EQ(doubleDeck.form.DeckCards(), 80);
    EXPECT_TRUE(doubleDeck.form.DealsTheDeck());
    EXPECT_EQ(RulesFromSettings(doubleDeck.ToSettings()).rules, doubleDeck);
    RuleSet changed = doubleDeck;
    changed.meldCounters = 0;
    EXPECT_EQ(changed.Name(), "Double-deck, changed");
    // A bad value is refused by name, and the default of the form read is
    // kept: the 80-card deck's own for its fields, the Standard form's for a
    // deck of 7 copies.
    const auto withSettings = [&](std::vector<std::pair<std::string, std::string>> edits) {
        std::vector<std::pair<std::string, std::string>> settings = doubleDeck.ToSettings();
        for (const auto& edit : edits)
            for (auto& setting : settings)
                if (setting.first == edit.first) setting.second = edit.second;
        return RulesFromSettings(settings);
    };
    const ReadRules badBid = withSettings({{"standingBid", "-5"}, {"bidStep", "one"}});
    EXPECT_EQ(badBid.rules, doubleDeck);
    EXPECT_EQ(badBid.notes, (std::vector<std::string>{"Rule \"standingBid\" cannot be -5: 50 is used.",
                                                      "Rule \"bidStep\" cannot be one: 1 is used."}));
    const ReadRules sevenCopies = withSettings({{"copies", "7"}});
    EXPECT_EQ(sevenCopies.rules.form, RuleSet::Standard().form);
    EXPECT_EQ(sevenCopies.notes,
              (std::vector<std::string>{"Rule \"copies\" cannot be 7: 2 is used.",
                                        "The deck of 40 cards cannot be dealt 20 a hand, 4 at a time, with 0 to the "
                                        "widow: the form of Standard is used."}));
    const ReadRules twelve = withSettings({{"handCards", "12"}});
    EXPECT_EQ(twelve.rules, doubleDeck);
    EXPECT_EQ(twelve.notes, (std::vector<std::string>{"The deck of 80 cards cannot be dealt 12 a hand, 4 at a time, "
                                                      "with 0 to the widow: the form of Double-deck is used."}));
    // A single-deck setting file reads as it did. The game plays either
    // deck at a table of four, and a form with a widow by the Standard rules.
    EXPECT_EQ(RulesFromSettings({{"passCards", "4"}}).rules.form, GameForm{});
    std::vector<std::pair<std::string, std::string>> game;
    for (const auto& [name, value] : doubleDeck.ToSettings()) game.emplace_back("rules/" + name, value);
    EXPECT_EQ(GameSettings::FromSettings(game).rules, doubleDeck);
    for (const auto& [name, value] : {std::pair{"handCards", "19"}, {"dealBy", "1"}, {"widow", "4"}})
        game.emplace_back(std::string("rules/") + name, value);
    EXPECT_EQ(GameSettings::FromSettings(game).rules, RuleSet::Standard());
}

}  // namespace
}  // namespace vantrel
