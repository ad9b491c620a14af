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

} // namespace ambervale
