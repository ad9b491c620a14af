#include "WindowStall.h"

#include <cstdio>

#include "e2e/WindowSearch.h"
#include "e2e/WindowWatch.h"

namespace ambervale::bench {

WatchFigures Watch(HWND window, int seconds) {
    e2e::WindowWatch watch(window, 5000);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    watch.Stop();
    return {watch.Asked(), watch.PercentileMs(0.5), watch.PercentileMs(0.99), watch.LongestMs()};
}

void PrintWatch(const char* what, const WatchFigures& figures) {
    std::printf("%-28s WM_NULL answered %5d times: median %5.2f ms, 99%% within %6.2f ms, longest %6.1f ms\n", what,
                figures.asked, figures.medianMs, figures.p99Ms, figures.longestMs);
}

void RunMinimalWindow(const std::string& exe, int seconds) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    HWND window = nullptr;
    for (int i = 0; i < 600 && !window; ++i, Sleep(100)) {
        const auto found = e2e::TopLevelWindows(pi.dwProcessId, [](HWND hwnd) {
            return IsWindowVisible(hwnd) && e2e::ControlText(hwnd) == "Minimal";
        });
        if (!found.empty()) window = found.front();
    }
    if (window) {
        Sleep(1000);
        PrintWatch("a minimal window:", Watch(window, seconds));
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

} // namespace ambervale::bench
