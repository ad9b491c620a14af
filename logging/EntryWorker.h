#pragma once
#include <functional>

namespace ambervale {

// Runs the part of an entry that may block for long (the spooler, the network) away from the window's thread, and
// waits for it while the window goes on: it paints, moves, answers its tray icon and can be closed meanwhile.
class EntryWorker {
public:
    virtual ~EntryWorker() = default;
    // Runs work and waits for it. True once it has run to its end; an exception it threw is thrown here. False when
    // the program is closing, before the work started or while it ran: its result is then of no use, and the work,
    // which may still be running, must own whatever it writes to.
    virtual bool RunAndWait(std::function<void()> work) = 0;
};

// Runs the work on the calling thread, for a caller without a window to keep going (a benchmark, a tool).
class InlineEntryWorker final : public EntryWorker {
public:
    bool RunAndWait(std::function<void()> work) override {
        work();
        return true;
    }
};

} // namespace ambervale
