// Deal codes, the play checker and the play record with its verdict.
#include <gtest/gtest.h>

#include <set>

#include "analysis/hand_analysis.h"
#include "form/play_record_start.h"
#include "practice/deal_code.h"
#include "practice/play_record.h"
#include "review/hand_review.h"
#include "rules/card_records.h"
#include "rules/design_codes.h"
#include "rules/designed_play.h"
#include "rules/meld_rules.h"
#include "test_support.h"

namespace vantrel {
namespace {

using testing::FixedClock;
using testing::HandOf;
using testing::Lines;
using testing::LinesFrom;
using testing::Started;

// Each hand's cards as sorted codes: what a deal is, whatever the order.
std::array<std::vector<int>, 4> Hands(const std::array<CardRec, 49>& deck) {
    std::array<std::vector<int>, 4> hands;
    for (int p = 1; p <= 48; ++p)
        hands[static_cast<std::size_t>((p - 1) / 12)].push_back(deck[static_cast<std::size_t>(p)].Code);
    for (auto& hand : hands) std::sort(hand.begin(), hand.end());
    return hands;
}

TEST(DealCode, RoundTripsAndLaysTheDealAsShuffleDoes) {
    Started dealt(FixedClock(1));
    std::set<char> checks;  // every check character met, the five that only checks use among them
    for (std::uint64_t seed = 1; seed <= 2000; ++seed) {
        Started original(FixedClock(seed));
        const std::string code = DealCodeOf(original->Deck);
        ASSERT_EQ(code.size(), 21u);
        const DecodedDeal decoded = DecodeDealCode(code);
        ASSERT_TRUE(decoded.ok) << code << ": " << decoded.problem;
        ASSERT_EQ(Hands(decoded.deck), Hands(original->Deck)) << code;
        checks.insert(code.back());
        // Typed loosely (lower case, O for 0, I or L for 1) and parted as
        // people paste it (blanks, tabs, no-break spaces, en and em dashes,
        // a line end), it reads the same.
        static const std::array<std::string, 5> kParts{" ", "\t", "\u00A0", "\u2013", "\u2014"};
        std::string typed;
        for (char c : code)
            typed += c == '-' ? kParts[seed % kParts.size()]
                              : std::string(1, c == '0'   ? 'o'
                                               : c == '1' ? "IL"[seed % 2]
                                                          : char(std::tolower(c)));
        typed += seed % 3 == 0 ? "\r\n" : seed % 3 == 1 ? "\n" : "";
        ASSERT_EQ(Hands(DecodeDealCode(typed).deck), Hands(original->Deck)) << typed;
        if (seed % 100 != 0) continue;
        // Laid on a form in the middle of play, the deal reads exactly as the
        // shuffle that made it listed it.
        dealt->cmdPlay_Click();
        ASSERT_EQ(dealt->DealFromCode(code), "");
        EXPECT_EQ(dealt->Deck, original->Deck);
        EXPECT_EQ(LinesFrom(dealt->List1, 0), LinesFrom(original->List1, 0));
        EXPECT_EQ(dealt->module1.PlayFlag, 0);
        EXPECT_EQ(dealt->cmdPlay.Caption, "Play Hand");
        EXPECT_EQ(dealt->MaxSuitCount, original->MaxSuitCount);
        dealt->ReplayDeal();
        EXPECT_EQ(LinesFrom(dealt->List1, 0), LinesFrom(original->List1, 0));
    }
    EXPECT_EQ(checks.size(), 37u);
}

TEST(DealCode, FixedCodesArePinnedToTheirDeals) {
    Form1::Table table{};
    for (int p = 1; p <= 48; ++p) table[static_cast<std::size_t>(p)] = TableCard(p);
    EXPECT_EQ(DealCodeOf(table), "0000-DWDW-Z7Z7-R9R9-0");
    Started form(FixedClock(20261206));
    EXPECT_EQ(DealCodeOf(form->Deck), "9R9R-G0K3-VP66-VMQT-S");
}

TEST(DealCode, BadCodesAreRefusedAndChangeNothing) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"9R9R-G0K3-VP66-VMQT", "A deal code has 17 characters besides dashes and blanks; this one has 16."},
        {"9R9R-G0K3-VP66-VMQT-S-0", "A deal code has 17 characters besides dashes and blanks; this one has 18."},
        {"9R9R-G0K3-VP66-VMQU-S", "The deal code holds \"U\" at place 16, which no deal code uses."},
        {"9R9R-G0K3-VP66-VMQT-#", "The deal code holds \"#\" at place 17, which no deal code uses."},
        {"9R9R-G0K3-VP66-VMQ\xC3\xA9", "A deal code has 17 characters besides dashes and blanks; this one has 16."},
        {"9R9R-G0K3-VP66-VMQT-\xC3\xA9", "The deal code holds a character at place 17, which no deal code uses."},
        {"9R9R-G0K3-VP66-VM*T-S", "The deal code holds \"*\" at place 15, which no deal code uses."},
        {"9R9R-G0K3-VP66-VMQT\tS\v", "A deal code has 17 characters besides dashes and blanks; this one has 18."},
        {"9R9R-G0K3-VP66-VMQV-S", "The check character does not fit: the code has been mistyped."},
        {"R99R-G0K3-VP66-VMQT-S", "The check character does not fit: the code has been mistyped."},
        {"0000-0000-0000-0000-0", "The deal code does not give twelve cards to each hand."},
    };
    Started form(FixedClock(3));
    const Form1::Table before = form->Deck;
    const Lines listed = LinesFrom(form->List1, 0);
    for (const auto& [code, problem] : cases) {
        EXPECT_EQ(form->DealFromCode(code), problem) << code;
        EXPECT_EQ(form->Deck, before);
        EXPECT_EQ(LinesFrom(form->List1, 0), listed);
    }
    // "Z8" is 1,000, one past the 1,000 ways three cards can lie: of its 37
    // check characters, the one that fits meets that refusal.
    int unpaired = 0;
    for (char check : std::string("0123456789ABCDEFGHJKMNPQRSTVWXYZ*~$=U")) {
        const std::string said = form->DealFromCode(std::string("Z800-0000-0000-0000-") + check);
        unpaired += said == "The deal code does not give two of each card." ? 1 : 0;
        EXPECT_TRUE(unpaired > 0 || said == "The check character does not fit: the code has been mistyped.");
    }
    EXPECT_EQ(unpaired, 1);
    EXPECT_EQ(form->Deck, before);
}

