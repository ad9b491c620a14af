#pragma once
#include <windows.h>

#include "tray/TrayPlatform.h"

namespace ambervale {

// The window procedure installed on a tray control's window while its icon is in the tray: turns
// the shell's callbacks into the control's mouse events, puts the icon back when the shell's taskbar
// is made anew, and passes every message, those included, on to the procedure it replaced. The replaced procedure is kept in one slot for the
// whole program, so one control at a time may be in the tray.
LRESULT CALLBACK TrayWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The shell's "TaskbarCreated", broadcast to every top-level window when its taskbar starts (again).
UINT TaskbarCreatedMessage();

// The window-long calls, in their pointer-sized form where the process is 64-bit.
LONG_PTR GetWindowLongValue(HWND hwnd, int index);
LONG_PTR SetWindowLongValue(HWND hwnd, int index, LONG_PTR value);

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND hwnd) { return reinterpret_cast<WindowHandle>(hwnd); }

class WinTrayWindowProcedure : public TrayWindowProcedure {
public:
    void Install(WindowHandle window, cSysTray& control) override;
    void Restore(WindowHandle window) override;
};

} // namespace ambervale
