#include "installer/WinRemovalRecord.h"

#include <windows.h>

#include <iterator>

#include "base/WinHandles.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"
#include "base/WinText.h"

namespace ambervale {
namespace {

// One view for the actions that write, read and clear a record, whatever the build of the DLL they run in.
constexpr REGSAM kView = KEY_WOW64_32KEY;
// The key the records' parents end at: it is Windows' own and always stays.
constexpr char kSoftwareKey[] = "SOFTWARE";

win::UniqueRegKey OpenRecordKey(const std::string& path, REGSAM access) {
    return win::OpenRegistryKey(HKEY_LOCAL_MACHINE, path, access | kView);
}

bool IsEmptyKey(const std::string& path) {
    const win::UniqueRegKey key = OpenRecordKey(path, KEY_QUERY_VALUE);
    DWORD subkeys = 0;
    DWORD values = 0;
    return key &&
           RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
}

} // namespace

WinRemovalRecord::WinRemovalRecord(const std::string& productCode) {
    if (!productCode.empty() && productCode.find('\\') == std::string::npos) {
        path_ = std::string(kRemovalRecordsKey) + "\\" + productCode;
    }
}

bool WinRemovalRecord::Add(const RemovedRunValue& value) {
    if (path_.empty()) return false;
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | kView,
                        nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const win::UniqueRegKey key(created);
    const std::wstring text = win::WideFromUtf8(value.text);
    return RegSetValueExW(key.get(), win::WideFromUtf8(value.location).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::vector<RemovedRunValue> WinRemovalRecord::Values() {
    std::vector<RemovedRunValue> values;
    if (path_.empty()) return values;
    const win::UniqueRegKey key = OpenRecordKey(path_, KEY_QUERY_VALUE);
    if (!key) return values;
    wchar_t location[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(location));
        const LONG status = RegEnumValueW(key.get(), index, location, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;  // no location has so long a name: not one the uninstall wrote
        if (status != ERROR_SUCCESS) break;
        if (auto text = win::ReadRegistryWideText(key.get(), location)) {
            values.push_back({win::Utf8FromWide(location), win::Utf8FromWide(*text)});
        }
    }
    return values;
}

void WinRemovalRecord::Remove(const std::string& location) {
    if (path_.empty()) return;
    if (const win::UniqueRegKey key = OpenRecordKey(path_, KEY_SET_VALUE)) {
        RegDeleteValueW(key.get(), win::WideFromUtf8(location).c_str());  // absent already: nothing to drop
    }
}

void WinRemovalRecord::Clear() {
    if (path_.empty()) return;
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), kView, 0);  // absent already when nothing was recorded
    for (std::string parent = kRemovalRecordsKey; parent != kSoftwareKey && IsEmptyKey(parent);
         parent.resize(parent.rfind('\\'))) {
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), kView, 0);
    }
}

} // namespace ambervale
