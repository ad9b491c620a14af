#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e/WindowSearch.h"

namespace ambervale::e2e {

// The real Ambervale.exe, started from outside as a user would, with its own TEMP folder.
class AppProcess {
public:
    AppProcess(const std::string& exePath, const std::string& tempFolder);
    // By the wide calls, for an exe or a TEMP folder whose name the ANSI code page cannot spell.
    AppProcess(const std::wstring& exePath, const std::wstring& tempFolder);
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    // The main window, once it is shown; nullptr when it did not appear within the wait.
    HWND WaitForMainWindow(DWORD maxWaitMs);
    // Waits for the process to end; true when it ended within maxWaitMs.
    bool WaitForExit(DWORD maxWaitMs);
    DWORD ExitCode() const;
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_{};
};

// Checks the condition every 50 ms until it holds (true) or maxWaitMs have passed (false): a bound against hangs
// only, never a measure of speed.
bool WaitFor(const std::function<bool()>& condition, DWORD maxWaitMs);
bool WaitUntilVisible(HWND hwnd, bool visible, DWORD maxWaitMs);

// True when the shell still holds the icon of that tray window: a modify of a missing icon fails.
bool TrayIconPresent(HWND trayWindow);

// A top-level window of that process and window class, waiting for it up to maxWaitMs; nullptr if none.
HWND WindowOfClass(DWORD processId, const char* className, DWORD maxWaitMs = 0);

// The visible message boxes of a process with that caption ("Application Error": its error boxes), and the last of
// some windows (nullptr for none).
std::vector<HWND> ErrorBoxes(DWORD processId, const char* caption = "Application Error");
inline HWND LastOf(const std::vector<HWND>& windows) { return windows.empty() ? nullptr : windows.back(); }
// The last such box of that process, waiting for one up to maxWaitMs; nullptr if none came.
HWND WaitForErrorBox(DWORD processId, DWORD maxWaitMs, const char* caption = "Application Error");

// The text of one row of a report-view list in another process.
std::string RemoteListViewText(HANDLE process, HWND list, int row);
int ListViewCount(HWND list);
int ListViewSelected(HWND list);

// The history file's lines (CR LF ends), or none when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);

void SetSetting(const char* name, const char* value);
std::string GetSetting(const char* name);
void DeleteAllSettings();

// Saves what the window shows as a 24-bit BMP file.
bool SaveWindowBitmap(HWND hwnd, const std::string& path);

} // namespace ambervale::e2e
