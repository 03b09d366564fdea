// The computer players: the rule player's habits, the search against an
// exhaustive solver, legal cards from random positions, what a seat is
// allowed to know, bidding and the chance to make.
#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "play_support.h"
#include "players/bidding.h"
#include "players/chance_to_make.h"
#include "players/passing.h"
#include "players/rule_player.h"
#include "players/search_player.h"
#include "players/seat_view.h"
#include "players/world_sampler.h"
#include "players/world_weight.h"
#include "rules/design_codes.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"
#include "test_support.h"

namespace vantrel {
namespace {
using testing::Exhaustive;
using testing::RandomDeal;
using testing::RandomLegal;

HandCounts Hand(std::string_view names) { return testing::CountsOf(names); }
std::vector<int> Kinds(std::string_view names) {
    std::vector<int> kinds;
    for (const CardRec& card : testing::CardsOf(names)) kinds.push_back(KindOfCode(card.Code));
    return kinds;
}

constexpr int C = 0, H = 1, D = 3;

TEST(RulePlayer, HabitsAtTheTable) {
    // The seat's cards, the cards out in the other hands, the trick so far,
    // the seat, the declarer, trump, and the card the habit plays.
    const struct {
        const char* habit;
        const char* own;
        const char* others;
        const char* trick;
        int seat, declarer, trump;
        const char* card;
    } habits[] = {
        {"cash a sure winner", "AH 9H 9S JD", "10H KH QS AD", "", 1, 0, C, "AH"},
        {"the declarer pulls trump when long", "AH 10H KH 9H 9S", "QH JH AS", "", 0, 0, H, "AH"},
        {"not long: low from the longest plain suit", "AH 9S JS 10S", "10H KH QH JH 9H AS", "", 0, 0, H, "9S"},
        {"feed card points to partner's winning trick", "10D JD 9C", "QD", "9D AD KD", 3, 0, C, "10D"},
        {"throw the least card when the trick is lost", "10D JD 9C", "QD", "AD 9D KD", 3, 0, C, "JD"},
        {"spend the lowest trump that wins", "AC 10C 9C KS", "QH", "AH 9H KH", 3, 0, C, "9C"},
        {"win as cheaply as possible", "AD 10D 9D", "QD JD", "KD", 1, 0, C, "10D"},
    };
    for (const auto& h : habits) {
        const std::vector<int> trick = Kinds(h.trick);
        const RuleSet rules = RuleSet::Standard();
        const RuleInput input{Hand(h.own),
                              Hand(h.others),
                              trick,
                              h.seat,
                              h.trump,
                              h.declarer,
                              LegalPlays(Hand(h.own), trick, h.trump, rules.play),
                              &rules};
        EXPECT_EQ(KindText(RuleCard(input)), KindText(Kinds(h.card).front())) << h.habit;
    }
}

// Views of all four seats of a deal, kept up to date card by card.
struct Table {
    Table(const std::array<HandCounts, 4>& hands, int trump, int declarer)
        : state(RuleSet::Standard(), hands, trump, declarer) {
        for (int seat = 0; seat < 4; ++seat)
            views.emplace_back(RuleSet::Standard(), seat, hands[static_cast<std::size_t>(seat)], trump, declarer);
    }
    void Play(int card) {
        state.Make(card);
        for (SeatView& view : views) view.Observe(card);
    }
    PlayState state;
    std::vector<SeatView> views;
};

TEST(SearchPlayer, EndgamesAgreeWithAnExhaustiveSolver) {
    // Positions with one to five tricks left, some in mid-trick, from
    // random deals played by random legal cards.
    Random random(17, 0);
    for (int tricksLeft : {1, 2, 3, 4, 5})
        for (int position = 0; position < 40; ++position) {
            const std::array<HandCounts, 4> hands = RandomDeal(random);
            PlayState state(RuleSet::Standard(), hands, position % 4, position % 3);
            while (state.Played() < 48 - 4 * tricksLeft + position % 3) state.Make(RandomLegal(state.Legal(), random));
            const int side = position % 2;
            const int before = state.Points()[static_cast<std::size_t>(side)];
            EXPECT_EQ(SolvePosition(state, side) + before, Exhaustive(state, side))
                << tricksLeft << " tricks left, position " << position;
        }
}

TEST(SearchPlayer, WithEveryHandShownItsCardIsOptimal) {
    // Each seat is shown every other hand as the play begins, so its one
    // world is the deal itself. From two to four tricks from the end (in
    // mid-trick too), the card the search plays must lose nothing against
    // the best line an exhaustive solver finds, at Normal and at Strong
    // (whose weights must keep the one world).
    Random random(31, 0);
    for (int tricksLeft : {2, 3, 4})
        for (int position = 0; position < 100; ++position) {
            const std::array<HandCounts, 4> hands = RandomDeal(random);
            Table table(hands, position % 4, position % 3);
            for (int seat = 0; seat < 4; ++seat)
                for (int other = 0; other < 4; ++other)
                    if (other != seat)
                        table.views[static_cast<std::size_t>(seat)].Shown(other,
                                                                          hands[static_cast<std::size_t>(other)]);
            while (table.state.Played() < 48 - 4 * tricksLeft + position % 4)
                table.Play(RandomLegal(table.state.Legal(), random));
            const int seat = table.state.ToPlay();
            const int side = SideOf(seat);
            const SearchChoice choice = SearchCard(table.views[static_cast<std::size_t>(seat)],
                                                   BudgetOf(position % 2 == 0 ? Level::Normal : Level::Strong), 7);
            const int best = Exhaustive(table.state, side);
            table.state.Make(choice.card);
            EXPECT_EQ(Exhaustive(table.state, side), best)
                << tricksLeft << " tricks left, position " << position << ": " << KindText(choice.card);
            table.state.Unmake();
        }
}

TEST(SeatView, NeverRulesOutACardAnotherSeatHolds) {
    // Random legal histories under every combination of the play switches,
    // half of them after the declarer's partner passed four cards and the
    // declarer four back (the computer's choices, which may send back a card
    // just received): after each card, no seat's view excludes a kind
    // another seat holds, nor counts as known a card that seat does not hold.
    Random random(37, 0);
    std::uint64_t checks = 0;
    int returned = 0;
    for (int deal = 0; deal < 1600; ++deal) {
        RuleSet rules = RuleSet::Standard();
        rules.play = {(deal & 1) != 0, (deal & 2) != 0, (deal & 4) != 0, (deal & 8) != 0};
        if (deal % 32 >= 16) rules.tricks = TrickRules::RankAlone;
        std::array<HandCounts, 4> hands = RandomDeal(random);
        const int trump = deal % 4;
        const auto declarer = static_cast<std::size_t>((deal / 4) % 4);
        const std::size_t partner = (declarer + 2) & 3;
        HandCounts given = 0;
        HandCounts back = 0;
        if (deal % 64 >= 32) {
            given = ChoosePass(hands[partner], trump, 4, true);
            back = ChoosePass(hands[declarer] + given, trump, 4, false);
            if ((HeldKinds(back) & HeldKinds(given)) != 0) ++returned;
            hands[partner] += back - given;
            hands[declarer] += given - back;
        }
        PlayState state(rules, hands, trump, static_cast<int>(declarer));
        std::vector<SeatView> views;
        for (std::size_t seat = 0; seat < 4; ++seat)
            views.emplace_back(rules, static_cast<int>(seat), hands[seat], trump, static_cast<int>(declarer));
        if (given != 0) {
            views[partner].Gave(given, back);
            views[declarer].Gave(back);
        }
        while (!state.Over()) {
            const int card = RandomLegal(state.Legal(), random);
            state.Make(card);
            for (SeatView& view : views) {
                view.Observe(card);
                for (int other = 0; other < 4; ++other) {
                    const HandCounts held = state.Hands()[static_cast<std::size_t>(other)];
                    ASSERT_EQ(view.Excluded(other) & HeldKinds(held), 0u)
                        << "deal " << deal << ", seat " << view.Seat() << " on seat " << other << ", card "
                        << state.Played();
                    ASSERT_TRUE(Holds(held, view.KnownIn(other)));
                    ++checks;
                }
            }
        }
    }
    EXPECT_GT(checks, 1000000u);
    EXPECT_GT(returned, 10) << "few passes sent back a kind just received";
}

TEST(SeatView, ATrumpLeadIsStillHeadedWhenAble) {
    // Clubs are trump and South leads the K: West's 9 says it holds nothing
    // above the K, as a heart under a led heart would.
    const HandCounts west = Hand("9C QC 9S JS QS KS AD 10D KD QD JD 9D");
    Table table({Hand("KC QC JC 9C AH 10H KH QH JH 9H AS 10S"), west, 0, 0}, C, 0);
    table.Play(KindOf(C, 2));
    table.Play(KindOf(C, 5));
    EXPECT_EQ(table.views[2].Excluded(1), Above(KindOf(C, 2)));
}

TEST(SearchPlayer, EveryPlayerPlaysALegalCardFromAnyPosition) {
    // The rule player from 100,000 positions; each search level, with a
    // budget of at most ten worlds, from 2,000.
    Random random(23, 0);
    const SearchBudget small[] = {{4, 1, 4}, {4, 1, 5}};
    int searched = 0;
    for (int positions = 0; positions < 100000;) {
        Table table(RandomDeal(random), static_cast<int>(random.Below(4)), static_cast<int>(random.Below(4)));
        while (!table.state.Over()) {
            const SeatView& view = table.views[static_cast<std::size_t>(table.state.ToPlay())];
            const KindMask legal = table.state.Legal();
            ASSERT_EQ(LegalPlays(view.Hand(), view.Trick(), view.Trump(), view.Rules().play), legal);
            ASSERT_NE(legal & KindFlag(RuleCard(view)), 0u);
            ++positions;
            if (searched < 4000 && random.Below(24) == 0) {
                const SearchChoice choice = SearchCard(view, small[searched % 2], searched);
                ASSERT_NE(legal & KindFlag(choice.card), 0u);
                ++searched;
            }
            table.Play(RandomLegal(legal, random));
        }
    }
    EXPECT_EQ(searched, 4000);
}

TEST(SearchPlayer, APlayoutAtTheLeafCountsForTheSideThatTookThePoints) {
    // One world and no trick beyond the current one: at the fourth place of a
    // trick each card's figure is the trick it settles and a rule playout of
    // the rest, in that world, counted for the seat's side.
    Random random(31, 0);
    int checked = 0;
    for (int deal = 0; deal < 30; ++deal) {
        Table table(RandomDeal(random), deal % 4, deal % 3);
        const int played = 4 * (1 + deal % 9) + 3;
        while (table.state.Played() < played) table.Play(RuleCard(table.state, deal % 3));
        const SeatView& view = table.views[static_cast<std::size_t>(table.state.ToPlay())];
        const SearchChoice choice = SearchCard(view, {1, 0, 0, 30, false}, 77);
        if (std::popcount(table.state.Legal()) < 2) continue;
        Random same(77, 0);
        std::array<HandCounts, 4> hands = SampleWorld(view, same).hands;
        for (std::size_t i = 0; i < 3; ++i)
            hands[static_cast<std::size_t>((view.Leader() + static_cast<int>(i)) & 3)] += KindBit(view.Trick()[i]);
        PlayState world(view.Rules(), hands, view.Trump(), view.Leader(), view.Points(), view.Tricks());
        for (const int card : std::vector<int>(view.Trick().begin(), view.Trick().end())) world.Make(card);
        const auto side = static_cast<std::size_t>(SideOf(view.Seat()));
        const int before = world.Points()[side];
        for (KindMask legal = world.Legal(); legal != 0; legal &= legal - 1) {
            PlayState out = world;
            out.Make(std::countr_zero(legal));
            while (!out.Over()) out.Make(RuleCard(out, view.Declarer()));
            EXPECT_EQ(choice.byCard[static_cast<std::size_t>(std::countr_zero(legal))], out.Points()[side] - before)
                << "deal " << deal << ", " << KindText(std::countr_zero(legal));
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);
}

TEST(SearchPlayer, ASearchThatOutgrowsItsBudgetIsCutBackAndStillPlays) {
    // With following off every card may be played: from the first lead the
    // look a trick ahead, and from eight tricks Strong's exact solves, would
    // search millions of positions a world. Such worlds are cut back to the
    // current trick; under the usual rules the same positions are not.
    Random random(41, 0);
    int cutFree = 0;  // worlds cut back under the usual rules
    for (int deal = 0; deal < 6; ++deal) {
        const std::array<HandCounts, 4> hands = RandomDeal(random);
        for (const bool follow : {false, true}) {
            if (deal >= 2 && !follow) continue;
            RuleSet rules = RuleSet::Standard();
            rules.play.followSuit = follow;
            PlayState state(rules, hands, deal % 4, 0);
            SeatView first(rules, 0, hands[0], deal % 4, 0);
            const SearchChoice lead = SearchCard(first, BudgetOf(Level::Normal), 3);
            EXPECT_NE(state.Legal() & KindFlag(lead.card), 0u);
            EXPECT_EQ(lead.worlds, 30);
            if (!follow) EXPECT_GT(lead.cut, 0) << "deal " << deal;
            if (follow) cutFree += lead.cut;
            if (deal >= 1) continue;
            // Four tricks in: Strong solves from eight tricks left.
            std::vector<SeatView> views;
            for (int seat = 0; seat < 4; ++seat)
                views.emplace_back(rules, seat, hands[static_cast<std::size_t>(seat)], deal % 4, 0);
            while (state.Played() < 16) {
                const int card = RuleCard(state, 0);
                state.Make(card);
                for (SeatView& view : views) view.Observe(card);
            }
            const SearchChoice strong =
                SearchCard(views[static_cast<std::size_t>(state.ToPlay())], BudgetOf(Level::Strong), 3);
            EXPECT_NE(state.Legal() & KindFlag(strong.card), 0u);
            if (!follow) EXPECT_GT(strong.cut, 0) << "deal " << deal;
        }
    }
    EXPECT_LE(cutFree, 6) << "the usual rules' first leads were cut back in more than 3 worlds in 100";
}

TEST(SearchPlayer, TheSameSeedGivesTheSameCardAndACancelStillPlays) {
    Random random(29, 0);
    Table table(RandomDeal(random), H, 0);
    for (int card = 0; card < 9; ++card) table.Play(RuleCard(table.state, 0));
    const SeatView& view = table.views[static_cast<std::size_t>(table.state.ToPlay())];
    const SearchChoice one = SearchCard(view, BudgetOf(Level::Normal), 5);
    EXPECT_EQ(SearchCard(view, BudgetOf(Level::Normal), 5).card, one.card);
    EXPECT_EQ(one.worlds, 30);
    const std::atomic<bool> cancel{true};
    const SearchChoice cancelled = SearchCard(view, BudgetOf(Level::Strong), 5, &cancel);
    EXPECT_EQ(cancelled.worlds, 0);
    EXPECT_NE(table.state.Legal() & KindFlag(cancelled.card), 0u);
}

TEST(SearchPlayer, ASeatSeesOnlyItsView) {
    // Two deals alike in South's hand but not in North's and East's: South's
    // view, and so its lead, are the same in both. Then West, void in hearts,
    // trumps South's heart: South's view rules hearts out of West's hand, and
    // no world it samples gives West a heart.
    const HandCounts south = Hand("AH 10H KH QH JH 9H AC 10C KC QC JC 9C");
    const std::array<HandCounts, 4> first{south, Hand("AS 10S KS QS JS 9S AD 10D KD QD JD 9D"),
                                          Hand("AH 10H KH QH JH 9H AS 10S KS QS JS 9S"),
                                          Hand("AC 10C KC QC JC 9C AD 10D KD QD JD 9D")};
    const std::array<HandCounts, 4> second{south, first[1], first[3], first[2]};
    std::vector<int> leads;
    for (const auto& hands : {first, second}) {
        Table table(hands, D, 0);
        leads.push_back(SearchCard(table.views[0], BudgetOf(Level::Normal), 9).card);
        table.Play(KindOf(H, 5));
        table.Play(KindOf(D, 5));
        EXPECT_EQ(table.views[0].Excluded(1), SuitMask(H));
        for (std::uint64_t world = 0; world < 20; ++world) {
            Random random(3, world);
            EXPECT_EQ(HeldKinds(SampleWorld(table.views[0], random).hands[1]) & SuitMask(H), 0u);
        }
    }
    EXPECT_EQ(leads[0], leads[1]);
}

TEST(SearchPlayer, WorldWeightsFollowTheModelAndNeverWeighAnImpossibleWorld) {
    // Clubs are trump and South leads. Trick 1: 9H, West's AH, North's JH,
    // then East, last and with its partner winning, plays QH although it
    // held 10H. Trick 2: West's AD, North trumps, East 9D, South over-trumps.
    // Trick 3: South leads trump and East, last and out of clubs, throws the
    // AD on the other side's trick when it held low hearts.
    const std::array<HandCounts, 4> dealt{
        Hand("9H 9H AC 10C KC QC JC 9C AS 10S KS QS"), Hand("AH KH 9S JS AD 10D KD QD JD 9D AC 10C"),
        Hand("JH AH 10H KC QC JC 9C AS 10S KS QS JS"), Hand("10H KH QH QH JH 9S AD 10D KD QD JD 9D")};
    Table table(dealt, C, 0);
    for (const int card : Kinds("9H AH JH QH AD 9C 9D JC AC 10C JC AD")) {
        ASSERT_NE(table.state.Legal() & KindFlag(card), 0u) << KindText(card);
        table.Play(card);
    }
    const SeatView& view = table.views[0];
    const std::array<HandCounts, 4> now = table.state.Hands();
    auto moved = [&](int from, int to, std::string_view card, std::string_view back) {
        std::array<HandCounts, 4> hands = now;
        hands[static_cast<std::size_t>(from)] += Hand(back) - Hand(card);
        hands[static_cast<std::size_t>(to)] += Hand(card) - Hand(back);
        return hands;
    };
    EXPECT_DOUBLE_EQ(WorldWeight(view, now), kAgainstHabit * kAgainstHabit);
    EXPECT_DOUBLE_EQ(WorldWeight(view, moved(3, 1, "10H", "9S")), kAgainstHabit);  // no counter to give
    EXPECT_EQ(WorldWeight(view, moved(3, 2, "10D", "KS")), 0.0);                   // North did not follow diamonds
}

TEST(SearchPlayer, ACounterThatTakesTheTrickIsNotHeldAgainstTheWorld) {
    // Heading off, clubs trump. East leads 9H, South QH, West KH; North,
    // last, could play JH under the opponents' king but takes the trick with
    // its ace: a counter played to a trick its side then takes is no habit
    // broken, though the other side held the trick before it.
    RuleSet rules = RuleSet::Standard();
    rules.play.headTrick = false;
    const std::array<HandCounts, 4> dealt{
        Hand("QH 9C 9C JC QC KC 9S JS QS KS 10S AS"), Hand("KH AD 10D KD QD JD 9D AD 10D KD QD JD"),
        Hand("AH JH 9S JS QS KS 10S AS AC 10C AC 10C"), Hand("9H 9H 10H 10H KH QH JH AH 9D KC QC JC")};
    SeatView view(rules, 0, dealt[0], C, 3);
    std::array<HandCounts, 4> hands = dealt;
    for (const auto& [seat, card] : {std::pair{3, "9H"}, {0, "QH"}, {1, "KH"}, {2, "AH"}}) {
        view.Observe(Kinds(card).front());
        hands[static_cast<std::size_t>(seat)] -= Hand(card);
    }
    EXPECT_EQ(WorldWeight(view, hands), 1.0);
}

TEST(SearchPlayer, WeighingNeverKeepsAnImpossibleWorldAndWithNothingSeenChangesNothing) {
    // From random positions, worlds dealt plainly from the unseen cards: a
    // world weighs nothing exactly when a seat holds a card its play ruled
    // out, and the true hands always weigh something.
    Random random(41, 0);
    int impossible = 0;
    for (int position = 0; position < 300; ++position) {
        Table table(RandomDeal(random), static_cast<int>(random.Below(4)), static_cast<int>(random.Below(4)));
        const int cards = static_cast<int>(random.Below(46)) + 1;
        for (int card = 0; card < cards; ++card) table.Play(RandomLegal(table.state.Legal(), random));
        const SeatView& view = table.views[static_cast<std::size_t>(random.Below(4))];
        EXPECT_GT(WorldWeight(view, table.state.Hands()), 0.0);
        std::array<int, 3> sizes{};
        for (int s = 0, n = 0; s < 4; ++s)
            if (s != view.Seat()) sizes[static_cast<std::size_t>(n++)] = view.CardsLeft(s) - CardCount(view.KnownIn(s));
        HandCounts pool = view.Unseen();
        for (int s = 0; s < 4; ++s)
            if (s != view.Seat()) pool -= view.KnownIn(s);
        const std::array<HandCounts, 3> dealt = UnseenDeck(pool).Deal(random, sizes);
        std::array<HandCounts, 4> world{};
        bool ruledOut = false;
        for (int s = 0, n = 0; s < 4; ++s) {
            const auto at = static_cast<std::size_t>(s);
            world[at] = s == view.Seat() ? view.Hand() : view.KnownIn(s) + dealt[static_cast<std::size_t>(n++)];
            ruledOut = ruledOut || (s != view.Seat() && (HeldKinds(world[at]) & view.Excluded(s)) != 0);
        }
        impossible += ruledOut;
        EXPECT_EQ(WorldWeight(view, world) == 0.0, ruledOut) << position;
    }
    EXPECT_GT(impossible, 50);

    Table table(RandomDeal(random), H, 1);
    SearchBudget budget{12, 1, 4, 12, false};
    const SearchChoice plain = SearchCard(table.views[1], budget, 3);
    budget.weighted = true;
    const SearchChoice weighed = SearchCard(table.views[1], budget, 3);
    EXPECT_EQ(weighed.card, plain.card);
    EXPECT_EQ(weighed.byCard, plain.byCard);
}

TEST(Bidding, SituationsOneLineEach) {
    // The dealer, the calls before (p a pass), the hand of the seat to call,
    // the level, and its call with the reason's start.
    const struct {
        const char* what;
        int dealer;
        const char* calls;
        const char* hand;
        Level level;
        int bid;
        const char* reason;
    } situations[] = {
        {"a run: jump 50", 3, "", "AH 10H KH QH JH 9S 9S 9C JC 9D JD QC", Level::Easy, 240, "Jump 50: a run in Hearts"},
        {"aces around: jump 30", 3, "200", "AC AH AS AD 9S 9S 9C JC 9D JD QC 10H", Level::Normal, 230,
         "Jump 30: aces around"},
        {"100 meld: jump 20", 3, "", "KC KH KS KD QS JD 9S 9C JC 9D 10H QC", Level::Easy, 210,
         "Jump 20: 100 meld or more (190 in Clubs)"},
        {"exactly 100 meld: jump 20", 3, "", "JC JH JS JD QS 9H 9H 10C 10H 10S 10D AC", Level::Easy, 210,
         "Jump 20: 100 meld or more (100 in Hearts)"},
        {"no jump over partner once both opponents passed", 3, "p 200 p", "JC JH JS JD QS 9H 9H 10C 10H 10S 10D AC",
         Level::Easy, 0, "Pass: partner holds the bid at 200 and the opponents have passed"},
        {"90 meld does not jump", 3, "", "JC JH JS JD QS 9H 9S 10C 10H 10S 10D AC", Level::Easy, 0, "Pass"},
        {"a weak hand passes", 3, "", "9C 9C JC 9H JH 9S JS QD 9D JD 10C KS", Level::Easy, 0, "Pass: hand valued at"},
        {"a weak hand passes by simulation too", 3, "", "10C 10C 10H 10H 10S 10S 10D 10D QC QH 9S 9D", Level::Normal, 0,
         "Pass: 200 makes it 37% of the time, -199 on average over passing"},
        {"no bid over partner who holds it", 0, "p 250 p", "AH 10H KH 9H 9S AS 10S 9C JC 9D JD QC", Level::Normal, 0,
         "Pass: partner holds the bid at 250"},
        {"a long strong suit bids on", 3, "200", "AH AH 10H 10H KH 9H 9S AC AD 9C JC QD", Level::Normal, 210,
         "210: makes it"},
        {"a hand that makes 200 more often than not opens it", 3, "", "AH 10H KH 10H 9H 9S AC AD 9C JC QD KS",
         Level::Normal, 200, "200: makes it"},
        {"the same hand leaves the dealer held to its standing bid", 1, "p p", "AH 10H KH 10H 9H 9S AC AD 9C JC QD KS",
         Level::Normal, 0, "Pass: 200 makes it 60% of the time, -149 on average over passing"},
        {"the dealer's partner leaves the dealer its standing bid", 2, "p", "AH 10H KH 10H 9H 9S AC AD 9C JC QD KS",
         Level::Normal, 0, "Pass: partner stands at 190; 200 makes it"},
    };
    for (const auto& s : situations) {
        Auction auction(RuleSet::Standard(), s.dealer);
        for (const std::string& call : testing::Split(s.calls, ' '))
            if (!call.empty()) {
                const int seat = auction.ToAct();
                ASSERT_EQ(call == "p" ? auction.Pass(seat) : auction.Bid(seat, std::stoi(call)), "") << s.what;
            }
        const BidChoice choice = ChooseBid(auction, auction.ToAct(), Hand(s.hand), RuleSet::Standard(), s.level, 1);
        EXPECT_EQ(choice.bid, s.bid) << s.what << ": " << choice.reason;
        EXPECT_EQ(choice.reason.rfind(s.reason, 0), 0u) << s.what << ": " << choice.reason;
    }
}

TEST(Passing, PartnerPassesTrumpsBeforeSideAces) {
    // Two trumps and three side aces, four to pass: both trumps go, then the
    // aces in suit order.
    const HandCounts partner = Hand("KH 9H AC AS AD 9S JS 9C JC 9D JD QC");
    EXPECT_EQ(CountsText(ChoosePass(partner, H, 4, true)), CountsText(Hand("KH 9H AC AS")));
    EXPECT_EQ(CountsText(ChoosePass(partner, H, 3, true)), CountsText(Hand("KH 9H AC")));
}

TEST(Bidding, AHandThatMakesTheBidStillPassesWhenBeingSetCostsMore) {
    // South opened 200 and West overcalled 240. North's hand makes 250 more
    // often than not, so the half-the-time rule bids it; but the sets cost
    // more than West's contract is worth to it, so by the expected score
    // North passes.
    Auction auction(RuleSet::Standard(), 3);
    ASSERT_EQ(auction.Bid(0, 200), "");
    ASSERT_EQ(auction.Bid(1, 240), "");
    const HandCounts hand = Hand("AC 10C QC JC AH QH 9H AS 10S 10S QS QD");
    const BidChoice half =
        ChooseBid(auction, 2, hand, RuleSet::Standard(), Level::Normal, 1, nullptr, BidRule::HalfTheTime);
    EXPECT_EQ(half.bid, 250);
    EXPECT_EQ(half.reason, "250: makes it 59% of the time in Spades");
    const BidChoice expected = ChooseBid(auction, 2, hand, RuleSet::Standard(), Level::Normal, 1);
    EXPECT_EQ(expected.bid, 0);
    EXPECT_EQ(expected.reason, "Pass: 250 makes it 59% of the time, -77 on average over passing");
}

TEST(Bidding, PartnersPassIsReadAsWeakness) {
    // South opened, West overcalled, North passed: North's hand did not reach
    // 220 by the help's count, and the deals South weighs give it no more.
    // East passed too, but over its partner's bid.
    // The rule that does not read the pass thinks the bid likelier.
    Auction auction(RuleSet::Standard(), 3);
    for (const auto& [seat, bid] : std::vector<std::pair<int, int>>{{0, 200}, {1, 210}, {2, 0}, {3, 0}})
        ASSERT_EQ(bid > 0 ? auction.Bid(seat, bid) : auction.Pass(seat), "");
    EXPECT_EQ(DeclinedBid(auction, 2), 220);
    EXPECT_EQ(DeclinedBid(auction, 3), 0);  // over partner's bid: it says nothing
    EXPECT_EQ(DeclinedBid(auction, 0), 0);
    const HandCounts hand = Hand("AH 10H KH QH 9H 9S QS KC JC JD 9D 9C");
    auto chance = [&](BidRule rule) {
        const std::string reason =
            ChooseBid(auction, 0, hand, RuleSet::Standard(), Level::Normal, 1, nullptr, rule).reason;
        const std::size_t at = reason.find("makes it ") + 9;
        return std::stoi(reason.substr(at));
    };
    EXPECT_LT(chance(BidRule::ExpectedScore), chance(BidRule::HalfTheTime));
}

TEST(Bidding, TheOpponentsJumpsAndPassesAreRead) {
    // North deals and East calls first. East's jump of 30 promises aces
    // around, which South's hand makes likelier to be set; East's pass says
    // its hand is weak. The rule that reads no opponent sees neither.
    auto chances = [&](int east, const char* cards) {
        const HandCounts hand = Hand(cards);
        Auction auction(RuleSet::Standard(), 2);
        EXPECT_EQ(east > 0 ? auction.Bid(3, east) : auction.Pass(3), "");
        std::array<int, 2> chance{};
        for (const BidRule rule : {BidRule::ExpectedScore, BidRule::HalfTheTime}) {
            const std::string reason =
                ChooseBid(auction, 0, hand, RuleSet::Standard(), Level::Normal, 1, nullptr, rule).reason;
            chance[rule == BidRule::HalfTheTime] = std::stoi(reason.substr(reason.find("makes it ") + 9));
        }
        return chance;
    };
    const std::array<int, 2> jumped = chances(220, "AH 10H KH QH 9H 9S QS KC JC JD 9D 9C");
    EXPECT_LT(jumped[0], jumped[1] - 5);
    const std::array<int, 2> passed = chances(0, "AH 10H 9H 9H 9S QS KC JC JD 9D 9C QD");
    EXPECT_GT(passed[0], passed[1] + 5) << passed[0] << " " << passed[1];
}

TEST(Bidding, PartnersJumpIsReadAndAnImpossiblePromiseFallsBack) {
    Auction auction(RuleSet::Standard(), 3);
    ASSERT_EQ(auction.Bid(0, 220), "");  // South jumps 30: aces around
    EXPECT_EQ(PromisedJump(auction, 0), 30);
    EXPECT_EQ(PromisedJump(auction, 1), 0);
    // North holds both A♠: no deal gives South aces around.
    ChanceRequest request;
    request.hand = Hand("AS AS 10H KH 9H 9S 10S 9C JC 9D JD QC");
    request.deals = 300;
    request.partnerPromise = [](HandCounts partner) { return KeepsPromise(partner, 30); };
    EXPECT_EQ(ChanceToMake(request).promiseFallbacks, 300u);
    request.partnerPromise = [](HandCounts partner) { return KeepsPromise(partner, 20); };
    const ChanceTally kept = ChanceToMake(request);
    EXPECT_LT(kept.promiseFallbacks, 30u);
}

TEST(ChanceToMake, SureAndHopelessHandsAndAnyThreadCount) {
    ChanceRequest request;
    request.deals = 2000;
    request.hand = Hand("AH AH 10H 10H KH KH QH QH JH JH 9S 9C");  // a double run
    const ChanceTally sure = ChanceToMake(request);
    EXPECT_EQ(sure.Chance(H, 1500), 1.0);
    EXPECT_GT(sure.ExpectedScore(H, 1500), 1500);
    // Eight tens and no meld: partner's twelve cards come from the richer
    // rest of the deck, so even this hand makes the standing bid a third of
    // the time; it falls under one in a hundred by 400.
    request.hand = Hand("10C 10C 10H 10H 10S 10S 10D 10D QC QH 9S 9D");
    request.threads = 1;
    const ChanceTally hopeless = ChanceToMake(request);
    for (int suit = 0; suit < 4; ++suit) {
        EXPECT_LT(hopeless.Chance(suit, 190), 0.45) << suit;
        EXPECT_LT(hopeless.Chance(suit, 400), 0.01) << suit;
        EXPECT_LT(hopeless.ExpectedScore(suit, 250), 0) << suit;
    }
    request.threads = 3;
    EXPECT_EQ(ChanceToMake(request).taken, hopeless.taken);

    // The best bid: the highest, from the least the seat may bid, that scores
    // more than it gives the other side; none for the hopeless hand.
    const RuleSet rules = RuleSet::Standard();
    EXPECT_EQ(BestBidOf(hopeless, rules).bid, 0);
    for (const int lowest : {0, 300, 1000}) {
        const BestBid best = BestBidOf(sure, rules, lowest);
        ASSERT_GE(best.bid, std::max(lowest, 200)) << lowest;
        EXPECT_GT(sure.ExpectedMargin(best.trump, best.bid), 0);
        EXPECT_DOUBLE_EQ(best.expected, sure.ExpectedScore(best.trump, best.bid));
        for (const ChanceRow& row : ChanceRows(sure, rules))
            for (int suit = 0; suit < 4 && row.bid > best.bid; ++suit)
                EXPECT_LE(sure.ExpectedMargin(suit, row.bid), 0) << row.bid;
    }
    EXPECT_EQ(ChanceText(ChanceRows(hopeless, rules), BestBidOf(hopeless, rules)).substr(0, 124),
              "Best bid: none scores more than it gives the other side\n"
              "Each trump: the chance to make the bid, and the hand score expected\n");
}

}  // namespace
}  // namespace vantrel
