#pragma once

// The deal runner of the duels, a template: included by duel.h.
#include <algorithm>
#include <atomic>
#include <thread>

namespace vantrel {

template <class Deal>
std::vector<Deal> PlayDeals(std::uint64_t deals, unsigned threads, const std::function<Deal(std::uint64_t)>& play) {
    std::vector<Deal> played(deals);
    std::atomic<std::uint64_t> next{0};
    auto work = [&] {
        for (std::uint64_t d = next.fetch_add(1); d < deals; d = next.fetch_add(1)) played[d] = play(d);
    };
    threads = threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < threads; ++i) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();
    return played;
}

}  // namespace vantrel
