#include "installer/WinRunKeys.h"

#include <windows.h>

#include <utility>

#include "base/WinHandles.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"
#include "base/WinText.h"
#include "startup/RegStuff.h"

namespace ambervale {
namespace {

// The shipped program is the 32-bit build, so its machine-wide value lives in the 32-bit view of the registry.
constexpr REGSAM kRunKeyChangeAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY;

class WinRunKey : public RunKey {
public:
    explicit WinRunKey(win::UniqueRegKey key) : key_(std::move(key)) {}

    // Read and written as UTF-16, as the program writes its value: a folder that the ANSI code page cannot spell
    // would read as '?' and never match the installed path.
    std::optional<std::string> ReadText(const std::string& valueName) override {
        const auto text = win::ReadRegistryWideText(key_.get(), win::WideFromUtf8(valueName));
        if (!text) return std::nullopt;
        return win::Utf8FromWide(*text);
    }

    bool WriteText(const std::string& valueName, const std::string& text) override {
        const std::wstring wide = win::WideFromUtf8(text);
        return RegSetValueExW(key_.get(), win::WideFromUtf8(valueName).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wide.c_str()),
                              static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& valueName) override {
        return RegDeleteValueW(key_.get(), win::WideFromUtf8(valueName).c_str()) == ERROR_SUCCESS;
    }

private:
    win::UniqueRegKey key_;
};

} // namespace

std::unique_ptr<RunKey> WinRunKeys::Open(const std::string& location) {
    const std::optional<std::string> userKey = UserKeyOfRunKeyLocation(location);
    if (!userKey) return nullptr;
    const std::string runKey(kRunKeyPath);
    HKEY root = userKey->empty() ? HKEY_LOCAL_MACHINE : HKEY_USERS;
    const std::string path = userKey->empty() ? runKey : *userKey + "\\" + runKey;
    win::UniqueRegKey key = win::OpenRegistryKey(root, path, kRunKeyChangeAccess);
    if (!key) return nullptr;
    return std::make_unique<WinRunKey>(std::move(key));
}

void ForEachRunKey(const std::function<void(RunKey& key, const std::string& location)>& visit) {
    WinRunKeys keys;
    const auto visitAt = [&](const std::string& location) {
        if (const std::unique_ptr<RunKey> key = keys.Open(location)) visit(*key, location);
    };
    visitAt(std::string(kMachineRunKeyLocation));

    // Each loaded user registry is a key of HKEY_USERS named after the user's security id.
    char userKey[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof userKey;
        const LONG status = RegEnumKeyExA(HKEY_USERS, index, userKey, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // no user's key has so long a name
        if (status != ERROR_SUCCESS) break;
        visitAt(std::string(kUsersRunKeyPrefix) + userKey);
    }
}

} // namespace ambervale
