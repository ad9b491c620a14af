#include "tray/MinimiseToTray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTrayHostWindow.h"
#include "fakes/FakeTrayPlatform.h"

namespace ambervale {
namespace {

using testing::FakeMessageBoxes;
using testing::FakeSettingsStore;
using testing::FakeTrayHostWindow;
using testing::FakeTrayPlatform;
using Journal = std::vector<std::string>;
using Writes = std::vector<std::pair<std::string, std::string>>;

constexpr WindowHandle kTrayWindow = 7;
constexpr std::uint32_t kLeftUp = 0x202;
constexpr std::uint32_t kRightUp = 0x205;
constexpr std::uint32_t kBalloonClicked = 0x405;

class TrayBehaviour : public ::testing::Test {
protected:
    TrayBehaviour() { window.onCheck8Click = [this] { behaviour.Check8_Click(); }; }

    void Load() {
        GuardedSteps steps(boxes, "Form_Load");
        behaviour.RunLoadSteps(steps, [this] { return startsWithWindows; });
    }

    // The window is minimised by the user and reports it; the main loop then has its turn.
    void Minimise() {
        window.state = WindowState::Minimized;
        behaviour.Form_Resize();
        behaviour.ShowDueBalloon();
    }

    int BalloonsShown() const {
        int shown = 0;
        for (const auto& call : platform.calls) {
            if (call.record.uFlags == kNifInfo && call.record.szInfo[0] != '\0') ++shown;
        }
        return shown;
    }

