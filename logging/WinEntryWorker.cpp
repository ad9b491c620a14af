#include "logging/WinEntryWorker.h"

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "base/WinHandles.h"
#include "base/WinMessageBoxes.h"

namespace ambervale::win {

// What the thread and the waiter share. The thread holds it too, so a wait that ends early (the program closing)
// leaves nothing behind that the thread could still write to once it is gone.
struct WinEntryWorker::Job {
    std::function<void()> work;
    std::exception_ptr failure;
    UniqueKernelObject done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> finished{false};

    void Run() noexcept {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        SetEvent(done.get());
    }
};

namespace {

template <class Job>
bool StartThread(const std::shared_ptr<Job>& job) noexcept {
    try {
        std::thread([job] { job->Run(); }).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace

bool WinEntryWorker::Closing() const { return window_ != nullptr && !IsWindow(window_); }

bool WinEntryWorker::Busy() const { return last_ && !last_->finished; }

bool WinEntryWorker::RunAndWait(std::function<void()> work) {
    if (Closing()) return false;
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    if (!job->done || !StartThread(job)) {
        // No thread to be had: the entry is still made, on this thread, at the cost of a window that waits for it.
        job->work();
        return true;
    }
    last_ = job;
    for (;;) {
        if (!DispatchWaitingMessages(window_) || Closing()) return false;
        HANDLE done = job->done.get();
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_FAILED) {
            // Cannot happen with a handle of our own; if it did, waiting without the messages still ends.
            WaitForSingleObject(done, INFINITE);
            break;
        }
    }
    if (job->failure) std::rethrow_exception(job->failure);
    return true;
}

} // namespace ambervale::win
