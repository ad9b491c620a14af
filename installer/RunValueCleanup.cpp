#include "installer/RunValueCleanup.h"

#include "startup/RegStuff.h"
#include "startup/mStartUp.h"

namespace ambervale {
bool RemoveOwnRunValue(RunKey& key, const std::string& exePath) {
    const std::string valueName = SplitExecutablePath(exePath).fileName;
    if (valueName.empty()) return false;
    const std::optional<std::string> data = key.ReadText(valueName);
    if (!data || !RunValueStartsProgram(*data, exePath)) return false;
    return key.DeleteValue(valueName);
}

} // namespace ambervale
