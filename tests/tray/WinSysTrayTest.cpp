#include "tray/WinSysTray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeTrayPlatform.h"
#include "tray/mSysTray.h"

namespace ambervale {
namespace {

using testing::RecordingTrayEvents;
using Events = std::vector<std::string>;

// The real shell call, with its answers kept for the test.
class AnsweringShell : public TrayShell {
public:
    bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) override {
        const bool answer = real_.NotifyIcon(message, record);
        answers.push_back(answer);
        return answer;
    }
    std::vector<bool> answers;

private:
    WinTrayShell real_;
};

// Stands for whatever procedure the window had: it must see every message TrayWndProc sees.
WNDPROC windowOwnProcedure = nullptr;
int callbacksSeenByOwnProcedure = 0;

LRESULT CALLBACK CountingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage) ++callbacksSeenByOwnProcedure;
    return CallWindowProcA(windowOwnProcedure, hwnd, message, wParam, lParam);
}

LONG_PTR Procedure(HWND hwnd) { return GetWindowLongValue(hwnd, GWLP_WNDPROC); }
LONG_PTR AsLong(WNDPROC procedure) { return reinterpret_cast<LONG_PTR>(procedure); }

bool ShellHasANotificationArea() { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }

win::UniqueIcon SmallIcon() {
    const BYTE andMask[16 * 16 / 8] = {};
    BYTE xorMask[16 * 16 / 8];
    for (BYTE& b : xorMask) b = 0xAA;
    return win::UniqueIcon(CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 1, andMask, xorMask));
}

class WinTray : public ::testing::Test {
protected:
    void SetUp() override {
        windowOwnProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongValue(window.get(), GWLP_WNDPROC, AsLong(&CountingProcedure)));
        callbacksSeenByOwnProcedure = 0;
        tray.SetEventSink(&events);
    }

    RecordingTrayEvents events;
    win::UniqueWindow window = CreateTrayWindow(nullptr, GetModuleHandleA(nullptr));
    AnsweringShell shell;
    WinTrayWindowProcedure procedure;
    SteadyTrayClock clock;
    WinTrayMessageWait wait;
    cSysTray tray{FromHwnd(window.get()), TrayServices{shell, procedure, clock, wait}};
};

