#include "startup/StartupCheckBox.h"

#include <optional>

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

// The Run value that still starts the program after an attempt to remove it: the machine's first, as Windows runs
// it for every user.
std::optional<RegistryHive> RemainingRunValue(Registry& registry, const std::string& executablePath) {
    const std::string fileName = SplitExecutablePath(executablePath).fileName;
    if (fileName.empty()) return std::nullopt;
    for (const RegistryHive hive : {RegistryHive::LocalMachine, RegistryHive::CurrentUser}) {
        const auto data = registry.ReadKeyValue(hive, std::string(kRunKeyPath), fileName);
        if (data && RunValueStartsProgram(*data, executablePath)) return hive;
    }
    return std::nullopt;
}

} // namespace

std::string RunValueRemainsText(RegistryHive hive, const std::string& valueName) {
    const bool machine = hive == RegistryHive::LocalMachine;
    return "Ambervale will still start with Windows" + std::string(machine ? " for every user of this PC" : "") +
           ": the value \"" + valueName + "\" under " + (machine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") +
           std::string(kRunKeyPath) + " starts it, and you may not remove it.\r\n\r\n" +
           "An administrator can remove it (untick this box while running Ambervale as an administrator).";
}

void Check4_Click(bool isLoading, const StartupServices& services, const std::string& executablePath,
                  const std::string& appTitle) {
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
        // A value that starts the program already (one the user could not remove) is left as it is: writing again
        // would add a second, per-user value where the machine's cannot be written.
        PassOverFailure([&] {
            if (!RemainingRunValue(services.registry, executablePath)) RegisterStartup(services.registry, executablePath);
        });
    } else {
        PassOverFailure([&] { UnregisterStartup(services.registry, executablePath); });
        std::optional<RegistryHive> remaining;
        PassOverFailure([&] { remaining = RemainingRunValue(services.registry, executablePath); });
        if (remaining) {
            const std::string fileName = SplitExecutablePath(executablePath).fileName;
            PassOverFailure([&] {
                services.messageBoxes.Show(
                    {RunValueRemainsText(*remaining, fileName), appTitle, BoxIcon::Exclamation, BoxButtons::Ok});
            });
            // Its click finds the value there and writes nothing.
            PassOverFailure([&] { services.boxes.SetCheck4Value(kChecked); });
            return;
        }
        // Check8's own click stores "Minimized" "Off".
        PassOverFailure([&] { services.boxes.SetCheck8Value(kUnchecked); });
        PassOverFailure([&] { services.boxes.SetCheck8Visible(false); });
        PassOverFailure([&] { services.settings.Write(kSettingWindowsStartup, kOff); });
    }
}

bool RestoreWindowsStartup(const StartupServices& services, const std::string& executablePath,
                           std::optional<bool> startPolicy) {
    if (startPolicy == true) return true;
    if (startPolicy == false) {
        PassOverFailure([&] {
            if (!IsRegisteredToStart(services.registry, executablePath)) return;
            services.settings.Write(kSettingStartupRemovedByPolicy, kOn);
            UnregisterStartup(services.registry, executablePath);
        });
        return false;
    }
    PassOverFailure([&] {
        if (services.settings.Read(kSettingStartupRemovedByPolicy, kOff) != kOn) return;
        if (!IsRegisteredToStart(services.registry, executablePath)) RegisterStartup(services.registry, executablePath);
        services.settings.Write(kSettingStartupRemovedByPolicy, kOff);
    });
    const bool registered = IsRegisteredToStart(services.registry, executablePath);
    const std::string_view choice = registered ? kOn : kOff;
    PassOverFailure([&] {
        if (services.settings.Read(kSettingWindowsStartup, kOff) != choice) {
            services.settings.Write(kSettingWindowsStartup, choice);
        }
    });
    return registered;
}

void Check4_PolicyChanged(const StartupServices& services, const std::string& executablePath,
                          std::optional<bool> startPolicy) {
    const bool starts = RestoreWindowsStartup(services, executablePath, startPolicy);
    PassOverFailure([&] { services.boxes.SetCheck4Value(starts ? kChecked : kUnchecked); });
    PassOverFailure([&] { services.boxes.SetCheck8Visible(starts); });
}

} // namespace ambervale
