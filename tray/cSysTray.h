#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tray/TrayPlatform.h"

namespace ambervale {

inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;

// The four mouse events of the tray icon, raised on the hosting window's thread. `id` is the icon
// identifier the shell passed back. A host overrides the events it handles.
class TrayEvents {
public:
    virtual ~TrayEvents() = default;
    virtual void MouseMove(std::int32_t /*id*/) {}
    virtual void MouseDown(std::int16_t /*button*/, std::int32_t /*id*/) {}
    virtual void MouseUp(std::int16_t /*button*/, std::int32_t /*id*/) {}
    virtual void MouseDblClick(std::int16_t /*button*/, std::int32_t /*id*/) {}
    // The user clicked a notification that ShowNotification showed (not a balloon of ShowBalloon).
    virtual void NotificationClick() {}
};

// The icon a notification shows beside its title (NIIF_INFO, NIIF_WARNING, NIIF_ERROR).
enum class NotificationIcon : std::uint32_t { Information = 1, Warning = 2, Error = 3 };

struct TrayServices {
    TrayShell& shell;
    TrayWindowProcedure& windowProcedure;
    TrayClock& clock;
    TrayMessageWait& messageWait;
};

// The properties a host stores with its design of the control; the defaults are those of a
// newly placed control.
struct TrayProperties {
    bool inTray = false;
    std::shared_ptr<const TrayPicture> trayIcon;
    std::string trayTip = "Telnet Server";
};

// Owns one icon in the notification area on behalf of the window `trayHwnd` (the control's own
// window, which receives the shell's callbacks). The window's user data points at the control
// while it is in the tray, so the control neither moves nor copies.
class cSysTray {
public:
    cSysTray(WindowHandle trayHwnd, const TrayServices& services);
    ~cSysTray();
    cSysTray(const cSysTray&) = delete;
    cSysTray& operator=(const cSysTray&) = delete;

    void SetEventSink(TrayEvents* events) { events_ = events; }
    TrayEvents* EventSink() const { return events_; }

    bool InTray() const { return inTray_; }
    void SetInTray(bool value);

    const std::shared_ptr<const TrayPicture>& TrayIcon() const { return icon_; }
    // Anything but an icon (no picture, a bitmap, an empty picture) is ignored and the icon stays.
    void SetTrayIcon(std::shared_ptr<const TrayPicture> picture);

    const std::string& TrayTip() const { return tip_; }
    void SetTrayTip(std::string tip);

    // Shows a balloon over the icon and returns when it has gone: after timeoutSeconds, or
    // earlier when the shell reports it hidden, timed out or clicked. Window messages keep being
    // dispatched meanwhile. With showOnce, only the first such balloon of this control is shown.
    // Throws AppError("Overflow") when timeoutSeconds in milliseconds exceeds 32 bits.
    void ShowBalloon(std::string_view balloonText, std::string_view balloonTitle, std::int32_t timeoutSeconds,
                     bool showOnce);

    // Shows a notification over the icon (Windows 10 and 11 show it as a toast) and returns at once; the shell decides
    // how long it stays, and holds it back itself during quiet time. It takes the place of a balloon of ShowBalloon
    // still up, whose wait then ends. A click on it raises NotificationClick.
    void ShowNotification(std::string_view text, std::string_view title, NotificationIcon icon);

    // Applies stored properties through the setters, in the order InTray, TrayIcon, TrayTip.
    void ReadProperties(const TrayProperties& stored);

    // Entry point for the tray window procedure only: the shell's taskbar was made anew (Explorer restarted) and
    // has forgotten every icon. While in the tray, the icon is added again with its tip, icon and callback.
    void TaskbarCreated();

    // Entry point for the tray window procedure only: one callback of the shell, where
    // `notification` is the callback's lParam and `id` its wParam.
    void HandleTrayMessage(std::uint32_t notification, std::uint32_t id);

    WindowHandle TrayHwnd() const { return trayHwnd_; }
    bool BalloonVisible() const { return balloonVisible_; }

private:
    // A balloon wait in progress; told when the control is destroyed under it.
    struct WaitFrame {
        bool controlGone = false;
        WaitFrame* outer = nullptr;
    };

    NotifyIconRecord NewRecord() const;
    void AddTrayIcon();
    void DeleteTrayIcon();
    void Notify(NotifyIconMessage message, const NotifyIconRecord& record);
    // Returns false when the control was destroyed during the wait.
    bool WaitForBalloon(std::int64_t timeoutMilliseconds);

    static constexpr std::uint32_t kTrayId = 0;

    WindowHandle trayHwnd_;
    TrayServices services_;
    TrayEvents* events_ = nullptr;
    bool inTray_ = false;
    bool iconAdded_ = false;
    std::string tip_;
    std::shared_ptr<const TrayPicture> icon_;
    bool balloonVisible_ = false;
    // The last balloon shown was a notification: a click on it shows the window.
    bool notificationShown_ = false;
    std::int32_t balloonShowOnceCount_ = 0;
    WaitFrame* innermostWait_ = nullptr;
};

} // namespace ambervale
