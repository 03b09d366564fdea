#include "eval/meld.h"

#include <gtest/gtest.h>

#include <random>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Hand;
using testing::Lines;

// One hand and what it melds for each trump text tried.
struct Reading {
    const char* trump;
    Lines report;  // everything after the empty line and the seat name
    int total;
    bool noRun;
};

struct MeldCase {
    const char* name;
    std::array<CardRec, 12> hand;
    std::vector<Reading> readings;
};

const std::vector<MeldCase>& MeldCases() {
    static const std::vector<MeldCase> cases = {
        {"AcesMarriageAndPinochleInTrump",
         Hand({"AC", "AH", "AS", "AD", "KH", "QH", "QS", "JD", "9C", "9H", "10S", "10D"}),
         {
             {"H",
              {"Aces\t\t=  100", "Marriage Hearts\t=    40", "Pinochle/s\t=    40", "", "Total Meld\t=  180"},
              180,
              true},
             {"x",
              {"Aces\t\t=  100", "Marriage Hearts\t=    20", "Pinochle/s\t=    40", "", "Total Meld\t=  160"},
              160,
              true},
         }},
        {"DoubleAcesCountOnce",
         Hand({"AC", "AC", "AH", "AH", "AS", "AS", "AD", "AD", "9C", "9H", "JC", "JH"}),
         {
             {"x", {"Aces\t\t=  100", "", "Total Meld\t=  100"}, 100, true},
         }},
        {"DoubleRunIsOneRunWithAMarriage",
         Hand({"AC", "10C", "KC", "QC", "JC", "AC", "10C", "KC", "QC", "JC", "9C", "9H"}),
         {
             {"x", {"Run in Clubs\t=  150", "Marriage Clubs\t=    20", "", "Total Meld\t=  170"}, 170, false},
             {"C", {"Run in Clubs\t=  150", "", "Total Meld\t=  150"}, 150, false},
         }},
        {"RunsInTwoSuitsHeartsFirst",
         Hand({"AD", "10D", "KD", "QD", "JD", "AH", "10H", "KH", "QH", "JH", "9C", "9S"}),
         {
             {"x", {"Run in Hearts\t=  150", "Run in Diamonds\t=  150", "", "Total Meld\t=  300"}, 300, false},
         }},
        {"KingKingQueen",
         Hand({"KH", "KH", "QH", "9C", "9C", "9S", "9S", "9D", "9D", "10C", "10S", "JC"}),
         {
             {"x", {"Marriage Hearts\t=    20", "", "Total Meld\t=   20"}, 20, true},
             {"H", {"Marriage Hearts\t=    40", "", "Total Meld\t=   40"}, 40, true},
         }},
        {"TwoMarriages",
         Hand({"KH", "KH", "QH", "QH", "9C", "9C", "9S", "9S", "9D", "9D", "10C", "10S"}),
         {
             {"x", {"Marriage Hearts\t=    40", "", "Total Meld\t=   40"}, 40, true},
             {"H", {"Marriage Hearts\t=    80", "", "Total Meld\t=   80"}, 80, true},
         }},
        {"AnyRunLeavesTrumpMarriagesOut",
         Hand({"AS", "10S", "KS", "QS", "JS", "KH", "QH", "9C", "9C", "9D", "9D", "10C"}),
         {
             {"H", {"Run in Spades\t=  150", "", "Total Meld\t=  150"}, 150, false},
             {"x", {"Run in Spades\t=  150", "Marriage Hearts\t=    20", "", "Total Meld\t=  170"}, 170, false},
         }},
        {"RunInTrumpWithEveryKingAndQueen",
         Hand({"AS", "10S", "KS", "QS", "JS", "KS", "QS", "9C", "9C", "9H", "9H", "10C"}),
         {
             {"S", {"Run in Spades\t=  150", "", "Total Meld\t=  150"}, 150, false},
         }},
        {"Pinochle",
         Hand({"QS", "JD", "9C", "9C", "9H", "9H", "9S", "9S", "9D", "9D", "10C", "10H"}),
         {
             {"x", {"Pinochle/s\t=    40", "", "Total Meld\t=   40"}, 40, true},
         }},
        {"DoublePinochle",
         Hand({"QS", "QS", "JD", "JD", "9C", "9C", "9H", "9H", "9S", "9S", "10C", "10H"}),
         {
             {"x", {"Pinochle/s\t=    80", "", "Total Meld\t=   80"}, 80, true},
         }},
        {"TwoQueensOneJack",
         Hand({"QS", "QS", "JD", "9D", "9C", "9C", "9H", "9H", "9S", "9S", "10C", "10H"}),
         {
             {"x", {"Pinochle/s\t=    40", "", "Total Meld\t=   40"}, 40, true},
         }},
        {"NoMeld",
         Hand({"9C", "9C", "9H", "9H", "9S", "9S", "9D", "9D", "10C", "10H", "10S", "10D"}),
         {
             {"x", {"", "Total Meld\t=    0"}, 0, true},
         }},
        {"LargestTotal",
         Hand({"AS", "10S", "KS", "QS", "JS", "AD", "10D", "KD", "QD", "JD", "AC", "AH"}),
         {
             {"x",
              {"Aces\t\t=  100", "Run in Spades\t=  150", "Run in Diamonds\t=  150", "Pinochle/s\t=    40", "",
               "Total Meld\t=  440"},
              440,
              false},
         }},
        {"FourKindsInOrder",
         Hand({"KC", "KH", "KS", "KD", "QC", "QH", "QS", "QD", "JC", "JH", "JS", "JD"}),
         {
             {"x",
              {"Kings\t\t=    80", "Queens\t\t=    60", "Jacks\t\t=    40", "Marriage Clubs\t=    20",
               "Marriage Hearts\t=    20", "Marriage Spades\t=    20", "Marriage Diamonds\t=    20",
               "Pinochle/s\t=    40", "", "Total Meld\t=  300"},
              300,
              true},
         }},
    };
    return cases;
}