// Plays a whole hand on the form, the record watching, by clicking each
// seat's first card left in the order South, West, North, East; a click
// given as `again` repeats the first card of the first trick.
void PlayOut(Form1& form, PlayRecord& record, bool again = false) {
    form.cmdPlay_Click();
    StartRecordOnForm(record, form, DealCodeOf(form.Deck));
    for (int trick = 0; trick < 12; ++trick)
        for (int seat : {0, 1, 2, 3}) {
            const int index = (again && trick == 0 && seat == 1) ? 1 : 12 * seat + trick + 1;
            record.CardClicked(index);
            form.Image1_Click(index);
        }
}

TEST(PlayCheck, TheCheckerChangesNothingAndTheRecordReckonsByItsRules) {
    // Either side declaring, the record reckoning by the standard rules or
    // as designed; the main list is the same with the record watching.
    for (std::uint64_t seed : {5, 6, 7, 8}) {
        Started plain(FixedClock(seed));
        Started watched(FixedClock(seed));
        const bool eastWest = seed % 2 == 0;
        const bool standard = seed < 7;
        const int named = eastWest ? 39 : 3;  // East or South names a suit
        for (Form1* form : {&*plain, &*watched}) form->Image1_DblClick(named);
        PlayRecord record;
        PlayRecord unused;
        record.checking = true;
        if (!standard) record.rules = RuleSet::Designed();
        PlayOut(*plain, unused);
        PlayOut(*watched, record);
        EXPECT_EQ(LinesFrom(watched->List1, 0), LinesFrom(plain->List1, 0));
        // Each trick goes to the first card of the highest trump, else of the
        // suit led (as designed: of the highest trump, else rank), beside the
        // seat the table announced.
        const int trump = SuitNumber(plain->module1.TrumpSuit);
        Lines announced;
        for (const std::string& line : LinesFrom(plain->List1, 0))
            if (line.rfind(" ****  Trick Winner: ", 0) == 0) announced.push_back(line.substr(21, 1));
        Lines reckoned, recorded, table;
        int all = 0;
        int declarers = 0;
        const std::string text = record.Text();
        for (const auto& trick : record.tricks()) {
            std::pair<int, int> best{-1, 0};
            std::string winner;
            const int led = SuitOfKind(trick.plays.front().kind) + 1;
            for (const auto& play : trick.plays) {
                const int suit = SuitOfKind(play.kind) + 1;
                const int rank = RankOfKind(play.kind) + 1;
                const std::pair<int, int> strength{suit == trump ? 2 : suit == led || !standard ? 1 : 0, -rank};
                if (strength > best) best = strength, winner = LetterOf(play.seat);
            }
            reckoned.push_back(winner);
            recorded.emplace_back(LetterOf(trick.winner));
            table.emplace_back(LetterOf(trick.tableWinner));
            all += trick.points;
            declarers += (SideOf(trick.winner) == 0) != eastWest ? trick.points : 0;
            const std::string remark = "the table gave it to " + std::string(NameOf(trick.tableWinner));
            EXPECT_EQ(text.find(remark) != std::string::npos || trick.winner == trick.tableWinner, true);
        }
        EXPECT_EQ(recorded, reckoned);
        EXPECT_EQ(table, announced);
        EXPECT_EQ(all, standard ? 250 : 240);
        if (!standard) {
            EXPECT_EQ(recorded, announced);
        }
        const BidVerdict& v = record.verdict();
        ASSERT_TRUE(v.judged);
        const Module1& m = plain->module1;
        EXPECT_EQ(v.side, eastWest ? "E-W" : "S-N");
        EXPECT_EQ(v.points, declarers);
        if (!standard) {
            EXPECT_EQ(v.tricks, eastWest ? m.EWTricks : m.SNTricks);
        }
        EXPECT_EQ(v.bid, plain->MeldTotal + plain->PlayPoints);
        // The declarer's meld and its partner's, each from its own hand.
        const std::size_t t = static_cast<std::size_t>(trump - 1);
        const CardRec* declarer = &plain->Deck[eastWest ? 37 : 1];
        const CardRec* partner = &plain->Deck[eastWest ? 13 : 25];
        for (const auto& [hand, meld] : {std::pair{declarer, v.declarerMeld}, std::pair{partner, v.partnerMeld}})
            EXPECT_EQ(meld,
                      standard ? StandardMeldReport(CountsOfHand(hand), trump - 1).total : OwnFiguresOf(hand)[t].meld);
        EXPECT_EQ(v.total, v.points + (v.tricks > 0 ? v.declarerMeld + v.partnerMeld : 0));
    }
}

