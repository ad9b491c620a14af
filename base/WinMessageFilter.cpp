#include "base/WinMessageFilter.h"

#include "base/WinUser32Function.h"

namespace ambervale::win {

void AcceptMessageFromAnyProcess(HWND window, UINT message) {
    using PerWindowFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using PerProcessFn = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW of the per-window call, MSGFLT_ADD of the per-process one
    static const auto perWindow = User32Function<PerWindowFn>("ChangeWindowMessageFilterEx");
    static const auto perProcess = User32Function<PerProcessFn>("ChangeWindowMessageFilter");
    // Results not examined: where the filter cannot be changed, the message arrives as before or not at all, and
    // there is nothing better to do.
    if (perWindow) {
        perWindow(window, message, kAllow, nullptr);
    } else if (perProcess) {
        perProcess(message, kAllow);
    }
}

} // namespace ambervale::win
