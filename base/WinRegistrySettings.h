#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "base/SettingsStore.h"

namespace ambervale {

// The settings store in the current user's registry: each key one REG_SZ value under
// HKEY_CURRENT_USER\Software\Corvatek\Ambervale. Every call opens and closes the key itself.
//
// Read never fails: it gives the caller's default when the key, the section or the value is
// absent, cannot be opened, is not a REG_SZ (this program writes nothing else, so another type is
// no text of ours), or is larger than kMaxValueBytes (no setting comes near; such a value is
// damage, and reading it would only waste memory). A REG_SZ stored without its terminating null,
// or with bytes after an embedded one, reads up to the first null. Reading never changes anything.
//
// Write creates the section when needed and replaces an earlier value; it throws AppError with
// the system's description when the registry refuses.
class WinRegistrySettings : public SettingsStore {
public:
    static constexpr std::size_t kMaxValueBytes = 64 * 1024;

    // keyPath under HKEY_CURRENT_USER; the default is the program's own section.
    explicit WinRegistrySettings(std::string keyPath = DefaultKeyPath());

    std::string Read(std::string_view key, std::string_view defaultValue) override;
    void Write(std::string_view key, std::string_view value) override;

    static std::string DefaultKeyPath();

private:
    std::string keyPath_;
};

} // namespace ambervale
