#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "startup/RegStuff.h"

namespace ambervale::testing {

struct FakeRegistryValue {
    std::string text;
    std::uint32_t type;
};

// Values by (hive, key path, value name); a hive in readOnlyHives refuses writes and deletes the
// way a machine-wide key refuses a user without administrator rights.
class FakeRegistry : public Registry {
public:
    using Where = std::tuple<RegistryHive, std::string, std::string>;

    std::optional<std::string> ReadKeyValue(RegistryHive hive, const std::string& keyPath,
                                            const std::string& valueName) override {
        auto it = values.find({hive, keyPath, valueName});
        if (it == values.end() || it->second.type != kRegSz) return std::nullopt;
        return it->second.text;
    }
    bool SetKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                     const std::string& text, std::uint32_t valueType) override {
        ++calls;
        if (readOnlyHives.count(hive)) return false;
        values[{hive, keyPath, valueName}] = {text, valueType};
        return true;
    }
    bool DeleteKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName) override {
        ++calls;
        if (readOnlyHives.count(hive)) return false;
        values.erase({hive, keyPath, valueName});
        return true;
    }

    const FakeRegistryValue* Find(RegistryHive hive, const std::string& valueName) const {
        auto it = values.find({hive, std::string(kRunKeyPath), valueName});
        return it == values.end() ? nullptr : &it->second;
    }

    std::map<Where, FakeRegistryValue> values;
    std::set<RegistryHive> readOnlyHives;
    int calls = 0;  // writes and deletes
};

} // namespace ambervale::testing
