#pragma once

#include <string_view>

namespace vantrel {

/// The value of the number at the start of a target box's text, after any
/// leading blanks: an optional sign, digits with an optional decimal point
/// and fraction, and an optional exponent. Text that starts with no number
/// reads 0; words such as "inf" or "nan" and hexadecimal forms are not
/// numbers here ("0x10" reads 0). A magnitude beyond the range of a double
/// reads as an infinity of its sign, so no text fails to read.
double ReadTarget(std::string_view text);

inline constexpr double kMeldTargetLimit = 200;
inline constexpr double kTrumpTargetLimit = 9;

}  // namespace vantrel
