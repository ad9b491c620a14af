#pragma once
#include <windows.h>

#include <memory>
#include <utility>

#include "base/WinHandles.h"
#include "tray/cSysTray.h"
#include "tray/mSysTray.h"

namespace ambervale {

// Shell_NotifyIconA with the Shell 5.0 record.
class WinTrayShell : public TrayShell {
public:
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override;
};

// A nested message loop that sleeps until messages arrive instead of spinning.
class WinTrayMessageWait : public TrayMessageWait {
public:
    bool DispatchMessagesFor(std::int64_t maxWaitMilliseconds) override;
};

class WinIconPicture : public TrayPicture {
public:
    explicit WinIconPicture(win::UniqueIcon icon) : icon_(std::move(icon)) {}
    PictureKind Kind() const override { return icon_ ? PictureKind::Icon : PictureKind::Empty; }
    IconHandle Handle() const override { return reinterpret_cast<IconHandle>(icon_.get()); }

private:
    win::UniqueIcon icon_;
};

// The small icon of the given resource, at the size the notification area uses; no picture
// when the resource is missing (the control then keeps the icon it had).
std::shared_ptr<const TrayPicture> LoadTrayIconResource(HINSTANCE instance, int resourceId);

// The control's own window: hidden, never on the taskbar, owned by the host window so that it
// goes when the host goes. It receives the shell's callbacks and its "TaskbarCreated" (in an elevated
// copy of the program too). Throws AppError when it cannot be made.
win::UniqueWindow CreateTrayWindow(HWND owner, HINSTANCE instance);

// A tray control with its window and its Windows services. The host takes the icon out of the
// tray (or destroys this) before it destroys its own window.
class WinSysTray {
public:
    WinSysTray(HWND host, HINSTANCE instance);
    WinSysTray(const WinSysTray&) = delete;
    WinSysTray& operator=(const WinSysTray&) = delete;

    cSysTray& Control() { return control_; }
    HWND Handle() const { return window_.get(); }

private:
    win::UniqueWindow window_;
    WinTrayShell shell_;
    WinTrayWindowProcedure procedure_;
    SteadyTrayClock clock_;
    WinTrayMessageWait wait_;
    cSysTray control_;  // last: it leaves the tray before the window goes
};

} // namespace ambervale
