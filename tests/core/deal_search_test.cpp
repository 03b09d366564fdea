// Reading the search targets and dealing until one is reached.
#include "table/deal_target.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "reference_target.h"
#include "rules/designed_meld.h"
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
        // clang-format off
        {"100", 100}, {"  42", 42}, {"\t7", 7}, {"+8", 8}, {"-3", -3}, {"12x", 12}, {"9 trump", 9}, {"2.5", 2.5},
        {".5", 0.5}, {"5.", 5}, {"1e2", 100}, {"1E+2", 100}, {"25e-1", 2.5}, {"1e", 1}, {"1e+", 1}, {"", 0},
        {"   ", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"+.e1", 0}, {"inf", 0}, {"-inf", 0}, {"nan", 0},
        {"infinity", 0}, {"0x10", 0}, {"1e999", kInf}, {"-1e999", -kInf}, {"1e-999", 0}, {"0e999999", 0},
        {"00000000000000000000000000000000000000000000000000007", 7}, {"1e99999999999999999999999999", kInf},
        {"200.0000000000000000000001", 200},
        {"\xC3\xA9" "12", 0},  // a non-ASCII letter first
        // clang-format on
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

int BestMeld(const Form1& form) {
    int best = 0;
    for (int first : {1, 13, 25, 37})
        best = std::max(best, CountMeld(&form.Deck[static_cast<std::size_t>(first)], "x").total);
    return best;
}

TEST(DealSearch, TargetsAreCheckedThenSearchedAsRead) {
    const struct {
        const char *meldIn, *trumpIn;
        char box;  // 'M' Run to Meld, 'T' Run Trump, '-' neither
        const char *meldOut, *trumpOut;
        bool oneDeal;
    } cases[] = {
        // clang-format off
        // At or below zero, or no number: the first deal ends the search.
        {"0", "", 'M', "0", "", true}, {"-5", "", 'M', "-5", "", true}, {"", "", 'M', "", "", true},
        {"abc", "", 'M', "abc", "", true}, {"-1e999", "", 'M', "-1e999", "", true},
        // With no box checked the ranges are still checked, and one deal is made.
        {"250", "", '-', "100", "", true}, {"200", "9", '-', "200", "9", true}, {"1e999", "12", '-', "100", "1", true},
        {"abc", "9.5", '-', "abc", "1", true}, {"12x", "inf", '-', "12x", "inf", true}, {"", "", '-', "", "", true},
        // A trump target too high becomes 1; the meld target plays no part in a trump search but is checked.
        {"100", "12", 'T', "100", "1", true}, {"100", "", 'T', "100", "", true}, {"999", "7", 'T', "100", "7", false},
        {"100", "9", 'T', "100", "9", false},
        // clang-format on
    };
    for (const auto& c : cases) {
        auto form = Search(c.meldIn, c.trumpIn, c.box == 'M', c.box == 'T');
        const Form1& f = **form;
        EXPECT_EQ(std::tie(f.txtRunToMeld.Text, f.txtRunToTrump.Text), std::make_tuple(c.meldOut, c.trumpOut))
            << c.meldIn << " " << c.trumpIn;
        if (c.oneDeal)
            EXPECT_EQ(HandsDealt(f), 1u) << c.meldIn << " " << c.trumpIn;
        else
            EXPECT_GE(f.MaxSuitCount, std::stoi(c.trumpOut));
        EXPECT_EQ(std::make_tuple(f.KeepDealing, f.List1.Visible), std::make_tuple(std::int16_t{0}, true));
        // The whole last deal is listed, even when South alone meets the target.
        int names = 0;
        for (const std::string& line : LinesFrom(f.List1, 0))
            names += line == "South" || line == "East" || line == "North" || line == "West";
        EXPECT_EQ(names, 4);
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
            const int reached = trump ? f.MaxSuitCount : BestMeld(f);
            EXPECT_GE(reached, trump ? 7 : 150);
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

}  // namespace
}  // namespace vantrel
