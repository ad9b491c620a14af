#pragma once
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace ambervale::e2e {

// Asks a window of another process, again and again from a thread of its own, to answer WM_NULL, and keeps how long
// the answers took: the window's thread is stalled for as long as an answer is late.
class WindowWatch {
public:
    // limitMs: an answer later than this counts as missed (and the wait for it ends there).
    WindowWatch(HWND window, DWORD limitMs);
    ~WindowWatch() { Stop(); }
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    // Ends the watch; the figures below are final from here on.
    void Stop();
    int Asked() const { return asked_; }
    int Missed() const { return missed_; }
    double LongestMs() const { return longestMicroseconds_ / 1000.0; }
    // The answer time below which this share of the answers came (0.5 the median, 0.99...), once stopped.
    double PercentileMs(double share) const;

private:
    void Watch();

    HWND window_;
    DWORD limitMs_;
    std::atomic<bool> stop_{false};
    std::atomic<int> asked_{0};
    std::atomic<int> missed_{0};
    std::atomic<long long> longestMicroseconds_{0};
    std::vector<long long> answers_;  // microseconds; the watching thread's alone until it has stopped
    std::thread thread_;
};

} // namespace ambervale::e2e
