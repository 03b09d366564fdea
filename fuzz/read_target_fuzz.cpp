// libFuzzer target: reading a target box's text never fails and agrees with
// a plain reference reading.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reference_target.h"
#include "table/deal_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = vantrel::ReadTarget(text);
    if (!vantrel::reference::SameReading(value, vantrel::reference::ReadTargetReference(text))) std::abort();
    return 0;
}
