#include "app/AtLogonStart.h"

#include <gtest/gtest.h>

#include "fakes/FakePolicy.h"
#include "fakes/FakeRegistry.h"

namespace ambervale {
namespace {

constexpr char kExe[] = "C:\\Tools\\Ambervale\\Ambervale.exe";

TEST(AtLogonStart, TheArgumentIsFoundInAnyCaseQuotedOrNotAndNowhereElse) {
    for (const char* arguments : {"/atlogon", "  /ATLOGON ", "/glance /AtLogon", "\"/atlogon\"", "\t/atlogon"}) {
        EXPECT_TRUE(HasAtLogonArgument(arguments)) << arguments;
    }
    for (const char* arguments : {"", " ", "/atlogonx", "atlogon", "/at logon", "-atlogon", "\"/atlogon"}) {
        EXPECT_FALSE(HasAtLogonArgument(arguments)) << arguments;
    }
}

TEST(AtLogonStart, GoesOnOnlyWhilePolicySaysOneAndTheOwnRunValueDoesNotStartItToo) {
    testing::FakePolicySource policies;
    testing::FakeRegistry registry;
    EXPECT_FALSE(LogonStartWanted(policies, registry, kExe)) << "no policy";
    policies.user["StartWithWindows"] = 0;
    EXPECT_FALSE(LogonStartWanted(policies, registry, kExe));
    policies.machine["StartWithWindows"] = 1;
    EXPECT_TRUE(LogonStartWanted(policies, registry, kExe));
    // The installer's own value names the program with the argument: it is not the program's own Run value.
    registry.values[{RegistryHive::LocalMachine, std::string(kRunKeyPath), std::string(kPolicyRunValueName)}] = {
        "\"C:\\Tools\\Ambervale\\Ambervale.exe\" /atlogon", kRegSz};
    EXPECT_TRUE(LogonStartWanted(policies, registry, kExe));
    registry.values[{RegistryHive::CurrentUser, std::string(kRunKeyPath), "Ambervale.exe"}] = {
        "\"C:\\Tools\\Ambervale\\Ambervale.exe\"", kRegSz};
    EXPECT_FALSE(LogonStartWanted(policies, registry, kExe)) << "the own value starts it at this logon";
    EXPECT_EQ(registry.calls, 0) << "only read";
}

class OneClaim : public InstanceServices {
public:
    explicit OneClaim(InstanceClaim claim) : claim_(claim) {}
    InstanceClaim ClaimInstance() override { return claim_; }
    bool TakeOverFromEndedInstance() override { return false; }
    bool BringRunningInstanceToFront() override {
        ADD_FAILURE() << "a start at logon brings nothing forward";
        return true;
    }
    std::int64_t NowMilliseconds() override { return 0; }
    void Sleep(std::int64_t) override {}

private:
    InstanceClaim claim_;
};

TEST(AtLogonStart, AnotherCopyRunningIsLeftAloneQuietly) {
    OneClaim claimed(InstanceClaim::Claimed), held(InstanceClaim::HeldByAnotherCopy),
        squatted(InstanceClaim::NamesHeldByAnotherAccount);
    EXPECT_EQ(ChooseLogonStart(claimed), StartChoice::RunHere);
    EXPECT_EQ(ChooseLogonStart(held), StartChoice::LeaveToRunningInstance);
    EXPECT_EQ(ChooseLogonStart(squatted), StartChoice::NamesHeldByAnotherAccount);
}

} // namespace
} // namespace ambervale
