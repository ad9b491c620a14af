#include "printer/WinAskPrintersPolicy.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/WinHandles.h"
#include "base/WinRegistryText.h"
#include "printer/AskPrintersGate.h"

namespace ambervale::win {
namespace {

// The policy value under one root; nullopt when that root has none. The 64-bit view, where policy lives for 64-bit
// Windows; 32-bit Windows ignores the flag.
std::optional<std::uint32_t> PolicyValue(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kAskPrintersPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueRegKey owned(key);
    return ReadRegistryNumber(owned.get(), kAskPrintersPolicyValue);
}

} // namespace

void WinAskPrintersPolicy::Read() noexcept {
    allowed_.store(PrintersMayBeAsked(PolicyValue(HKEY_LOCAL_MACHINE), PolicyValue(HKEY_CURRENT_USER)));
}

} // namespace ambervale::win
