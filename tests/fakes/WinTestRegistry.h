#pragma once
// Windows-only helpers that read and write the registry of the test environment's Wine prefix. view is
// KEY_WOW64_32KEY or KEY_WOW64_64KEY where a key's view matters, 0 for the test build's own.
#include <windows.h>

#include <optional>
#include <string>

#include "base/WinHandles.h"

namespace ambervale::testing {

// The key, created when it is missing (or only opened); empty when there is none or Windows refuses it.
inline win::UniqueRegKey CreateKey(HKEY root, const std::string& path, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return win::UniqueRegKey(key);
}
inline win::UniqueRegKey OpenKey(HKEY root, const std::string& path, REGSAM view = 0,
                                 REGSAM access = KEY_QUERY_VALUE) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, access | view, &key) != ERROR_SUCCESS) return {};
    return win::UniqueRegKey(key);
}
inline bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0) {
    return static_cast<bool>(OpenKey(root, path, view));
}

// Stores the bytes as they are: a string without its terminating zero stays without it.
inline bool SetValue(const win::UniqueRegKey& key, const char* name, DWORD type, const std::string& bytes) {
    return key && RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}
inline bool SetText(const win::UniqueRegKey& key, const char* name, const std::string& text) {
    return SetValue(key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}
inline bool SetNumber(const win::UniqueRegKey& key, const char* name, DWORD number) {
    return SetValue(key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
}
inline void DeleteValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0) {
    if (const win::UniqueRegKey key = OpenKey(root, path, view, KEY_SET_VALUE)) RegDeleteValueA(key.get(), name);
}

// A value's type and bytes; nothing when the key or the value is missing.
struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;
};
inline std::optional<StoredValue> ReadValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0) {
    const win::UniqueRegKey key = OpenKey(root, path, view);
    StoredValue value{REG_NONE, std::string(4096, '\0')};
    DWORD size = static_cast<DWORD>(value.bytes.size());
    if (!key || RegQueryValueExA(key.get(), name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                                 &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}
// A string value's text up to its terminating zero, or "<absent>" when there is none or it holds no string.
inline std::string TextValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0) {
    const std::optional<StoredValue> value = ReadValue(root, path, name, view);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return "<absent>";
    return value->bytes.substr(0, value->bytes.find('\0'));
}
inline std::optional<DWORD> NumberValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0) {
    const std::optional<StoredValue> value = ReadValue(root, path, name, view);
    DWORD number = 0;
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof number) return std::nullopt;
    value->bytes.copy(reinterpret_cast<char*>(&number), sizeof number);
    return number;
}

} // namespace ambervale::testing
