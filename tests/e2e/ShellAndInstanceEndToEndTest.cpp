// A restart of the shell's taskbar, a second start of the program and the Restart Manager's close request, driven
// from outside the running program.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/SingleInstance.h"
#include "app/WinSingleInstance.h"
#include "tray/TrayPlatform.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinSquattedClaim.h"

namespace ambervale::e2e {
namespace {

// What a shell that restarts forgets: the icon, deleted from outside as the tray window and id 0 name it.
bool ForgetTrayIcon(HWND trayWindow) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = trayWindow;
    data.uID = 0;
    return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

std::size_t WindowsOfClass(const std::string& className) {
    return TopLevelWindows(0, [&](HWND hwnd) { return ClassNameOf(hwnd) == className; }).size();
}

class ShellAndInstance : public ::testing::Test {
protected:
    void SetUp() override { DeleteAllSettings(); }
    void TearDown() override { DeleteAllSettings(); }
};

TEST_F(ShellAndInstance, TaskbarCreatedPutsTheLostIconBackShownOrHiddenAndItStillBringsTheWindowBack) {
    AppProcess app(AmbervaleExe(), FreshTempFolder("taskbar"));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    HWND tray = WindowOfClass(app.Id(), "AmbervaleTrayWindow", 5000);
    ASSERT_NE(tray, nullptr);
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");

    for (const bool hidden : {false, true}) {
        if (hidden) {
            PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            ASSERT_TRUE(WaitUntilVisible(form, false, 5000));
        }
        ASSERT_TRUE(ForgetTrayIcon(tray)) << "hidden " << hidden;
        ASSERT_FALSE(TrayIconPresent(tray));
        PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return TrayIconPresent(tray); }, 10000)) << "hidden " << hidden;
    }
    PostMessageA(tray, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntilVisible(form, true, 8000)) << "a button release on the icon brings the window back";

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(ShellAndInstance, ASecondStartBringsTheHiddenWindowBackAndLeavesOneInstanceLoggingOnce) {
    SetSetting("OftenIndex", "1");  // every second
    SetSetting("StartStopState", "On");
    const std::string temp = FreshTempFolder("one-instance");
    const std::string history = temp + "\\Ambervale.txt";
    AppProcess first(AmbervaleExe(), temp);
    HWND form = first.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    HWND tray = WindowOfClass(first.Id(), "AmbervaleTrayWindow", 5000);
    ASSERT_NE(tray, nullptr);
    PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntilVisible(form, false, 5000));
    ASSERT_TRUE(WaitFor([&] { return !ReadLines(history).empty(); }, 10000));

    const std::vector<std::string> settingsBefore = {GetSetting("OftenIndex"), GetSetting("StartStopState"),
                                                     GetSetting("Windows Startup"), GetSetting("Minimized")};
    const std::size_t linesBefore = ReadLines(history).size();
    const DWORD secondStarted = GetTickCount();
    {
        AppProcess second(AmbervaleExe(), temp);
        ASSERT_TRUE(second.WaitForExit(30000)) << "the second start ends by itself";
        // Recorded, not judged: how long a second start takes to hand over and end.
        RecordProperty("second_start_ms", static_cast<int>(GetTickCount() - secondStarted));
        EXPECT_EQ(second.ExitCode(), 0u);
    }
    EXPECT_TRUE(WaitUntilVisible(form, true, 8000)) << "the running window comes out of the tray";
    EXPECT_EQ(WindowsOfClass("AmbervaleForm1"), 1u);
    EXPECT_EQ(WindowsOfClass("AmbervaleTrayWindow"), 1u);
    EXPECT_TRUE(TrayIconPresent(tray));

    // Four more entries of logging every second: one copy writes them in about four seconds, two would write them
    // in half the time, and the same line twice.
    EXPECT_TRUE(WaitFor([&] { return ReadLines(history).size() >= linesBefore + 4; }, 30000));
    const std::vector<std::string> lines = ReadLines(history);
    const DWORD seconds = (GetTickCount() - secondStarted) / 1000;
    EXPECT_LE(lines.size() - linesBefore, seconds + 1) << "lines in " << seconds << " s";
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size());
    EXPECT_EQ(settingsBefore, (std::vector<std::string>{GetSetting("OftenIndex"), GetSetting("StartStopState"),
                                                        GetSetting("Windows Startup"), GetSetting("Minimized")}));

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(8000));
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(ShellAndInstance, AClaimNameTakenFirstByAnotherAccountDoesNotKeepTheProgramFromStarting) {
    const auto squatted = testing::SquatClaimName(0, "D:");
    ASSERT_TRUE(squatted);
    AppProcess app(AmbervaleExe(), FreshTempFolder("squatted"));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr) << "the program started";
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(ShellAndInstance, EveryClaimNameHeldByAnotherAccountRefusesTheStartWithABox) {
    std::vector<win::UniqueKernelObject> squatted;
    for (int attempt = 0; attempt < win::kInstanceClaimNames; ++attempt) {
        squatted.push_back(testing::SquatClaimName(attempt, attempt % 2 ? "D:" : "D:(A;;GA;;;WD)"));
        ASSERT_TRUE(squatted.back());
    }
    const std::string temp = FreshTempFolder("all-squatted");
    AppProcess app(AmbervaleExe(), temp);
    const HWND box = WaitForErrorBox(app.Id(), 60000, "Ambervale");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), kNamesHeldByAnotherAccountText);
    EXPECT_EQ(WindowOfClass(app.Id(), "AmbervaleForm1"), nullptr) << "no window, so no entry either";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
    EXPECT_EQ(app.ExitCode(), 1u);
}

TEST_F(ShellAndInstance, ASecondStartThatARunningCopyDoesNotAnswerSaysSoInABox) {
    // This test holds the claim as a copy that never shows a window would.
    win::WinInstanceServices silentCopy;
    ASSERT_EQ(silentCopy.ClaimInstance(), InstanceClaim::Claimed);
    AppProcess second(AmbervaleExe(), FreshTempFolder("silent-copy"));
    const HWND box = WaitForErrorBox(second.Id(), 60000, "Ambervale");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), kRunningInstanceSilentText);
    EXPECT_EQ(WindowOfClass(second.Id(), "AmbervaleForm1"), nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(second.WaitForExit(8000));
    EXPECT_EQ(second.ExitCode(), 1u);
}

TEST_F(ShellAndInstance, TheRestartManagersCloseRequestEndsTheProgramAsItsCloseButtonDoes) {
    AppProcess app(AmbervaleExe(), FreshTempFolder("restart-manager"));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);

    // What the Restart Manager sends to a program whose files an installer is about to replace.
    EXPECT_EQ(SendMessageA(form, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    SendMessageA(form, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ExitCode(), 0u) << "it ended by itself, through its close sequence, not killed";
}

} // namespace
} // namespace ambervale::e2e
