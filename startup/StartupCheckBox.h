#pragma once
#include <string>

#include "mainwindow/SettingsStore.h"
#include "startup/RegStuff.h"

namespace ambervale {

inline constexpr int kStartupBoxUnchecked = 0;
inline constexpr int kStartupBoxChecked = 1;

// The two check boxes of the "Startup Options" frame as the Check4 click sees them; values are
// 1 for checked and 0 for unchecked.
class StartupOptionBoxes {
public:
    virtual ~StartupOptionBoxes() = default;
    virtual int Check4Value() = 0;
    // A change of value raises Check8's own click, just as a user's click does.
    virtual void SetCheck8Value(int value) = 0;
    virtual void SetCheck8Visible(bool visible) = 0;
};

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
