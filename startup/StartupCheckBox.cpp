#include "startup/StartupCheckBox.h"

#include "startup/mStartUp.h"

namespace ambervale {

namespace {

// This click has no error report, and an exception must not leave a window procedure.
template <class Action>
void PassOverFailure(Action&& action) {
    try {
        action();
    } catch (...) {
    }
}

} // namespace

void Check4_Click(bool isLoading, const StartupServices& services, const std::string& executablePath) {
    if (isLoading) return;
    bool checked = false;
    try {
        checked = services.boxes.Check4Value() == kChecked;
    } catch (...) {
        return;  // without the box's state, neither registering nor unregistering is right
    }
    if (checked) {
        PassOverFailure([&] { services.boxes.SetCheck8Visible(true); });
        PassOverFailure([&] { services.settings.Write(kSettingWindowsStartup, kOn); });
        PassOverFailure([&] { RegisterStartup(services.registry, executablePath); });
    } else {
        // Check8's own click stores "Minimized" "Off".
        PassOverFailure([&] { services.boxes.SetCheck8Value(kUnchecked); });
        PassOverFailure([&] { services.boxes.SetCheck8Visible(false); });
        PassOverFailure([&] { services.settings.Write(kSettingWindowsStartup, kOff); });
        PassOverFailure([&] { UnregisterStartup(services.registry, executablePath); });
    }
}

bool RestoreWindowsStartup(const StartupServices& services, const std::string& executablePath) {
    const bool registered = IsRegisteredToStart(services.registry, executablePath);
    const std::string_view choice = registered ? kOn : kOff;
    PassOverFailure([&] {
        if (services.settings.Read(kSettingWindowsStartup, kOff) != choice) {
            services.settings.Write(kSettingWindowsStartup, choice);
        }
    });
    return registered;
}

} // namespace ambervale
