// libFuzzer target: the history's import, JSON lines of games with their
// moves. Every line is read or refused with a reason, and a game read writes
// a line of its own that reads back to the same game.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "move_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault =
        vantrel::testing::CheckImport(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
