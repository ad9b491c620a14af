// Drives the real Ambervale.exe from outside, the way a user would: settings in the registry, the window found
// by its caption, its controls read and clicked through window messages, the history file read from disk.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "mainwindow/Form1Layout.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "fakes/WinTestPrinter.h"

namespace ambervale::e2e {
namespace {

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteAllSettings();
        // A run killed half-way may have left the queue offline: the setting outlives the process.
        ambervale::testing::SetDefaultPrinterWorkOffline(false);
    }
    void TearDown() override { DeleteAllSettings(); }
};

TEST_F(EndToEnd, FirstStartShowsDefaultsLogsAndClosesCleanly) {
    const std::string temp = FreshTempFolder("first");
    AppProcess app(AmbervaleExe(), temp);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr) << "the main window did not appear";

    HWND listView1 = GetDlgItem(form, kListView1);
    HWND listView2 = GetDlgItem(form, kListView2);
    EXPECT_EQ(ListViewSelected(listView2), 1) << "row 2, every 5 seconds, is the default";
    EXPECT_EQ(ControlText(GetDlgItem(form, kPushButton5)), "Turn Off Automatic Log");
    EXPECT_EQ(SendMessageA(GetDlgItem(form, kCheck4), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(form, kCheck8)));
    EXPECT_EQ(ListViewCount(listView1), 0);

    HWND tray = WindowOfClass(app.Id(), "AmbervaleTrayWindow");
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(TrayIconPresent(tray));

    // The first entry of "every 5 seconds" comes on the fifth tick.
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(listView1) > 0; }, 30000));
    ASSERT_EQ(ListViewCount(listView1), 1);
    const std::string row = RemoteListViewText(app.Process(), listView1, 0);
    const std::string queue = "Ambervale_Test";
    EXPECT_NE(row.find(" Printer Status = Ready; Printer Name = " + queue + "; Printer Driver Name = "),
              std::string::npos)
        << row;
    EXPECT_NE(row.find("; Printer Port Name = CUPS:" + queue + "; "), std::string::npos) << row;
    const auto lines = ReadLines(temp + "\\Ambervale.txt");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(lines[0].find(" Printer Status")), row.substr(row.find(" Printer Status")));

    SaveWindowBitmap(form, BuildFolder() + "\\ambervale-e2e.bmp");

    const DWORD closeStart = GetTickCount();
    PostMessageA(form, WM_CLOSE, 0, 0);
    // Bounded only so a hang cannot stop the run; the time it took is recorded, not judged.
    ASSERT_TRUE(app.WaitForExit(5000));
    RecordProperty("close_ms", static_cast<int>(GetTickCount() - closeStart));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_FALSE(TrayIconPresent(tray));
}

TEST_F(EndToEnd, LogsEverySecondAndButtonsSwitchAndLogNow) {
    SetSetting("OftenIndex", "1");
    SetSetting("StartStopState", "On");
    const std::string temp = FreshTempFolder("every-second");
    const DWORD started = GetTickCount();
    AppProcess app(AmbervaleExe(), temp);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    HWND frame1 = GetDlgItem(form, kFrame1);
    HWND button5 = GetDlgItem(form, kPushButton5);
    HWND listView1 = GetDlgItem(form, kListView1);
    EXPECT_EQ(ListViewSelected(GetDlgItem(form, kListView2)), 0);

    ASSERT_TRUE(WaitFor([&] { return ReadLines(temp + "\\Ambervale.txt").size() >= 2; }, 30000));
    // A busy machine may log less often, never more: at most one line for each second since the start.
    const std::size_t logged = ReadLines(temp + "\\Ambervale.txt").size();
    EXPECT_LE(logged, (GetTickCount() - started) / 1000 + 1);
    EXPECT_EQ(ControlText(frame1).rfind("Next log will occur in ", 0), 0u) << ControlText(frame1);

    SendMessageA(button5, BM_CLICK, 0, 0);
    EXPECT_EQ(ControlText(button5), "Turn On Automatic Log");
    EXPECT_EQ(GetSetting("StartStopState"), "Off");
    // An entry that the click came in the middle of may still finish; after it, none comes.
    const auto lines = [&] { return ReadLines(temp + "\\Ambervale.txt").size(); };
    Sleep(1000);
    const std::size_t linesWhenOff = lines();
    Sleep(2500);  // long enough for a running schedule to log twice
    EXPECT_EQ(lines(), linesWhenOff) << "no entries while logging is off";

    SendMessageA(GetDlgItem(form, kPushButton6), BM_CLICK, 0, 0);
    EXPECT_EQ(lines(), linesWhenOff + 1) << "log now makes its entry before the click returns";
    // The list, empty at the start, has a row for every line; it learns its count at its next turn.
    EXPECT_TRUE(WaitFor([&] { return ListViewCount(listView1) == static_cast<int>(linesWhenOff) + 1; }, 10000));

    SendMessageA(button5, BM_CLICK, 0, 0);
    EXPECT_EQ(ControlText(button5), "Turn Off Automatic Log");
    EXPECT_EQ(GetSetting("StartStopState"), "On");

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(5000));
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(EndToEnd, ChosenIntervalAndOffStateComeBackAtTheNextStart) {
    const std::string temp = FreshTempFolder("restore");
    {
        AppProcess app(AmbervaleExe(), temp);
        HWND form = app.WaitForMainWindow(30000);
        ASSERT_NE(form, nullptr);
        HWND listView2 = GetDlgItem(form, kListView2);
        // Choosing the row with the keyboard's effect (a selection change) counts as choosing it.
        SetFocus(listView2);
        SendMessageA(listView2, WM_KEYDOWN, VK_END, 0);  // the list tells the window before this returns
        SendMessageA(GetDlgItem(form, kPushButton5), BM_CLICK, 0, 0);
        EXPECT_EQ(GetSetting("StartStopState"), "Off");
        PostMessageA(form, WM_CLOSE, 0, 0);
        ASSERT_TRUE(app.WaitForExit(5000));
    }
    EXPECT_EQ(GetSetting("OftenIndex"), "12");
    AppProcess again(AmbervaleExe(), temp);
    HWND form = again.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(ListViewSelected(GetDlgItem(form, kListView2)), 11);
    EXPECT_EQ(ControlText(GetDlgItem(form, kPushButton5)), "Turn On Automatic Log");
    EXPECT_EQ(ControlText(GetDlgItem(form, kFrame1)), "Automatic Log is Turned Off.");
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(again.WaitForExit(5000));
}

} // namespace
} // namespace ambervale::e2e
