#pragma once

// A second, deliberately plain reading of a target box's text, to check the
// program's reader against: find the longest prefix (after blanks) that is a
// decimal number, then let strtod convert it.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace vantrel::reference {

// Whether the whole of `s` is: sign? (digits [. digits?] | . digits) (e sign? digits)?
inline bool IsDecimal(std::string_view s) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

inline double ReadTargetReference(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    const std::string_view rest = text.substr(start);
    for (std::size_t length = rest.size(); length > 0; --length) {
        if (!IsDecimal(rest.substr(0, length))) continue;
        const std::string number(rest.substr(0, length));
        return std::strtod(number.c_str(), nullptr);
    }
    return 0;
}

/// Whether two readings agree; values too small for a normal double may be
/// read as zero or as a subnormal.
inline bool SameReading(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return false;
    if (std::fabs(a) < DBL_MIN && std::fabs(b) < DBL_MIN) return true;
    return a == b;
}

}  // namespace vantrel::reference
