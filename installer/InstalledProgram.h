#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ambervale {

// Whether the uninstall closes a running copy of the program before it removes the files: a copy of the installed
// exe goes, and so does one whose exe cannot be told (left running, it would keep the folder from going). A copy
// that runs from elsewhere, a portable one say, keeps running.
bool ClosesBeforeUninstall(const std::optional<std::string>& runningExe, std::string_view installedExe);

} // namespace ambervale
