#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Policy.h"
#include "base/SettingsStore.h"
#include "tray/PrinterNotices.h"

namespace ambervale {

inline constexpr std::string_view kNotifyMenuCaption = "Notify me when the printer needs attention";

// Whether the user is there to be told and willing (the shell's notification state): not presenting, busy, in quiet
// time or in a full-screen program. A state that cannot be read does not hold notifications back.
class UserAttention {
public:
    virtual ~UserAttention() = default;
    virtual bool AcceptsNotifications() = 0;
};

// "Notify me when the printer needs attention": the user's choice, on unless turned off, remembered in the settings
// store; the policy value Notify decides it instead where an administrator set it. Read from the store once, at start;
// the policy is read each time it counts, so a change of it counts at once.
class NotifyChoice final : public NoticeGate {
public:
    NotifyChoice(SettingsStore& settings, PolicySource& policy, UserAttention& attention);

    bool On();
    bool HeldByPolicy();
    // The menu item's click: the user's choice turns over and is stored, unless policy holds it. A store that refuses
    // the value leaves the choice as it was.
    void Toggle();

    // Notifications are on and the user is there for them.
    bool MayShow() override { return On() && attention_.AcceptsNotifications(); }

private:
    SettingsStore& settings_;
    PolicySource& policy_;
    UserAttention& attention_;
    bool usersChoice_;
};

// An item of the tray icon's menu.
struct TrayMenuItem {
    int command;
    std::string caption;
    bool checked;
    bool enabled;
};

// The tray icon's menu on the screen: shown at the pointer until the user chooses or leaves it.
class TrayMenuView {
public:
    virtual ~TrayMenuView() = default;
    // The command chosen, or nothing.
    virtual std::optional<int> Show(const std::vector<TrayMenuItem>& items) = 0;
};

// The tray icon's menu, opened by a right-button release on the icon.
class TrayMenu {
public:
    TrayMenu(TrayMenuView& view, NotifyChoice& notify) : view_(view), notify_(notify) {}
    void Open();

private:
    TrayMenuView& view_;
    NotifyChoice& notify_;
};

} // namespace ambervale
