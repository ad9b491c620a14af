#pragma once
#include <string>

#include "base/SettingsStore.h"
#include "base/StartupOptions.h"
#include "startup/RegStuff.h"

namespace ambervale {

struct StartupServices {
    StartupOptionBoxes& boxes;
    SettingsStore& settings;
    Registry& registry;
};

// "Load this software on Windows startup": records the choice and registers or unregisters the
// running executable. Does nothing while the window loads (the load only restores the box).
// Has no error box: a failed step is passed over silently and the rest of the click still runs.
void Check4_Click(bool isLoading, const StartupServices& services, const std::string& executablePath);

// Check4's value at start: whether a Run value starts this program, which is what will happen at the next logon, and
// not the stored choice, which an uninstall or another program may have made untrue. The stored choice follows it;
// one that cannot be stored now is stored by the next start or click. Nothing is written to the Run key: a value
// that someone removed stays removed until Check4 is clicked.
bool RestoreWindowsStartup(const StartupServices& services, const std::string& executablePath);

} // namespace ambervale
