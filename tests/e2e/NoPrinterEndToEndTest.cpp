// Run in an environment without any printer: Windows has no default printer at all.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/ErrorReport.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"

namespace ambervale::e2e {
namespace {

TEST(NoPrinter, LoggingEverySecondShowsOneBoxAtATimeAndGoesOn) {
    DeleteAllSettings();
    SetSetting("OftenIndex", "1");
    const std::string temp = FreshTempFolder("no-printer");
    AppProcess app(AmbervaleExe(), temp);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);

    HWND box = WaitForErrorBox(app.Id(), 10000);
    ASSERT_NE(box, nullptr) << "an entry without a default printer is reported";
    // The box's text is its static control with the id 0xFFFF.
    EXPECT_EQ(ControlText(GetDlgItem(box, 0xFFFF)), ErrorBoxText("No default printer", "Timer1", 126));
    // The timer waits while the box is open: seconds pass, and still only one box.
    for (int i = 0; i < 10; ++i) {
        Sleep(300);
        EXPECT_EQ(ErrorBoxes(app.Id()).size(), 1u);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); }, 5000);
    HWND next = WaitForErrorBox(app.Id(), 10000);
    EXPECT_NE(next, nullptr) << "logging goes on after the box";
    EXPECT_TRUE(ReadLines(temp + "\\Ambervale.txt").empty()) << "no line without a printer";

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(5000));
    EXPECT_EQ(app.ExitCode(), 0u);
    DeleteAllSettings();
}

} // namespace
} // namespace ambervale::e2e
