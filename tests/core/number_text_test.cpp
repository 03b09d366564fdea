#include "rules/number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

TEST(NumberText, WholeNumbersHaveASignPlace) {
    const struct {
        std::int64_t value;
        const char* standard;
        const char* plain;
    } cases[] = {
        {0, " 0", "0"},   {20, " 20", "20"},    {150, " 150", "150"},
        {-5, "-5", "-5"}, {440, " 440", "440"}, {9223372036854775807, " 9223372036854775807", "9223372036854775807"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberText(c.value), c.standard);
        EXPECT_EQ(PlainNumberText(c.value), c.plain);
    }
}

TEST(NumberText, FractionsKeepFifteenSignificantDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {100.0 / 8, " 12.5"},
        {150.0 / 7, " 21.4285714285714"},
        {240.0 / 12, " 20"},
        {0.5, " 0.5"},
        {1.0 / 3, " 0.333333333333333"},
        {2.0 / 3, " 0.666666666666667"},
        {-2.5, "-2.5"},
        {0.0, " 0"},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace vantrel
