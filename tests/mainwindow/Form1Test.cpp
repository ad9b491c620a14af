#include "mainwindow/Form1.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeForm1.h"
#include "mainwindow/Main.h"

namespace ambervale {
namespace {

using testing::FakeForm1Rig;

std::vector<std::string> BoxTexts(const testing::FakeMessageBoxes& boxes) {
    std::vector<std::string> texts;
    for (const auto& box : boxes.shown) texts.push_back(box.text);
    return texts;
}

TEST(Form1Load, FirstStartWithNoSettings) {
    FakeForm1Rig rig;
    rig.form.Form_Load();

    EXPECT_TRUE(rig.boxes.shown.empty()) << ::testing::PrintToString(BoxTexts(rig.boxes));
    EXPECT_EQ(rig.view.caption, "Ambervale");
    // The icon is set at step 106 and again with the tray's tip at step 184, each time once.
    EXPECT_EQ(rig.view.programIconSet, 1);
    EXPECT_EQ(std::count(rig.window.log.begin(), rig.window.log.end(), "program icon"), 1);
    EXPECT_EQ(rig.values.appTitle, "Ambervale");
    EXPECT_EQ(rig.view.logColumn, " Printer Status");
    EXPECT_EQ(rig.view.logColumnTwips, 20000);
    EXPECT_EQ(rig.list.selected, 2);
    EXPECT_EQ(rig.button.caption, "Turn Off Automatic Log");
    EXPECT_TRUE(rig.timer.Running());
    EXPECT_TRUE(rig.tray.InTray());
    EXPECT_EQ(rig.tray.TrayTip(), "Ambervale");
    EXPECT_EQ(rig.window.check4, 0);
    EXPECT_FALSE(rig.window.check8Visible);
    EXPECT_EQ(rig.window.state, WindowState::Normal);
    EXPECT_EQ(rig.values.historyFilePath, "C:\\Users\\pat\\AppData\\Local\\Temp\\Ambervale.txt");
    EXPECT_FALSE(rig.form.IsLoading());
    EXPECT_FALSE(rig.view.buttonFace) << "no skin file, so the window stays white";
    EXPECT_FALSE(rig.view.handCursor.has_value());
    // Loading reads the settings; it writes none of them and touches no Run value.
    EXPECT_TRUE(rig.settings.writes.empty());
    EXPECT_EQ(rig.registry.calls, 0);
}

TEST(Form1Load, ARunValueOfThisProgramChecksTheBoxAndBothOnStartsInTheTray) {
    FakeForm1Rig rig;
    rig.registry.values[{RegistryHive::LocalMachine, std::string(kRunKeyPath), "Ambervale.exe"}] = {
        "\"C:\\Program Files\\Ambervale\\Ambervale.exe\"", kRegSz};
    rig.settings.values["Windows Startup"] = "On";
    rig.settings.values["Minimized"] = "On";
    rig.form.Form_Load();
    EXPECT_EQ(rig.window.check4, 1);
    EXPECT_TRUE(rig.window.check8Visible);
    EXPECT_EQ(rig.registry.calls, 0) << "nothing written to the Run key";
    EXPECT_EQ(rig.window.state, WindowState::Minimized) << "both on: the program starts in the tray";
}

// Check4 at start shows whether a Run value starts this program; the stored choice follows; the Run key is only read.
struct StartupTruthCase {
    const char* name;
    RegistryHive hive;
    const char* valueName;
    const char* data;  // nullptr: no value
    const char* stored;
    int check4;
    const char* storedAfter;
};

class Form1StartupTruth : public ::testing::TestWithParam<StartupTruthCase> {};

TEST_P(Form1StartupTruth, Check4FollowsTheRunKeyAndTheStoredChoiceFollowsCheck4) {
    const StartupTruthCase& c = GetParam();
    FakeForm1Rig rig;
    if (c.data) rig.registry.values[{c.hive, std::string(kRunKeyPath), c.valueName}] = {c.data, kRegSz};
    rig.settings.values["Windows Startup"] = c.stored;
    rig.settings.values["Minimized"] = "On";
    rig.form.Form_Load();

    EXPECT_EQ(rig.window.check4, c.check4);
    EXPECT_EQ(rig.settings.values["Windows Startup"], c.storedAfter);
    EXPECT_EQ(rig.settings.values["Minimized"], "On");
    EXPECT_EQ(rig.registry.calls, 0) << "the Run key is only read";
    EXPECT_TRUE(rig.boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RunValues, Form1StartupTruth,
    ::testing::Values(
        StartupTruthCase{"RemovedByAnUninstall", RegistryHive::LocalMachine, "Ambervale.exe", nullptr, "On", 0, "Off"},
        StartupTruthCase{"MachineWideQuoted", RegistryHive::LocalMachine, "Ambervale.exe",
                         "\"C:\\Program Files\\Ambervale\\Ambervale.exe\"", "Off", 1, "On"},
        StartupTruthCase{"UsersOwnBareInOtherLetterCase", RegistryHive::CurrentUser, "Ambervale.exe",
                         "c:\\program files\\ambervale\\AMBERVALE.EXE", "Off", 1, "On"},
        StartupTruthCase{"AnotherCopyOfTheProgram", RegistryHive::LocalMachine, "Ambervale.exe",
                         "\"D:\\Tools\\Ambervale.exe\"", "On", 0, "Off"},
        StartupTruthCase{"AValueOfAnotherName", RegistryHive::CurrentUser, "Ambervale",
                         "\"C:\\Program Files\\Ambervale\\Ambervale.exe\"", "On", 0, "Off"}),
    [](const ::testing::TestParamInfo<StartupTruthCase>& info) { return std::string(info.param.name); });

TEST(Form1Load, AStoredChoiceThatCannotFollowStillLeavesCheck4ShowingTheRunKey) {
    FakeForm1Rig rig;
    rig.settings.values["Windows Startup"] = "On";
    rig.settings.failWrites = true;
    rig.form.Form_Load();
    EXPECT_EQ(rig.window.check4, 0);
    EXPECT_FALSE(rig.window.check8Visible);
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_EQ(rig.registry.calls, 0);
}

TEST(Form1Load, SkinAndCursorFilesChangeTheLookWhenPresent) {
    FakeForm1Rig rig;
    rig.environment.listed.insert("C:\\Program Files\\Ambervale\\x\\o.cjs");
    rig.files.files["C:\\Program Files\\Ambervale\\HAND-M.CUR"] = "cursor";
    rig.form.Form_Load();
    EXPECT_TRUE(rig.view.buttonFace);
    EXPECT_EQ(rig.view.handCursor, "C:\\Program Files\\Ambervale\\HAND-M.CUR");
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(Form1Load, ACorruptCursorIsReportedAtItsStepAndLoadingGoesOn) {
    FakeForm1Rig rig;
    rig.files.files["C:\\Program Files\\Ambervale\\HAND-M.CUR"] = "not a cursor";
    rig.view.corruptCursor = true;
    rig.form.Form_Load();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, ErrorBoxText("Invalid picture", "Form_Load", 130));
    EXPECT_TRUE(rig.tray.InTray());
    EXPECT_FALSE(rig.values.historyFilePath.empty());
}

TEST(Form1Load, TicksDuringAStartUpErrorBoxWaitUntilTheHistoryPathIsComposed) {
    FakeForm1Rig rig;
    rig.settings.values["OftenIndex"] = "1";  // every second, from step 182 on
    rig.window.failing = {"program icon"};    // a box at step 184
    rig.boxes.onShow = [&] {
        for (int tick = 0; tick < 3; ++tick) rig.form.Timer1_Timer();
    };
    std::vector<std::string> pathsOfEntries;
    rig.logger.onLog = [&] { pathsOfEntries.push_back(rig.values.historyFilePath); };
    rig.form.Form_Load();
    EXPECT_EQ(BoxTexts(rig.boxes), (std::vector<std::string>{ErrorBoxText("Window operation failed", "Form_Load", 184)}));
    EXPECT_TRUE(pathsOfEntries.empty()) << "no entry while loading";

    rig.form.Timer1_Timer();
    EXPECT_EQ(pathsOfEntries, (std::vector<std::string>{"C:\\Users\\pat\\AppData\\Local\\Temp\\Ambervale.txt"}));
}

TEST(Form1Load, TempUnsetPutsTheHistoryInTheDriveRoot) {
    FakeForm1Rig rig;
    rig.environment.temp.reset();
    rig.form.Form_Load();
    EXPECT_EQ(rig.values.historyFilePath, "\\Ambervale.txt");
}

TEST(Form1Load, HomePageOpensOnlyOnTheWinningDraw) {
    for (double fraction : {0.0, 0.05, 0.069, 0.07, 0.0799, 0.08, 0.999}) {
        FakeForm1Rig rig;
        rig.random.fraction = fraction;
        rig.form.Form_Load();
        const bool wins = fraction >= 0.06 && fraction < 0.07;
        ASSERT_EQ(rig.processes.started.size(), wins ? 1u : 0u) << fraction;
        EXPECT_EQ(rig.random.seeded, 1);
        if (wins) {
            EXPECT_EQ(rig.processes.started[0].program, SystemProgram::FileManager);
            EXPECT_EQ(rig.processes.started[0].arguments, "\"https://www.corvatek.example/\"");
            EXPECT_EQ(rig.processes.started[0].window, StartWindow::MinimizedFocus);
        }
    }
    FakeForm1Rig rig;
    rig.random.fraction = 0.065;
    rig.processes.fail = true;  // no file manager: reported, and loading goes on
    rig.form.Form_Load();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, ErrorBoxText("File not found", "Form_Load", 108));
    EXPECT_TRUE(rig.tray.InTray());
}

TEST(Form1Close, StopsTheTimerTakesTheIconOutAndYieldsOnce) {
    FakeForm1Rig rig;
    rig.form.Form_Load();
    const int pumpsBefore = rig.pump.calls;
    rig.form.Form_QueryUnload();
    EXPECT_FALSE(rig.timer.Running());
    EXPECT_FALSE(rig.tray.InTray());
    EXPECT_EQ(rig.trayPlatform.journal.back(), "restore 42") << "the window procedure goes back after the delete";
    EXPECT_EQ(rig.pump.calls, pumpsBefore + 1);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(Form1Close, EndsAutomaticLoggingForTheLogger) {
    FakeForm1Rig rig;
    rig.form.Form_Load();
    rig.form.Form_QueryUnload();
    EXPECT_EQ(rig.logger.switches, (std::vector<std::string>{"on: Log every 5 seconds", "off: Log every 5 seconds"}));
}

TEST(Form1Help, ShowsTheContactAddressUnderTheAppTitle) {
    FakeForm1Rig rig;
    rig.form.Form_Load();
    rig.form.PushButton11_Click();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, "Questions? Please contact Team Corvatek at https://www.corvatek.example/contact/");
    EXPECT_EQ(rig.boxes.shown[0].caption, "Ambervale");
    EXPECT_EQ(rig.boxes.shown[0].icon, BoxIcon::None);
    EXPECT_EQ(rig.boxes.shown[0].buttons, BoxButtons::Ok);
}

TEST(Form1Pointer, ButtonsShowTheHandTheRestTheArrowButNeverOverTheHourglass) {
    FakeForm1Rig rig;
    rig.form.PushButton_MouseMove();
    EXPECT_EQ(rig.pointer.pointer, PointerKind::Custom);
    rig.form.Background_MouseMove();
    EXPECT_EQ(rig.pointer.pointer, PointerKind::Default);
    rig.pointer.pointer = PointerKind::Hourglass;
    rig.form.PushButton_MouseMove();
    rig.form.Background_MouseMove();
    EXPECT_EQ(rig.pointer.pointer, PointerKind::Hourglass);
}

TEST(Form1Check4, DoesNothingWhileLoadingAndRegistersTheRunningProgramAfterwards) {
    FakeForm1Rig rig;
    rig.form.Form_Load();
    rig.window.SetCheck4Value(1);
    EXPECT_TRUE(rig.window.check8Visible);
    EXPECT_EQ(rig.settings.values["Windows Startup"], "On");
    EXPECT_GT(rig.registry.calls, 0);
}

TEST(Form1StartedAgain, BringsTheWindowOutOfTheTrayOrOnlyFocusesItWhenShown) {
    FakeForm1Rig rig;
    rig.form.Form_Load();
    rig.form.FinishStart();
    rig.window.state = WindowState::Minimized;
    rig.form.Form_Resize();
    ASSERT_FALSE(rig.window.visible);
    const std::size_t settingsWritten = rig.settings.writes.size();

    for (int start = 0; start < 2; ++start) {
        rig.window.log.clear();
        rig.form.Form_StartedAgain();
        EXPECT_EQ(rig.window.log, (std::vector<std::string>{"show", "focus"}));
        EXPECT_TRUE(rig.window.visible);
        EXPECT_FALSE(rig.minimise.TrayHidden());
    }
    EXPECT_EQ(rig.settings.writes.size(), settingsWritten);
    EXPECT_TRUE(rig.tray.InTray());
}

TEST(Form1StartedAgain, DuringALoadErrorBoxWaitsUntilTheWindowHasItsPlace) {
    FakeForm1Rig rig;
    rig.view.corruptCursor = true;  // a box at step 130, while loading goes on
    rig.files.files["C:\\Program Files\\Ambervale\\HAND-M.CUR"] = "not a cursor";
    rig.boxes.onShow = [&] { rig.form.Form_StartedAgain(); };
    rig.form.Form_Load();
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(std::count(rig.window.log.begin(), rig.window.log.end(), "show"), 0) << "nothing is shown while loading";

    rig.window.log.clear();
    rig.form.FinishStart();
    EXPECT_EQ(rig.window.log, (std::vector<std::string>{"show", "focus"}));
    rig.window.log.clear();
    rig.form.FinishStart();
    EXPECT_TRUE(rig.window.log.empty()) << "answered once";
}

TEST(AppTitle, LosesTheLastWordAndStaysWithinFortyCharacters) {
    EXPECT_EQ(AppTitleOf("Ambervale"), "Ambervale");
    EXPECT_EQ(AppTitleOf("Ambervale Printer Monitor"), "Ambervale Printer");
    EXPECT_EQ(AppTitleOf("A"), "A");
    // 45 characters: one cut leaves 39.
    EXPECT_EQ(AppTitleOf("Alpha Beta Gamma Delta Epsilon Zeta Eta Theta"), "Alpha Beta Gamma Delta Epsilon Zeta Eta");
    // 50 characters: the first cut leaves 45, still too long, so a second word goes.
    EXPECT_EQ(AppTitleOf("Alpha Beta Gamma Delta Epsilon Zeta Eta Theta Iota"),
              "Alpha Beta Gamma Delta Epsilon Zeta Eta");
}

TEST(HomePageDraw, MapsFractionsToOneToHundred) {
    EXPECT_EQ(DrawOneToHundred(0.0), 1);
    EXPECT_EQ(DrawOneToHundred(0.0699), 7);
    EXPECT_EQ(DrawOneToHundred(0.99999), 100);
    EXPECT_EQ(DrawOneToHundred(1.5), 100);
    EXPECT_EQ(DrawOneToHundred(-0.5), 1);
}

} // namespace
} // namespace ambervale
