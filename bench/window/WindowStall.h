#pragma once
// How long a window's thread takes to answer, watched from outside with WM_NULL round trips, and the same figures of a
// minimal window program beside it: what Wine and the machine's load alone cost.
#include <windows.h>

#include <string>

namespace ambervale::bench {

struct WatchFigures {
    int asked;
    double medianMs;
    double p99Ms;
    double longestMs;
};

WatchFigures Watch(HWND window, int seconds);
void PrintWatch(const char* what, const WatchFigures& figures);
// Starts MinimalWindow.exe, watches its window for the given seconds and prints the figures.
void RunMinimalWindow(const std::string& exe, int seconds);

} // namespace ambervale::bench
