#include "startup/StartupCheckBox.h"

#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTrayHostWindow.h"
#include "fakes/FakeTrayPlatform.h"
#include "tray/MinimiseToTray.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

constexpr char kExe[] = "C:\\Program Files\\Corvatek\\Ambervale.exe";

class Check4ClickTest : public ::testing::Test {
protected:
    Check4ClickTest() { window.onCheck8Click = [this] { tray.Check8_Click(); }; }

    void Click(bool isLoading = false) { Check4_Click(isLoading, StartupServices{window, settings, registry}, kExe); }

    FakeTrayPlatform platform;
    cSysTray cSysTray1{42, platform.Services()};
    // One window serves both handlers, as the main window does; setting Check8 raises Check8's click.
    FakeTrayHostWindow window;
    FakeSettingsStore settings;
    FakeRegistry registry;
    MinimiseToTray tray{window, cSysTray1, settings};
};

TEST_F(Check4ClickTest, CheckingOffersCheck8StoresOnAndRegisters) {
    window.check4 = 1;
    window.check8Visible = false;
    Click();
    EXPECT_TRUE(window.check8Visible);
    EXPECT_EQ(settings.values["Windows Startup"], "On");
    const auto* value = registry.Find(RegistryHive::LocalMachine, "Ambervale.exe");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text, "\"C:\\Program Files\\Corvatek\\Ambervale.exe\"");
    EXPECT_EQ(settings.values.count("Minimized"), 0u);
}

TEST_F(Check4ClickTest, UncheckingClearsAndHidesCheck8StoresOffAndUnregisters) {
    window.check4 = 1;
    Click();
    window.check8 = 1;
    settings.values["Minimized"] = "On";

    window.check4 = 0;
    Click();
    EXPECT_EQ(window.check8, 0);
    EXPECT_FALSE(window.check8Visible);
    EXPECT_EQ(settings.values["Minimized"], "Off");
    EXPECT_EQ(settings.values["Windows Startup"], "Off");
    EXPECT_TRUE(registry.values.empty());
}

TEST_F(Check4ClickTest, WhileLoadingOrWithoutTheBoxStateTouchesNothing) {
    window.check8 = 1;
    for (int value : {0, 1}) {
        window.check4 = value;
        Click(/*isLoading=*/true);
    }
    window.failing = {"check4"};
    Click();
    EXPECT_EQ(window.check8, 1);
    EXPECT_TRUE(settings.writes.empty());
    EXPECT_EQ(registry.calls, 0);
}

TEST_F(Check4ClickTest, ASettingThatCannotBeWrittenStillLetsTheRegistryFollowTheBox) {
    settings.failWrites = true;
    window.check4 = 1;
    Click();
    EXPECT_NE(registry.Find(RegistryHive::LocalMachine, "Ambervale.exe"), nullptr);
    window.check4 = 0;
    Click();
    EXPECT_TRUE(registry.values.empty());
    EXPECT_FALSE(window.check8Visible);
}

} // namespace
} // namespace ambervale
