// Start-up time and working set of Ambervale.exe beside a minimal Win32 window program, in one run under the same
// system; and the cost of adding a million rows to the log list.
//   ambervale_bench_window.exe [seconds of logging, default 60]
//   ambervale_bench_window.exe 0 rows [count, default 31536000: a year of one-second entries]   the log list alone
//   ambervale_bench_window.exe SECONDS soak    Ambervale logging every second: its memory each minute
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchTime.h"
#include "RowsBench.h"
#include "e2e/WindowSearch.h"

namespace {

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

std::size_t CountLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>(), '\n'));
}

// Ambervale logging every second for the given time: its memory each minute, and how fast it grows.
void Soak(const std::string& exe, int seconds) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string history = std::string(temp) + "Ambervale.txt";
    DeleteFileA(history.c_str());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("Ambervale did not start\n");
        return;
    }
    HWND hwnd = nullptr;
    for (int i = 0; i < 600 && !hwnd; ++i, Sleep(100)) hwnd = VisibleWindowOf(pi.dwProcessId, "Ambervale");
    std::printf("minute, rows logged, working set KiB, private KiB\n");
    std::vector<double> minutes;
    std::vector<double> workingSets;
    const double start = Now();
    for (int minute = 0; minute <= seconds / 60; ++minute) {
        while (Now() - start < minute * 60.0) Sleep(200);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
        std::printf("%d, %zu, %.0f, %.0f\n", minute, CountLines(history), counters.WorkingSetSize / 1024.0,
                    counters.PrivateUsage / 1024.0);
        minutes.push_back(minute);
        workingSets.push_back(static_cast<double>(counters.WorkingSetSize) / 1024.0);
    }
    if (hwnd) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // The first minute is start-up; the growth after it is the line that fits the samples best.
    if (minutes.size() < 3) return;
    const double n = static_cast<double>(minutes.size() - 1);
    double mx = 0;
    double my = 0;
    for (std::size_t i = 1; i < minutes.size(); ++i) {
        mx += minutes[i] / n;
        my += workingSets[i] / n;
    }
    double sxy = 0;
    double sxx = 0;
    for (std::size_t i = 1; i < minutes.size(); ++i) {
        sxy += (minutes[i] - mx) * (workingSets[i] - my);
        sxx += (minutes[i] - mx) * (minutes[i] - mx);
    }
    std::printf("working set growth after the first minute: %.0f KiB an hour (fitted over %d minutes; target < 200 kB)\n",
                sxy / sxx * 60, static_cast<int>(n) - 1);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each figure shows as soon as it is measured
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const std::string folder = Folder();
    if (argc > 2 && std::string(argv[2]) == "rows") {
        LogListRows(argc > 3 ? std::atoll(argv[3]) : 31536000LL);
        return 0;
    }
    if (argc > 2 && std::string(argv[2]) == "soak") {
        SetLoggingEverySecond();
        Soak(folder + "\\..\\..\\app\\Ambervale.exe", seconds);
        return 0;
    }
    SetLoggingEverySecond();
    // Warm both programs once, so neither pays for the first load of the system's DLLs alone; then alternate
    // them and take the medians, since one start under Wine varies a lot with what else the machine does.
    Measure(folder + "\\MinimalWindow.exe", "Minimal", 0);
    Measure(folder + "\\..\\..\\app\\Ambervale.exe", "Ambervale", 0);
    std::vector<double> minimalStarts;
    std::vector<double> ambervaleStarts;
    for (int i = 0; i < 7; ++i) {
        minimalStarts.push_back(Measure(folder + "\\MinimalWindow.exe", "Minimal", 0).secondsToWindow);
        ambervaleStarts.push_back(
            Measure(folder + "\\..\\..\\app\\Ambervale.exe", "Ambervale", 0).secondsToWindow);
    }
    Started minimal = Measure(folder + "\\MinimalWindow.exe", "Minimal", seconds);
    Started ambervale = Measure(folder + "\\..\\..\\app\\Ambervale.exe", "Ambervale", seconds);
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
    LogListRows(1000000);
    return 0;
}
