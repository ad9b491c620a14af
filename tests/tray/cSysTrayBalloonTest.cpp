#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeTrayPlatform.h"
#include "base/AppError.h"
#include "tray/cSysTray.h"

namespace ambervale {
namespace {

using testing::FakeTrayPlatform;
using Journal = std::vector<std::string>;
using Waits = std::vector<std::int64_t>;

constexpr WindowHandle kWindow = 42;
constexpr std::int64_t kStart = 1'000'000;

std::string Text(const auto& field) { return std::string(field.data()); }

class TrayBalloon : public ::testing::Test {
protected:
    TrayBalloon() {
        tray.SetTrayTip("Ambervale");
        tray.SetInTray(true);
        platform.calls.clear();
        platform.journal.clear();
    }

    FakeTrayPlatform platform;
    cSysTray tray{kWindow, platform.Services()};
};

TEST_F(TrayBalloon, RecordCarriesTitleTextAndTimeoutOnly) {
    tray.ShowBalloon("Line one\r\nLine two", "Title", 0, false);

    ASSERT_EQ(platform.calls.size(), 1u);
    EXPECT_EQ(platform.calls[0].message, NotifyIconMessage::Modify);
    const NotifyIconRecord& r = platform.calls[0].record;
    EXPECT_EQ(r.hWnd, kWindow);
    EXPECT_EQ(r.uID, 0u);
    EXPECT_EQ(r.uFlags, kNifInfo);
    EXPECT_EQ(Text(r.szInfo), "Line one\r\nLine two");
    EXPECT_EQ(Text(r.szInfoTitle), "Title");
    EXPECT_EQ(Text(r.szTip), "");
    EXPECT_EQ(r.hIcon, 0u);
    EXPECT_EQ(r.uCallbackMessage, 0u);
    EXPECT_EQ(r.uTimeout, 0u);
    EXPECT_EQ(r.dwState, 0u);
    EXPECT_EQ(r.dwStateMask, 0u);
    EXPECT_EQ(r.dwInfoFlags, 0u);
    EXPECT_TRUE(tray.BalloonVisible());
}

TEST_F(TrayBalloon, TextsAreCutTo255And63Characters) {
    tray.ShowBalloon(std::string(300, 'b'), std::string(100, 't'), 0, false);
    const NotifyIconRecord& r = platform.calls[0].record;
    EXPECT_EQ(Text(r.szInfo), std::string(255, 'b'));
    EXPECT_EQ(Text(r.szInfoTitle), std::string(63, 't'));
}

TEST_F(TrayBalloon, NoTimeoutMeansNoWaitAndNoHide) {
    for (std::int32_t seconds : {0, -1, -2147483647 - 1}) {
        platform.calls.clear();
        tray.ShowBalloon("text", "title", seconds, false);
        ASSERT_EQ(platform.calls.size(), 1u) << seconds;
        EXPECT_EQ(platform.calls[0].record.uTimeout, 0u) << seconds;
    }
    EXPECT_TRUE(platform.waits.empty());
}

TEST_F(TrayBalloon, WaitRunsItsFullTimeThenHidesTheBalloon) {
    platform.stepMilliseconds = 300;
    tray.ShowBalloon("text", "title", 5, false);

    EXPECT_EQ(platform.calls[0].record.uTimeout, 5000u);
    // Sixteen turns of 300 ms, then one for the 200 ms that are left.
    EXPECT_EQ(platform.waits.size(), 17u);
    EXPECT_EQ(platform.waits.front(), 5000);
    EXPECT_EQ(platform.waits.back(), 200);
    EXPECT_EQ(platform.now, kStart + 5000);

    ASSERT_EQ(platform.calls.size(), 2u);
    const NotifyIconRecord& hide = platform.calls[1].record;
    EXPECT_EQ(platform.calls[1].message, NotifyIconMessage::Modify);
    EXPECT_EQ(hide.uFlags, kNifInfo);
    EXPECT_EQ(Text(hide.szInfo), "");
    EXPECT_EQ(Text(hide.szInfoTitle), "");
    EXPECT_EQ(hide.uTimeout, 0u);
    EXPECT_EQ(hide.hWnd, kWindow);
    // Only the shell's notification clears it.
    EXPECT_TRUE(tray.BalloonVisible());
}

TEST_F(TrayBalloon, ShellNotificationsEndTheWaitEarlyWithoutHide) {
    for (std::uint32_t notification : {0x403u, 0x404u, 0x405u}) {
        platform.calls.clear();
        platform.waits.clear();
        platform.stepMilliseconds = 100;
        int turns = 0;
        platform.onDispatch = [&] {
            if (++turns == 3) tray.HandleTrayMessage(notification, 0);
        };
        tray.ShowBalloon("text", "title", 5, false);

        EXPECT_EQ(platform.waits.size(), 3u) << notification;
        EXPECT_EQ(platform.calls.size(), 1u) << notification;
        EXPECT_FALSE(tray.BalloonVisible()) << notification;
    }
}

TEST_F(TrayBalloon, OtherMessagesDoNotEndTheWait) {
    platform.stepMilliseconds = 1000;
    platform.onDispatch = [&] {
        tray.HandleTrayMessage(0x402, 0);
        tray.HandleTrayMessage(0x200, 0);
    };
    tray.ShowBalloon("text", "title", 2, false);
    EXPECT_EQ(platform.waits.size(), 2u);
    EXPECT_EQ(platform.calls.size(), 2u);
}

TEST_F(TrayBalloon, ShowOnceShowsOnlyTheFirstBalloon) {
    tray.ShowBalloon("first", "title", 0, true);
    tray.ShowBalloon("second", "title", 0, true);
    ASSERT_EQ(platform.calls.size(), 1u);
    EXPECT_EQ(Text(platform.calls[0].record.szInfo), "first");

    tray.ShowBalloon("always", "title", 0, false);
    tray.ShowBalloon("again", "title", 0, false);
    tray.ShowBalloon("still not", "title", 0, true);
    ASSERT_EQ(platform.calls.size(), 3u);
    EXPECT_EQ(Text(platform.calls[2].record.szInfo), "again");
}

TEST_F(TrayBalloon, BalloonsWithoutShowOnceDoNotUseItUp) {
    tray.ShowBalloon("plain", "title", 0, false);
    tray.ShowBalloon("once", "title", 0, true);
    EXPECT_EQ(platform.calls.size(), 2u);
}

TEST_F(TrayBalloon, TimeoutBeyond32BitMillisecondsFailsBeforeAnythingIsSent) {
    for (std::int32_t seconds : {2147484, 2147483647}) {
        try {
            tray.ShowBalloon("text", "title", seconds, true);
            ADD_FAILURE() << seconds << " was accepted";
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), "Overflow");
        }
    }
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_FALSE(tray.BalloonVisible());
    // The failed calls did not use up the one ShowOnce balloon; the largest timeout that fits goes through.
    platform.onDispatch = [&] { tray.HandleTrayMessage(0x404, 0); };
    tray.ShowBalloon("text", "title", 2147483, true);
    ASSERT_EQ(platform.calls.size(), 1u);
    EXPECT_EQ(platform.calls[0].record.uTimeout, 2147483000u);
}

TEST_F(TrayBalloon, QuittingEndsTheWaitAndTheBalloonIsHidden) {
    platform.stepMilliseconds = 100;
    platform.quitting = true;
    tray.ShowBalloon("text", "title", 5, false);
    EXPECT_EQ(platform.waits.size(), 1u);
    ASSERT_EQ(platform.calls.size(), 2u);
    EXPECT_EQ(Text(platform.calls[1].record.szInfo), "");
}

TEST(TrayBalloonLifetime, ControlDestroyedDuringTheWaitEndsItSafely) {
    FakeTrayPlatform platform;
    auto tray = std::make_unique<cSysTray>(kWindow, platform.Services());
    tray->SetInTray(true);
    platform.stepMilliseconds = 100;
    platform.onDispatch = [&] { tray.reset(); };

    cSysTray* raw = tray.get();
    raw->ShowBalloon("text", "title", 5, false);

    EXPECT_EQ(tray, nullptr);
    EXPECT_EQ(platform.waits.size(), 1u);
    EXPECT_EQ(platform.journal, (Journal{"install 42", "add", "modify", "delete", "restore 42"}));
}

} // namespace
} // namespace ambervale
