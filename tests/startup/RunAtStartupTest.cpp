#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "startup/RegStuff.h"
#include "startup/mStartUp.h"

namespace ambervale {
namespace {

using testing::FakeRegistry;

constexpr char kRunKey[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";

TEST(RunValueData, IsTheFullPathInQuotesWithOneBackslashBeforeTheName) {
    struct Case {
        const char* folder;
        const char* fileName;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Corvatek\\Ambervale", "Ambervale.exe",
         "\"C:\\Program Files\\Corvatek\\Ambervale\\Ambervale.exe\""},
        {"C:\\", "Ambervale.exe", "\"C:\\Ambervale.exe\""},  // the root of a drive
        {"C:", "Ambervale.exe", "\"C:\\Ambervale.exe\""},
        {"\\\\server\\share\\tools", "amb.exe", "\"\\\\server\\share\\tools\\amb.exe\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunValueData(c.folder, c.fileName), c.expected) << c.folder;
    }
}

TEST(RegisterStartup, WritesTheRunningExecutableUnderTheMachineWideRunKey) {
    FakeRegistry registry;
    RegisterStartup(registry, "C:\\Program Files\\Corvatek\\Ambervale.exe");

    ASSERT_EQ(registry.values.size(), 1u);
    const auto& [where, value] = *registry.values.begin();
    EXPECT_EQ(std::get<0>(where), RegistryHive::LocalMachine);
    EXPECT_EQ(std::get<1>(where), kRunKey);
    EXPECT_EQ(std::get<2>(where), "Ambervale.exe");
    EXPECT_EQ(value.text, "\"C:\\Program Files\\Corvatek\\Ambervale.exe\"");
    EXPECT_EQ(value.type, 1u);
}

TEST(RegisterStartup, WithoutAdministratorRightsFallsBackToTheCurrentUser) {
    FakeRegistry registry;
    registry.readOnlyHives.insert(RegistryHive::LocalMachine);
    RegisterStartup(registry, "C:\\Users\\jo\\Apps\\Ambervale.exe");

    EXPECT_EQ(registry.Find(RegistryHive::LocalMachine, "Ambervale.exe"), nullptr);
    const auto* value = registry.Find(RegistryHive::CurrentUser, "Ambervale.exe");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text, "\"C:\\Users\\jo\\Apps\\Ambervale.exe\"");
    EXPECT_EQ(value->type, 1u);
}

TEST(RegisterStartup, MachineWideValueReplacesAnOldPerUserOne) {
    FakeRegistry registry;
    registry.values[{RegistryHive::CurrentUser, kRunKey, "Ambervale.exe"}] = {"\"C:\\old\\Ambervale.exe\"", 1};
    RegisterStartup(registry, "C:\\new\\Ambervale.exe");
    EXPECT_EQ(registry.Find(RegistryHive::CurrentUser, "Ambervale.exe"), nullptr);
    ASSERT_NE(registry.Find(RegistryHive::LocalMachine, "Ambervale.exe"), nullptr);
}

TEST(UnregisterStartup, DeletesTheValueFromBothRunKeysAndNothingElse) {
    FakeRegistry registry;
    registry.values[{RegistryHive::LocalMachine, kRunKey, "Ambervale.exe"}] = {"\"C:\\a\\Ambervale.exe\"", 1};
    registry.values[{RegistryHive::CurrentUser, kRunKey, "Ambervale.exe"}] = {"\"C:\\b\\Ambervale.exe\"", 1};
    registry.values[{RegistryHive::LocalMachine, kRunKey, "Other.exe"}] = {"\"C:\\Other.exe\"", 1};

    UnregisterStartup(registry, "E:\\moved\\Ambervale.exe");

    ASSERT_EQ(registry.values.size(), 1u);
    EXPECT_NE(registry.Find(RegistryHive::LocalMachine, "Other.exe"), nullptr);
}

TEST(RegisterStartup, APathWithoutAFolderTouchesNothing) {
    FakeRegistry registry;
    RegisterStartup(registry, "");
    RegisterStartup(registry, "Ambervale.exe");
    UnregisterStartup(registry, "C:\\folder\\");
    EXPECT_EQ(registry.calls, 0);
}

} // namespace
} // namespace ambervale
