// libFuzzer target: a byte string read as moves, the computer's own and
// garbled ones, applied to a fresh game. Nothing crashes or hangs, a refused
// move leaves the game as it was, and the moves taken replay to the same
// game and export to a line that reads back to it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "move_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault = vantrel::testing::CheckMoves({data, size});
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
