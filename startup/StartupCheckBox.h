#pragma once
#include <optional>
#include <string>

#include "base/MessageBoxes.h"
#include "base/SettingsStore.h"
#include "base/StartupOptions.h"
#include "startup/RegStuff.h"

namespace ambervale {

struct StartupServices {
    StartupOptionBoxes& boxes;
    SettingsStore& settings;
    Registry& registry;
    MessageBoxes& messageBoxes;
};

// What the Check4 click says when the user unticks it but a Run value that starts the program stays, one that this
// user may not remove (the machine's, written by an administrator). The box stays checked: Windows still starts it.
std::string RunValueRemainsText(RegistryHive hive, const std::string& valueName);

// "Load this software on Windows startup": records the choice and registers or unregisters the
// running executable. Does nothing while the window loads (the load only restores the box).
// Has no error box: a failed step is passed over silently and the rest of the click still runs. Unticked while a
// Run value that starts the program cannot be removed, it says so in a box (captioned appTitle) and checks the box
// again, changing nothing else.
void Check4_Click(bool isLoading, const StartupServices& services, const std::string& executablePath,
                  const std::string& appTitle);

// Check4's value at start: whether a Run value starts this program, which is what will happen at the next logon, and
// not the stored choice, which an uninstall or another program may have made untrue. The stored choice follows it;
// one that cannot be stored now is stored by the next start or click. Nothing is written to the Run key: a value
// that someone removed stays removed until Check4 is clicked.
//
// Under the StartWithWindows policy (startPolicy; nothing leaves the choice to the user) the box shows the policy:
// 1 checked, as the installer's machine-wide value starts the program (with /atlogon) for every user; 0 unchecked,
// and the program's own Run value is removed where this user may. The stored choice stays as the user left it, and a
// value removed by the policy is written again once the policy has gone.
bool RestoreWindowsStartup(const StartupServices& services, const std::string& executablePath,
                           std::optional<bool> startPolicy = std::nullopt);

// The StartWithWindows policy changed while the window runs: Check4 shows what RestoreWindowsStartup finds, and
// Check8 is offered with it (its value, the user's, untouched). The caller keeps Check4's click from acting meanwhile.
void Check4_PolicyChanged(const StartupServices& services, const std::string& executablePath,
                          std::optional<bool> startPolicy);

} // namespace ambervale