TEST(PlayCheck, ASecondHandIsReportedAsIfPlayedAlone) {
    // The hand totals and the record start afresh: a second hand, declared
    // by South after West declared the first, ends with the same report and
    // record as that deal played on a fresh form. The rules switched off
    // stay off from hand to hand.
    Started twice(FixedClock(9));
    PlayRecord record;
    record.checking = true;
    record.rules.play.headTrick = false;
    twice->Image1_DblClick(14);
    PlayOut(*twice, record);
    twice->cmdPlay_Click();  // stop: a new deal
    const std::string code = DealCodeOf(twice->Deck);
    Started once(FixedClock(10));
    ASSERT_EQ(once->DealFromCode(code), "");
    PlayRecord fresh = record;
    for (auto [form, rec] : {std::pair{&*twice, &record}, std::pair{&*once, &fresh}}) {
        form->Image1_DblClick(3);
        PlayOut(*form, *rec);
    }
    EXPECT_EQ(LinesFrom(twice->List1, 0), LinesFrom(once->List1, 0));
    EXPECT_EQ(record.Text(), fresh.Text());
    EXPECT_FALSE(record.rules.play.headTrick);
}

TEST(PlayCheck, RepeatedCardsAndSecondCardsAreMarked) {
    Started form(FixedClock(8));
    PlayRecord record;
    record.checking = true;
    form->cmdPlay_Click();
    StartRecordOnForm(record, *form, DealCodeOf(form->Deck));
    for (int index : {1, 1, 2}) {
        record.CardClicked(index);
        form->Image1_Click(index);
    }
    const auto& plays = record.current();
    ASSERT_EQ(plays.size(), 3u);
    const std::string first = KindText(plays[0].kind);
    EXPECT_EQ(plays[1].faults, (std::vector<std::string>{first + " of South was played before",
                                                         "South has already played to this trick"}));
    EXPECT_EQ(plays[2].faults, (std::vector<std::string>{"South has already played to this trick"}));
    EXPECT_NE(record.Text().find("Trick being played (1): " + first + " S, " + first + " S, "), std::string::npos);
}

