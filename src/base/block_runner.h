#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vantrel {

/// Runs blocks 0 to `blocks` - 1 of a job on up to `threads` threads (0: every
/// core). Each thread keeps a tally of its own, runs a block into it, and then
/// folds it into the caller's total under a lock (`fold`, which may report
/// progress) and starts afresh: the result is the same whichever thread ran a
/// block, as long as the tally holds whole numbers. A cancel stops the work
/// within a block, and a block finished after it is not folded.
template <class Tally, class RunBlock, class Fold>
void RunBlocks(std::uint64_t blocks, unsigned threads, const std::atomic<bool>* cancel, RunBlock runBlock, Fold fold) {
    threads = threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::uint64_t>(threads, std::max<std::uint64_t>(blocks, 1)));
    std::atomic<std::uint64_t> next{0};
    std::mutex folding;
    auto cancelled = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
    auto work = [&] {
        // A tally can be large (histograms): one a thread, on the heap.
        auto mine = std::make_unique<Tally>();
        for (;;) {
            if (cancelled()) return;
            const std::uint64_t block = next.fetch_add(1);
            if (block >= blocks) return;
            runBlock(block, *mine);
            if (cancelled()) return;
            const std::lock_guard lock(folding);
            fold(*mine);
            *mine = Tally{};
        }
    };
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < threads; ++i) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
}

}  // namespace vantrel
