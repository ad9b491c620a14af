#include "tray/WinTrayStatus.h"

#include <shellapi.h>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "tray/WinSysTray.h"

namespace ambervale {
namespace {

static_assert(NIIF_INFO == static_cast<DWORD>(NotificationIcon::Information) &&
              NIIF_WARNING == static_cast<DWORD>(NotificationIcon::Warning) &&
              NIIF_ERROR == static_cast<DWORD>(NotificationIcon::Error) &&
              NIIF_RESPECT_QUIET_TIME == kNiifRespectQuietTime);

// QUNS_APP of Windows 8 and later, which a build for Windows 7 does not name: a full-screen app from the Store.
constexpr int kFullScreenApp = 7;

using UniqueMenu = win::UniqueHandle<win::NullHandleTraits<HMENU, &DestroyMenu>>;

SYSTEMTIME ToSystemTime(const LocalDateTime& when) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(when.year);
    st.wMonth = static_cast<WORD>(when.month);
    st.wDay = static_cast<WORD>(when.day);
    st.wHour = static_cast<WORD>(when.hour);
    st.wMinute = static_cast<WORD>(when.minute);
    st.wSecond = static_cast<WORD>(when.second);
    return st;
}

// Written in the ANSI code page, as the rest of the tip (the spooler's names) is.
std::string Formatted(int written, const char* buffer, const char* what) {
    if (written <= 1) throw AppError(std::string("Cannot format the ") + what);
    return std::string(buffer, static_cast<std::size_t>(written - 1));
}

} // namespace

TrayLookIcons LoadTrayLookIcons(HINSTANCE instance) {
    TrayLookIcons icons;
    for (std::size_t look = 0; look < icons.size(); ++look) {
        icons[look] = LoadTrayIconResource(instance, kTrayLookResources[look]);
    }
    return icons;
}

bool AnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string WinSinceText::TimeOfDay(const LocalDateTime& when) {
    const SYSTEMTIME st = ToSystemTime(when);
    char buffer[128];
    return Formatted(GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS | LOCALE_USE_CP_ACP, &st, nullptr, buffer,
                                    sizeof buffer),
                     buffer, "time");
}

std::string WinSinceText::Date(const LocalDateTime& when) {
    const SYSTEMTIME st = ToSystemTime(when);
    char buffer[128];
    return Formatted(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_USE_CP_ACP, &st, nullptr, buffer,
                                    sizeof buffer),
                     buffer, "date");
}

bool WinUserAttention::AcceptsNotifications() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(SHQueryUserNotificationState(&state))) return true;
    switch (static_cast<int>(state)) {
    case QUNS_BUSY:
    case QUNS_RUNNING_D3D_FULL_SCREEN:
    case QUNS_PRESENTATION_MODE:
    case QUNS_QUIET_TIME:
    case kFullScreenApp:
        return false;
    default:
        // Accepting, or away from the screen (locked, or another user's session): Windows keeps the notification
        // for when the user is back.
        return true;
    }
}

std::optional<int> WinTrayMenuView::Show(const std::vector<TrayMenuItem>& items) {
    const UniqueMenu menu(CreatePopupMenu());
    if (!menu) return std::nullopt;
    for (const TrayMenuItem& item : items) {
        const UINT flags =
            MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) | (item.enabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuA(menu.get(), flags, static_cast<UINT_PTR>(item.command), item.caption.c_str());
    }
    POINT at{};
    GetCursorPos(&at);
    // Without the owner in front the menu would not close when the user clicks elsewhere; the WM_NULL after lets it
    // close at the next click on the taskbar too.
    SetForegroundWindow(owner_);
    const int chosen = static_cast<int>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                       at.x, at.y, 0, owner_, nullptr));
    PostMessageA(owner_, WM_NULL, 0, 0);
    if (chosen == 0) return std::nullopt;
    return chosen;
}

} // namespace ambervale
