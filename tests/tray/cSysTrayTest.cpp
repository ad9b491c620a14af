#include "tray/cSysTray.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeTrayPlatform.h"
#include "base/AppError.h"

namespace ambervale {
namespace {

using testing::FakeTrayPicture;
using testing::FakeTrayPlatform;
using testing::RecordingTrayEvents;
using Journal = std::vector<std::string>;

constexpr WindowHandle kWindow = 0x1234;

std::string Text(const auto& field) { return std::string(field.data()); }

std::shared_ptr<const TrayPicture> Icon(IconHandle handle) {
    return std::make_shared<FakeTrayPicture>(PictureKind::Icon, handle);
}

class TrayControl : public ::testing::Test {
protected:
    FakeTrayPlatform platform;
    cSysTray tray{kWindow, platform.Services()};

    const NotifyIconRecord& LastRecord() { return platform.calls.back().record; }
};

// Fields every record carries and the ones that stay zero whatever the operation.
void ExpectCommonFields(const NotifyIconRecord& r) {
    EXPECT_EQ(r.hWnd, kWindow);
    EXPECT_EQ(r.uID, 0u);
    EXPECT_EQ(r.dwState, 0u);
    EXPECT_EQ(r.dwStateMask, 0u);
    EXPECT_EQ(r.dwInfoFlags, 0u);
}

TEST_F(TrayControl, PuttingInTrayInstallsTheProcedureThenAddsIconTipAndCallback) {
    tray.SetTrayTip("Ambervale");
    tray.SetTrayIcon(Icon(0x77));
    tray.SetInTray(true);

    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add"}));
    EXPECT_EQ(platform.installedControl, &tray);
    EXPECT_EQ(platform.calls[0].message, NotifyIconMessage::Add);
    const NotifyIconRecord& r = LastRecord();
    ExpectCommonFields(r);
    EXPECT_EQ(r.uFlags, kNifMessage | kNifIcon | kNifTip);
    EXPECT_EQ(r.uCallbackMessage, 0x465u);
    EXPECT_EQ(r.hIcon, 0x77u);
    EXPECT_EQ(Text(r.szTip), "Ambervale");
    EXPECT_EQ(Text(r.szInfo), "");
    EXPECT_EQ(Text(r.szInfoTitle), "");
    EXPECT_EQ(r.uTimeout, 0u);
    EXPECT_TRUE(tray.InTray());
}

TEST_F(TrayControl, AddingWithoutTipOrIconSendsOnlyTheCallback) {
    tray.SetInTray(true);
    const NotifyIconRecord& r = LastRecord();
    EXPECT_EQ(r.uFlags, kNifMessage);
    EXPECT_EQ(r.hIcon, 0u);
    EXPECT_EQ(Text(r.szTip), "");
}

TEST_F(TrayControl, TakingOutDeletesTheIconBeforeRestoringTheProcedure) {
    tray.SetTrayTip("Ambervale");
    tray.SetInTray(true);
    tray.SetInTray(false);

    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add", "delete", "restore 4660"}));
    const NotifyIconRecord& r = LastRecord();
    ExpectCommonFields(r);
    EXPECT_EQ(r.uFlags, 0u);
    EXPECT_EQ(r.uCallbackMessage, 0u);
    EXPECT_EQ(Text(r.szTip), "");
    EXPECT_FALSE(tray.InTray());
}

TEST_F(TrayControl, SettingTheSameValueAgainSendsNothing) {
    tray.SetInTray(false);
    EXPECT_TRUE(platform.journal.empty());
    tray.SetInTray(true);
    tray.SetInTray(true);
    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add"}));
    tray.SetInTray(false);
    tray.SetInTray(false);
    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add", "delete", "restore 4660"}));
}

TEST_F(TrayControl, AFailedShellCallLeavesTheControlAsIfItHadWorked) {
    platform.shellAnswers = false;
    tray.SetInTray(true);
    EXPECT_TRUE(tray.InTray());
    tray.SetTrayTip("later");
    EXPECT_EQ(platform.calls.back().message, NotifyIconMessage::Modify);
}

TEST_F(TrayControl, TipIsKeptWholeButCutTo127CharactersForTheShell) {
    const std::string tip(200, 'x');
    tray.SetInTray(true);
    tray.SetTrayTip(tip);

    EXPECT_EQ(tray.TrayTip(), tip);
    const NotifyIconRecord& r = LastRecord();
    EXPECT_EQ(platform.calls.back().message, NotifyIconMessage::Modify);
    ExpectCommonFields(r);
    EXPECT_EQ(r.uFlags, kNifTip);
    EXPECT_EQ(Text(r.szTip), std::string(127, 'x'));
    EXPECT_EQ(r.szTip[127], '\0');

    tray.SetTrayTip(std::string(127, 't'));
    EXPECT_EQ(Text(LastRecord().szTip), std::string(127, 't'));
}

TEST_F(TrayControl, EmptyTipInTheTrayClearsTheToolTip) {
    tray.SetTrayTip("Ambervale");
    tray.SetInTray(true);
    tray.SetTrayTip("");
    EXPECT_EQ(LastRecord().uFlags, kNifTip);
    EXPECT_EQ(Text(LastRecord().szTip), "");
}

TEST_F(TrayControl, TipAndIconOutOfTheTrayAreKeptForTheNextAdd) {
    tray.SetTrayTip("first");
    tray.SetTrayIcon(Icon(5));
    EXPECT_TRUE(platform.calls.empty());
    tray.SetInTray(true);
    tray.SetInTray(false);
    tray.SetTrayTip("second");
    tray.SetTrayIcon(Icon(6));
    EXPECT_EQ(platform.calls.size(), 2u);

    tray.SetInTray(true);
    EXPECT_EQ(Text(LastRecord().szTip), "second");
    EXPECT_EQ(LastRecord().hIcon, 6u);
}

TEST_F(TrayControl, NewIconInTheTrayIsSentAtOnce) {
    tray.SetInTray(true);
    auto icon = Icon(0x99);
    tray.SetTrayIcon(icon);

    EXPECT_EQ(platform.calls.back().message, NotifyIconMessage::Modify);
    const NotifyIconRecord& r = LastRecord();
    ExpectCommonFields(r);
    EXPECT_EQ(r.uFlags, kNifIcon);
    EXPECT_EQ(r.hIcon, 0x99u);
    EXPECT_EQ(tray.TrayIcon(), icon);
}

TEST_F(TrayControl, PicturesThatAreNoIconAreIgnored) {
    auto icon = Icon(1);
    tray.SetTrayIcon(icon);
    tray.SetInTray(true);
    const std::size_t callsBefore = platform.calls.size();

    const std::vector<std::shared_ptr<const TrayPicture>> refused = {
        nullptr,
        std::make_shared<FakeTrayPicture>(PictureKind::Bitmap, 2),
        std::make_shared<FakeTrayPicture>(PictureKind::Metafile, 3),
        std::make_shared<FakeTrayPicture>(PictureKind::Empty, 0),
    };
    for (const auto& picture : refused) tray.SetTrayIcon(picture);

    EXPECT_EQ(platform.calls.size(), callsBefore);
    EXPECT_EQ(tray.TrayIcon(), icon);
}

TEST_F(TrayControl, DestroyingItInTheTrayDeletesTheIconAndRestoresTheProcedure) {
    auto platformOwned = std::make_unique<FakeTrayPlatform>();
    auto control = std::make_unique<cSysTray>(kWindow, platformOwned->Services());
    control->SetInTray(true);
    control.reset();
    EXPECT_EQ(platformOwned->journal, (Journal{"install 4660", "add", "delete", "restore 4660"}));
}

TEST_F(TrayControl, ANewTaskbarGetsTheIconAgainWithItsCurrentTipIconAndCallback) {
    tray.SetTrayTip("Ambervale");
    tray.SetTrayIcon(Icon(0x77));
    tray.SetInTray(true);
    tray.SetTrayTip("Changed in the tray");
    tray.SetTrayIcon(Icon(0x78));
    tray.TaskbarCreated();
    tray.TaskbarCreated();

    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add", "modify", "modify", "add", "add"}));
    for (const std::size_t again : {3u, 4u}) {
        const NotifyIconRecord& r = platform.calls[again].record;
        ExpectCommonFields(r);
        EXPECT_EQ(r.uFlags, kNifMessage | kNifIcon | kNifTip);
        EXPECT_EQ(r.uCallbackMessage, 0x465u);
        EXPECT_EQ(r.hIcon, 0x78u);
        EXPECT_EQ(Text(r.szTip), "Changed in the tray");
    }
    EXPECT_TRUE(tray.InTray());
}

TEST_F(TrayControl, ANewTaskbarAddsNothingForAControlOutOfTheTray) {
    tray.SetTrayTip("Ambervale");
    tray.TaskbarCreated();
    tray.SetInTray(true);
    tray.SetInTray(false);
    tray.TaskbarCreated();
    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add", "delete", "restore 4660"}));
    EXPECT_FALSE(tray.InTray());
}

TEST_F(TrayControl, StoredPropertiesAreAppliedInTheOrderInTrayIconTip) {
    tray.ReadProperties(TrayProperties{true, Icon(8), "Stored"});

    EXPECT_EQ(platform.journal, (Journal{"install 4660", "add", "modify", "modify"}));
    EXPECT_EQ(platform.calls[0].record.uFlags, kNifMessage);
    EXPECT_EQ(platform.calls[1].record.uFlags, kNifIcon);
    EXPECT_EQ(platform.calls[2].record.uFlags, kNifTip);
    EXPECT_EQ(Text(platform.calls[2].record.szTip), "Stored");
}

TEST_F(TrayControl, ANewlyPlacedControlHasTheDefaultTipAndStaysOut) {
    tray.ReadProperties(TrayProperties{});
    EXPECT_EQ(tray.TrayTip(), "Telnet Server");
    EXPECT_FALSE(tray.InTray());
    EXPECT_EQ(tray.TrayIcon(), nullptr);
    EXPECT_TRUE(platform.calls.empty());
}

struct NotificationCase {
    std::uint32_t notification;
    std::uint32_t id;
    const char* expectedEvent;  // empty: no event
};

class TrayNotifications : public TrayControl, public ::testing::WithParamInterface<NotificationCase> {};

TEST_P(TrayNotifications, RaiseTheirEvent) {
    RecordingTrayEvents events;
    tray.SetEventSink(&events);
    tray.SetInTray(true);
    tray.HandleTrayMessage(GetParam().notification, GetParam().id);

    const std::string expected = GetParam().expectedEvent;
    EXPECT_EQ(events.events, expected.empty() ? Journal{} : Journal{expected});
}

INSTANTIATE_TEST_SUITE_P(Mouse, TrayNotifications,
                         ::testing::Values(NotificationCase{0x200, 0, "move 0 0"},
                                           NotificationCase{0x201, 0, "down 1 0"},
                                           NotificationCase{0x202, 0, "up 1 0"},
                                           NotificationCase{0x203, 0, "dblclick 1 0"},
                                           NotificationCase{0x204, 0, "down 2 0"},
                                           NotificationCase{0x205, 0, "up 2 0"},
                                           NotificationCase{0x206, 0, "dblclick 2 0"},
                                           NotificationCase{0x202, 3, "up 1 3"},
                                           NotificationCase{0x207, 0, ""},   // middle button down
                                           NotificationCase{0x208, 0, ""},   // middle button up
                                           NotificationCase{0x209, 0, ""},   // middle double-click
                                           NotificationCase{0x402, 0, ""},   // balloon shown
                                           NotificationCase{0x403, 0, ""},   // balloon hidden
                                           NotificationCase{0x404, 0, ""},   // balloon timed out
                                           NotificationCase{0x405, 0, ""},   // balloon clicked
                                           NotificationCase{0x465, 0, ""}));

} // namespace
} // namespace ambervale
