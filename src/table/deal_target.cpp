#include "table/deal_target.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace vantrel {

namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ReadTarget(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // The mantissa, kept as written; where its first significant digit stands
    // tells an overflow from an underflow below.
    const std::size_t mantissaBegin = i;
    bool nonzero = false;
    std::int64_t integerDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        if (text[i] != '0' && !nonzero) nonzero = true;
        if (nonzero) ++integerDigits;
        ++i;
    }
    const std::size_t integerEnd = i;
    std::int64_t leadingFractionZeros = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            if (!nonzero) {
                if (text[i] == '0')
                    ++leadingFractionZeros;
                else
                    nonzero = true;
            }
            ++i;
        }
    }
    const bool anyDigit = integerEnd > mantissaBegin || i > integerEnd + 1;
    if (!anyDigit) return 0;
    const std::size_t mantissaEnd = i;
    // The decimal exponent of the leading nonzero digit, plus one.
    const std::int64_t firstSignificant = integerDigits > 0 ? integerDigits : -leadingFractionZeros;

    // The exponent counts only when digits follow its letter and sign.
    std::int64_t exponent = 0;
    std::size_t end = mantissaEnd;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponentNegative = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < kSaturated) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (exponentNegative) exponent = -exponent;
            end = j;
        }
    }

    if (!nonzero) return negative ? -0.0 : 0.0;
    double value = 0;
    const std::string_view number = text.substr(mantissaBegin, end - mantissaBegin);
    const std::errc ec = std::from_chars(number.data(), number.data() + number.size(), value).ec;
    if (ec == std::errc::result_out_of_range) {
        // Overflow when the leading digit stands above the decimal point.
        value = firstSignificant + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

}  // namespace vantrel
