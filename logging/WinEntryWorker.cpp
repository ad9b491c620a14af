#include "logging/WinEntryWorker.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "base/WinHandles.h"
#include "base/WinMessageBoxes.h"

namespace ambervale::win {

// One question and its end. The thread holds it too, so a wait that ends early (the program closing) leaves nothing
// behind that the thread could still write to once it is gone.
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

// The thread that asks, and what it shares with the worker; it holds this itself and so outlives the worker safely.
struct WinEntryWorker::Thread {
    std::mutex mutex;
    std::shared_ptr<Job> next;
    bool stop = false;
    UniqueKernelObject wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};

    void Serve() noexcept {
        for (;;) {
            WaitForSingleObject(wake.get(), INFINITE);
            std::shared_ptr<Job> job;
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (stop) return;
                job = std::move(next);
            }
            if (job) job->Run();
        }
    }
};

WinEntryWorker::~WinEntryWorker() {
    if (!thread_) return;
    {
        const std::lock_guard<std::mutex> lock(thread_->mutex);
        thread_->stop = true;
    }
    SetEvent(thread_->wake.get());
}

bool WinEntryWorker::Closing() const { return window_ != nullptr && !IsWindow(window_); }

bool WinEntryWorker::Busy() const { return last_ && !last_->finished; }

bool WinEntryWorker::HandOver(const std::shared_ptr<Job>& job) {
    if (!job->done) return false;
    if (!thread_) {
        auto thread = std::make_shared<Thread>();
        if (!thread->wake) return false;
        try {
            std::thread([thread] { thread->Serve(); }).detach();
        } catch (const std::system_error&) {
            return false;
        }
        thread_ = std::move(thread);
    }
    {
        const std::lock_guard<std::mutex> lock(thread_->mutex);
        thread_->next = job;
    }
    SetEvent(thread_->wake.get());
    return true;
}

bool WinEntryWorker::RunAndWait(std::function<void()> work) {
    if (Closing()) return false;
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    if (!HandOver(job)) {
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
