#pragma once
#include <map>
#include <set>
#include <string>

#include "base/Policy.h"

namespace ambervale::testing {

inline PolicyData Dword(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return {kRegDword, bytes};
}

// Policy values by name, as the machine's and the user's hive hold them.
class FakePolicySource : public PolicySource {
public:
    std::optional<PolicyData> Machine(std::string_view name) override { return Find(machine, name); }
    std::optional<PolicyData> User(std::string_view name) override { return Find(user, name); }
    std::map<std::string, PolicyData, std::less<>> machine, user;

private:
    using Values = std::map<std::string, PolicyData, std::less<>>;
    static std::optional<PolicyData> Find(const Values& values, std::string_view name) {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<PolicyData>(it->second);
    }
};

class FakeHeldControls : public PolicyHeldControls {
public:
    void SetHeld(HeldControl control, bool value) override {
        if (value) held.insert(control); else held.erase(control);
    }
    std::set<HeldControl> held;
};

} // namespace ambervale::testing