TEST(PlayCheck, APlayedCardIsNeitherHeldNorOut) {
    // The table deal with South's first club and West's first heart swapped:
    // West follows the first club lead with its only club, then may discard
    // when clubs are led again.
    Form1::Table table{};
    for (int p = 1; p <= 48; ++p) table[static_cast<std::size_t>(p)] = TableCard(p);
    std::swap(table[1], table[13]);
    Started form(FixedClock(1));
    ASSERT_EQ(form->DealFromCode(DealCodeOf(table)), "");
    auto first = [&](int from, std::string_view suit) {
        for (int p = from; p < from + 12; ++p)
            if (form->Image1[p].Visible && form->Deck[static_cast<std::size_t>(p)].Suit == suit) return p;
        return 0;
    };
    form->Image1_DblClick(first(1, "C"));  // South names clubs
    form->cmdPlay_Click();
    PlayRecord record;
    record.checking = true;
    StartRecordOnForm(record, *form, DealCodeOf(form->Deck));
    for (int trick = 0; trick < 2; ++trick)
        for (int index : {first(1, "C"), first(13, trick == 0 ? "C" : "H"), first(25, "D"), first(37, "S")}) {
            record.CardClicked(index);
            form->Image1_Click(index);
        }
    ASSERT_EQ(record.tricks().size(), 2u);
    for (const auto& trick : record.tricks())
        for (const auto& play : trick.plays) EXPECT_EQ(play.faults, Lines{}) << KindText(play.kind);
    const std::string text = record.Text();
    EXPECT_EQ(text.substr(text.find("Trick 2")),
              "Trick 2, led by South: 10\u2663 S, A\u2665 W, A\u2666 N, A\u2660 E\n    won by South, 43 card points\n\n"
              "Trick being played (3): no card yet\n\nStill out:  \u2663 10 K K Q Q J J 9 9  "
              "\u2665 A 10 10 K K Q Q J J 9 9  \u2660 10 10 K K Q Q J J 9 9  \u2666 10 10 K K Q Q J J 9 9\n"
              "Trumps still out: 9\n");
}

