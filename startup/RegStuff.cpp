#include "startup/RegStuff.h"

#include <algorithm>

namespace ambervale {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool SameWindowsPath(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool RunValueStartsProgram(std::string_view data, std::string_view exePath) {
    if (exePath.empty()) return false;
    if (data.size() >= 2 && data.front() == '"' && data.back() == '"') data = data.substr(1, data.size() - 2);
    return SameWindowsPath(data, exePath);
}

std::string RunValueData(const std::string& folder, const std::string& fileName) {
    std::string path = folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    path += fileName;
    return "\"" + path + "\"";
}

void SetRunValue(Registry& registry, const std::string& folder, const std::string& fileName) {
    const std::string key(kRunKeyPath);
    const std::string data = RunValueData(folder, fileName);
    if (registry.SetKeyValue(RegistryHive::LocalMachine, key, fileName, data, kRegSz)) {
        // A per-user value left by an earlier run without administrator rights would start the
        // program a second time for that user.
        registry.DeleteKeyValue(RegistryHive::CurrentUser, key, fileName);
        return;
    }
    registry.SetKeyValue(RegistryHive::CurrentUser, key, fileName, data, kRegSz);
}

void DeleteRunValue(Registry& registry, const std::string& fileName) {
    const std::string key(kRunKeyPath);
    registry.DeleteKeyValue(RegistryHive::LocalMachine, key, fileName);
    registry.DeleteKeyValue(RegistryHive::CurrentUser, key, fileName);
}

} // namespace ambervale
