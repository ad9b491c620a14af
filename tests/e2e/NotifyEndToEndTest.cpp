// Told when the printer needs you, read back from Wine: the tray icon from the screen (its taskbar's right end), the
// notifications from its balloons (tooltip windows), the events from its debug output. And the icon's menu.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "e2e/EventCapture.h"
#include "e2e/LoggingEverySecond.h"
#include "fakes/WinTestTcpIpPort.h"
#include "tray/TrayPlatform.h"

namespace ambervale::e2e {
namespace {

// The red pixels of the notification area (the needs-a-person-now badge), the program's icon the world's only one.
int RedInTheTray() {
    RECT r{};
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &r);
    HDC screen = GetDC(nullptr);
    int red = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.right - 40; x < r.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            red += GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80 ? 1 : 0;
        }
    }
    ReleaseDC(nullptr, screen);
    return red;
}

class NotifyLongRun : public LoggingEverySecond {
protected:
    // The printer answers as the agent's printer of that community; the port's key is read at every entry.
    void SetAgent(const char* community) {
        const char* agent = std::getenv("AMBERVALE_SNMP_AGENT");
        ASSERT_NE(agent, nullptr) << "needs the world with the SNMP agent (testenv.sh --snmp)";
        const std::string portName = std::string("IP_") + agent;
        if (!port_) port_ = std::make_unique<ambervale::testing::WithTcpIpPort>(portName);
        ASSERT_TRUE(port_->SetSnmpPort(agent, community, true));
        if (!printerPort_) printerPort_ = std::make_unique<ambervale::testing::WithDefaultPrinterPort>(portName);
        ASSERT_TRUE(printerPort_->Set()) << "the spooler refused the port";
    }
    // Waits for the condition, noting every balloon (each notification is a tooltip window of its own) meanwhile.
    bool Watching(const std::function<bool()>& condition) {
        return WaitFor([&] {
            for (HWND w : TopLevelWindows(0, [](HWND w) { return ClassNameOf(w) == TOOLTIPS_CLASSA; })) {
                char text[512] = {};
                DWORD_PTR length = 0;
                SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), 0, 2000, &length);
                if (IsWindowVisible(w) && (GetWindowLongA(w, GWL_STYLE) & TTS_BALLOON) && *text) balloons_[w] = text;
            }
            return condition();
        }, kBound);
    }
    long Balloons(const std::string& start) const {
        return std::count_if(balloons_.begin(), balloons_.end(), [&](auto& b) { return !b.second.rfind(start, 0); });
    }

    // The printer goes off line (its agent answers as `offLine`) and is ready again: the icon shows it, one
    // notification comes with the printer's words (`says`; none from an agent without an alert table), one more when
    // it is ready, and the Event Log's change carries the same words.
    void ExpectToldOfOffLine(const char* offLine, const std::string& says) {
        const std::string output = OwnOutputFile();
        ASSERT_FALSE(output.empty()) << "run through tools/wine-exec.sh, which names the output file";
        RegisterProgramEventSource();
        ASSERT_NO_FATAL_FAILURE(SetAgent("ready"));
        const std::size_t from = TextFrom(output, 0).size();
        SetEnvironmentVariableA("WINEDEBUG", kEventLogDebugChannels);
        ASSERT_NO_FATAL_FAILURE(Start("notify"));
        SetEnvironmentVariableA("WINEDEBUG", "-all");
        ASSERT_TRUE(Watching([&] { return RowCount() >= 2; }));
        EXPECT_EQ(RedInTheTray(), 0) << "ready: the blue 'C' alone";

        ASSERT_NO_FATAL_FAILURE(SetAgent(offLine));
        ASSERT_TRUE(Watching([&] { return Holds(LastRow(), "Status = Off Line  ;") && RedInTheTray() > 8; }));
        ASSERT_TRUE(Watching([&] { return Balloons("Since ") == 1; })) << "one notification";
        CreateDirectoryA((BuildFolder() + "\\artefacts").c_str(), nullptr);
        EXPECT_TRUE(SaveWindowBitmap(GetDesktopWindow(), BuildFolder() + "\\artefacts\\notify-off-line.bmp"));
        for (const auto& [balloon, text] : balloons_) {
            EXPECT_EQ(Holds(text, "\r\nThe printer says: " + says), !says.empty()) << text;
        }
        const int rows = RowCount();
        ASSERT_TRUE(Watching([&] { return RowCount() >= rows + 4; }));
        ASSERT_NO_FATAL_FAILURE(SetAgent("ready"));
        ASSERT_TRUE(Watching([&] { return Balloons("Ready again after ") == 1 && RedInTheTray() == 0; }));
        EXPECT_EQ(Balloons("Since "), 1) << "the entries that went on showing the error told nothing more";
        Close();
        RemoveProgramEventSource();

        std::vector<std::vector<std::string>> problems;
        for (const LoggedEvent& event : LoggedEvents(TextFrom(output, from))) {
            if (event.id == 200) problems.push_back(event.strings);
        }
        ASSERT_EQ(problems.size(), 1u);
        ASSERT_EQ(problems[0].size(), 8u);
        EXPECT_EQ(problems[0][1], "Off Line");
        EXPECT_EQ(problems[0][7], says.empty() ? "" : "\\r\\nThe printer says: " + says);
    }

    std::unique_ptr<ambervale::testing::WithTcpIpPort> port_;
    std::unique_ptr<ambervale::testing::WithDefaultPrinterPort> printerPort_;
    std::map<HWND, std::string> balloons_;
};

TEST_F(NotifyLongRun, APrinterThatStopsAnsweringChangesTheIconAndIsToldOnceThenOnceMoreWhenReady) {
    ExpectToldOfOffLine("silent", "");
}

// An Epson off line whose alert table says why (and that it sleeps, which names no problem).
TEST_F(NotifyLongRun, APrinterOffLineIsToldInItsOwnWordsInTheNotificationAndTheEvent) {
    ExpectToldOfOffLine("maintenance-box",
                        "The Maintenance Box is at the end of its service life. You need to replace it.");
}

TEST(NotifyMenu, ARightButtonReleaseBringsTheWindowBackThenTheMenuWhoseItemTurnsNotificationsOff) {
    DeleteAllSettings();
    AppProcess app(AmbervaleExe(), FreshTempFolder("notify-menu"));
    HWND form = app.WaitForMainWindow(30000);
    HWND tray = WindowOfClass(app.Id(), "AmbervaleTrayWindow", 5000);
    ASSERT_TRUE(form && tray);
    ShowWindow(form, SW_HIDE);
    PostMessageA(tray, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntilVisible(form, true, 8000)) << "the window comes back first";
    HWND menu = WindowOfClass(app.Id(), "#32768", 10000);  // then the popup menu
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([] { return GetSetting("Notify") == "Off"; }, 10000));
    // Left open, the menu does not keep the program from closing.
    PostMessageA(tray, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(15000));
    EXPECT_EQ(app.ExitCode(), 0u);
    DeleteAllSettings();
}

} // namespace
} // namespace ambervale::e2e
