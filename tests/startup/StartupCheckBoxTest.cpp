#include "startup/StartupCheckBox.h"

#include <gtest/gtest.h>

#include "fakes/FakeMessageBoxes.h"
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
    Check4ClickTest() {
        window.onCheck8Click = [this] { tray.Check8_Click(); };
        window.onCheck4Click = [this] { Click(); };
    }

    void Click(bool isLoading = false) {
        Check4_Click(isLoading, StartupServices{window, settings, registry, boxes}, kExe, "Ambervale");
    }

    FakeTrayPlatform platform;
    cSysTray cSysTray1{42, platform.Services()};
    // One window serves both handlers, as the main window does; setting Check8 raises Check8's click.
    FakeTrayHostWindow window;
    FakeSettingsStore settings;
    FakeRegistry registry;
    FakeMessageBoxes boxes;
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

TEST_F(Check4ClickTest, AMachineValueTheUserMayNotRemoveIsSaidAndTheBoxStaysChecked) {
    const std::string quoted = std::string("\"") + kExe + "\"";
    registry.values[{RegistryHive::LocalMachine, std::string(kRunKeyPath), "Ambervale.exe"}] = {quoted, kRegSz};
    registry.readOnlyHives = {RegistryHive::LocalMachine};  // a standard user
    settings.values = {{"Windows Startup", "On"}, {"Minimized", "On"}};
    window.check4 = 1;
    window.check8 = 1;
    window.check8Visible = true;

    window.SetCheck4Value(0);  // the user unticks it
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, RunValueRemainsText(RegistryHive::LocalMachine, "Ambervale.exe"));
    EXPECT_NE(boxes.shown[0].text.find("HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\"),
              std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("An administrator can remove it"), std::string::npos);
    EXPECT_EQ(boxes.shown[0].caption, "Ambervale");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(window.check4, 1) << "it shows the truth";
    EXPECT_EQ(window.check8, 1);
    EXPECT_TRUE(window.check8Visible);
    EXPECT_EQ(settings.values, (std::map<std::string, std::string>{{"Windows Startup", "On"}, {"Minimized", "On"}}));
    EXPECT_EQ(registry.values.size(), 1u) << "no per-user value beside the machine's";

    registry.readOnlyHives.clear();  // an administrator
    window.SetCheck4Value(0);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(window.check4, 0);
    EXPECT_TRUE(registry.values.empty());
    EXPECT_EQ(settings.values["Windows Startup"], "Off");
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
