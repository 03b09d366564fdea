// The rule engine: standard meld, legal plays, the trick winner, the auction,
// hand scoring and the rule set itself.
#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "rules/auction.h"
#include "rules/design_codes.h"
#include "rules/hand_score.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"
#include "test_support.h"

namespace vantrel {
namespace {

// Kinds by name, parted by blanks, e.g. "AH 10C".
std::vector<int> Kinds(std::string_view names) {
    std::vector<int> kinds;
    for (const CardRec& card : testing::CardsOf(names)) kinds.push_back(KindOfCode(card.Code));
    return kinds;
}
HandCounts Hand(std::string_view names) {
    HandCounts hand = 0;
    for (int kind : Kinds(names)) hand += KindBit(kind);
    return hand;
}
std::string Names(KindMask mask) {
    std::string names;
    for (int kind = 0; kind < kCardKinds; ++kind)
        if (mask & KindFlag(kind)) names += (names.empty() ? "" : " ") + KindText(kind);
    return names;
}

constexpr int C = 0, H = 1, S = 2, D = 3;

TEST(StandardMeld, EachLineOfAHand) {
    // A hand, the trump, and its report: each line's name and value, then the total.
    const std::vector<std::tuple<const char*, int, const char*>> cases{
        {"AH 10H KH QH JH KH QH 9S 9C 9C 9D 9D", H, "Run in Hearts 150|Royal marriage in Hearts 40|190"},
        {"KH QH KH QH KC QC 9H 9C 9C 9D 9D JS", H,
         "Royal marriage in Hearts 40|Royal marriage in Hearts 40|"
         "Marriage in Clubs 20|Nine of trump 10|110"},
        {"AH AH 10H 10H KH KH QH QH JH JH 9S 9S", H, "Double run in Hearts 1500|1500"},
        {"AS AS 10S 10S KS KS QS QS JS JS JD JD", S, "Double run in Spades 1500|Double pinochle 300|1800"},
        {"AC AH AS AD AC AH AS AD 9C 9C 9H 9H", C, "Nine of trump 10|Nine of trump 10|Double Aces around 1000|1020"},
        {"KC KH KS KD KC KH KS KD QS QS JD JD", D,
         "Marriage in Spades 20|Marriage in Spades 20|Double Kings around 800|"
         "Double pinochle 300|1140"},
        {"QC QH QS QD QC QH QS QD 9C 9H 9S 9D", S, "Nine of trump 10|Double Queens around 600|610"},
        {"JC JH JS JD JC JH JS JD QS AC AC AH", D, "Double Jacks around 400|Pinochle 40|440"},
        {"QC QH QS QD JD KS 9C 9C 9H 9H 9S 9S", D, "Marriage in Spades 20|Queens around 60|Pinochle 40|120"},
        {"AH 10H KH QH JH QS JD KC QC 9H AC AD", kNoTrump, "Marriage in Clubs 20|Marriage in Hearts 20|Pinochle 40|80"},
        {"AH 10H KH QH JH 9C 9C 9D 9D 9S 9S 10C", S, "Marriage in Hearts 20|Nine of trump 10|Nine of trump 10|40"},
    };
    for (const auto& [cards, trump, expected] : cases) {
        const MeldReport report = StandardMeldReport(Hand(cards), trump);
        std::string lines;
        for (const MeldLine& line : report.lines) lines += line.name + " " + std::to_string(line.value) + "|";
        EXPECT_EQ(lines + std::to_string(report.total), expected) << cards;
        const StandardMeld fast(Hand(cards));
        EXPECT_EQ(trump == kNoTrump ? fast.NoTrump() : fast.WithTrump(trump), report.total) << cards;
    }
    // A card may serve once in each group: the Q♠ of queens around is also the pinochle's.
    const MeldReport report = StandardMeldReport(Hand("QC QH QS QD JD KS 9C 9C 9H 9H 9S 9S"), D);
    EXPECT_EQ(CountsText(report.Shown()), "\u2663 Q  \u2665 Q  \u2660 K Q  \u2666 Q J");
}

// The plain reckoning, written out without tables, against which both
// counters are checked.
int SlowStandardMeld(HandCounts hand, int trump) {
    auto n = [&](int suit, int rank) { return CountOf(hand, KindOf(suit, rank)); };
    int meld = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const int pairs = std::min(n(suit, 2), n(suit, 3));
        if (suit != trump) {
            meld += 20 * pairs;
            continue;
        }
        const int runs = std::min({n(suit, 0), n(suit, 1), n(suit, 2), n(suit, 3), n(suit, 4)});
        meld += (runs == 2 ? 1500 : runs == 1 ? 150 : 0) + 40 * (pairs - runs) + 10 * n(suit, 5);
    }
    const int single[] = {100, 0, 80, 60, 40}, twice[] = {1000, 0, 800, 600, 400};
    for (int rank : {0, 2, 3, 4}) {
        const int times = std::min({n(C, rank), n(H, rank), n(S, rank), n(D, rank)});
        meld += times == 2 ? twice[rank] : times == 1 ? single[rank] : 0;
    }
    const int pinochles = std::min(n(S, 3), n(D, 4));
    return meld + (pinochles == 2 ? 300 : pinochles == 1 ? 40 : 0);
}

TEST(StandardMeld, AgreesWithAPlainReckoningOverRandomHands) {
    // Hands built round a meld that can double (a run, four of a kind, the
    // pinochle), most of its cards taken twice, the rest dealt at random: a
    // uniform hand almost never holds a double.
    const char* asked = std::getenv("VANTREL_DIFFERENTIAL_HANDS");
    const long hands = asked != nullptr ? std::atol(asked) : 20000;
    Random random(16, 0);
    long doubles = 0;
    for (long i = 0; i < hands; ++i) {
        std::vector<int> core;
        const int pick = static_cast<int>(random.Below(4));
        const int which = static_cast<int>(random.Below(4));
        for (int k = 0; k < 5; ++k)
            if (pick == 0)
                core.push_back(KindOf(which, k));  // a run
            else if (pick == 1 && k < 4)
                core.push_back(KindOf(k, which == 1 ? 0 : which));                               // an around
        if (pick >= 2) core = {KindOf(S, 3), KindOf(D, 4), KindOf(which, 2), KindOf(which, 3)};  // pinochle, marriage
        HandCounts hand = 0;
        for (int kind : core) hand += KindBit(kind) * (random.Below(4) == 0 ? 1 : 2);
        while (CardCount(hand) < 12)
            if (const int kind = static_cast<int>(random.Below(kCardKinds)); CountOf(hand, kind) < 2)
                hand += KindBit(kind);
        const StandardMeld fast(hand);
        bool doubled = false;
        for (int trump = kNoTrump; trump < 4; ++trump) {
            const int expected = SlowStandardMeld(hand, trump);
            ASSERT_EQ(StandardMeldReport(hand, trump).total, expected) << CountsText(hand) << " " << trump;
            ASSERT_EQ(trump == kNoTrump ? fast.NoTrump() : fast.WithTrump(trump), expected) << CountsText(hand);
            for (const MeldLine& line : StandardMeldReport(hand, trump).lines)
                doubled = doubled || line.name.rfind("Double", 0) == 0;
        }
        doubles += doubled;
    }
    EXPECT_GT(doubles, hands / 10);
}

TEST(LegalPlay, SituationsAtTheTable) {
    // The trick so far, West's hand, the trump suit (-1: none), the rules
    // switched off (f h t o), the cards West may play, a card West plays, and
    // why that card may not be played.
    const struct {
        const char* what;
        const char* trick;
        const char* hand;
        int trump;
        std::string off;
        const char* legal;
        const char* card;
        const char* fault;
    } situations[] = {
        // clang-format off
        {"a lead is free", "", "9H AS", H, "", "9\u2665 A\u2660", "9H", ""},
        {"following low when able to beat", "KH", "AH 9H", C, "", "A\u2665", "9H", "West could beat the K\u2665: must play higher"},
        {"the same with heading off", "KH", "AH 9H", C, "h", "A\u2665 9\u2665", "9H", ""},
        {"an equal card does not beat", "KH", "KH 9H", C, "", "K\u2665 9\u2665", "9H", ""},
        {"the best led card is the highest, not the last", "AH KH", "10H 9H", C, "", "10\u2665 9\u2665", "9H", ""},
        {"not following", "KH", "AH 9S", C, "", "A\u2665", "9S", "West held hearts: must follow suit"},
        {"not following, rule off", "KH", "AH 9S", C, "f", "A\u2665 9\u2660", "9S", ""},
        {"trumping while holding the suit led", "KH", "9H AC", C, "", "9\u2665", "AC", "West held hearts: must follow suit"},
        {"following the suit led, not the trump played", "KH 10C", "9H AC", C, "", "9\u2665", "AC", "West held hearts: must follow suit"},
        {"void and not trumping", "KH", "9C 9S", C, "", "9\u2663", "9S", "West was void in hearts and held clubs: must trump"},
        {"void, not trumping, rule off", "KH", "9C 9S", C, "t", "9\u2663 9\u2660", "9S", ""},
        {"void without trump", "KH", "9D 9S", C, "", "9\u2660 9\u2666", "9S", ""},
        {"under-trumping", "KH 10C", "AC 9C", C, "", "A\u2663", "9C", "West could beat the 10\u2663: must play a higher trump"},
        {"under-trumping, rule off", "KH 10C", "AC 9C", C, "o", "A\u2663 9\u2663", "9C", ""},
        {"the best trump is the highest, not the first", "KH 9C AC", "10C 9C", C, "", "10\u2663 9\u2663", "9C", ""},
        {"trumped, no higher trump: still must trump", "KH 10C", "JC 9S", C, "", "J\u2663", "9S", "West was void in hearts and held clubs: must trump"},
        {"trumped: following need not beat", "KH 10C", "AH 9H", C, "", "A\u2665 9\u2665", "9H", ""},
        {"trump led: must beat it", "KC", "AC 9C", C, "", "A\u2663", "9C", "West could beat the K\u2663: must play higher"},
        {"trump led and followed: still not trumped", "KC QC", "AC 9C", C, "", "A\u2663", "9C", "West could beat the K\u2663: must play higher"},
        {"no trump named", "KH", "9C 9S", kNoTrump, "", "9\u2663 9\u2660", "9S", ""},
        {"every rule off", "KH 10C", "AH 9C 9S", C, "fhto", "9\u2663 A\u2665 9\u2660", "9S", ""},
        {"a card not held", "KH", "AH 9H", C, "", "A\u2665", "10H", "West does not hold the 10\u2665"},
        // clang-format on
    };
    for (const auto& s : situations) {
        const PlayRules rules{s.off.find('f') == std::string::npos, s.off.find('h') == std::string::npos,
                              s.off.find('t') == std::string::npos, s.off.find('o') == std::string::npos};
        const std::vector<int> trick = Kinds(s.trick);
        EXPECT_EQ(Names(LegalPlays(Hand(s.hand), trick, s.trump, rules)), s.legal) << s.what;
        EXPECT_EQ(WhyNotLegal(Hand(s.hand), trick, Kinds(s.card).front(), s.trump, rules, "West"), s.fault) << s.what;
    }
    // The same refusals said to the player, as sentences.
    const std::vector<std::array<const char*, 4>> toYou{
        {"KH", "AH 9H", "9H", "You can beat the K\u2665: play higher."},
        {"KH", "AH 9S", "9S", "You hold hearts: follow suit."},
        {"KH", "9C 9S", "9S", "You have no hearts and hold clubs: play a trump."},
        {"KH 10C", "AC 9C", "9C", "You can beat the 10\u2663: play a higher trump."},
        {"KH", "AH 9H", "10H", "You do not hold the 10\u2665."},
        {"KH", "AH 9H", "AH", ""},
    };
    for (const auto& [trick, hand, card, said] : toYou)
        EXPECT_EQ(WhyYouMayNot(HeldKinds(Hand(hand)), Kinds(trick), Kinds(card).front(), C, PlayRules{}), said) << card;
}

TEST(TrickWinner, BySuitLedAndByRankAlone) {
    // The trick, trump, and the winner's place by the suit led and by rank alone.
    const std::vector<std::tuple<const char*, int, int, int>> cases{
        {"KH AS 10H 9H", C, 2, 1},  // an off-suit ace discarded: the suit led wins; the table gives it to the ace
        {"KH 9C AH AS", C, 1, 1},   // trump over the suit led
        {"AH AH 9C 9C", C, 2, 2},   // identical cards: the first played
        {"AH 10H AH KH", kNoTrump, 0, 0}, {"JS QS 10C KS", D, 3, 2},
    };
    for (const auto& [cards, trump, bySuit, byRank] : cases) {
        EXPECT_EQ(TrickWinner(Kinds(cards), trump, TrickRules::SuitLed), bySuit) << cards;
        EXPECT_EQ(TrickWinner(Kinds(cards), trump, TrickRules::RankAlone), byRank) << cards;
    }
}

TEST(Auction, BiddingRoundTheTable) {
    // The dealer, whether it is stuck with the standing bid, the calls from
    // its left ("p" a pass); then what each refused call was told, the
    // winner (-1: passed out) and the bid.
    const std::vector<std::tuple<int, bool, const char*, const char*, int, int>> cases{
        {0, true, "p p p", "", 0, 190},  // nobody bids: the dealer at the standing bid
        {0, true, "p p p 250", "The auction is over.", 0, 190},
        {0, true, "200 p p 210 p", "", 0, 210},                                     // the dealer takes the bid back
        {1, true, "195 200 210 p 220 p p", "A bid must be at least 200.", 1, 220},  // partners over each other
        {2, true, "200 p 210 220 p 230 p", "", 1, 230},
        {3, true, "p 200 p 210 p", "", 3, 210},
        // Not stuck: the dealer calls too, the standing bid may be bid, and four passes end it with no bidder.
        {0, false, "p p p p", "", -1, 180},
        {0, false, "p p p p 200", "The auction is over.", -1, 180},
        {0, false, "p p p 190", "", 0, 190},
        {1, false, "180 190 p p p", "A bid must be at least 190.", 2, 190},
        {3, false, "p 200 p 210 p", "", 3, 210},
    };
    for (const auto& [dealer, stuck, calls, refusal, winner, bid] : cases) {
        RuleSet rules = RuleSet::Standard();
        rules.dealerStuck = stuck;
        Auction auction(rules, dealer);
        std::string refused;
        for (const std::string& call : testing::Split(calls, ' ')) {
            const Auction before = auction;
            const int seat = auction.Finished() ? 0 : auction.ToAct();
            const std::string said = call == "p" ? auction.Pass(seat) : auction.Bid(seat, std::stoi(call));
            if (!said.empty()) {
                EXPECT_EQ(auction, before) << calls;
            }
            refused += said;
        }
        EXPECT_EQ(refused, refusal) << calls;
        EXPECT_TRUE(auction.Finished()) << calls;
        EXPECT_EQ(auction.PassedOut(), winner < 0) << calls;
        EXPECT_EQ(auction.HighBidder(), winner) << calls;
        EXPECT_EQ(auction.HighBid(), bid) << calls;
    }
    Auction auction(RuleSet::Standard(), 0);
    EXPECT_EQ(auction.Bid(2, 200), "It is West's turn to bid, not North's.");
    EXPECT_EQ(auction.Pass(1), "");
    EXPECT_EQ(auction.Bid(1, 300), "It is North's turn to bid, not West's.");  // a pass is final
}

TEST(HandScore, MadeSetLostMeldAndTheGameEnd) {
    const RuleSet rules = RuleSet::Standard();
    // Bid; each side's meld, card points and tricks; the result and the scores.
    const std::vector<std::tuple<int, std::array<int, 6>, const char*, std::array<int, 2>>> cases{
        {250, {200, 60, 80, 120, 5, 7}, "Made by 30", {280, 180}},
        {250, {200, 60, 50, 200, 3, 9}, "Made exactly", {250, 260}},
        {250, {200, 60, 40, 210, 2, 10}, "Set by 10", {-250, 270}},
        {250, {200, 60, 0, 250, 0, 12}, "Set by 250", {-250, 310}},  // no trick: the meld is lost
        {250, {200, 60, 250, 0, 12, 0}, "Made by 200", {450, 0}},    // the defenders' meld is lost
    };
    for (const auto& [bid, t, result, scores] : cases) {
        const HandScore score = ScoreHand(rules, {0, bid, {t[0], t[1]}, {t[2], t[3]}, {t[4], t[5]}, false});
        EXPECT_EQ(score.Result(), result);
        EXPECT_EQ(score.score, scores) << result;
    }
    // Totals after the hand, the declaring side, whether it made, and the winner.
    const std::vector<std::tuple<std::array<int, 2>, int, bool, int>> ends{
        {{1510, 1400}, 0, true, 0},  {{1400, 1510}, 0, true, 1},  {{1550, 1600}, 0, true, 0},
        {{1550, 1600}, 0, false, 1}, {{1600, 1550}, 1, false, 0}, {{1490, 1499}, 1, true, -1},
    };
    for (const auto& [totals, declarers, made, winner] : ends)
        EXPECT_EQ(GameWinner(rules, totals, declarers, made), winner) << totals[0] << " " << totals[1];
    // Thrown in: the declarers lose the bid, the others score their meld.
    const HandScore thrown = ScoreHand(rules, {1, 300, {90, 150}, {}, {}, true});
    EXPECT_EQ(thrown.score, (std::array<int, 2>{90, -300}));
}

TEST(HandScore, AHandPlayedOutByTheRules) {
    // Random legal cards: every card Play takes is legal, an illegal one is
    // refused with nothing changed, the tricks hold 240 card points and 10
    // more for the last, and taking every card back restores the deal.
    Random random(3, 0);
    for (int deal = 0; deal < 200; ++deal) {
        const std::array<HandCounts, 4> hands = DealHands(3, static_cast<std::uint64_t>(deal));
        PlayState play(RuleSet::Standard(), hands, deal % 4, deal % 3);
        while (!play.Over()) {
            const KindMask legal = play.Legal();
            const KindMask held = HeldKinds(play.Hands()[static_cast<std::size_t>(play.ToPlay())]);
            ASSERT_NE(legal, 0u);
            ASSERT_EQ(legal & ~held, 0u);
            if (const KindMask illegal = held & ~legal; illegal != 0) {
                const int seat = play.ToPlay();
                ASSERT_NE(play.Play(std::countr_zero(illegal)), "");
                ASSERT_EQ(play.ToPlay(), seat);
            }
            std::vector<int> choices;
            for (int kind = 0; kind < kCardKinds; ++kind)
                if (legal & KindFlag(kind)) choices.push_back(kind);
            ASSERT_EQ(play.Play(choices[random.Below(static_cast<std::uint32_t>(choices.size()))]), "");
        }
        EXPECT_EQ(play.Points()[0] + play.Points()[1], 250);
        EXPECT_EQ(play.Tricks()[0] + play.Tricks()[1], 12);
        while (play.Played() > 0) play.Unmake();
        EXPECT_EQ(play.Hands(), hands);
        EXPECT_EQ(play.Leader(), deal % 3);
        EXPECT_EQ(play.Points(), (std::array<int, 2>{}));
    }
}

TEST(RuleSet, PresetsSettingsAndTheirDefaults) {
    EXPECT_EQ(RuleSet::Standard().Name(), "Standard");
    EXPECT_EQ(RuleSet::Designed().Name(), "As designed");
    RuleSet passing = RuleSet::Standard();
    passing.passCards = 4;
    EXPECT_EQ(passing.Name(), "Standard, changed");
    EXPECT_EQ(RulesFromSettings(passing.ToSettings()).rules, passing);
    EXPECT_EQ(RulesFromSettings(RuleSet::Designed().ToSettings()).rules, RuleSet::Designed());
    const ReadRules read = RulesFromSettings(
        {{"passCards", "3"}, {"passCards", "5"}, {"gameTarget", "1e3"}, {"colour", "red"}, {"lastTrick", "0"}});
    RuleSet expected = RuleSet::Standard();
    expected.lastTrick = 0;
    EXPECT_EQ(read.rules, expected);
    EXPECT_EQ(read.notes, (std::vector<std::string>{"Rule \"passCards\" cannot be 5: 0 is used.",
                                                    "Rule \"gameTarget\" cannot be 1e3: 1500 is used.",
                                                    "Unknown rule \"colour\" passed over."}));
    const std::string text = RuleSet::Standard().Text();
    EXPECT_EQ(text.substr(0, text.find('\n')), "Rules: Standard");
    EXPECT_NE(text.find("The dealer's standing bid: 190\n"), std::string::npos);
    EXPECT_NE(text.find("Play: Holding the suit led, follow it and beat"), std::string::npos);
}

TEST(RuleSet, ThePlaySwitchesCombineAsTheirLineSays) {
    // Each of the sixteen combinations of the play switches in one line, and
    // the legal cards behind it: with following off, heading still binds a
    // card of the suit led, and trumping and over-trumping bind only a
    // player void in the suit led.
    const struct {
        PlayRules play;
        const char* line;
    } combinations[] = {
        {{true, true, true, true},
         "Holding the suit led, follow it and beat its best card when able, unless the trick is trumped; void in it, "
         "play a trump when able, beating a trump in the trick when able."},
        {{true, true, true, false},
         "Holding the suit led, follow it and beat its best card when able, unless the trick is trumped; void in it, "
         "play a trump when able, any trump."},
        {{true, true, false, true},
         "Holding the suit led, follow it and beat its best card when able, unless the trick is trumped; void in it, "
         "play any card, but a trump must beat a trump in the trick when able."},
        {{true, true, false, false},
         "Holding the suit led, follow it and beat its best card when able, unless the trick is trumped; void in it, "
         "play any card."},
        {{true, false, true, true},
         "Holding the suit led, follow it with any card of it; void in it, play a trump when able, beating a trump in "
         "the trick when able."},
        {{true, false, true, false},
         "Holding the suit led, follow it with any card of it; void in it, play a trump when able, any trump."},
        {{true, false, false, true},
         "Holding the suit led, follow it with any card of it; void in it, play any card, but a trump must beat a "
         "trump in the trick when able."},
        {{true, false, false, false},
         "Holding the suit led, follow it with any card of it; void in it, play any card."},
        {{false, true, true, true},
         "Holding the suit led, play any card, but one of that suit must beat its best card when able, unless the "
         "trick is trumped; void in it, play a trump when able, beating a trump in the trick when able."},
        {{false, true, true, false},
         "Holding the suit led, play any card, but one of that suit must beat its best card when able, unless the "
         "trick is trumped; void in it, play a trump when able, any trump."},
        {{false, true, false, true},
         "Holding the suit led, play any card, but one of that suit must beat its best card when able, unless the "
         "trick is trumped; void in it, play any card, but a trump must beat a trump in the trick when able."},
        {{false, true, false, false},
         "Holding the suit led, play any card, but one of that suit must beat its best card when able, unless the "
         "trick is trumped; void in it, play any card."},
        {{false, false, true, true},
         "Holding the suit led, play any card; void in it, play a trump when able, beating a trump in the trick when "
         "able."},
        {{false, false, true, false},
         "Holding the suit led, play any card; void in it, play a trump when able, any trump."},
        {{false, false, false, true},
         "Holding the suit led, play any card; void in it, play any card, but a trump must beat a trump in the trick "
         "when able."},
        {{false, false, false, false}, "Holding the suit led, play any card; void in it, play any card."},
    };
    constexpr int kSpades = 2;  // trump
    const auto card = [](const char* name) { return KindOfCode(testing::CardsOf(name).front().Code); };
    for (const auto& c : combinations) {
        EXPECT_EQ(PlayRulesLine(c.play), c.line);
        auto legal = [&](const char* hand, std::vector<int> trick, const char* name) {
            return (LegalPlays(testing::CountsOf(hand), trick, kSpades, c.play) & KindFlag(card(name))) != 0;
        };
        // Holding clubs: the ace of hearts, the nine under the king led, and
        // (following off) a trump that does not over-trump.
        EXPECT_EQ(legal("AC 9C AH", {card("KC")}, "AH"), !c.play.followSuit) << c.line;
        EXPECT_EQ(legal("AC 9C AH", {card("KC")}, "9C"), !c.play.headTrick) << c.line;
        EXPECT_TRUE(legal("AC 9C AS 9S", {card("KC"), card("KS")}, "9S") || c.play.followSuit) << c.line;
        // Void in clubs: the ace of hearts, and the nine of trump under the king.
        EXPECT_EQ(legal("AH AS 9S", {card("KC"), card("KS")}, "AH"), !c.play.trumpWhenVoid) << c.line;
        EXPECT_EQ(legal("AH AS 9S", {card("KC"), card("KS")}, "9S"), !c.play.overTrump) << c.line;
    }
}

}  // namespace
}  // namespace vantrel
