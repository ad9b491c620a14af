#include "startup/mStartUp.h"

namespace ambervale {

ExecutableLocation SplitExecutablePath(const std::string& executablePath) {
    const auto separator = executablePath.find_last_of("\\/");
    if (separator == std::string::npos) return {};
    return {executablePath.substr(0, separator), executablePath.substr(separator + 1)};
}

void RegisterStartup(Registry& registry, const std::string& executablePath) {
    const ExecutableLocation location = SplitExecutablePath(executablePath);
    if (location.fileName.empty()) return;
    SetRunValue(registry, location.folder, location.fileName);
}

bool IsRegisteredToStart(Registry& registry, const std::string& executablePath) {
    const ExecutableLocation location = SplitExecutablePath(executablePath);
    if (location.fileName.empty()) return false;
    const std::string key(kRunKeyPath);
    for (const RegistryHive hive : {RegistryHive::LocalMachine, RegistryHive::CurrentUser}) {
        const std::optional<std::string> data = registry.ReadKeyValue(hive, key, location.fileName);
        if (data && RunValueStartsProgram(*data, executablePath)) return true;
    }
    return false;
}

void UnregisterStartup(Registry& registry, const std::string& executablePath) {
    const ExecutableLocation location = SplitExecutablePath(executablePath);
    if (location.fileName.empty()) return;
    DeleteRunValue(registry, location.fileName);
}

} // namespace ambervale
