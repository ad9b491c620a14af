#include "base/Policy.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace ambervale {
namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegQword = 11;

PolicyData Dword(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return {kRegDword, bytes};
}

class TablePolicySource : public PolicySource {
public:
    std::optional<PolicyData> Machine(std::string_view name) override { return Find(machine, name); }
    std::optional<PolicyData> User(std::string_view name) override { return Find(user, name); }
    std::map<std::string, PolicyData, std::less<>> machine, user;

private:
    static std::optional<PolicyData> Find(const std::map<std::string, PolicyData, std::less<>>& values,
                                          std::string_view name) {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
};

TEST(Policy, EachRuleTakesTheMachinesUsableValueElseTheUsersElseNothing) {
    const std::optional<PolicyData> none;
    struct Case {
        const PolicyRule& rule;
        std::optional<PolicyData> machine, user;
        std::optional<std::uint32_t> expected;
    };
    const Case cases[] = {
        {kEventLogPolicy, none, none, std::nullopt},
        {kEventLogPolicy, Dword(0), Dword(1), 0u},
        {kEventLogPolicy, Dword(0xFFFFFFFF), none, 0xFFFFFFFFu},
        {kEventLogPolicy, PolicyData{kRegSz, std::string("0\0", 2)}, Dword(0), 0u},  // wrong type: the user's
        {kAskPrintersPolicy, PolicyData{kRegDword, std::string(1, '\0')}, none, std::nullopt},  // too short
        {kAskPrintersPolicy, PolicyData{kRegQword, std::string(8, '\0')}, none, std::nullopt},
        {kLogIntervalPolicy, Dword(5), Dword(60), 5u},
        {kLogIntervalPolicy, Dword(86400), none, 86400u},
        {kLogIntervalPolicy, Dword(7), Dword(60), 60u},   // not an interval of the list: as if absent
        {kLogIntervalPolicy, Dword(0), none, std::nullopt},
        {kLogIntervalPolicy, Dword(86401), none, std::nullopt},
        {kAutomaticLogPolicy, Dword(2), none, std::nullopt},
        {kAutomaticLogPolicy, none, Dword(0), 0u},
        {kStartWithWindowsPolicy, Dword(1), Dword(0), 1u},
        {kStartWithWindowsPolicy, PolicyData{kRegSz, "1"}, none, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PolicyValue(c.rule, c.machine, c.user), c.expected) << c.rule.name;
    }
}

TEST(Policy, ReadPoliciesGivesWhatEachValueDecidesAndTheUsersChoiceWithoutOne) {
    TablePolicySource source;
    EXPECT_EQ(ReadPolicies(source), Policies{}) << "no value: everything as it always was";

    source.machine["EventLog"] = Dword(0);
    source.user["AskPrinters"] = Dword(0);
    source.machine["LogInterval"] = Dword(3600);
    source.user["AutomaticLog"] = Dword(0);
    source.machine["StartWithWindows"] = Dword(1);
    const Policies policies = ReadPolicies(source);
    EXPECT_FALSE(policies.eventLog);
    EXPECT_FALSE(policies.askPrinters);
    EXPECT_EQ(policies.logIntervalSeconds, 3600);
    EXPECT_EQ(policies.automaticLog, false);
    EXPECT_EQ(policies.startWithWindows, true);
    EXPECT_FALSE(PolicyAllows(kEventLogPolicy, source));
}

} // namespace
} // namespace ambervale
