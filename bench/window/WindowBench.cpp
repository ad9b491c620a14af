// Start-up time and working set of Ambervale.exe beside a minimal Win32 window program, in one run under the same
// system; and the cost of adding a million rows to the log list.
//   ambervale_bench_window.exe [seconds of logging, default 60] [rows: the log list part only]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/WindowSearch.h"
#include "fakes/RecordingForm1Events.h"
#include "mainwindow/WinForm1.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/"));
}

struct Started {
    double secondsToWindow = -1;
    double workingSetAtStartMiB = -1;
    double workingSetMiB = -1;
};

double WorkingSetMiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

HWND VisibleWindowOf(DWORD pid, const char* title) {
    const auto found = ambervale::e2e::TopLevelWindows(
        pid, [&](HWND hwnd) { return IsWindowVisible(hwnd) && ambervale::e2e::ControlText(hwnd) == title; });
    return found.empty() ? nullptr : found.front();
}

// Starts the program, times it to its visible window, lets it run, reads its working set, closes it.
Started Measure(const std::string& exe, const char* title, int runSeconds) {
    Started result;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\"";
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return result;
    }
    HWND hwnd = nullptr;
    while (!hwnd && Now() - start < 60) {
        hwnd = VisibleWindowOf(pi.dwProcessId, title);
        if (!hwnd) Sleep(2);
    }
    if (hwnd) result.secondsToWindow = Now() - start;
    Sleep(1000);
    result.workingSetAtStartMiB = WorkingSetMiB(pi.hProcess);
    Sleep(static_cast<DWORD>(runSeconds) * 1000);
    result.workingSetMiB = WorkingSetMiB(pi.hProcess);
    if (hwnd) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void SetLoggingEverySecond() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvatek\\Ambervale", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, "OftenIndex", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegSetValueExA(key, "StartStopState", 0, REG_SZ, reinterpret_cast<const BYTE*>("On"), 3);
    RegCloseKey(key);
}

void MillionRows(const int kRows) {
    ambervale::win::Form1Window form(GetModuleHandleA(nullptr));
    form.Create();
    ambervale::testing::RecordingForm1Events events;
    form.Attach(events);
    form.AddLogListColumn(" Printer Status");
    ShowWindow(form.Handle(), SW_SHOWNORMAL);
    const std::string row =
        "12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Ambervale_Test; Printer Driver Name = "
        "Ambervale_Test; Printer Port Name = CUPS:Ambervale_Test; ";
    PROCESS_MEMORY_COUNTERS_EX before{};
    before.cb = sizeof before;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&before), sizeof before);
    std::printf("adding %d rows...\n", kRows);
    std::fflush(stdout);
    const int kBlock = 1000;
    double firstBlock = 0;
    double lastBlock = 0;
    double t0 = Now();
    for (int i = 0; i < kRows; ++i) {
        if (i == kBlock) firstBlock = Now() - t0;
        if (i == kRows - kBlock) t0 = Now();
        form.ListView1().AddRow(row);
    }
    lastBlock = Now() - t0;
    const double syncStart = Now();
    form.FlushLogRows();
    const double sync = Now() - syncStart;
    PROCESS_MEMORY_COUNTERS_EX after{};
    after.cb = sizeof after;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&after), sizeof after);
    std::printf("log list: %d rows of %zu characters\n", kRows, row.size());
    std::printf("  first 1000 rows: %.2f us/row; last 1000 rows: %.2f us/row (ratio %.2f)\n", firstBlock * 1000,
                lastBlock * 1000, lastBlock / firstBlock);
    std::printf("  the list control told the count once: %.2f ms\n", sync * 1000);
    std::printf("  memory: %.1f bytes/row (committed %.1f MiB -> %.1f MiB)\n",
                static_cast<double>(after.PagefileUsage - before.PagefileUsage) / kRows,
                before.PagefileUsage / 1048576.0, after.PagefileUsage / 1048576.0);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each figure shows as soon as it is measured
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    if (argc > 2 && std::string(argv[2]) == "rows") {
        MillionRows(argc > 3 ? std::max(2000, std::atoi(argv[3])) : 1000000);
        return 0;
    }
    const std::string folder = Folder();
    SetLoggingEverySecond();
    // Warm both programs once, so neither pays for the first load of the system's DLLs alone; then alternate
    // them and take the medians, since one start under Wine varies a lot with what else the machine does.
    Measure(folder + "\\MinimalWindow.exe", "Minimal", 0);
    Measure(folder + "\\..\\..\\mainwindow\\Ambervale.exe", "Ambervale", 0);
    std::vector<double> minimalStarts;
    std::vector<double> ambervaleStarts;
    for (int i = 0; i < 7; ++i) {
        minimalStarts.push_back(Measure(folder + "\\MinimalWindow.exe", "Minimal", 0).secondsToWindow);
        ambervaleStarts.push_back(
            Measure(folder + "\\..\\..\\mainwindow\\Ambervale.exe", "Ambervale", 0).secondsToWindow);
    }
    Started minimal = Measure(folder + "\\MinimalWindow.exe", "Minimal", seconds);
    Started ambervale = Measure(folder + "\\..\\..\\mainwindow\\Ambervale.exe", "Ambervale", seconds);
    minimal.secondsToWindow = Median(minimalStarts);
    ambervale.secondsToWindow = Median(ambervaleStarts);
    std::printf("start to window shown (median of 7): Ambervale %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.5)\n",
                ambervale.secondsToWindow * 1000, minimal.secondsToWindow * 1000,
                ambervale.secondsToWindow / minimal.secondsToWindow);
    std::printf("working set 1 s after start: Ambervale %.1f MiB, minimal %.1f MiB\n", ambervale.workingSetAtStartMiB,
                minimal.workingSetAtStartMiB);
    std::printf("working set after %d s (Ambervale logging every second): Ambervale %.1f MiB, minimal %.1f MiB, "
                "ratio %.2f (target <= 1.3)\n",
                seconds, ambervale.workingSetMiB, minimal.workingSetMiB, ambervale.workingSetMiB / minimal.workingSetMiB);
    MillionRows(1000000);
    return 0;
}
