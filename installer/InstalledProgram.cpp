#include "installer/InstalledProgram.h"

#include <algorithm>

namespace ambervale {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool SameWindowsPath(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool ClosesBeforeUninstall(const std::optional<std::string>& runningExe, std::string_view installedExe) {
    if (installedExe.empty()) return false;
    return !runningExe || SameWindowsPath(*runningExe, installedExe);
}

} // namespace ambervale
