// The main window under the administrator's policy values, and back to the user's choices when they go.
#include <gtest/gtest.h>

#include "fakes/FakeForm1.h"

namespace ambervale {
namespace {

using testing::FakeForm1Rig;

TEST(Form1Policy, IntervalAndLoggingHeldWhateverTheStoreSaysAndTheUsersChoicesBackWhenTheyGo) {
    FakeForm1Rig rig;
    rig.settings.values = {{"OftenIndex", "1"}, {"StartStopState", "Off"}};
    rig.policySource.machine["LogInterval"] = 5;
    rig.policySource.user["AutomaticLog"] = 1;
    rig.policySource.machine["AutomaticLog"] = 3;  // no switch's value: the user's hive decides
    rig.form.Form_Load();
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_EQ(rig.list.selected, 2);
    EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
    EXPECT_EQ(rig.held.held, (std::set<HeldControl>{HeldControl::ListView2, HeldControl::PushButton5}));
    for (int tick = 0; tick < 10; ++tick) rig.Tick();
    EXPECT_EQ(rig.logger.entries, 2) << "every five seconds";

    rig.list.UserSelects(1);
    rig.form.PushButton5_Click();
    EXPECT_EQ(rig.list.selected, 2);
    EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
    EXPECT_TRUE(rig.timer.Running());

    rig.policySource.machine.clear();
    rig.policySource.user.clear();
    rig.form.Form_PolicyChanged();
    EXPECT_EQ(rig.list.selected, 1);
    EXPECT_EQ(rig.button.caption, "Turn On Automatic Log");
    EXPECT_FALSE(rig.timer.Running());
    EXPECT_TRUE(rig.held.held.empty());
    EXPECT_TRUE(rig.settings.writes.empty()) << "the stored choices were never touched";
    EXPECT_EQ(rig.logger.switches, (std::vector<std::string>{"on: Log every 5 seconds", "on: Log every 1 second",
                                                              "off: Log every 1 second"}));

    // Held again while running: the countdown restarts from the new interval.
    rig.policySource.machine["LogInterval"] = 10;
    rig.policySource.machine["AutomaticLog"] = 1;
    rig.form.Form_PolicyChanged();
    for (int tick = 0; tick < 9; ++tick) rig.Tick();
    EXPECT_EQ(rig.logger.entries, 2);
    rig.Tick();
    EXPECT_EQ(rig.logger.entries, 3);
}

TEST(Form1Policy, StartWithWindowsZeroRemovesTheOwnRunValueUntilThePolicyGoesAndOneChecksTheBox) {
    FakeForm1Rig rig;
    const auto where = std::make_tuple(RegistryHive::CurrentUser, std::string(kRunKeyPath), std::string("Ambervale.exe"));
    rig.registry.values[where] = {"\"C:\\Program Files\\Ambervale\\Ambervale.exe\"", kRegSz};
    rig.registry.readOnlyHives = {RegistryHive::LocalMachine};  // a user without administrator rights
    rig.settings.values = {{"Windows Startup", "On"}, {"Minimized", "On"}};
    rig.policySource.machine["StartWithWindows"] = 0;
    rig.form.Form_Load();
    EXPECT_EQ(rig.window.check4, 0);
    EXPECT_FALSE(rig.window.check8Visible);
    EXPECT_EQ(rig.window.state, WindowState::Normal);
    EXPECT_EQ(rig.registry.values.count(where), 0u);
    EXPECT_TRUE(rig.held.held.count(HeldControl::Check4));
    EXPECT_EQ(rig.settings.values["Minimized"], "On") << "the user's choice stays for later";
    rig.window.SetCheck4Value(1);  // a click on the held box
    EXPECT_EQ(rig.registry.values.count(where), 0u);

    rig.window.SetCheck4Value(0);
    rig.policySource.machine.clear();
    rig.form.Form_PolicyChanged();
    EXPECT_EQ(rig.window.check4, 1);
    EXPECT_TRUE(rig.window.check8Visible);
    EXPECT_EQ(rig.window.check8, 1);
    EXPECT_EQ(rig.registry.values.count(where), 1u) << "the value the policy removed is back";
    EXPECT_TRUE(rig.held.held.empty());

    FakeForm1Rig held;
    held.settings.values = {{"Minimized", "On"}};
    held.policySource.user["StartWithWindows"] = 1;
    held.form.Form_Load();
    EXPECT_EQ(held.window.check4, 1);
    EXPECT_EQ(held.window.state, WindowState::Minimized) << "as a start from its own Run value would";
    EXPECT_EQ(held.registry.calls, 0);
}

} // namespace
} // namespace ambervale
