#include "base/Policy.h"

#include <gtest/gtest.h>

#include "fakes/FakePolicy.h"

namespace ambervale {
namespace {

using testing::Dword;

TEST(Policy, EachRuleTakesTheMachinesUsableDwordElseTheUsersElseNothing) {
    const std::optional<PolicyData> none;
    const PolicyData text{1, std::string("0\0", 2)}, shortDword{kRegDword, "\1"}, qword{11, std::string(8, '\0')};
    const struct {
        const PolicyRule& rule;
        std::optional<PolicyData> machine, user;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {kEventLogPolicy, none, none, std::nullopt},          {kEventLogPolicy, Dword(0), Dword(1), 0u},
        {kEventLogPolicy, Dword(0xFFFFFFFF), none, 0xFFFFFFFFu}, {kEventLogPolicy, text, Dword(0), 0u},
        {kAskPrintersPolicy, shortDword, none, std::nullopt}, {kAskPrintersPolicy, qword, none, std::nullopt},
        {kLogIntervalPolicy, Dword(5), Dword(60), 5u},        {kLogIntervalPolicy, Dword(86400), none, 86400u},
        {kLogIntervalPolicy, Dword(7), Dword(60), 60u},       {kLogIntervalPolicy, Dword(0), none, std::nullopt},
        {kAutomaticLogPolicy, Dword(2), none, std::nullopt},  {kAutomaticLogPolicy, none, Dword(0), 0u},
        {kStartWithWindowsPolicy, Dword(1), Dword(0), 1u},    {kStartWithWindowsPolicy, text, none, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(PolicyValue(c.rule, c.machine, c.user), c.expected) << c.rule.name;

    testing::FakePolicySource source;
    EXPECT_EQ(ReadPolicies(source), Policies{}) << "no value: everything as it always was";
    source.machine = {{"EventLog", Dword(0)}, {"LogInterval", Dword(3600)}, {"StartWithWindows", Dword(1)}};
    source.user = {{"AskPrinters", Dword(0)}, {"AutomaticLog", Dword(0)}};
    EXPECT_EQ(ReadPolicies(source), (Policies{false, false, 3600, false, true}));
}

} // namespace
} // namespace ambervale
