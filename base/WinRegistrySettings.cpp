#include "base/WinRegistrySettings.h"

#include <windows.h>

#include <utility>

#include "base/AppError.h"
#include "base/Globals.h"
#include "base/WinHandles.h"
#include "base/WinLastError.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"

namespace ambervale {
namespace {

using RegKey = win::UniqueRegKey;

RegKey OpenForReading(const std::string& keyPath) {
    return win::OpenRegistryKey(HKEY_CURRENT_USER, keyPath, KEY_QUERY_VALUE);
}

} // namespace

std::string WinRegistrySettings::DefaultKeyPath() {
    return "Software\\" + std::string(kMakerName) + "\\" + std::string(kProductName);
}

WinRegistrySettings::WinRegistrySettings(std::string keyPath) : keyPath_(std::move(keyPath)) {}

std::string WinRegistrySettings::Read(std::string_view key, std::string_view defaultValue) {
    const RegKey section = OpenForReading(keyPath_);
    if (!section) return std::string(defaultValue);
    std::optional<std::string> text = win::ReadRegistryText(section.get(), std::string(key), kMaxValueBytes);
    return text ? std::move(*text) : std::string(defaultValue);
}

void WinRegistrySettings::Write(std::string_view key, std::string_view value) {
    // A null inside would cut the text short on the next read; the size cap keeps what is
    // written readable. Neither is ever written by the program itself.
    if (value.find('\0') != std::string_view::npos || value.size() >= kMaxValueBytes) {
        throw AppError("Invalid procedure call or argument");
    }
    HKEY created = nullptr;
    const LONG createResult = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr,
                                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created, nullptr);
    if (createResult != ERROR_SUCCESS) throw AppError(SystemErrorText(static_cast<unsigned long>(createResult)));
    const RegKey section(created);

    const std::string name(key);
    const std::string data(value); // with its terminating null, which REG_SZ stores
    const LONG setResult = RegSetValueExA(section.get(), name.c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(data.c_str()),
                                          static_cast<DWORD>(data.size() + 1));
    if (setResult != ERROR_SUCCESS) throw AppError(SystemErrorText(static_cast<unsigned long>(setResult)));
}

} // namespace ambervale
