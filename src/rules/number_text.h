#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

/// The standard number text of report lines: a blank in the place of the sign
/// for zero or more (a minus sign otherwise), then the digits.
std::string NumberText(std::int64_t value);

/// The same for a fraction: at most 15 significant digits, rounded, without
/// trailing zeros, and without a decimal point when the value is whole.
/// A value below one keeps its leading zero (" 0.5").
std::string NumberText(double value);

/// The plain form: the standard number text without its leading blank.
std::string PlainNumberText(std::int64_t value);

}  // namespace vantrel
