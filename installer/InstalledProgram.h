#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ambervale {

// Whether the uninstall closes a running copy of the program before it removes the files: only a copy of the
// installed exe goes. A copy that runs from elsewhere (a portable one, say) keeps running, and so does one whose exe
// cannot be told: it may be any copy, and the installer's own handling of files in use covers the installed one.
bool ClosesBeforeUninstall(const std::optional<std::string>& runningExe, std::string_view installedExe);

} // namespace ambervale