    FakeTrayPlatform platform;
    cSysTray cSysTray1{kTrayWindow, platform.Services()};
    FakeTrayHostWindow window;
    FakeSettingsStore settings;
    FakeMessageBoxes boxes;
    bool startsWithWindows = false;  // what the Run key says at start: Check4's value
    MinimiseToTray behaviour{window, cSysTray1, settings};
};

TEST_F(TrayBehaviour, FirstStartPutsTheTippedIconInTheTrayAndShowsTheWindow) {
    Load();

    EXPECT_EQ(platform.journal, (Journal{"install 7", "add"}));
    EXPECT_EQ(std::string(platform.calls[0].record.szTip.data()), "Ambervale");
    EXPECT_EQ(platform.calls[0].record.uFlags & kNifTip, kNifTip);
    EXPECT_EQ(window.log, (Journal{"program icon"}));
    EXPECT_EQ(window.check4, kUnchecked);
    EXPECT_EQ(window.check8, kUnchecked);
    EXPECT_FALSE(window.check8Visible);
    EXPECT_EQ(window.state, WindowState::Normal);
    EXPECT_TRUE(settings.writes.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

struct StartCase {
    bool startsWithWindows;
    const char* minimized;
    int check4;
    int check8;
    bool check8Visible;
    WindowState state;
};

class StartMinimisedRule : public TrayBehaviour, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartMinimisedRule, FollowsBothSettings) {
    const StartCase& c = GetParam();
    startsWithWindows = c.startsWithWindows;
    settings.values["Minimized"] = c.minimized;
    Load();

    EXPECT_EQ(window.check4, c.check4);
    EXPECT_EQ(window.check8, c.check8);
    EXPECT_EQ(window.check8Visible, c.check8Visible);
    EXPECT_EQ(window.state, c.state);
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StartMinimisedRule,
    ::testing::Values(StartCase{true, "On", 1, 1, true, WindowState::Minimized},
                      StartCase{true, "Off", 1, 0, true, WindowState::Normal},
                      StartCase{false, "On", 0, 1, false, WindowState::Normal},
                      StartCase{false, "Off", 0, 0, false, WindowState::Normal},
                      StartCase{true, "on", 1, 0, true, WindowState::Normal},
                      StartCase{true, "ON", 1, 0, true, WindowState::Normal},
                      StartCase{true, "On ", 1, 0, true, WindowState::Normal},
                      StartCase{true, "", 1, 0, true, WindowState::Normal}));

TEST_F(TrayBehaviour, StartingMinimisedHidesTheWindowWithTheBalloonWhenItReportsTheState) {
    startsWithWindows = true;
    settings.values["Minimized"] = "On";
    Load();
    behaviour.Form_Resize();
    behaviour.ShowDueBalloon();

    EXPECT_FALSE(window.visible);
    EXPECT_EQ(window.state, WindowState::Normal);
    EXPECT_TRUE(behaviour.TrayHidden());
    EXPECT_EQ(BalloonsShown(), 1);
}

TEST_F(TrayBehaviour, MinimisingHidesTheWindowAndShowsTheBalloon) {
    Load();
    platform.calls.clear();
    bool hiddenDuringWait = false;
    platform.onDispatch = [&] { hiddenDuringWait = behaviour.TrayHidden() && !window.visible; };
    Minimise();

    EXPECT_EQ(window.log, (Journal{"program icon", "hide", "normal"}));
    EXPECT_TRUE(hiddenDuringWait);
    ASSERT_EQ(platform.calls.size(), 2u);  // the balloon and, after the wait, its hide
    const NotifyIconRecord& r = platform.calls[0].record;
    EXPECT_EQ(r.uFlags, kNifInfo);
    EXPECT_EQ(std::string(r.szInfoTitle.data()), "Ambervale");
    EXPECT_EQ(std::string(r.szInfo.data()),
              "has been minimized to the system tray.\r\n"
              "Click on the blue 'C' icon (C for Corvatek) to bring the software back.");
    EXPECT_EQ(r.uTimeout, 5000u);
    EXPECT_EQ(platform.waits, (std::vector<std::int64_t>{5000}));
}

TEST_F(TrayBehaviour, TheBalloonWaitsForTheMainLoopSoAnEntrysWaitIsNeverHeldUpByIt) {
    Load();
    platform.calls.clear();
    window.state = WindowState::Minimized;
    behaviour.Form_Resize();  // dispatched inside a tick's entry, say
    EXPECT_FALSE(window.visible) << "hidden at once";
    EXPECT_TRUE(platform.calls.empty()) << "no balloon, and no wait, inside the handler that was running";
    EXPECT_TRUE(platform.waits.empty());

    behaviour.ShowDueBalloon();
    EXPECT_EQ(BalloonsShown(), 1);
    EXPECT_EQ(platform.waits, (std::vector<std::int64_t>{5000}));
    behaviour.ShowDueBalloon();
    EXPECT_EQ(BalloonsShown(), 1) << "one balloon for one hiding";

}

TEST_F(TrayBehaviour, AWindowBroughtBackBeforeTheMainLoopsTurnGetsItsBalloonAtTheNextHiding) {
    Load();
    window.state = WindowState::Minimized;
    behaviour.Form_Resize();
    behaviour.BringBack();
    behaviour.ShowDueBalloon();
    EXPECT_EQ(BalloonsShown(), 0) << "no balloon over a shown window";
    Minimise();
    EXPECT_EQ(BalloonsShown(), 1);
}

TEST_F(TrayBehaviour, MinimisingTwiceHidesBothTimesButShowsTheBalloonOnce) {
    Load();
    Minimise();
    cSysTray1.HandleTrayMessage(kLeftUp, 0);
    EXPECT_TRUE(window.visible);
    Minimise();

    EXPECT_FALSE(window.visible);
    EXPECT_EQ(window.state, WindowState::Normal);
    EXPECT_TRUE(behaviour.TrayHidden());
    EXPECT_EQ(BalloonsShown(), 1);
}

TEST_F(TrayBehaviour, OtherResizesDoNothing) {
    Load();
    window.log.clear();
    for (WindowState state : {WindowState::Normal, WindowState::Maximized}) {
        window.state = state;
        behaviour.Form_Resize();
    }
    EXPECT_TRUE(window.log.empty());
    EXPECT_FALSE(behaviour.TrayHidden());
    EXPECT_EQ(platform.calls.size(), 1u);
}

TEST_F(TrayBehaviour, ButtonReleaseOnTheIconBringsTheWindowBack) {
    Load();
    for (std::uint32_t release : {kLeftUp, kRightUp}) {
        Minimise();
        window.log.clear();
        cSysTray1.HandleTrayMessage(release, 0);

        EXPECT_EQ(window.log, (Journal{"show", "focus"})) << release;
        EXPECT_TRUE(window.visible);
        EXPECT_FALSE(behaviour.TrayHidden());
    }
}

TEST_F(TrayBehaviour, ReleaseDuringTheBalloonWaitShowsTheWindowAtOnce) {
    Load();
    platform.stepMilliseconds = 1000;
    int turns = 0;
    bool visibleBeforeWaitEnded = false;
    platform.onDispatch = [&] {
        ++turns;
        if (turns == 2) cSysTray1.HandleTrayMessage(kLeftUp, 0);
        if (turns == 3) visibleBeforeWaitEnded = window.visible;
    };
    Minimise();

    EXPECT_TRUE(visibleBeforeWaitEnded);
    EXPECT_EQ(turns, 5);
    EXPECT_TRUE(window.visible);
    EXPECT_FALSE(behaviour.TrayHidden());
}

TEST_F(TrayBehaviour, ClickingTheBalloonEndsTheWaitAndTheWindowStaysHidden) {
    Load();
    platform.calls.clear();
    platform.stepMilliseconds = 500;
    platform.onDispatch = [&] { cSysTray1.HandleTrayMessage(kBalloonClicked, 0); };
    Minimise();

    EXPECT_EQ(platform.waits.size(), 1u);
    EXPECT_EQ(platform.calls.size(), 1u);  // no hide after a click
    EXPECT_FALSE(window.visible);
    EXPECT_TRUE(behaviour.TrayHidden());
}

TEST_F(TrayBehaviour, Check8ClickStoresTheChoice) {
    window.check8 = kChecked;
    behaviour.Check8_Click();
    window.check8 = kUnchecked;
    behaviour.Check8_Click();
    EXPECT_EQ(settings.writes, (Writes{{"Minimized", "On"}, {"Minimized", "Off"}}));
}

TEST_F(TrayBehaviour, Check8ClickSurvivesAStoreThatCannotWrite) {
    settings.failWrites = true;
    settings.values["Minimized"] = "Off";
    window.check8 = kChecked;
    EXPECT_NO_THROW(behaviour.Check8_Click());
    EXPECT_EQ(window.check8, kChecked);
    EXPECT_EQ(settings.values["Minimized"], "Off");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TrayBehaviour, FailedConditionTestsCountAsPassed) {
    settings.values["Minimized"] = "On";
    window.failing = {"check4"};
    window.check8Visible = false;
    Load();

    ASSERT_EQ(boxes.shown.size(), 2u);  // step 188 sets Check4, step 192 reads it
    EXPECT_EQ(boxes.shown[1].text,
              "Window operation failed\r\nin Lumenquay2021/08/31.Form1.Form_Load at line 192\r\r"
              "Please email screenshot of this message to support@corvatek.example");
    EXPECT_TRUE(window.check8Visible);
    EXPECT_EQ(window.state, WindowState::Minimized);
}

TEST_F(TrayBehaviour, FailedStepsAreReportedUnderTheirNumbersAndLoadingGoesOn) {
    startsWithWindows = true;
    window.failing = {"program icon", "check8 visible"};
    Load();

    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[0].text.find("Form_Load at line 184\r"), std::string::npos);
    EXPECT_NE(boxes.shown[1].text.find("Form_Load at line 194\r"), std::string::npos);
    EXPECT_TRUE(cSysTray1.InTray());
    EXPECT_EQ(window.check4, kChecked);
}

TEST_F(TrayBehaviour, CloseStepTakesTheIconOut) {
    Load();
    GuardedSteps steps(boxes, "Form_QueryUnload");
    behaviour.RunCloseSteps(steps);
    EXPECT_EQ(platform.journal, (Journal{"install 7", "add", "delete", "restore 7"}));
    EXPECT_FALSE(cSysTray1.InTray());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TrayBehaviour, StopsReceivingTrayEventsWhenGone) {
    FakeTrayHostWindow otherWindow;
    {
        MinimiseToTray shortLived(otherWindow, cSysTray1, settings);
        EXPECT_EQ(cSysTray1.EventSink(), &shortLived);
    }
    EXPECT_EQ(cSysTray1.EventSink(), nullptr);
    cSysTray1.HandleTrayMessage(kLeftUp, 0);
    EXPECT_TRUE(otherWindow.log.empty());
}

} // namespace
} // namespace ambervale