TEST(PlayCheck, VerdictArithmetic) {
    // South: a run in hearts (its own K and Q make no marriage) and a nine of
    // trump; North: a pinochle.
    const auto south = HandOf("AH 10H KH QH JH 9H AS AC 9C 9C 9D 9D");
    const auto north = HandOf("QS JD 10C 10C KC JS JS 10D 10D KD 9S 9S", "N");
    // Hearts: South melds 150 + 10 = 160 and bids its bid value, 160 + 6 trumps at 20 + 2 aces at 20 = 320.
    const std::vector<std::tuple<int, int, bool, int, std::string>> cases{
        {170, 7, true, 370, "Made by 50"}, {120, 5, true, 320, "Made exactly"}, {60, 2, true, 260, "Set by 60"},
        {0, 1, true, 200, "Set by 120"},  // a trick with no card points still makes the meld count
        {0, 0, false, 0, "Set by 320"},
    };
    for (const auto& [points, tricks, counts, total, result] : cases) {
        const BidVerdict v = JudgeBid(RuleSet::Standard(), CountsOfHand(south.data()), CountsOfHand(north.data()), 1,
                                      320, points, tricks, "S-N");
        EXPECT_EQ(std::tie(v.declarerMeld, v.partnerMeld, v.bid, v.meldCounts, v.total, v.result),
                  std::make_tuple(160, 40, 320, counts, total, result));
    }
    EXPECT_FALSE(JudgeBid(RuleSet::Standard(), 0, 0, -1, 300, 100, 6, "S-N").judged);
}

TEST(PlayCheck, TheMeldCountsForATrickTakenEvenWithNoCardPoints) {
    // South-North take one trick, of a jack and three nines (no card points by
    // the designed values), and East-West the other eleven: the record counts
    // South-North's meld, as a trick taken, not a card point, earns it.
    RuleSet rules = RuleSet::Standard();
    rules.cardPoints = CardValues::Designed;
    const std::array<HandCounts, 4> hands{testing::CountsOf("JH JH 9C 9C JC JC 9S 9S 10S 10S QD QD"),
                                          testing::CountsOf("AH AH 10H 10H KH KH AC AC 10C 10C 9D 9D"),
                                          testing::CountsOf("9H 9H KC KC QC QC KS KS QS QS JD JD"),
                                          testing::CountsOf("QH QH AS AS AD AD 10D 10D KD KD JS JS")};
    // Each trick South, West, North, East: the first South's, the rest East-West's.
    const char* tricks[] = {"JH 9D 9H JS",    "JH AH 9H QH",   "9C AC KC QH", "9C AC KC AS",
                            "JC 10C QC AS",   "JC 10C QC AD",  "9S AH KS AD", "9S 10H KS JS",
                            "10S 10H QS 10D", "10S KH QS 10D", "QD KH JD KD", "QD 9D JD KD"};
    PlayRecord record;
    record.rules = rules;
    record.checking = false;
    record.Start(DeckOfHands(hands), Suit::Hearts, Seat::South, 250, "");
    for (const char* trick : tricks) {
        const std::vector<CardRec> cards = testing::CardsOf(trick);
        for (int seat = 0; seat < 4; ++seat)
            record.CardPlayed(SeatAt(seat), KindOfCode(cards[static_cast<std::size_t>(seat)].Code));
    }
    ASSERT_EQ(record.tricks().size(), 12u);
    const BidVerdict& v = record.verdict();
    const int meld = StandardMeldReport(hands[0], 1).total + StandardMeldReport(hands[2], 1).total;
    EXPECT_EQ(std::tie(v.points, v.tricks, v.meldCounts, v.total), std::make_tuple(0, 1, true, meld));
    // Its review follows the hand only as far as the usual rules allow.
    std::string stopped;
    const ReviewRequest request = RequestOf(record, &stopped);
    EXPECT_EQ(request.hands, CountsOf(hands));
    EXPECT_EQ(std::tie(request.trump, request.declarer), std::make_tuple(1, 0));
    EXPECT_EQ(request.plays, std::vector<int>{KindOf(1, 4)});
    EXPECT_EQ(stopped, "The review stops at card 2: West held hearts: must follow suit.");
}

}  // namespace
}  // namespace vantrel
