#include "startup/WinRegistry.h"

#include <windows.h>

#include "base/WinHandles.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"
#include "base/WinText.h"

namespace ambervale {

namespace {

using OwnedRegKey = win::UniqueRegKey;

HKEY RootKey(RegistryHive hive) {
    return hive == RegistryHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
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
    const OwnedRegKey key = win::OpenRegistryKey(RootKey(hive), keyPath, KEY_QUERY_VALUE);
    if (!key) return {};
    const auto text = win::ReadRegistryWideText(key.get(), win::WideFromUtf8(valueName));
    if (!text) return {};
    return win::Utf8FromWide(*text);
}

bool WinRegistry::SetKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                              const std::string& text, std::uint32_t valueType) {
    LONG status = ERROR_SUCCESS;
    OwnedRegKey key = win::OpenRegistryKey(RootKey(hive), keyPath, kRunKeyAccess, &status);
    if (status == ERROR_FILE_NOT_FOUND) status = CreateKey(hive, keyPath, key);
    if (status != ERROR_SUCCESS) return false;
    const std::wstring wide = win::WideFromUtf8(text);
    const auto size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), win::WideFromUtf8(valueName).c_str(), 0, valueType,
                          reinterpret_cast<const BYTE*>(wide.c_str()), size) == ERROR_SUCCESS;
}

bool WinRegistry::DeleteKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName) {
    LONG status = ERROR_SUCCESS;
    const OwnedRegKey key = win::OpenRegistryKey(RootKey(hive), keyPath, kRunKeyAccess, &status);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    const LONG deleted = RegDeleteValueW(key.get(), win::WideFromUtf8(valueName).c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

} // namespace ambervale
