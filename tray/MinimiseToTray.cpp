#include "tray/MinimiseToTray.h"

#include <string>

#include "base/AppError.h"
#include "base/Globals.h"

namespace ambervale {
namespace {

// Stored switches are compared exactly: "on" or "ON" is not "On".
bool IsOn(SettingsStore& settings, std::string_view key) { return settings.Read(key, kOff) == kOn; }

} // namespace

MinimiseToTray::MinimiseToTray(TrayHostWindow& window, cSysTray& cSysTray1, SettingsStore& settings)
    : window_(window), cSysTray1_(cSysTray1), settings_(settings) {
    cSysTray1_.SetEventSink(this);
}

MinimiseToTray::~MinimiseToTray() {
    if (cSysTray1_.EventSink() == this) cSysTray1_.SetEventSink(nullptr);
}

void MinimiseToTray::RunLoadSteps(GuardedSteps& steps, const std::function<bool()>& startsWithWindows) {
    steps.Run(184, [&] {
        cSysTray1_.SetTrayTip(std::string(kProductName));
        window_.SetProgramIcon();
    });
    steps.Run(186, [&] { cSysTray1_.SetInTray(true); });
    steps.Run(188, [&] { window_.SetCheck4Value(startsWithWindows() ? kChecked : kUnchecked); });
    steps.Run(190, [&] { window_.SetCheck8Value(IsOn(settings_, kSettingMinimized) ? kChecked : kUnchecked); });
    if (steps.Test(192, [&] { return window_.Check4Value() == kChecked; })) {
        steps.Run(194, [&] { window_.SetCheck8Visible(true); });
        if (steps.Test(196, [&] { return window_.Check8Value() == kChecked; })) {
            steps.Run(198, [&] { window_.SetState(WindowState::Minimized); });
        }
    } else {
        steps.Run(200, [&] { window_.SetCheck8Visible(false); });
    }
}

void MinimiseToTray::RunCloseSteps(GuardedSteps& steps) {
    steps.Run(102, [&] { cSysTray1_.SetInTray(false); });
}

void MinimiseToTray::Form_Resize() {
    if (window_.State() != WindowState::Minimized || trayHidden_) return;
    window_.Hide();
    window_.SetState(WindowState::Normal);
    trayHidden_ = true;
    balloonDue_ = true;
}

void MinimiseToTray::ShowDueBalloon() {
    if (!balloonDue_) return;
    balloonDue_ = false;
    // Brought back before its balloon came: the balloon waits for the next hiding.
    if (!trayHidden_) return;
    cSysTray1_.ShowBalloon(kTrayBalloonText, kTrayBalloonTitle, kTrayBalloonSeconds, true);
}

void MinimiseToTray::cSysTray1_MouseUp(std::int16_t button, std::int32_t /*id*/) {
    BringBack();
    if (button == kRightButton && menu_ != nullptr) menu_->Open();
}

void MinimiseToTray::BringBack() {
    window_.Show();
    window_.SetFocus();
    trayHidden_ = false;
}

void MinimiseToTray::Check8_Click() {
    try {
        settings_.Write(kSettingMinimized, window_.Check8Value() == kChecked ? kOn : kOff);
    } catch (const AppError&) {
        // This click has no error report: the box keeps what the user chose, and the stored
        // choice stays as it was.
    }
}

} // namespace ambervale
