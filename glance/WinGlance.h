#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "base/AppError.h"
#include "glance/Glance.h"

namespace ambervale {

// The report would take the history's place: the same file, however its path is spelled.
class ReportIsHistory : public AppError {
public:
    using AppError::AppError;
};

// True when both paths name one existing file (the same volume and file index, GetFileInformationByHandle): another
// spelling, a short name, a link.
bool SameFile(const std::string& a, const std::string& b);

// Writes the report of the history file at historyPath (UTF-8) to reportPath (UTF-8), and every spell to the CSV
// file beside it, both through the wide calls. Each is written under a temporary name beside its place and put there
// whole once both are done: a failed or cancelled run leaves the last good ones. Throws ReportIsHistory when either
// would be the history file, GlanceCancelled when the progress says the report is no longer wanted, and AppError,
// its text naming what failed, otherwise.
void WriteGlanceReport(const std::string& historyPath, const std::string& reportPath, GlanceProgress* progress);

// Opens the page with the user's default browser (ShellExecuteW, with COM ready on the calling thread as the shell's
// extensions need). Throws AppError when Windows cannot.
void OpenGlanceReport(const std::string& reportPath, HWND owner);

// Builds a report on a thread of its own, so the window goes on meanwhile, and tells the window by posting it
// message: wParam the hundredths read, lParam 0 while reading and 1 once done (Outcome says how it went).
class WinGlanceWorker {
public:
    WinGlanceWorker(HWND window, UINT message) : window_(window), message_(message) {}
    // Stops a report under way within a piece of its reading or writing, and waits for its thread: nothing is left
    // half written.
    ~WinGlanceWorker();
    WinGlanceWorker(const WinGlanceWorker&) = delete;
    WinGlanceWorker& operator=(const WinGlanceWorker&) = delete;

    // False, starting nothing, while a report is under way.
    bool Start(const std::string& historyPath, const std::string& reportPath);
    bool Busy() const { return busy_; }
    struct Outcome {
        std::string reportPath;
        std::optional<std::string> failure;  // nullopt: written
    };
    // After the message that says done: how it went; the worker is free again.
    Outcome Finish();

private:
    struct Shared;
    HWND window_;
    UINT message_;
    bool busy_ = false;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

} // namespace ambervale
