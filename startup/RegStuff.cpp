#include "startup/RegStuff.h"

namespace ambervale {

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
