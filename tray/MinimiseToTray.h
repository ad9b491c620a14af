#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "base/ErrorReport.h"
#include "base/Globals.h"
#include "base/SettingsStore.h"
#include "base/StartupOptions.h"
#include "tray/NotifyChoice.h"
#include "tray/cSysTray.h"

namespace ambervale {

enum class WindowState { Normal, Minimized, Maximized };

inline constexpr std::string_view kTrayBalloonTitle = kProductName;
inline constexpr std::string_view kTrayBalloonText =
    "has been minimized to the system tray.\r\n"
    "Click on the blue 'C' icon (C for Corvatek) to bring the software back.";
inline constexpr std::int32_t kTrayBalloonSeconds = 5;

// What the tray behaviour asks of the main window; its load steps also set the start-up option boxes.
class TrayHostWindow : public StartupOptionBoxes {
public:
    virtual ~TrayHostWindow() = default;
    virtual WindowState State() = 0;
    // Setting Normal while the window is hidden restores its size and place without showing it.
    virtual void SetState(WindowState state) = 0;
    // Hidden, the window is off the screen and off the taskbar.
    virtual void Hide() = 0;
    virtual void Show() = 0;
    virtual void SetFocus() = 0;
    virtual void SetProgramIcon() = 0;
};

// The main window's use of its tray control: minimising hides the window to the notification
// area (with a balloon the first time), a button release on the icon brings it back, and the
// window may start there. Receives the tray control's events for as long as it lives.
class MinimiseToTray : public TrayEvents {
public:
    MinimiseToTray(TrayHostWindow& window, cSysTray& cSysTray1, SettingsStore& settings);
    ~MinimiseToTray() override;
    MinimiseToTray(const MinimiseToTray&) = delete;
    MinimiseToTray& operator=(const MinimiseToTray&) = delete;

    // Load steps 184 to 200: tip and icons, the icon into the tray, both start-up check boxes
    // and the start-minimised rule. Run while the window's IsLoading is set. startsWithWindows gives Check4's value
    // (step 188).
    void RunLoadSteps(GuardedSteps& steps, const std::function<bool()>& startsWithWindows);
    // Close step 102: the icon leaves the tray.
    void RunCloseSteps(GuardedSteps& steps);

    // Hides a minimised window in the notification area at once; its balloon comes when the window's thread is back
    // in its main loop (ShowDueBalloon).
    void Form_Resize();
    // The balloon of the hiding, once the window's thread has come back to its main loop. Its wait of five seconds
    // keeps the messages, and the logging timer's ticks, coming; run from inside another handler's wait (a tick's
    // entry, whose timer rests meanwhile) it would hold that handler, and the ticks, up for as long.
    void ShowDueBalloon();
    // Either button's release shows the window and gives it the focus; the right one's opens the icon's menu after.
    void cSysTray1_MouseUp(std::int16_t button, std::int32_t id);
    // The icon's menu, opened by a right-button release; none by default.
    void SetMenu(TrayMenu* menu) { menu_ = menu; }
    // Shows the window, out of the tray if it is hidden there, and gives it the focus.
    void BringBack();
    void Check8_Click();

    // True while the window is hidden in the notification area.
    bool TrayHidden() const { return trayHidden_; }

    void MouseUp(std::int16_t button, std::int32_t id) override { cSysTray1_MouseUp(button, id); }
    // A click on a notification about the printer shows the window.
    void NotificationClick() override { BringBack(); }

private:
    TrayHostWindow& window_;
    cSysTray& cSysTray1_;
    SettingsStore& settings_;
    TrayMenu* menu_ = nullptr;
    bool trayHidden_ = false;
    bool balloonDue_ = false;
};

} // namespace ambervale