void PrintTo(const MeldCase& c, std::ostream* out) { *out << c.name; }

class MeldReport : public ::testing::TestWithParam<MeldCase> {};

TEST_P(MeldReport, ListsEveryLineAndTheTotal) {
    const MeldCase& c = GetParam();
    for (const Reading& reading : c.readings) {
        for (const char* seat : {"S", "W", "N", "E"}) {
            Form1 form(testing::FixedClock());
            testing::PlaceHand(form, seat, c.hand);
            form.evalMeld(seat, reading.trump);
            Lines expected{"", std::string(SeatOfLetter(seat)->name)};
            expected.insert(expected.end(), reading.report.begin(), reading.report.end());
            EXPECT_EQ(form.List1.Lines(), expected) << "trump " << reading.trump;
            EXPECT_EQ(form.MeldTotal, reading.total);
            EXPECT_EQ(form.NoRun, reading.noRun);
            EXPECT_TRUE(form.MeldShown);
            EXPECT_EQ(form.List1.ListIndex(), form.List1.ListCount() - 1);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Hands, MeldReport, ::testing::ValuesIn(MeldCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Meld, ShownHandIsNotCountedAgain) {
    Form1 form(testing::FixedClock());
    testing::PlaceHand(form, "S", MeldCases()[0].hand);
    form.evalMeld("S", "H");
    const auto lines = form.List1.Lines();
    form.MeldTotal = 77;
    form.evalMeld("S", "H");
    EXPECT_EQ(form.List1.Lines(), lines);
    EXPECT_EQ(form.MeldTotal, 77);
    EXPECT_TRUE(form.NoRun);
}

TEST(Meld, UnknownSeatCountsNothing) {
    Form1 form(testing::FixedClock());
    form.evalMeld("Q", "x");
    EXPECT_EQ(form.List1.ListCount(), 0);
    EXPECT_FALSE(form.MeldShown);
}

// Whatever the hand, the total is the sum of the values its report lists.
TEST(Meld, TotalIsTheSumOfTheListedValues) {
    std::mt19937 random(7);
    std::vector<CardRec> deck;
    for (int copy = 0; copy < 2; ++copy)
        for (int suit = 1; suit <= 4; ++suit)
            for (int rank = 1; rank <= 6; ++rank) deck.push_back(MakeCard(suit, rank, "S"));
    const char* trumps[] = {"x", "C", "H", "S", "D"};
    for (int round = 0; round < 20000; ++round) {
        std::shuffle(deck.begin(), deck.end(), random);
        const char* trump = trumps[round % 5];
        const MeldCount meld = CountMeld(deck.data(), trump);
        ListBox list;
        WriteMeldReport(list, "South", meld);
        int listed = 0;
        for (int i = 2; i < list.ListCount() - 2; ++i) {
            const std::string_view line = list.List(i);
            listed += std::stoi(std::string(line.substr(line.find('=') + 1)));
        }
        ASSERT_EQ(listed, meld.total) << round;
        const std::string_view last = list.List(list.ListCount() - 1);
        ASSERT_EQ(last.size(), std::string_view("Total Meld\t=  ").size() + 3) << last;
        ASSERT_LE(meld.total, 440);
    }
}

}  // namespace
}  // namespace vantrel
