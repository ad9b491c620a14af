#include "installer/InstalledProgram.h"

#include "startup/RegStuff.h"

namespace ambervale {

bool ClosesBeforeUninstall(const std::optional<std::string>& runningExe, std::string_view installedExe) {
    if (installedExe.empty() || !runningExe) return false;
    return SameWindowsPath(*runningExe, installedExe);
}

} // namespace ambervale
