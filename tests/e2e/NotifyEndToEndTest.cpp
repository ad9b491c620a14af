// Told when the printer needs you: the default printer on a Standard TCP/IP port whose printer is the world's SNMP
// agent goes off line and comes back; the tray icon (read back from the screen), the notifications (Wine shows each as
// a balloon tooltip of its notification area) and the Event Log follow. The icon's menu, driven by the keyboard.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "e2e/EventCapture.h"
#include "e2e/LoggingEverySecond.h"
#include "fakes/WinTestTcpIpPort.h"
#include "tray/TrayPlatform.h"

namespace ambervale::e2e {
namespace {

std::string AgentAddress() {
    const char* agent = std::getenv("AMBERVALE_SNMP_AGENT");
    return agent ? agent : "";
}

// The pixels of the badge a look has, as the screen shows the notification area's icons (Wine draws them at the right
// end of its taskbar, 20 pixels each at 96 DPI): red for needs a person now, yellow for needs attention.
struct Badges {
    int red = 0;
    int yellow = 0;
};

// The screen's pixels of a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header{sizeof header, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

Badges TrayBadges() {
    Badges badges;
    RECT area;
    if (!GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &area)) return badges;
    area.left = area.right - 60;  // the program's icon, the only one of the test world's
    for (const COLORREF bgrx : ScreenPixels(area)) {
        // A DIB's pixel is blue, green, red from the lowest byte.
        const int blue = bgrx & 0xFF, green = (bgrx >> 8) & 0xFF, red = (bgrx >> 16) & 0xFF;
        badges.red += red > 150 && green < 80 && blue < 80 ? 1 : 0;
        badges.yellow += red > 200 && green > 150 && blue < 80 ? 1 : 0;
    }
    return badges;
}

// Every balloon seen on the screen while watching, by window: each notification is a balloon window of its own.
class BalloonWatch {
public:
    void Look() {
        for (HWND balloon : TopLevelWindows(0, [](HWND w) {
                 return ClassNameOf(w) == TOOLTIPS_CLASSA && IsWindowVisible(w) &&
                        (GetWindowLongA(w, GWL_STYLE) & TTS_BALLOON) != 0;
             })) {
            char text[512] = {};
            DWORD_PTR length = 0;
            SendMessageTimeoutA(balloon, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                2000, &length);
            if (text[0] != '\0') seen_.emplace(balloon, text);
        }
    }
    // How many balloons began with that text.
    int Count(const std::string& start) const {
        int count = 0;
        for (const auto& [balloon, text] : seen_) count += text.rfind(start, 0) == 0 ? 1 : 0;
        return count;
    }
    std::string Text(const std::string& start) const {
        for (const auto& [balloon, text] : seen_) {
            if (text.rfind(start, 0) == 0) return text;
        }
        return {};
    }

private:
    std::map<HWND, std::string> seen_;
};

class NotifyLongRun : public LoggingEverySecond {
protected:
    void SetUp() override {
        ASSERT_FALSE(AgentAddress().empty()) << "needs the world with the SNMP agent (testenv.sh --snmp)";
        LoggingEverySecond::SetUp();
    }
    void PutPrinterAt(const std::string& community) {
        port_ = std::make_unique<ambervale::testing::WithTcpIpPort>("IP_" + AgentAddress());
        ASSERT_TRUE(port_->SetSnmpPort(AgentAddress(), community, true));
        printerPort_ = std::make_unique<ambervale::testing::WithDefaultPrinterPort>("IP_" + AgentAddress());
        ASSERT_TRUE(printerPort_->Set()) << "the spooler refused the port";
    }
    bool Watching(const std::function<bool()>& condition, DWORD bound = kBound) {
        return WaitFor([&] {
            balloons_.Look();
            return condition();
        }, bound);
    }

