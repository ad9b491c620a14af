#include "startup/WinRegistry.h"

#include <windows.h>

#include "base/WinHandles.h"
#include "base/WinRegistryText.h"

namespace ambervale {

namespace {

using OwnedRegKey = win::UniqueRegKey;

HKEY RootKey(RegistryHive hive) {
    return hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Opens the key with the Run key's access; the key is owned only when the result is ERROR_SUCCESS.
LONG OpenKey(RegistryHive hive, const std::string& keyPath, OwnedRegKey& key) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(RootKey(hive), keyPath.c_str(), 0, kRunKeyAccess, &opened);
    if (status == ERROR_SUCCESS) key.reset(opened);
    return status;
}

LONG CreateKey(RegistryHive hive, const std::string& keyPath, OwnedRegKey& key) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(RootKey(hive), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        kRunKeyAccess, nullptr, &created, nullptr);
    if (status == ERROR_SUCCESS) key.reset(created);
    return status;
}

} // namespace

std::optional<std::string> WinRegistry::ReadKeyValue(RegistryHive hive, const std::string& keyPath,
                                                      const std::string& valueName) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(RootKey(hive), keyPath.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return {};
    const OwnedRegKey key(opened);
    return win::ReadRegistryText(key.get(), valueName);
}

bool WinRegistry::SetKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                              const std::string& text, std::uint32_t valueType) {
    OwnedRegKey key;
    LONG status = OpenKey(hive, keyPath, key);
    if (status == ERROR_FILE_NOT_FOUND) status = CreateKey(hive, keyPath, key);
    if (status != ERROR_SUCCESS) return false;
    const auto size = static_cast<DWORD>(text.size() + 1);
    return RegSetValueExA(key.get(), valueName.c_str(), 0, valueType, reinterpret_cast<const BYTE*>(text.c_str()),
                          size) == ERROR_SUCCESS;
}

bool WinRegistry::DeleteKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName) {
    OwnedRegKey key;
    const LONG status = OpenKey(hive, keyPath, key);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    const LONG deleted = RegDeleteValueA(key.get(), valueName.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

} // namespace ambervale
