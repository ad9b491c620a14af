#include "e2e/WindowWatch.h"

namespace ambervale::e2e {

WindowWatch::WindowWatch(HWND window, DWORD limitMs)
    : window_(window), limitMs_(limitMs), thread_([this] { Watch(); }) {}

WindowWatch::~WindowWatch() {
    stop_ = true;
    thread_.join();
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
        if (microseconds > longestMicroseconds_) longestMicroseconds_ = microseconds;
        Sleep(5);
    }
}

} // namespace ambervale::e2e
