#include <cstdint>
#include <limits>

#include "form/form1.h"
#include "table/deal_target.h"

namespace vantrel {

void Form1::CheckTargetRanges() {
    // Assigned as whole strings: GCC 12 warns falsely on assigning a literal
    // into a string that may be longer.
    if (ReadTarget(txtRunToMeld.Text) > kMeldTargetLimit) txtRunToMeld.Text = std::string("100");
    if (ReadTarget(txtRunToTrump.Text) > kTrumpTargetLimit) txtRunToTrump.Text = std::string("1");
}

std::uint64_t Form1::RunDealSearch() {
    List1.Visible = false;
    KeepDealing = -1;
    if (services_.SetBusy) services_.SetBusy(true);
    // The count is written as a signed number, so it stops at the largest one
    // rather than wrap, however long a search runs.
    constexpr auto kMostDeals = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t dealt = 0;
    while (KeepDealing != 0) {
        ActualShuffle();
        if (dealt < kMostDeals) ++dealt;
    }
    if (services_.SetBusy) services_.SetBusy(false);
    List1.Visible = true;
    return dealt;
}

}  // namespace vantrel
