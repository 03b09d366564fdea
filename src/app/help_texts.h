#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vantrel {

/// The four instruction lines for play on (true) or off (false).
const std::array<std::string_view, 4>& InstructionLines(bool playing);

/// The Bid help text, four lines each ended by a carriage return and a line
/// feed, built from the start.
std::string BuildBidText();

}  // namespace vantrel
