#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/Policy.h"

namespace ambervale::testing {

// Policy values by name, as DWORDs in the machine's and the user's hive.
class FakePolicySource : public PolicySource {
public:
    std::optional<PolicyData> Machine(std::string_view name) override { return Find(machine, name); }
    std::optional<PolicyData> User(std::string_view name) override { return Find(user, name); }

    std::map<std::string, std::uint32_t, std::less<>> machine, user;

private:
    static std::optional<PolicyData> Find(const std::map<std::string, std::uint32_t, std::less<>>& values,
                                          std::string_view name) {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        std::string bytes;
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((it->second >> (8 * i)) & 0xFF);
        return PolicyData{kRegDword, bytes};
    }
};

class FakeHeldControls : public PolicyHeldControls {
public:
    void SetHeld(HeldControl control, bool value) override {
        if (value) {
            held.insert(control);
        } else {
            held.erase(control);
        }
    }
    std::set<HeldControl> held;
};

} // namespace ambervale::testing
