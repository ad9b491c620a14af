#include "base/WinPolicy.h"

#include <string>

#include "base/WinRegistryKey.h"

namespace ambervale::win {
namespace {

std::optional<PolicyData> ReadPolicyData(HKEY root, std::string_view name) {
    const UniqueRegKey key = OpenRegistryKey(root, kPolicyKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY);
    if (!key) return std::nullopt;
    // A DWORD needs four bytes; a few more show a value of another size, which is no policy.
    char bytes[16] = {};
    DWORD type = 0;
    DWORD size = sizeof bytes;
    const LONG result =
        RegQueryValueExA(key.get(), std::string(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes), &size);
    if (result == ERROR_MORE_DATA) return PolicyData{type, std::string(sizeof bytes + 1, '\0')};
    if (result != ERROR_SUCCESS) return std::nullopt;
    return PolicyData{type, std::string(bytes, size)};
}

} // namespace

std::optional<PolicyData> WinPolicySource::Machine(std::string_view name) {
    return ReadPolicyData(HKEY_LOCAL_MACHINE, name);
}

std::optional<PolicyData> WinPolicySource::User(std::string_view name) {
    return ReadPolicyData(HKEY_CURRENT_USER, name);
}

bool PolicyValueAllows(const char* valueName) noexcept {
    WinPolicySource source;
    for (const PolicyRule* rule : kPolicyRules) {
        if (rule->name == valueName) return PolicyAllows(*rule, source);
    }
    return true;  // a value the program does not know holds nothing
}

} // namespace ambervale::win
