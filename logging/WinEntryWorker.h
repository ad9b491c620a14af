#pragma once
#include <windows.h>

#include <memory>

#include "logging/EntryWorker.h"

namespace ambervale::win {

// Runs each entry's question on a thread of its own, made at the first entry and kept for the next ones, and waits
// for it while dispatching the window's messages as DoEvents does, so the window paints, moves, minimises, answers
// its tray icon and closes meanwhile. The program is closing once the window is gone (or the quit message came):
// the wait then ends at once, and a question still blocked in the spooler or the network is left to the end of the
// process.
class WinEntryWorker final : public EntryWorker {
public:
    WinEntryWorker() = default;
    ~WinEntryWorker() override;
    WinEntryWorker(const WinEntryWorker&) = delete;
    WinEntryWorker& operator=(const WinEntryWorker&) = delete;

    // The main window; without one (a benchmark) the program never counts as closing.
    void SetWindow(HWND window) { window_ = window; }
    bool RunAndWait(std::function<void()> work) override;
    // True while the last work handed out has not ended: a close may leave it behind, blocked.
    bool Busy() const;

private:
    struct Job;
    struct Thread;
    bool Closing() const;
    bool HandOver(const std::shared_ptr<Job>& job);

    HWND window_ = nullptr;
    std::shared_ptr<Thread> thread_;
    std::shared_ptr<Job> last_;
};

} // namespace ambervale::win
