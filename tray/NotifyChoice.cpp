#include "tray/NotifyChoice.h"

#include "base/AppError.h"

namespace ambervale {
namespace {

constexpr int kNotifyCommand = 1;

} // namespace

NotifyChoice::NotifyChoice(SettingsStore& settings, PolicySource& policy, UserAttention& attention)
    : settings_(settings), policy_(policy), attention_(attention),
      // Anything but "Off" keeps the notifications: they are on unless the user turned them off.
      usersChoice_(settings.Read(kSettingNotify, kOn) != kOff) {}

bool NotifyChoice::On() { return PolicyHolds(kNotifyPolicy, policy_).value_or(usersChoice_); }

bool NotifyChoice::HeldByPolicy() { return PolicyHolds(kNotifyPolicy, policy_).has_value(); }

void NotifyChoice::Toggle() {
    if (HeldByPolicy()) return;
    try {
        settings_.Write(kSettingNotify, usersChoice_ ? kOff : kOn);
        usersChoice_ = !usersChoice_;
    } catch (const AppError&) {
        // The menu has no error report: the item shows the choice that still holds when it opens again.
    }
}

void TrayMenu::Open() {
    const std::vector<TrayMenuItem> items{
        {kNotifyCommand, std::string(kNotifyMenuCaption), notify_.On(), !notify_.HeldByPolicy()}};
    if (view_.Show(items) == kNotifyCommand) notify_.Toggle();
}

} // namespace ambervale
