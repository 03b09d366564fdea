// Reading the search targets and dealing until one is reached.
#include "table/deal_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "eval/meld.h"
#include "reference_target.h"
#include "test_support.h"

namespace vantrel {
namespace {

using testing::LinesFrom;
using testing::Started;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ReadTarget, TakesTheLeadingNumberOnly) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"100", 100},
        {"  42", 42},
        {"\t7", 7},
        {"+8", 8},
        {"-3", -3},
        {"12x", 12},
        {"9 trump", 9},
        {"2.5", 2.5},
        {".5", 0.5},
        {"5.", 5},
        {"1e2", 100},
        {"1E+2", 100},
        {"25e-1", 2.5},
        {"1e", 1},
        {"1e+", 1},
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {"-", 0},
        {".", 0},
        {"+.e1", 0},
        {"inf", 0},
        {"-inf", 0},
        {"nan", 0},
        {"infinity", 0},
        {"0x10", 0},
        {"1e999", kInf},
        {"-1e999", -kInf},
        {"1e-999", 0},
        {"0e999999", 0},
        {"00000000000000000000000000000000000000000000000000007", 7},
        {"1e99999999999999999999999999", kInf},
        {"200.0000000000000000000001", 200},
        {"\xC3\xA9"
         "12",
         0},  // a non-ASCII letter first
    };
    for (const auto& c : cases) EXPECT_EQ(ReadTarget(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ReadTarget(std::string(5000, '9')), kInf);
    EXPECT_EQ(ReadTarget("0." + std::string(400, '0') + "1"), 0);
}

// Every input the fuzzer was seeded with or has found is read as the plain
// reference reads it.
TEST(ReadTarget, AgreesWithTheReferenceOnTheKeptFuzzInputs) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VANTREL_FUZZ_CORPUS)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(reference::SameReading(ReadTarget(text), reference::ReadTargetReference(text)))
            << entry.path() << ": " << ReadTarget(text);
        ++inputs;
    }
    EXPECT_GT(inputs, 20);
}

// Deals until a target is met with the given boxes, returning the form.
std::unique_ptr<Started> Search(const char* meldText, const char* trumpText, bool meld, bool trump,
                                std::uint64_t clock = 5) {
    auto form = std::make_unique<Started>(testing::FixedClock(clock));
    Form1& f = **form;
    f.txtRunToMeld.Text = meldText;
    f.txtRunToTrump.Text = trumpText;
    f.chkAutorun.SetValue(meld ? 1 : 0);
    f.chkTrump.SetValue(trump ? 1 : 0);
    f.Shuffle_Click();
    return form;
}

std::uint64_t HandsDealt(const Form1& form) {
    const std::string_view line = form.List1.List(form.List1.ListCount() - 1);
    EXPECT_EQ(line.rfind("Number of Hands Dealt: ", 0), 0u) << line;
    return std::stoull(std::string(line.substr(line.find(':') + 1)));
}

int LongestSuit(const Form1& form) { return form.MaxSuitCount; }

int BestMeld(const Form1& form) {
    int best = 0;
    for (int first : {1, 13, 25, 37})
        best = std::max(best, CountMeld(&form.Deck[static_cast<std::size_t>(first)], "x").total);
    return best;
}

TEST(DealSearch, TargetsAtOrBelowZeroStopAtTheFirstDeal) {
    for (const char* target : {"0", "-5", "", "abc", "-1e999"}) {
        auto form = Search(target, "", true, false);
        EXPECT_EQ(HandsDealt(**form), 1u) << target;
        EXPECT_EQ((*form)->KeepDealing, 0);
        EXPECT_TRUE((*form)->List1.Visible);
    }
}

TEST(DealSearch, RangeChecksReplaceTargetsThatAreTooHigh) {
    const struct {
        const char* meldIn;
        const char* trumpIn;
        const char* meldOut;
        const char* trumpOut;
    } cases[] = {
        {"250", "", "100", ""},     {"200", "9", "200", "9"},     {"1e999", "12", "100", "1"},
        {"abc", "9.5", "abc", "1"}, {"12x", "inf", "12x", "inf"}, {"", "", "", ""},
    };
    for (const auto& c : cases) {
        // With no box checked the ranges are still checked, and one deal is made.
        auto form = Search(c.meldIn, c.trumpIn, false, false);
        EXPECT_EQ((*form)->txtRunToMeld.Text, c.meldOut) << c.meldIn;
        EXPECT_EQ((*form)->txtRunToTrump.Text, c.trumpOut) << c.trumpIn;
        EXPECT_EQ(HandsDealt(**form), 1u);
    }
}

TEST(DealSearch, StopsAtTheFirstDealThatReachesTheTargetExactly) {
    for (const bool trump : {false, true}) {
        for (const std::uint64_t clock : {1u, 11u}) {
            auto search = [&](int target) {
                const std::string text = std::to_string(target);
                return trump ? Search("250", text.c_str(), false, true, clock)
                             : Search(text.c_str(), "", true, false, clock);
            };
            auto form = search(trump ? 7 : 150);
            const Form1& f = **form;
            const std::uint64_t dealt = HandsDealt(f);
            const int reached = trump ? LongestSuit(f) : BestMeld(f);
            EXPECT_GE(reached, trump ? 7 : 150);
            EXPECT_EQ(f.List1.List(1), "South");  // the whole last deal is listed
            EXPECT_EQ(form->busy, (std::vector<bool>{true, false}));
            EXPECT_EQ(form->serviceCalls, static_cast<int>(dealt) - 1);
            // The very value reached, as the target, ends the search at the same
            // deal; one more goes on past it.
            auto exact = search(reached);
            EXPECT_EQ(HandsDealt(**exact), dealt);
            EXPECT_EQ((*exact)->Deck, f.Deck);
            EXPECT_EQ(LinesFrom((*exact)->List1, 0), LinesFrom(f.List1, 0));
            if (reached < (trump ? 9 : 200)) {
                EXPECT_GT(HandsDealt(**search(reached + 1)), dealt);
            }
        }
    }
}

TEST(DealSearch, RunTrumpDealsUntilALongSuit) {
    auto twelve = Search("100", "12", false, true);
    EXPECT_EQ((*twelve)->txtRunToTrump.Text, "1");
    EXPECT_EQ(HandsDealt(**twelve), 1u);

    auto nine = Search("100", "9", false, true);
    EXPECT_EQ((*nine)->txtRunToTrump.Text, "9");
    EXPECT_GE(LongestSuit(**nine), 9);

    auto empty = Search("100", "", false, true);
    EXPECT_EQ(HandsDealt(**empty), 1u);
}

TEST(DealSearch, MeldTargetPlaysNoPartInATrumpSearchButIsStillChecked) {
    auto form = Search("999", "7", false, true);
    EXPECT_EQ((*form)->txtRunToMeld.Text, "100");
    EXPECT_GE(LongestSuit(**form), 7);
}

TEST(DealSearch, SouthReachingTheTargetStillListsTheOtherHands) {
    auto form = Search("0", "", true, false);
    const Form1& f = **form;
    int names = 0;
    for (int i = 0; i < f.List1.ListCount(); ++i) {
        const std::string_view line = f.List1.List(i);
        names += line == "South" || line == "East" || line == "North" || line == "West";
    }
    EXPECT_EQ(names, 4);
}

}  // namespace
}  // namespace vantrel
