#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "history/Glance.h"

namespace ambervale {

// The user's short-date and long-time pictures and the names they spell, in the ANSI code page: the pictures the
// history's lines were written by (GetDateFormatA, GetTimeFormatA with the user's locale).
DatePictures UserDatePictures();

// Writes the report of the history file at historyPath (UTF-8) to reportPath (UTF-8), both through the wide calls.
// The page is written under a temporary name beside it and put in place whole. Throws AppError, its text naming
// what failed.
void WriteGlanceReport(const std::string& historyPath, const std::string& reportPath, GlanceProgress* progress);

// Opens the page with the user's default browser (ShellExecuteW). Throws AppError when Windows cannot.
void OpenGlanceReport(const std::string& reportPath, HWND owner);

// Builds a report on a thread of its own, so the window goes on meanwhile, and tells the window by posting it
// message: wParam the hundredths read, lParam 0 while reading and 1 once done (Outcome says how it went).
class WinGlanceWorker {
public:
    WinGlanceWorker(HWND window, UINT message) : window_(window), message_(message) {}
    // Stops a report under way at its next block, and waits for its thread.
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
