#include "rules/designed_meld.h"

#include <gtest/gtest.h>

#include <tuple>

#include "test_support.h"

namespace vantrel {
namespace {

using testing::Lines;

// One hand, a trump text, its report after the seat name (lines split at
// '|'), the total and whether the hand holds no run.
struct MeldCase {
    const char* name;
    const char* hand;
    const char* trump;
    const char* report;
    int total;
    bool noRun;
};

// clang-format off
const std::vector<MeldCase>& MeldCases() {
    static const std::vector<MeldCase> cases = {
        {"AcesMarriageAndPinochleInTrump", "AC AH AS AD KH QH QS JD 9C 9H 10S 10D", "H", "Aces\t\t=  100|Marriage Hearts\t=    40|Pinochle/s\t=    40||Total Meld\t=  180", 180, true},
        {"AcesMarriageAndPinochleInTrump", "AC AH AS AD KH QH QS JD 9C 9H 10S 10D", "x", "Aces\t\t=  100|Marriage Hearts\t=    20|Pinochle/s\t=    40||Total Meld\t=  160", 160, true},
        {"DoubleAcesCountOnce", "AC AC AH AH AS AS AD AD 9C 9H JC JH", "x", "Aces\t\t=  100||Total Meld\t=  100", 100, true},
        {"DoubleRunIsOneRunWithAMarriage", "AC 10C KC QC JC AC 10C KC QC JC 9C 9H", "x", "Run in Clubs\t=  150|Marriage Clubs\t=    20||Total Meld\t=  170", 170, false},
        {"DoubleRunIsOneRunWithAMarriage", "AC 10C KC QC JC AC 10C KC QC JC 9C 9H", "C", "Run in Clubs\t=  150||Total Meld\t=  150", 150, false},
        {"RunsInTwoSuitsHeartsFirst", "AD 10D KD QD JD AH 10H KH QH JH 9C 9S", "x", "Run in Hearts\t=  150|Run in Diamonds\t=  150||Total Meld\t=  300", 300, false},
        {"KingKingQueen", "KH KH QH 9C 9C 9S 9S 9D 9D 10C 10S JC", "x", "Marriage Hearts\t=    20||Total Meld\t=   20", 20, true},
        {"KingKingQueen", "KH KH QH 9C 9C 9S 9S 9D 9D 10C 10S JC", "H", "Marriage Hearts\t=    40||Total Meld\t=   40", 40, true},
        {"TwoMarriages", "KH KH QH QH 9C 9C 9S 9S 9D 9D 10C 10S", "x", "Marriage Hearts\t=    40||Total Meld\t=   40", 40, true},
        {"TwoMarriages", "KH KH QH QH 9C 9C 9S 9S 9D 9D 10C 10S", "H", "Marriage Hearts\t=    80||Total Meld\t=   80", 80, true},
        {"AnyRunLeavesTrumpMarriagesOut", "AS 10S KS QS JS KH QH 9C 9C 9D 9D 10C", "H", "Run in Spades\t=  150||Total Meld\t=  150", 150, false},
        {"AnyRunLeavesTrumpMarriagesOut", "AS 10S KS QS JS KH QH 9C 9C 9D 9D 10C", "x", "Run in Spades\t=  150|Marriage Hearts\t=    20||Total Meld\t=  170", 170, false},
        {"RunInTrumpWithEveryKingAndQueen", "AS 10S KS QS JS KS QS 9C 9C 9H 9H 10C", "S", "Run in Spades\t=  150||Total Meld\t=  150", 150, false},
        {"Pinochle", "QS JD 9C 9C 9H 9H 9S 9S 9D 9D 10C 10H", "x", "Pinochle/s\t=    40||Total Meld\t=   40", 40, true},
        {"DoublePinochle", "QS QS JD JD 9C 9C 9H 9H 9S 9S 10C 10H", "x", "Pinochle/s\t=    80||Total Meld\t=   80", 80, true},
        {"TwoQueensOneJack", "QS QS JD 9D 9C 9C 9H 9H 9S 9S 10C 10H", "x", "Pinochle/s\t=    40||Total Meld\t=   40", 40, true},
        {"NoMeld", "9C 9C 9H 9H 9S 9S 9D 9D 10C 10H 10S 10D", "x", "|Total Meld\t=    0", 0, true},
        {"LargestTotal", "AS 10S KS QS JS AD 10D KD QD JD AC AH", "x", "Aces\t\t=  100|Run in Spades\t=  150|Run in Diamonds\t=  150|Pinochle/s\t=    40||Total Meld\t=  440", 440, false},
        {"FourKindsInOrder", "KC KH KS KD QC QH QS QD JC JH JS JD", "x", "Kings\t\t=    80|Queens\t\t=    60|Jacks\t\t=    40|Marriage Clubs\t=    20|Marriage Hearts\t=    20|Marriage Spades\t=    20|Marriage Diamonds\t=    20|Pinochle/s\t=    40||Total Meld\t=  300", 300, true},
    };
    return cases;
}
// clang-format on

void PrintTo(const MeldCase& c, std::ostream* out) { *out << c.name; }

class MeldReport : public ::testing::TestWithParam<MeldCase> {};

TEST_P(MeldReport, ListsEveryLineAndTheTotal) {
    const MeldCase& c = GetParam();
    for (const char* seat : {"S", "W", "N", "E"}) {
        Form1 form(testing::FixedClock());
        testing::PlaceHand(form, seat, testing::HandOf(c.hand));
        form.evalMeld(seat, c.trump);
        Lines expected{"", std::string(SeatOfLetter(seat)->name)};
        for (const std::string& line : testing::Split(c.report)) expected.push_back(line);
        EXPECT_EQ(form.List1.Lines(), expected);
        EXPECT_EQ(std::tie(form.MeldTotal, form.NoRun, form.MeldShown), std::make_tuple(c.total, c.noRun, true));
        EXPECT_EQ(form.List1.ListIndex(), form.List1.ListCount() - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Hands, MeldReport, ::testing::ValuesIn(MeldCases()),
                         [](const auto& info) { return std::string(info.param.name) + "_" + info.param.trump; });

// A hand already shown is not counted again; a text that is no seat counts nothing.
TEST(Meld, ShownHandsAndUnknownSeatsAreNotCounted) {
    Form1 form(testing::FixedClock());
    form.evalMeld("Q", "x");
    EXPECT_EQ(std::make_tuple(form.List1.ListCount(), form.MeldShown), std::make_tuple(0, false));
    testing::PlaceHand(form, "S", testing::HandOf(MeldCases()[0].hand));
    form.evalMeld("S", "H");
    const auto lines = form.List1.Lines();
    form.MeldTotal = 77;
    form.evalMeld("S", "H");
    EXPECT_EQ(std::make_tuple(form.List1.Lines(), form.MeldTotal, form.NoRun), std::make_tuple(lines, 77, true));
}

}  // namespace
}  // namespace vantrel
