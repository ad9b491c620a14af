// The Windows Event Log's policy and its writer against the real registry (the test environment's Wine prefix).
#include "eventlog/WinEventLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/WinTestRegistry.h"

namespace ambervale {
namespace {

// Writes a value under the policy key of one root while it lives; removes the value, and the keys it made, after.
class PolicyValue {
public:
    PolicyValue(HKEY root, DWORD type, const std::string& bytes) : root_(root) {
        testing::SetValue(testing::CreateKey(root, win::kEventLogPolicyKey, KEY_WOW64_64KEY), win::kEventLogPolicyValue,
                          type, bytes);
    }
    ~PolicyValue() { Remove(root_); }
    PolicyValue(const PolicyValue&) = delete;
    PolicyValue& operator=(const PolicyValue&) = delete;

    static void Remove(HKEY root) {
        RegDeleteKeyExA(root, win::kEventLogPolicyKey, KEY_WOW64_64KEY, 0);
        RegDeleteKeyExA(root, "Software\\Policies\\Corvatek", KEY_WOW64_64KEY, 0);  // only when it is empty
    }

private:
    HKEY root_;
};

PolicyValue Dword(HKEY root, DWORD value) {
    return PolicyValue(root, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

bool AllowedNow() {
    win::WinEventLog log;
    return log.PolicyAllows();
}

TEST(WinEventLogPolicy, TheMachinesValueBeforeTheUsersAndNoneMeansOn) {
    PolicyValue::Remove(HKEY_LOCAL_MACHINE);
    PolicyValue::Remove(HKEY_CURRENT_USER);
    EXPECT_TRUE(AllowedNow());
    {
        const PolicyValue user = Dword(HKEY_CURRENT_USER, 0);
        EXPECT_FALSE(AllowedNow());
        const PolicyValue machine = Dword(HKEY_LOCAL_MACHINE, 1);
        EXPECT_TRUE(AllowedNow());
    }
    {
        // Not a DWORD: as good as no value, so the user's decides.
        const PolicyValue machine(HKEY_LOCAL_MACHINE, REG_SZ, std::string("0", 2));
        const PolicyValue user = Dword(HKEY_CURRENT_USER, 0);
        EXPECT_FALSE(AllowedNow());
    }
    {
        const PolicyValue shortValue(HKEY_CURRENT_USER, REG_DWORD, std::string(1, '\0'));
        EXPECT_TRUE(AllowedNow());
    }
    EXPECT_TRUE(AllowedNow());
}

TEST(WinEventLogPolicy, IsReadAgainOnlyWhenAsked) {
    win::WinEventLog log;
    ASSERT_TRUE(log.PolicyAllows());
    const PolicyValue machine = Dword(HKEY_LOCAL_MACHINE, 0);
    EXPECT_TRUE(log.PolicyAllows());
    log.ReadPolicy();
    EXPECT_FALSE(log.PolicyAllows());
}

TEST(WinEventLog, WritesEveryEventWithOrWithoutTheSourceAndCutsOverlongStrings) {
    const std::vector<Event> events{
        {EventId::StatusProblem, EventLevel::Error,
         {"Front Desk", "Off Line", "Ready", "60", "1 min", "Generic Laser", std::string(40000, 'x')}},
        {EventId::Flapping, EventLevel::Warning, {"Front Desk", "7"}},
        {EventId::Heartbeat, EventLevel::Information, {"", "Ready", "12/6/2026 8:15:04 PM"}},
    };
    win::WinEventLog log;
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kEventSourceKey);
    EXPECT_FALSE(win::EventSourceRegistered());
    EXPECT_NO_THROW(log.Write(events));

    ASSERT_TRUE(testing::CreateKey(HKEY_LOCAL_MACHINE, win::kEventSourceKey));
    EXPECT_TRUE(win::EventSourceRegistered());
    EXPECT_NO_THROW(log.Write(events));
    EXPECT_NO_THROW(log.Write({}));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kEventSourceKey);
}

} // namespace
} // namespace ambervale
