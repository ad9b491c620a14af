#pragma once
#include <cstdint>
#include <string>

#include "startup/RegStuff.h"

namespace ambervale {

// The real registry: each call opens its key, acts on one value and closes the key again. Value names and texts
// are UTF-8 (a path of any user's folder), read and written as UTF-16.
class WinRegistry final : public Registry {
public:
    std::optional<std::string> ReadKeyValue(RegistryHive hive, const std::string& keyPath,
                                            const std::string& valueName) override;
    // Writes text with its terminating zero counted in the size. A missing key is created,
    // since a new user profile need not have a Run key of its own yet.
    bool SetKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                     const std::string& text, std::uint32_t valueType) override;
    // Deleting a value that does not exist changes nothing and counts as done.
    bool DeleteKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName) override;
};

} // namespace ambervale
