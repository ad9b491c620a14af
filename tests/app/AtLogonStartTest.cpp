#include "app/AtLogonStart.h"

#include <gtest/gtest.h>

#include "fakes/FakePolicy.h"
#include "fakes/FakeRegistry.h"

namespace ambervale {
namespace {

TEST(AtLogonStart, TheArgumentInAnyCaseQuotedOrNotAndOnlyWhilePolicySaysOneWithoutTheOwnRunValue) {
    for (const char* yes : {"/atlogon", "  /ATLOGON ", "/glance /AtLogon", "\"/atlogon\""}) {
        EXPECT_TRUE(HasAtLogonArgument(yes)) << yes;
    }
    for (const char* no : {"", "/atlogonx", "atlogon", "-atlogon", "\"/atlogon"}) EXPECT_FALSE(HasAtLogonArgument(no));

    const std::string exe = "C:\\Tools\\Ambervale\\Ambervale.exe", key(kRunKeyPath);
    testing::FakePolicySource policies;
    testing::FakeRegistry registry;
    EXPECT_FALSE(LogonStartWanted(policies, registry, exe));
    policies.user = {{"StartWithWindows", testing::Dword(0)}};
    EXPECT_FALSE(LogonStartWanted(policies, registry, exe));
    policies.machine = {{"StartWithWindows", testing::Dword(1)}};
    // The installer's value names the program with the argument: it is no Run value of the program's own.
    registry.values[{RegistryHive::LocalMachine, key, std::string(kPolicyRunValueName)}] = {
        "\"" + exe + "\" /atlogon", kRegSz};
    EXPECT_TRUE(LogonStartWanted(policies, registry, exe));
    registry.values[{RegistryHive::CurrentUser, key, "Ambervale.exe"}] = {"\"" + exe + "\"", kRegSz};
    EXPECT_FALSE(LogonStartWanted(policies, registry, exe)) << "the own value starts it at this logon";
}

} // namespace
} // namespace ambervale
