// The main window under the administrator's policy values, and the user's choices back when they go.
#include <gtest/gtest.h>

#include "fakes/FakeForm1.h"

namespace ambervale {
namespace {

using testing::Dword;
using testing::FakeForm1Rig;

TEST(Form1Policy, IntervalAndLoggingHeldWhateverTheStoreSaysAndTheUsersChoicesBackWhenTheyGo) {
    FakeForm1Rig rig;
    rig.settings.values = {{"OftenIndex", "1"}, {"StartStopState", "Off"}};
    rig.policySource.machine = {{"LogInterval", Dword(5)}, {"AutomaticLog", Dword(3)}};  // 3: the user's decides
    rig.policySource.user = {{"AutomaticLog", Dword(1)}};
    rig.form.Form_Load();
    EXPECT_EQ(rig.held.held, (std::set<HeldControl>{HeldControl::ListView2, HeldControl::PushButton5}));
    for (int tick = 0; tick < 10; ++tick) rig.Tick();
    EXPECT_EQ(rig.logger.entries, 2) << "every five seconds";
    rig.list.UserSelects(1);
    EXPECT_EQ(rig.list.selected, 2);

    rig.policySource.machine.clear();
    rig.policySource.user.clear();
    rig.form.Form_PolicyChanged();
    EXPECT_FALSE(rig.timer.Running());
    EXPECT_TRUE(rig.held.held.empty());
    EXPECT_TRUE(rig.settings.writes.empty()) << "the stored choices were never touched";
    EXPECT_EQ(rig.logger.switches, (std::vector<std::string>{"on: Log every 5 seconds", "on: Log every 1 second",
                                                              "off: Log every 1 second"}));
}

TEST(Form1Policy, StartWithWindowsZeroRemovesTheOwnRunValueUntilThePolicyGoesAndOneChecksTheBox) {
    FakeForm1Rig rig;
    const auto own = std::make_tuple(RegistryHive::CurrentUser, std::string(kRunKeyPath), std::string("Ambervale.exe"));
    rig.registry.values[own] = {"\"C:\\Program Files\\Ambervale\\Ambervale.exe\"", kRegSz};
    rig.registry.readOnlyHives = {RegistryHive::LocalMachine};  // a user without administrator rights
    rig.settings.values = {{"Windows Startup", "On"}, {"Minimized", "On"}};
    rig.policySource.machine = {{"StartWithWindows", Dword(0)}};
    rig.form.Form_Load();
    EXPECT_EQ(rig.window.check4, 0);
    EXPECT_FALSE(rig.window.check8Visible);
    EXPECT_EQ(rig.registry.values.count(own), 0u);
    EXPECT_TRUE(rig.held.held.count(HeldControl::Check4));
    rig.window.SetCheck4Value(1);  // a click on the held box
    EXPECT_EQ(rig.registry.values.count(own), 0u);

    rig.window.SetCheck4Value(0);
    rig.policySource.machine.clear();
    rig.form.Form_PolicyChanged();
    EXPECT_EQ(rig.window.check4, 1);
    EXPECT_TRUE(rig.window.check8Visible && rig.window.check8 == 1) << "Minimized stayed the user's";
    EXPECT_EQ(rig.registry.values.count(own), 1u) << "the value the policy removed is back";

    rig.policySource.user = {{"StartWithWindows", Dword(1)}};
    rig.form.Form_Load();
    EXPECT_EQ(rig.window.state, WindowState::Minimized) << "as a start from its own Run value would";
}

} // namespace
} // namespace ambervale
