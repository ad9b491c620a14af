#include "e2e/WindowWatch.h"

#include <algorithm>

namespace ambervale::e2e {

WindowWatch::WindowWatch(HWND window, DWORD limitMs)
    : window_(window), limitMs_(limitMs), thread_([this] { Watch(); }) {}

void WindowWatch::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

double WindowWatch::PercentileMs(double share) const {
    if (answers_.empty()) return 0;
    std::vector<long long> sorted = answers_;
    std::sort(sorted.begin(), sorted.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1));
    return static_cast<double>(sorted[at]) / 1000.0;
}

void WindowWatch::Watch() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    while (!stop_) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        DWORD_PTR ignored = 0;
        QueryPerformanceCounter(&start);
        const bool answered = SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, limitMs_, &ignored) != 0;
        QueryPerformanceCounter(&end);
        if (!IsWindow(window_)) break;
        ++asked_;
        if (!answered) ++missed_;
        const long long microseconds = (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
        answers_.push_back(microseconds);
        if (microseconds > longestMicroseconds_) longestMicroseconds_ = microseconds;
        Sleep(5);
    }
}

} // namespace ambervale::e2e
