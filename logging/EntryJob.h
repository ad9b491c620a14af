#pragma once
#include <atomic>
#include <exception>
#include <functional>
#include <utility>

namespace ambervale {

// One entry's question as a worker runs it, shared with the caller that waits for it.
class EntryJob {
public:
    explicit EntryJob(std::function<void()> work) : work_(std::move(work)) {}

    // Runs the work once and keeps what it threw. The work, and all it holds (the spooler, the printer's sources), is
    // let go before the job counts as finished: a job that has finished leaves nothing to tear down on the worker's
    // thread, where it would race the program's exit.
    void Run() noexcept;
    bool Finished() const { return finished_; }
    // What the work threw; null when it ran to its end. Read once the job has finished.
    const std::exception_ptr& Failure() const { return failure_; }

private:
    std::function<void()> work_;
    std::exception_ptr failure_;
    std::atomic<bool> finished_{false};
};

} // namespace ambervale