    // The printer goes off line (its agent answers for `offLine`), then is ready again: the icon shows it, one
    // notification comes with the printer's words (`says`, none yet for an agent without an alert table), one more
    // when it is ready, and the Event Log's change carries the same words.
    void ExpectToldOfOffLine(const char* offLine, const std::string& says) {
        const std::string output = OwnOutputFile();
        ASSERT_FALSE(output.empty()) << "run through tools/wine-exec.sh, which names the output file";
        RegisterProgramEventSource();
        ASSERT_NO_FATAL_FAILURE(PutPrinterAt("ready"));
        const std::size_t from = TextFrom(output, 0).size();
        SetEnvironmentVariableA("WINEDEBUG", kEventLogDebugChannels);
        ASSERT_NO_FATAL_FAILURE(Start("notify"));
        SetEnvironmentVariableA("WINEDEBUG", "-all");
        ASSERT_TRUE(Watching([&] { return RowCount() >= 2; }));
        EXPECT_EQ(TrayBadges().red, 0) << "ready: the blue 'C' alone";

        ASSERT_TRUE(port_->SetSnmpPort(AgentAddress(), offLine, true));
        ASSERT_TRUE(Watching([&] { return Holds(LastRow(), "Printer Status = Off Line  ;") && TrayBadges().red > 8; }))
            << "off line: the red badge";
        ASSERT_TRUE(Watching([&] { return balloons_.Count("Since ") == 1; })) << "one notification";
        const std::string artefacts = BuildFolder() + "\\artefacts";
        CreateDirectoryA(artefacts.c_str(), nullptr);
        EXPECT_TRUE(SaveWindowBitmap(GetDesktopWindow(), artefacts + "\\notify-off-line.bmp"));
        const std::string told = balloons_.Text("Since ");
        EXPECT_EQ(Holds(told, "\r\nThe printer says: " + says), !says.empty()) << told;
        // Entries go on showing the error: no second notification.
        const int rows = RowCount();
        ASSERT_TRUE(Watching([&] { return RowCount() >= rows + 4; }));
        EXPECT_EQ(balloons_.Count("Since "), 1);

        ASSERT_TRUE(port_->SetSnmpPort(AgentAddress(), "ready", true));
        ASSERT_TRUE(Watching([&] { return balloons_.Count("Ready again after ") == 1; })) << "one more, when ready";
        EXPECT_TRUE(Watching([&] { return TrayBadges().red == 0; }));
        EXPECT_EQ(balloons_.Count("Since "), 1);
        Close();
        RemoveProgramEventSource();

        int changes = 0;
        for (const LoggedEvent& event : LoggedEvents(TextFrom(output, from))) {
            if (event.id != 200) continue;
            ++changes;
            ASSERT_EQ(event.strings.size(), 8u);
            EXPECT_EQ(event.strings[1], "Off Line");
            EXPECT_EQ(event.strings[7], says.empty() ? "" : "\\r\\nThe printer says: " + says);
        }
        EXPECT_EQ(changes, 1);
    }

    std::unique_ptr<ambervale::testing::WithTcpIpPort> port_;
    std::unique_ptr<ambervale::testing::WithDefaultPrinterPort> printerPort_;
    BalloonWatch balloons_;
};

TEST_F(NotifyLongRun, APrinterThatStopsAnsweringChangesTheIconAndIsToldOnceThenOnceMoreWhenReady) {
    ExpectToldOfOffLine("silent", "");
}

// The menu of a menu-less test world process: a window of class "#32768" of the program's.
HWND OpenMenu(DWORD processId) {
    HWND menu = nullptr;
    WaitFor([&] {
        const auto menus = TopLevelWindows(processId, [](HWND w) { return ClassNameOf(w) == "#32768" && IsWindowVisible(w); });
        menu = menus.empty() ? nullptr : menus.front();
        return menu != nullptr;
    }, 10000);
    return menu;
}

TEST(NotifyMenu, ARightButtonReleaseBringsTheWindowBackThenTheMenuWhoseItemTurnsNotificationsOff) {
    DeleteAllSettings();
    AppProcess app(AmbervaleExe(), FreshTempFolder("notify-menu"));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    HWND tray = WindowOfClass(app.Id(), "AmbervaleTrayWindow", 5000);
    ASSERT_NE(tray, nullptr);
    PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntilVisible(form, false, 5000));

    PostMessageA(tray, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntilVisible(form, true, 8000)) << "the window comes back first";
    HWND menu = OpenMenu(app.Id());
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([] { return GetSetting("Notify") == "Off"; }, 10000));

    // Left open, the menu does not keep the program from closing.
    PostMessageA(tray, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    ASSERT_NE(OpenMenu(app.Id()), nullptr);
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(15000));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(GetSetting("Notify"), "Off");
    DeleteAllSettings();
}

} // namespace
} // namespace ambervale::e2e
