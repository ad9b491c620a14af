// Minimising to the notification area, coming back from it, starting hidden there, and starting with Windows,
// driven from outside the running program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinTestRegistry.h"
#include "mainwindow/Form1Layout.h"
#include "startup/RegStuff.h"
#include "tray/TrayPlatform.h"

namespace ambervale::e2e {
namespace {

// The program's Run value in the build's own view, or "<absent>".
std::string RunValue(HKEY hive) { return testing::TextValue(hive, std::string(kRunKeyPath), "Ambervale.exe"); }

void DeleteRunValues() {
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        testing::DeleteValue(hive, std::string(kRunKeyPath), "Ambervale.exe");
    }
}

class TrayAndStartup : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteAllSettings();
        DeleteRunValues();
    }
    void TearDown() override {
        DeleteAllSettings();
        DeleteRunValues();
    }
};

TEST_F(TrayAndStartup, MinimisingHidesToTheTrayAndAButtonReleaseOnTheIconBringsItBack) {
    AppProcess app(AmbervaleExe(), FreshTempFolder("tray"));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    HWND tray = WindowOfClass(app.Id(), "AmbervaleTrayWindow", 5000);
    ASSERT_NE(tray, nullptr);

    for (UINT release : {WM_LBUTTONUP, WM_RBUTTONUP}) {
        PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntilVisible(form, false, 5000)) << "minimising hides the window";
        PostMessageA(tray, kTrayCallbackMessage, 0, release);
        ASSERT_TRUE(WaitUntilVisible(form, true, 8000)) << "a button release on the icon brings it back";
        EXPECT_FALSE(IsIconic(form)) << "it comes back in its normal size, not as a taskbar button";
    }
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(TrayAndStartup, Check4ShowsWhetherARunValueStartsTheProgramAndBothOnStartItHiddenInTheTray) {
    // As after an uninstall that removed the Run value: the stored choice says "On", but nothing starts the program.
    SetSetting("Windows Startup", "On");
    SetSetting("Minimized", "On");
    {
        AppProcess app(AmbervaleExe(), FreshTempFolder("startup-removed"));
        HWND form = app.WaitForMainWindow(30000);
        ASSERT_NE(form, nullptr) << "shown: without a Run value there is no start in the tray";
        EXPECT_EQ(SendMessageA(GetDlgItem(form, kCheck4), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, kCheck8)));
        EXPECT_EQ(GetSetting("Windows Startup"), "Off");
        EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<absent>") << "nothing written at start";
        EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<absent>");
        PostMessageA(form, WM_CLOSE, 0, 0);
        ASSERT_TRUE(app.WaitForExit(8000));
    }

    // The user's own Run value, bare and in other letters, names the program.
    char fullPath[MAX_PATH] = {};
    ASSERT_GT(GetFullPathNameA(AmbervaleExe().c_str(), MAX_PATH, fullPath, nullptr), 0u);
    CharLowerA(fullPath);
    testing::SetText(testing::CreateKey(HKEY_CURRENT_USER, std::string(kRunKeyPath)), "Ambervale.exe", fullPath);
    AppProcess app(AmbervaleExe(), FreshTempFolder("hidden"));
    HWND tray = WindowOfClass(app.Id(), "AmbervaleTrayWindow", 30000);
    ASSERT_NE(tray, nullptr);
    HWND form = WindowOfClass(app.Id(), "AmbervaleForm1", 5000);
    ASSERT_NE(form, nullptr);
    Sleep(1500);
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_EQ(SendMessageA(GetDlgItem(form, kCheck4), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(GetDlgItem(form, kCheck8), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(GetSetting("Windows Startup"), "On");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), fullPath);
    PostMessageA(tray, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntilVisible(form, true, 8000));
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
}

TEST_F(TrayAndStartup, Check4RegistersTheRunningProgramQuotedAndUncheckingUndoesIt) {
    AppProcess app(AmbervaleExe(), FreshTempFolder("startup"));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    HWND check4 = GetDlgItem(form, kCheck4);
    HWND check8 = GetDlgItem(form, kCheck8);

    SendMessageA(check4, BM_CLICK, 0, 0);
    EXPECT_EQ(GetSetting("Windows Startup"), "On");
    EXPECT_TRUE(IsWindowVisible(check8));
    std::string registered = RunValue(HKEY_LOCAL_MACHINE);
    if (registered == "<absent>") registered = RunValue(HKEY_CURRENT_USER);
    ASSERT_GE(registered.size(), 2u) << registered;
    EXPECT_EQ(registered.front(), '"');
    EXPECT_EQ(registered.back(), '"');
    EXPECT_NE(registered.find("\\app\\Ambervale.exe\""), std::string::npos) << registered;

    SendMessageA(check8, BM_CLICK, 0, 0);
    EXPECT_EQ(GetSetting("Minimized"), "On");
    SendMessageA(check4, BM_CLICK, 0, 0);
    EXPECT_EQ(GetSetting("Windows Startup"), "Off");
    EXPECT_EQ(GetSetting("Minimized"), "Off");
    EXPECT_FALSE(IsWindowVisible(check8));
    EXPECT_EQ(SendMessageA(check8, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<absent>");

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(8000));
}

} // namespace
} // namespace ambervale::e2e
