#pragma once
#include <map>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/SettingsStore.h"

namespace ambervale::testing {

class FakeSettingsStore : public SettingsStore {
public:
    std::string Read(std::string_view key, std::string_view defaultValue) override {
        auto it = values.find(std::string(key));
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    void Write(std::string_view key, std::string_view value) override {
        writes.emplace_back(std::string(key), std::string(value));
        if (failWrites) throw AppError("Cannot write the setting");
        values[std::string(key)] = std::string(value);
    }

    std::map<std::string, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes;
    bool failWrites = false;
};

} // namespace ambervale::testing
