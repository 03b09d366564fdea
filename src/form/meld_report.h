#pragma once

#include <string_view>

#include "app/controls.h"
#include "rules/designed_meld.h"

namespace vantrel {

/// Appends the meld report of a hand: an empty line, the seat name, a line
/// per meld, an empty line and the total line.
void WriteMeldReport(ListBox& list, std::string_view seatName, const MeldCount& meld);

}  // namespace vantrel