TEST_F(WinTray, CallbacksBecomeMouseEventsWhileInTheTrayAndTheProcedureComesBack) {
    const HWND hwnd = window.get();
    tray.SetTrayIcon(std::make_shared<WinIconPicture>(SmallIcon()));
    tray.SetTrayTip("Ambervale");
    tray.SetInTray(true);
    EXPECT_EQ(Procedure(hwnd), AsLong(&TrayWndProc));
    EXPECT_EQ(GetWindowLongValue(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&tray));

    tray.SetTrayTip("Ambervale, tip changed");
    SendMessageA(hwnd, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    SendMessageA(hwnd, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    SendMessageA(hwnd, kTrayCallbackMessage, 0, WM_MBUTTONUP);
    EXPECT_EQ(events.events, (Events{"up 1 0", "up 2 0"}));
    EXPECT_EQ(callbacksSeenByOwnProcedure, 3);

    tray.SetInTray(false);
    EXPECT_EQ(Procedure(hwnd), AsLong(&CountingProcedure));
    SendMessageA(hwnd, kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(events.events.size(), 2u);
    EXPECT_EQ(callbacksSeenByOwnProcedure, 4);

    ASSERT_EQ(shell.answers.size(), 3u);  // add, modify, delete
    if (!ShellHasANotificationArea()) GTEST_SKIP() << "no notification area to answer the shell calls";
    EXPECT_EQ(shell.answers, (std::vector<bool>{true, true, true}));
}

TEST_F(WinTray, BalloonClickEndsTheRealWaitWithoutHide) {
    tray.SetInTray(true);
    // The shell's answer, queued before the wait begins; the nested loop must dispatch it.
    PostMessageA(window.get(), kTrayCallbackMessage, 0, 0x405);
    tray.ShowBalloon("text", "title", 30, false);
    EXPECT_FALSE(tray.BalloonVisible());
    EXPECT_EQ(shell.answers.size(), 2u);  // add and the balloon: no hide
}

TEST_F(WinTray, QuitRequestEndsTheWaitAndStaysQueuedForTheMainLoop) {
    tray.SetInTray(true);
    PostQuitMessage(3);
    tray.ShowBalloon("text", "title", 30, false);

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(shell.answers.size(), 3u);  // add, the balloon and its hide
}

TEST(WinSysTrayBundle, WindowIsHiddenOwnedAndOffTheTaskbar) {
    const win::UniqueWindow owner = CreateTrayWindow(nullptr, GetModuleHandleA(nullptr));
    WinSysTray tray(owner.get(), GetModuleHandleA(nullptr));
    EXPECT_FALSE(IsWindowVisible(tray.Handle()));
    EXPECT_EQ(GetWindow(tray.Handle(), GW_OWNER), owner.get());
    EXPECT_NE(GetWindowLongValue(tray.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(tray.Control().TrayHwnd(), FromHwnd(tray.Handle()));
}

TEST(WinSysTrayBundle, DestroyingItInTheTrayTakesItsWindowAlong) {
    auto tray = std::make_unique<WinSysTray>(nullptr, GetModuleHandleA(nullptr));
    const HWND hwnd = tray->Handle();
    tray->Control().SetInTray(true);
    EXPECT_EQ(Procedure(hwnd), AsLong(&TrayWndProc));
    tray.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WinSysTrayBundle, AWindowGoneWithItsOwnerIsNotDestroyedTwice) {
    win::UniqueWindow owner = CreateTrayWindow(nullptr, GetModuleHandleA(nullptr));
    WinSysTray tray(owner.get(), GetModuleHandleA(nullptr));
    owner.reset();
    EXPECT_FALSE(IsWindow(tray.Handle()));
}

TEST(WinIcon, NoIconHandleIsNoIcon) {
    WinIconPicture empty{win::UniqueIcon()};
    EXPECT_EQ(empty.Kind(), PictureKind::Empty);
    WinIconPicture icon{SmallIcon()};
    EXPECT_EQ(icon.Kind(), PictureKind::Icon);
    EXPECT_NE(icon.Handle(), 0u);
}

constexpr int kTestTrayIcon = 4101;     // tray/res/TrayC.ico, see TrayTestIcons.rc
constexpr int kTestProgramIcon = 4102;  // app/res/Ambervale.ico
constexpr int kTestTrayLooks[] = {kTestTrayIcon, 4103, 4104};  // and the two looks with their badges

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return SIZE{0, 0};
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    SIZE size{colour.bmWidth, colour.bmHeight};
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

TEST(WinIcon, TrayIconLoadsAtTheNotificationAreaSize) {
    auto picture = LoadTrayIconResource(GetModuleHandleA(nullptr), kTestTrayIcon);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Kind(), PictureKind::Icon);
    const SIZE size = IconSize(reinterpret_cast<HICON>(picture->Handle()));
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYSMICON));
}

// The images an icon resource holds, as "<side>x<bits>", read from its directory: the loader would scale another
// image to any size asked for, so only the directory tells whether an image is really there.
std::vector<std::string> IconImages(int resourceId) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    std::vector<std::string> images;
    if (bytes == nullptr || SizeofResource(module, found) < 6) return images;
    // GRPICONDIR: reserved, type, count (16 bits each), then 14-byte entries: width, height (0 stands for 256),
    // colour count, reserved, planes, bit count (16 bits), bytes in resource (32 bits), id (16 bits).
    const int count = bytes[4] | bytes[5] << 8;
    if (SizeofResource(module, found) < static_cast<DWORD>(6 + 14 * count)) return images;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = bytes + 6 + 14 * i;
        const int side = entry[0] == 0 ? 256 : entry[0];
        images.push_back(std::to_string(side) + "x" + std::to_string(entry[6] | entry[7] << 8));
    }
    return images;
}

TEST(WinIcon, ProgramAndTrayIconsHoldTheirOwnImages) {
    EXPECT_EQ(IconImages(kTestProgramIcon), (std::vector<std::string>{"32x24", "48x32", "128x32", "256x32"}));
    // Each look at every size the notification area uses, from 100% DPI to 300%: none is scaled.
    for (const int look : kTestTrayLooks) {
        EXPECT_EQ(IconImages(look), (std::vector<std::string>{"16x24", "20x24", "24x24", "28x24", "32x24", "36x24",
                                                              "40x24", "48x24"}));
    }
}

TEST(WinIcon, MissingResourceGivesNoPicture) {
    EXPECT_EQ(LoadTrayIconResource(GetModuleHandleA(nullptr), 32000), nullptr);
}

} // namespace
} // namespace ambervale
