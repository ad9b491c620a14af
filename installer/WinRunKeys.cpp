#include "installer/WinRunKeys.h"

#include <windows.h>

#include "base/WinHandles.h"
#include "base/WinRegistryText.h"
#include "startup/RegStuff.h"

namespace ambervale {
namespace {

// The shipped program is the 32-bit build, so its machine-wide value lives in the 32-bit view of the registry.
constexpr REGSAM kRunKeyChangeAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY;

class WinRunKey : public RunKey {
public:
    explicit WinRunKey(win::UniqueRegKey key) : key_(std::move(key)) {}

    std::optional<std::string> ReadText(const std::string& valueName) override {
        return win::ReadRegistryText(key_.get(), valueName);
    }

    bool DeleteValue(const std::string& valueName) override {
        return RegDeleteValueA(key_.get(), valueName.c_str()) == ERROR_SUCCESS;
    }

private:
    win::UniqueRegKey key_;
};

void VisitKey(HKEY root, const std::string& path, const std::string& where,
              const std::function<void(RunKey&, const std::string&)>& visit) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, kRunKeyChangeAccess, &opened) != ERROR_SUCCESS) return;
    WinRunKey key{win::UniqueRegKey(opened)};
    visit(key, where);
}

} // namespace

void ForEachRunKey(const std::function<void(RunKey& key, const std::string& where)>& visit) {
    const std::string runKey(kRunKeyPath);
    VisitKey(HKEY_LOCAL_MACHINE, runKey, "HKEY_LOCAL_MACHINE", visit);

    // Each loaded user registry is a key of HKEY_USERS named after the user's security id.
    char sid[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof sid;
        const LONG status = RegEnumKeyExA(HKEY_USERS, index, sid, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // no user's key has so long a name
        if (status != ERROR_SUCCESS) break;
        VisitKey(HKEY_USERS, std::string(sid) + "\\" + runKey, std::string("HKEY_USERS\\") + sid, visit);
    }
}

} // namespace ambervale
