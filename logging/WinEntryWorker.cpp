#include "logging/WinEntryWorker.h"

#include <deque>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "base/WinHandles.h"
#include "base/WinMessageBoxes.h"
#include "logging/EntryJob.h"

namespace ambervale::win {

// One question and its end. The thread holds it too, so a wait that ends early (the program closing) leaves nothing
// behind that the thread could still write to once it is gone.
struct WinEntryWorker::Job {
    explicit Job(std::function<void()> work) : entry(std::move(work)) {}
    EntryJob entry;
    UniqueKernelObject done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    void Run() noexcept {
        entry.Run();
        SetEvent(done.get());
    }
};

// The thread that asks, and what it shares with the worker; it holds this itself and so outlives the worker safely.
// Questions wait their turn in the order they came: one asked while another's caller waits (logging switched off and
// on while the printer is silent, then a tick) queues behind it, and every caller is answered in turn.
struct WinEntryWorker::Thread {
    std::mutex mutex;
    std::deque<std::shared_ptr<Job>> waiting;
    bool stop = false;
    UniqueKernelObject wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};

    void Serve() noexcept {
        for (;;) {
            WaitForSingleObject(wake.get(), INFINITE);
            // One wake may stand for several questions.
            for (;;) {
                std::shared_ptr<Job> job;
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    if (stop) return;
                    if (waiting.empty()) break;
                    job = std::move(waiting.front());
                    waiting.pop_front();
                }
                job->Run();
            }
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

// The questions run in turn, so the last one handed out is the last to finish.
bool WinEntryWorker::Busy() const { return last_ && !last_->entry.Finished(); }

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
    try {
        const std::lock_guard<std::mutex> lock(thread_->mutex);
        thread_->waiting.push_back(job);
    } catch (const std::bad_alloc&) {
        return false;
    }
    SetEvent(thread_->wake.get());
    return true;
}

bool WinEntryWorker::RunAndWait(std::function<void()> work) {
    if (Closing()) return false;
    auto job = std::make_shared<Job>(std::move(work));
    if (!HandOver(job)) {
        // No thread to be had: the entry is still made, on this thread, at the cost of a window that waits for it.
        job->entry.Run();
        if (job->entry.Failure()) std::rethrow_exception(job->entry.Failure());
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
    if (job->entry.Failure()) std::rethrow_exception(job->entry.Failure());
    return true;
}

} // namespace ambervale::win
