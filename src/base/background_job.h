#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace vantrel {

/// Long work on a thread of its own, for a window that polls it: the job is
/// given the cancel flag to watch; `Finished` holds once it has returned and
/// until `Collect` joins it. Starting anew or stopping cancels the job
/// before and waits for it.
class BackgroundJob {
public:
    BackgroundJob() = default;
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;
    ~BackgroundJob() { Stop(); }

    void Start(std::function<void(const std::atomic<bool>& cancel)> job) {
        Stop();
        cancel_.store(false);
        done_.store(false);
        thread_ = std::thread([this, job = std::move(job)] {
            job(cancel_);
            done_.store(true);
        });
    }
    /// Cancels the job and waits for it; nothing is left to collect.
    void Stop() {
        cancel_.store(true);
        if (thread_.joinable()) thread_.join();
    }
    /// Cancels the job and waits until it has returned (within a block of
    /// its work), leaving it to be collected as finished.
    void CancelAndWait() {
        cancel_.store(true);
        while (thread_.joinable() && !done_.load()) std::this_thread::yield();
    }
    /// Waits for the job to return, without asking it to stop: for a job
    /// that has said it is done.
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    /// Joins a finished job; false while it runs or when none was started.
    bool Collect() {
        if (!Finished()) return false;
        thread_.join();
        return true;
    }

    /// Started and not yet collected.
    [[nodiscard]] bool Running() const { return thread_.joinable(); }
    [[nodiscard]] bool Finished() const { return thread_.joinable() && done_.load(); }
    /// The job was asked to stop.
    [[nodiscard]] bool Cancelled() const { return cancel_.load(); }

private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
};

}  // namespace vantrel
