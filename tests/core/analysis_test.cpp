// The hand analysis: its fast meld counter against the program's own, exact
// odds against the simulation, an unbiased deal, and figures that depend on
// the seed alone, and the figures against an independent reckoning.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numeric>
#include <tuple>

#include "analysis/hand_analysis.h"
#include "form/meld_report.h"
#include "rules/card_records.h"
#include "rules/design_codes.h"
#include "rules/designed_meld.h"
#include "rules/meld_rules.h"
#include "rules/number_text.h"
#include "rules/playing_points.h"
#include "rules/unseen_deck.h"
#include "test_support.h"

namespace vantrel {
namespace {

using testing::FixedClock;
using testing::HandOf;
using testing::Started;

// Twelve cards drawn from the pinochle deck limited to some suits and ranks, so
// that runs, doubled marriages and fours turn up far more often than at random.
std::array<CardRec, 12> RandomHand(Random& random, const std::vector<int>& suits, const std::vector<int>& ranks) {
    std::vector<CardRec> pool;
    for (int suit : suits)
        for (int rank : ranks)
            for (int copy = 0; copy < 2; ++copy) pool.push_back(MakeCard(suit, rank, "S"));
    std::array<CardRec, 12> hand{};
    for (std::size_t i = 0; i < hand.size(); ++i) {
        std::swap(pool[i], pool[i + random.Below(static_cast<std::uint32_t>(pool.size() - i))]);
        hand[i] = pool[i];
    }
    return hand;
}

TEST(HandAnalysis, FastMeldAgreesWithTheProgramsMeldForEveryTrump) {
    const char* asked = std::getenv("VANTREL_DIFFERENTIAL_HANDS");
    const long hands = asked != nullptr ? std::atol(asked) : 60000;
    const std::vector<std::pair<std::vector<int>, std::vector<int>>> pools{{{1, 2, 3, 4}, {1, 2, 3, 4, 5, 6}},
                                                                           {{1, 2}, {1, 2, 3, 4, 5, 6}},
                                                                           {{3, 4}, {1, 2, 3, 4, 5}},
                                                                           {{1, 2, 3, 4}, {1, 3, 4, 5}},
                                                                           {{2, 3, 4}, {2, 3, 4, 5, 6}}};
    Random random(7, 0);
    for (long i = 0; i < hands; ++i) {
        const auto& [suits, ranks] = pools[static_cast<std::size_t>(i) % pools.size()];
        const auto hand = RandomHand(random, suits, ranks);
        const DesignedMeld fast(CountsOfHand(hand.data()));
        const MeldCount meld = CountMeld(hand.data(), "x");
        ASSERT_EQ(fast.NoTrump(), meld.total) << "hand " << i;
        // The report lists values that add up to its total line.
        ListBox list;
        WriteMeldReport(list, "South", meld);
        int listed = 0;
        for (int line = 2; line < list.ListCount() - 2; ++line)
            listed += std::stoi(std::string(list.List(line).substr(list.List(line).find('=') + 1)));
        ASSERT_EQ(listed, meld.total) << "hand " << i;
        for (int t = 0; t < 4; ++t) {
            const std::string_view trump = kSuitLetters[static_cast<std::size_t>(t)];
            const int expected = CountMeld(hand.data(), trump).total + CountPlayingPoints(hand.data(), trump).DixMeld();
            ASSERT_EQ(fast.WithTrump(t), expected) << "hand " << i << " trump " << trump;
        }
    }
}

HandCounts Counts(const std::array<CardRec, 12>& hand) { return CountsOfHand(hand.data()); }

TEST(HandAnalysis, ExactOddsAgreeWithTheSimulation) {
    const std::vector<std::array<CardRec, 12>> hands{
        HandOf("AH 10H KH QH AS AC KC QS 9D 9D JC KS"),
        HandOf("AD 10D JD QD AD KC KC KH KS QS 10S JH"),  // a whole pinochle: no half wanted
    };
    std::vector<std::string> melds;
    for (const auto& hand : hands)
        for (const NearMeld& near : FindNearMelds(Counts(hand))) melds.push_back(near.meld);
    EXPECT_EQ(melds,
              (std::vector<std::string>{
                  "Run in Clubs (10\u2663 + Q\u2663)", "Run in Hearts (J\u2665)", "Run in Spades (10\u2660 + J\u2660)",
                  "Aces (A\u2666)", "Kings (K\u2666)", "Pinochle (J\u2666)", "Marriage Clubs (Q\u2663)",
                  "Run in Spades (A\u2660 + J\u2660)", "Run in Diamonds (K\u2666)", "Kings (K\u2666)",
                  "Marriage Clubs (Q\u2663)", "Marriage Hearts (Q\u2665)", "Marriage Diamonds (K\u2666)"}));
    for (const auto& hand : hands) {
        SimulationRequest request{Counts(hand), 99, 60000, 2, FindNearMelds(Counts(hand))};
        const SimulationTally tally = Simulate(request);
        ASSERT_EQ(tally.deals, 60000u);
        for (std::size_t i = 0; i < request.nearMelds.size(); ++i) {
            const double p = request.nearMelds[i].exact;
            const double seen = static_cast<double>(tally.nearMeldHits[i]) / 60000.0;
            EXPECT_NEAR(seen, p, 4 * std::sqrt(p * (1 - p) / 60000.0)) << request.nearMelds[i].meld;
        }
    }
    // By the standard rules, the second copies too: of a double pinochle, a
    // second marriage, a double four of a kind; and the marriage a run leaves
    // worth nothing.
    const HandCounts standard = Counts(HandOf("AH 10H KH KH QH JH AC AC AS AS AD QS"));
    melds.clear();
    for (const HandCounts own : {Counts(HandOf("AH 10H KH QH JH AC AS AD QS QS JD KC")), standard})
        for (const NearMeld& near : FindNearMelds(own, MeldRules::Standard)) melds.push_back(near.meld);
    EXPECT_EQ(melds,
              (std::vector<std::string>{"Marriage Clubs (Q\u2663)", "Marriage Spades (K\u2660)",
                                        "Double pinochle (J\u2666)", "Pinochle (J\u2666)", "Marriage Spades (K\u2660)",
                                        "Second marriage Hearts (Q\u2665)", "Double Aces (A\u2665 + A\u2666)"}));
    EXPECT_EQ(MeldNotes(standard, MeldRules::Standard),
              (std::vector<std::string>{"With Hearts as trump the K\u2665 Q\u2665 marriage is worth nothing: its King "
                                        "and Queen are in the run."}));
    EXPECT_TRUE(MeldNotes(standard, MeldRules::Designed).empty());
    // One copy of a card unseen: partner holds it with chance 12/36; two: 1 - (24 * 23) / (36 * 35).
    const auto hand = hands[0];
    EXPECT_NEAR(ChancePartnerHoldsAll(Counts(hand), {KindOfCode(105)}), 1.0 / 3, 1e-12);
    EXPECT_NEAR(ChancePartnerHoldsAll(Counts(hand), {KindOfCode(403)}), 1 - 552.0 / 1260, 1e-12);
}

TEST(HandAnalysis, PartnersMeanWithoutTrumpIsThatOfARandomHand) {
    // Over many own hands, what partner melds is what any hand melds: a deal
    // of the unseen cards that favoured some of them would show here.
    Random random(11, 0);
    double partnerMean = 0;
    double partnerVariance = 0;
    double randomMean = 0;
    constexpr int kHands = 300;
    constexpr std::uint64_t kDeals = 4096;
    for (int h = 0; h < kHands; ++h) {
        const auto own = RandomHand(random, {1, 2, 3, 4}, {1, 2, 3, 4, 5, 6});
        const SimulationTally tally = Simulate({Counts(own), static_cast<std::uint64_t>(h), kDeals, 1, {}});
        const double mean = static_cast<double>(tally.partnerNoTrumpSum) / kDeals;
        partnerMean += mean / kHands;
        partnerVariance += static_cast<double>(tally.partnerNoTrumpSquares) / kDeals - mean * mean;
        for (int r = 0; r < 40; ++r) {
            const auto other = RandomHand(random, {1, 2, 3, 4}, {1, 2, 3, 4, 5, 6});
            randomMean += CountMeld(other.data(), "x").total / (40.0 * kHands);
        }
    }
    const double error =
        std::sqrt(partnerVariance / kHands / (kHands * kDeals) + partnerVariance / kHands / (40 * kHands));
    EXPECT_NEAR(partnerMean, randomMean, 4 * error);
}

TEST(HandAnalysis, TheSeedAndTheCountAloneFixTheFigures) {
    const auto hand = HandOf("AH 10H KH QH AS AC KC QS 9D 9D JC KS");
    SimulationRequest request{Counts(hand), 5, 3 * kBlockDeals + 17, 1, FindNearMelds(Counts(hand))};
    const SimulationTally one = Simulate(request);
    int progressCalls = 0;
    for (unsigned threads : {2u, 8u}) {
        request.threads = threads;
        const SimulationTally many = Simulate(request, nullptr, [&](const SimulationTally&) { ++progressCalls; });
        EXPECT_EQ(FigureRows(OwnFiguresOf(hand.data()), many)[3].cells,
                  FigureRows(OwnFiguresOf(hand.data()), one)[3].cells);
        EXPECT_EQ(many.trumps[1].partner, one.trumps[1].partner);
        EXPECT_EQ(many.trumps[3].opponents, one.trumps[3].opponents);
        EXPECT_EQ(many.nearMeldHits, one.nearMeldHits);
    }
    EXPECT_EQ(progressCalls, 8);
    request.seed = 6;
    EXPECT_NE(Simulate(request).trumps[1].partner, one.trumps[1].partner);

    std::atomic<bool> cancel{true};
    EXPECT_EQ(Simulate(request, &cancel).deals, 0u);
    // No whole hand, nothing dealt: none at all, or a third copy of a card.
    const HandCounts threeAces =
        Counts(HandOf("AH AH 10H KH AS AC KC QS 9D 9D JC KS")) + KindBit(KindOfCode(201)) - KindBit(KindOfCode(101));
    for (const HandCounts own : {HandCounts{0}, threeAces}) {
        request.own = own;
        EXPECT_FALSE(IsWholeHand(own));
        EXPECT_EQ(Simulate(request).deals, 0u);
        EXPECT_TRUE(FindNearMelds(own).empty());
        EXPECT_EQ(ChancePartnerHoldsAll(own, {KindOfCode(101), KindOfCode(201)}), 0.0);
    }
}

TEST(HandAnalysis, OwnFiguresEqualTheDeclarationLines) {
    Started form(FixedClock(31));
    for (const SeatInfo& seat : kSeats) {
        const CardRec* hand = &form->Deck[static_cast<std::size_t>(seat.first)];
        const auto own = OwnFiguresOf(hand);
        for (int i = 0; i < 12; ++i) {
            const int index = seat.first + i;
            form->TrumpDeclared = true;  // the double-click then starts a fresh list
            form->Image1_DblClick(index);
            const std::size_t s =
                static_cast<std::size_t>(SuitNumber(form->Deck[static_cast<std::size_t>(index)].Suit) - 1);
            const auto lines = testing::LinesFrom(form->List1, 0);
            EXPECT_EQ(lines.back(), "Bid Value = " + std::to_string(own[s].bidValue));
            EXPECT_NE(std::find(lines.begin(), lines.end(), "Total Meld = " + NumberText(std::int64_t{own[s].meld})),
                      lines.end());
            EXPECT_NE(std::find(lines.begin(), lines.end(),
                                "Hands Playing Points = " + NumberText(std::int64_t{own[s].playPoints})),
                      lines.end());
        }
    }
}

TEST(HandAnalysis, FiguresAgreeWithAnIndependentReckoning) {
    // For a hand of each partnership, under each rule set: the same deals
    // (the generator of each block, the unseen cards dealt to partner, left
    // and right) weighed card by card here, the program's own meld listing
    // as designed and the standard meld report by the standard rules. The
    // tally's sums and histograms, and the percentiles and means the rows
    // show for partner, the partnership and the opponents, must agree.
    Started form(FixedClock(41));
    constexpr std::uint64_t kDeals = 2 * kBlockDeals;
    for (const SeatInfo* seat : {&kSeats[0], &kSeats[3]}) {
        const MeldRules rules = seat == &kSeats[0] ? MeldRules::Designed : MeldRules::Standard;
        const CardRec* hand = &form->Deck[static_cast<std::size_t>(seat->first)];
        const HandCounts own = CountsOfHand(hand);
        const auto figures = OwnFiguresOf(hand, rules);
        const SimulationTally tally = Simulate({own, 3, kDeals, 2, {}, rules});
        const auto rows = FigureRows(figures, tally);
        auto meld = [&](HandCounts cards, std::size_t t) {
            const std::array<CardRec, 12> records = CardsOfHand(cards);
            if (rules == MeldRules::Standard) return StandardMeldReport(cards, static_cast<int>(t)).total;
            return CountMeld(records.data(), kSuitLetters[t]).total +
                   CountPlayingPoints(records.data(), kSuitLetters[t]).DixMeld();
        };
        std::array<std::vector<int>, 4> partner, opponents;
        for (std::uint64_t block = 0; block < 2; ++block) {
            Random random(3, block);
            UnseenDeck unseen = UnseenDeck::Besides(own);
            for (std::uint64_t deal = 0; deal < kBlockDeals; ++deal) {
                const auto hands = unseen.Deal(random, std::array<int, 3>{12, 12, 12});
                for (std::size_t t = 0; t < 4; ++t) {
                    partner[t].push_back(meld(hands[0], t));
                    opponents[t].push_back(meld(hands[1], t) + meld(hands[2], t));
                }
            }
        }
        for (std::size_t t = 0; t < 4; ++t) {
            const std::string where = std::string(seat->name) + ", trump " + std::string(kSuitNames[t]);
            for (auto [melds, histogram, sum] :
                 {std::tuple{&partner[t],
                             std::vector<std::uint64_t>(tally.trumps[t].partner.begin(), tally.trumps[t].partner.end()),
                             tally.trumps[t].partnerSum},
                  std::tuple{
                      &opponents[t],
                      std::vector<std::uint64_t>(tally.trumps[t].opponents.begin(), tally.trumps[t].opponents.end()),
                      tally.trumps[t].opponentsSum}}) {
                std::vector<std::uint64_t> expected(histogram.size());
                std::int64_t expectedSum = 0;
                for (int m : *melds) {
                    ++expected[static_cast<std::size_t>(m)];
                    expectedSum += m;
                }
                EXPECT_EQ(histogram, expected) << where;
                EXPECT_EQ(sum, expectedSum) << where;
            }
            // The least value with at least the share of deals at or below it.
            auto percentiles = [](std::vector<int> melds, int offset) {
                std::sort(melds.begin(), melds.end());
                auto at = [&](std::size_t per100) { return melds[(melds.size() * per100 + 99) / 100 - 1] + offset; };
                return std::to_string(at(10)) + "/" + std::to_string(at(50)) + "/" + std::to_string(at(90));
            };
            auto mean = [](const std::vector<int>& melds) {
                return std::accumulate(melds.begin(), melds.end(), 0.0) / static_cast<double>(melds.size());
            };
            EXPECT_EQ(rows[4].cells[t], percentiles(partner[t], 0)) << where;
            EXPECT_EQ(rows[10].cells[t], percentiles(partner[t], figures[t].meld)) << where;
            EXPECT_EQ(rows[12].cells[t], percentiles(opponents[t], 0)) << where;
            EXPECT_NEAR(std::stod(rows[3].cells[t]), mean(partner[t]), 0.05) << where;
            EXPECT_NEAR(std::stod(rows[11].cells[t]), mean(opponents[t]), 0.5) << where;
            EXPECT_NEAR(std::stod(rows[9].cells[t]), figures[t].meld + mean(partner[t]), 0.05) << where;
            EXPECT_NEAR(std::stod(rows[13].cells[t]), figures[t].bidValue + mean(partner[t]), 0.05) << where;
        }
    }
}

TEST(HandAnalysis, FiguresReadOffAKnownTally) {
    // Five deals: partner melds 0, 10, 20, 30 and 40 with clubs as trump, the
    // opponents 50, 50, 50, 100 and 100; one near meld held in two of them.
    SimulationTally tally;
    tally.deals = 5;
    auto& clubs = tally.trumps[0];
    for (int meld : {0, 10, 20, 30, 40}) {
        ++clubs.partner[static_cast<std::size_t>(meld)];
        clubs.partnerSum += meld;
        clubs.partnerSquares += meld * meld;
    }
    clubs.opponents[50] = 3;
    clubs.opponents[100] = 2;
    clubs.opponentsSum = 350;
    clubs.opponentsSquares = 27500;
    tally.nearMeldHits = {2};
    // The clubs column, row by row, for a hand of its own that melds 100
    // with 50 playing points; the half-widths are 1.96 standard errors.
    std::array<OwnFigures, 4> own{};
    own[0] = {100, 50, 150};
    std::string clubsColumn;
    for (const FigureRow& row : FigureRows(own, tally)) clubsColumn += row.cells[0] + " | ";
    EXPECT_EQ(clubsColumn,
              "100 | 50 | 150 | 20.0 \u00b1 13.9 | 0/20/40 | 60.0% | 20.0% | 0.0% | 0.0% | 120.0 | 100/120/140 | "
              "70.0 \u00b1 24.0 | 50/50/100 | 170.0 | ");
    const auto odds = OddsRows({{"Jacks (J\u2663)", {KindOfCode(105)}, 0.5}}, tally);
    ASSERT_EQ(odds.size(), 1u);
    EXPECT_EQ(odds[0].exact + " " + odds[0].simulated + " " + odds[0].error, "50.0% 40.0% \u00b1 42.9%");
    // Over ten million deals the half-width keeps two significant digits.
    tally.deals = 10000000;
    auto& hearts = tally.trumps[1];
    hearts.partner[0] = hearts.partner[40] = 5000000;
    hearts.partnerSum = 200000000;
    hearts.partnerSquares = 8000000000;
    hearts.opponents[60] = 10000000;
    hearts.opponentsSum = 600000000;
    hearts.opponentsSquares = 36000000000;
    const auto rows = FigureRows({}, tally);
    EXPECT_EQ(rows[3].cells[1] + " | " + rows[11].cells[1], "20.000 \u00b1 0.012 | 60.0 \u00b1 0.0");
}

TEST(HandAnalysis, CopiedTextHoldsEveryFigure) {
    const auto hand = HandOf("AH 10H KH QH AS AC KC QS 9D 9D JC KS");
    EXPECT_EQ(HandText(hand.data()), "\u2663 A K J  \u2665 A 10 K Q  \u2660 A K Q  \u2666 9 9");
    // The histogram's trump: the longest suit, the first in suit order on a tie.
    for (const auto& [cards, longest] :
         std::vector<std::pair<const char*, int>>{{"AH 10H KH QH AS AC KC QS 9D 9D JC KS", 1},
                                                  {"AD 10D KD QD JD AS AC KC QS 9H 9H JC", 3},
                                                  {"AC 10C KC AS 10S KS AH 10H AD 10D QH QD", 0},
                                                  {"AH 10H KH QH AD 10D KD QD AS AC KC QS", 1}})
        EXPECT_EQ(LongestSuit(HandOf(cards).data()), longest) << cards;
    EXPECT_EQ(std::string(PartnerOf("S")) + std::string(PartnerOf("W")) + std::string(PartnerOf("N")) +
                  std::string(PartnerOf("E")) + std::string(PartnerOf("x")),
              "NESW");
    const SimulationTally tally = Simulate({Counts(hand), 1, 1000, 1, {}});
    const auto rows = FigureRows(OwnFiguresOf(hand.data()), tally);
    const std::string text =
        AnalysisText({"As designed", "South", "", HandText(hand.data()), 1, 1000}, rows, {}, {}, tally.deals);
    EXPECT_NE(text.find("Seed 1, 1,000 of 1,000 deals simulated"), std::string::npos);
    for (const FigureRow& row : rows)
        for (const std::string& cell : row.cells) EXPECT_NE(text.find(cell), std::string::npos) << row.name;
    EXPECT_EQ(rows[2].cells, (std::array<std::string, 4>{"125", "160", "145", "150"}));
}

}  // namespace
}  // namespace vantrel
