#pragma once
#include <windows.h>

#include "tray/NotifyChoice.h"
#include "tray/TrayStatusOutput.h"

namespace ambervale {

// The tray looks' icons in the program's resources, in TrayLook's order: the ready look is the blue 'C' itself.
inline constexpr int kTrayLookResources[] = {2, 3, 4};

// Each look at the system's small-icon size (20 pixels at 125% DPI, 24 at 150%, ...), which the resources hold drawn
// at that size; a look whose resource is missing has no picture, and the icon keeps the look it had.
TrayLookIcons LoadTrayLookIcons(HINSTANCE instance);

// The first byte of a two-byte character of the system's ANSI code page.
bool AnsiLeadByte(unsigned char byte);

// The user's time of day without seconds and short date (GetTimeFormatA, GetDateFormatA), in the ANSI code page.
class WinSinceText final : public SinceText {
public:
    std::string TimeOfDay(const LocalDateTime& when) override;
    std::string Date(const LocalDateTime& when) override;
};

// SHQueryUserNotificationState: presentation mode, busy (a full-screen program or the user's "do not disturb"),
// Direct3D full screen, quiet time and a full-screen app hold notifications back.
class WinUserAttention final : public UserAttention {
public:
    bool AcceptsNotifications() override;
};

// The tray icon's menu as a popup at the pointer, owned by the main window, which has just been brought forward.
class WinTrayMenuView final : public TrayMenuView {
public:
    explicit WinTrayMenuView(HWND owner) : owner_(owner) {}
    std::optional<int> Show(const std::vector<TrayMenuItem>& items) override;

private:
    HWND owner_;
};

} // namespace ambervale
