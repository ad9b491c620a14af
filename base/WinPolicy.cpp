#include "base/WinPolicy.h"

#include <cstdint>
#include <optional>

#include "base/Policy.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"

namespace ambervale::win {
namespace {

std::optional<std::uint32_t> PolicyValue(HKEY root, const char* valueName) {
    const UniqueRegKey key = OpenRegistryKey(root, kPolicyKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY);
    if (!key) return std::nullopt;
    return ReadRegistryNumber(key.get(), valueName);
}

} // namespace

bool PolicyValueAllows(const char* valueName) noexcept {
    try {
        return PolicyAllows(PolicyValue(HKEY_LOCAL_MACHINE, valueName), PolicyValue(HKEY_CURRENT_USER, valueName));
    } catch (...) {
        return true;  // out of memory for the key's name: no policy could be read, so none applies
    }
}

} // namespace ambervale::win
