#include "tray/mSysTray.h"

#include <cstdint>

#include "tray/cSysTray.h"

namespace ambervale {
namespace {

WNDPROC PrevWndProc = nullptr;

} // namespace

LONG_PTR GetWindowLongValue(HWND hwnd, int index) {
#ifdef _WIN64
    return GetWindowLongPtrA(hwnd, index);
#else
    return GetWindowLongA(hwnd, index);
#endif
}

LONG_PTR SetWindowLongValue(HWND hwnd, int index, LONG_PTR value) {
#ifdef _WIN64
    return SetWindowLongPtrA(hwnd, index, value);
#else
    return SetWindowLongA(hwnd, index, static_cast<LONG>(value));
#endif
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

LRESULT CALLBACK TrayWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool callback = message == kTrayCallbackMessage;
    const bool taskbarCreated = message != 0 && message == TaskbarCreatedMessage();
    auto* control =
        callback || taskbarCreated ? reinterpret_cast<cSysTray*>(GetWindowLongValue(hwnd, GWLP_USERDATA)) : nullptr;
    if (control != nullptr) {
        try {
            if (callback) {
                control->HandleTrayMessage(static_cast<std::uint32_t>(lParam), static_cast<std::uint32_t>(wParam));
            } else {
                control->TaskbarCreated();
            }
        } catch (...) {
            // The tray events have no error report, and nothing may unwind through the
            // system's frames of the message dispatch.
        }
    }
    return CallWindowProcA(PrevWndProc != nullptr ? PrevWndProc : DefWindowProcA, hwnd, message, wParam, lParam);
}

void WinTrayWindowProcedure::Install(WindowHandle window, cSysTray& control) {
    const HWND hwnd = ToHwnd(window);
    // Results not examined: a window that refuses the procedure simply raises no tray events.
    const auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongValue(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWndProc)));
    // Keeping TrayWndProc as its own predecessor would make every message call itself forever.
    if (previous != &TrayWndProc) PrevWndProc = previous;
    SetWindowLongValue(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
}

void WinTrayWindowProcedure::Restore(WindowHandle window) {
    if (PrevWndProc == nullptr) return;
    SetWindowLongValue(ToHwnd(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevWndProc));
}

} // namespace ambervale
