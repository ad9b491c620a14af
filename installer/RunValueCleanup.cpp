#include "installer/RunValueCleanup.h"

#include <algorithm>

#include "startup/mStartUp.h"

namespace ambervale {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SamePath(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

} // namespace

bool RunValueStartsProgram(std::string_view data, std::string_view exePath) {
    if (exePath.empty()) return false;
    if (data.size() >= 2 && data.front() == '"' && data.back() == '"') data = data.substr(1, data.size() - 2);
    return SamePath(data, exePath);
}

bool RemoveOwnRunValue(RunKey& key, const std::string& exePath) {
    const std::string valueName = SplitExecutablePath(exePath).fileName;
    if (valueName.empty()) return false;
    const std::optional<std::string> data = key.ReadText(valueName);
    if (!data || !RunValueStartsProgram(*data, exePath)) return false;
    return key.DeleteValue(valueName);
}

} // namespace ambervale
