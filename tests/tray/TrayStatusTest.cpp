// The tray icon as an output of the log: its looks, its tip with the printer's own words, its notifications and menu.
#include "tray/TrayStatusOutput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePolicy.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTrayHostWindow.h"
#include "fakes/FakeTrayPlatform.h"
#include "tray/MinimiseToTray.h"

namespace ambervale {
namespace {

using testing::FakeTrayPicture;
using testing::FakeTrayPlatform;
using Severity = PrinterAlert::Severity;

constexpr std::uint32_t kOffLine = 0x80, kPaperJam = 0x8, kTonerLow = 0x20000;

struct FakeTime : Clock, SinceText, SecondsClock {
    LocalDateTime Now() override { return now; }
    std::string TimeOfDay(const LocalDateTime& when) override {
        return std::to_string(when.hour) + ":" + (when.minute < 10 ? "0" : "") + std::to_string(when.minute);
    }
    std::string Date(const LocalDateTime& when) override { return std::to_string(when.day) + "/12"; }
    std::int64_t Seconds() override { return seconds; }
    LocalDateTime now{2026, 12, 6, 10, 42, 0};
    std::int64_t seconds = 0;
};

struct Gate : NoticeGate {
    bool MayShow() override { return open; }
    bool open = true;
};

// A two-byte code page's lead bytes, as Japanese Shift-JIS has them.
bool ShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

struct TrayWorld {
    TrayWorld() {
        tray.SetInTray(true);
        output.LoggingSwitched(true, "Log every 1 second");
    }
    void Entry(std::uint32_t status, std::vector<PrinterAlert> alerts = {}, std::string printer = "Front Desk") {
        PrinterFields fields{std::move(printer), "Generic Laser", "LPT1:", status, 0, 0, {}};
        fields.ownReport.alerts = std::move(alerts);
        output.Write(LogEntry{"t", "line", fields});
    }
    // The last tip, icon and notification the shell was given.
    std::string Tip() const { return Last(kNifTip).szTip.data(); }
    IconHandle Icon() const { return Last(kNifIcon).hIcon; }
    std::string Notification() const {
        const NotifyIconRecord& r = Last(kNifInfo);
        return std::string(r.szInfoTitle.data()) + " | " + r.szInfo.data() + " | " + std::to_string(r.dwInfoFlags);
    }
    NotifyIconRecord Last(std::uint32_t flag) const {
        for (auto call = platform.calls.rbegin(); call != platform.calls.rend(); ++call) {
            if (call->message == NotifyIconMessage::Modify && call->record.uFlags == flag) return call->record;
        }
        return {};
    }

    FakeTrayPlatform platform;
    cSysTray tray{7, platform.Services()};
    FakeTime time;
    Gate gate;
    LeadByteTest lead = &ShiftJisLead;
    TrayStatusOutput output{tray,
                            {std::make_shared<FakeTrayPicture>(PictureKind::Icon, 1),
                             std::make_shared<FakeTrayPicture>(PictureKind::Icon, 2),
                             std::make_shared<FakeTrayPicture>(PictureKind::Icon, 3)},
                            TrayStatusServices{time, time, time, gate, lead}};
};

TEST(TrayStatus, TheLookAndTipFollowTheStatusAndAnEntryThatChangesNothingReachesNoShell) {
    TrayWorld w;
    w.Entry(0);
    EXPECT_EQ(w.Icon(), 1u);
    EXPECT_EQ(w.Tip(), "Ambervale\nFront Desk: Ready since 10:42");
    const std::size_t calls = w.platform.calls.size();
    w.time.now.minute = 50;
    w.Entry(0);
    w.Entry(0x800000);  // a bit without a word: "Unknown Status of ...", an error
    EXPECT_EQ(w.Icon(), 3u);
    w.Entry(0);
    w.Entry(0);
    EXPECT_EQ(w.platform.calls.size(), calls + 4) << "two looks and two tips, nothing for the entries between";
    w.Entry(kTonerLow);
    EXPECT_EQ(w.Icon(), 2u);
    w.time.now = {2026, 12, 7, 9, 5, 0};
    w.Entry(kTonerLow);
    EXPECT_EQ(w.Tip(), "Ambervale\nFront Desk: Toner Low since 6/12 10:50") << "the next day, the date";
    w.output.EntryFailed("There is no default printer.");
    EXPECT_EQ(w.Icon(), 3u);
    EXPECT_EQ(w.Tip(), "Ambervale\nThere is no default printer.");
    w.output.LoggingSwitched(false, "");
    EXPECT_EQ(w.Icon(), 1u);
    EXPECT_EQ(w.Tip(), "Ambervale");
    const std::size_t afterOff = w.platform.calls.size();
    w.Entry(kOffLine);
    EXPECT_EQ(w.platform.calls.size(), afterOff) << "a Log Now entry while logging is off";
}

// Alerts of the shapes real printers' tables have, as the reader hands them on (made safe, at most 160 bytes), and
// what the tip's second line shows of them within the 127 characters.
TEST(TrayStatus, TheTipShowsThePrinterWordsThatExplainItsStatusCutAtAWordWithinTheShellsField) {
    const std::string longWords =
        "The Maintenance Box is at the end of its service life. You need to replace it now. Contact the administrator "
        "of this printer or the dealer for a replacement";
    const std::string kanji = "\x83\x81\x83\x93\x83\x65\x83\x69\x83\x93\x83\x58\x83\x7B\x83\x62\x83\x4E\x83\x58";
    const struct {
        const char* what;
        std::uint32_t status;
        std::vector<PrinterAlert> alerts;
        std::string printer;
        std::string line;
    } cases[] = {
        {"several criticals: the first", kPaperJam, {{Severity::Critical, "Media Error: Media Mismatch"},
                                                     {Severity::Critical, "Ink is expended. BK2"}},
         "Front Desk", "Front Desk: Paper Jam since 10:42 - Media Error: Media Mismatch"},
        {"a warning with no earned status", 0, {{Severity::Warning, "Ink low. C"}}, "Front Desk",
         "Front Desk: Ready since 10:42"},
        {"a long text cut after a word", kOffLine, {{Severity::Critical, longWords}}, "Front Desk",
         "Front Desk: Off Line since 10:42 - The Maintenance Box is at the end of its service life. You need to "
         "replace it..."},
        {"a long name cut before the status", kOffLine, {{Severity::Critical, longWords}}, std::string(150, 'N'),
         std::string(92, 'N') + "...: Off Line since 10:42"},
        {"no blank to cut at: never inside a two-byte character", kOffLine, {{Severity::Critical, kanji + kanji + kanji + kanji}},
         std::string(60, 'N'),
         std::string(60, 'N') + ": Off Line since 10:42 - " + (kanji + kanji).substr(0, 28) + "..."},
    };
    for (const auto& c : cases) {
        TrayWorld w;
        w.Entry(c.status, c.alerts, c.printer);
        EXPECT_EQ(w.Tip(), "Ambervale\n" + c.line) << c.what;
        EXPECT_LE(w.Tip().size(), 127u) << c.what;
    }
}

TEST(TrayStatus, NotificationsNameThePrinterItsStatusAndWordsAndAClickOnOneShowsTheWindow) {
    TrayWorld w;
    testing::FakeTrayHostWindow window;
    testing::FakeSettingsStore settings;
    MinimiseToTray behaviour{window, w.tray, settings};
    const std::vector<PrinterAlert> says{{Severity::Critical, "Media Error: Media Mismatch"}};
    w.Entry(kPaperJam, says);
    w.time.seconds = 10;
    w.time.now.minute = 43;
    w.Entry(kPaperJam | kOffLine, says);
    EXPECT_EQ(w.Notification(),
              "Front Desk: Off Line, Paper Jam | Since 10:42.\r\nThe printer says: Media Error: Media Mismatch | 131");
    w.tray.HandleTrayMessage(0x405, 0);
    EXPECT_EQ(window.log, std::vector<std::string>({"show", "focus"}));
    w.time.seconds = 4000;
    w.Entry(0);
    EXPECT_EQ(w.Notification(), "Front Desk: Ready | Ready again after 1 h 6 min. | 129");
    // The first hiding's balloon keeps its own ways: a click on it shows nothing.
    window.log.clear();
    w.tray.ShowBalloon("has been minimized", "Ambervale", 0, true);
    w.tray.HandleTrayMessage(0x405, 0);
    EXPECT_TRUE(window.log.empty());
}

TEST(TrayMenu, TheNotifyItemIsOnByDefaultRememberedAndHeldByPolicy) {
    struct View : TrayMenuView {
        std::optional<int> Show(const std::vector<TrayMenuItem>& items) override {
            shown = items;
            return choose ? std::optional<int>(items.front().command) : std::nullopt;
        }
        std::vector<TrayMenuItem> shown;
        bool choose = true;
    } view;
    struct Attention : UserAttention {
        bool AcceptsNotifications() override { return accepts; }
        bool accepts = true;
    } attention;
    testing::FakeSettingsStore settings;
    testing::FakePolicySource policy;
    NotifyChoice choice{settings, policy, attention};
    TrayMenu menu{view, choice};
    testing::FakeTrayHostWindow window;
    FakeTrayPlatform platform;
    cSysTray tray{7, platform.Services()};
    MinimiseToTray behaviour{window, tray, settings};
    behaviour.SetMenu(&menu);

    behaviour.cSysTray1_MouseUp(kLeftButton, 0);
    EXPECT_TRUE(view.shown.empty()) << "the left button only brings the window back";
    behaviour.cSysTray1_MouseUp(kRightButton, 0);
    EXPECT_EQ(window.log, std::vector<std::string>({"show", "focus", "show", "focus"}));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].caption, "Notify me when the printer needs attention");
    EXPECT_TRUE(view.shown[0].checked && view.shown[0].enabled) << "on by default";
    EXPECT_EQ(settings.values["Notify"], "Off");
    EXPECT_FALSE(choice.MayShow());
    settings.failWrites = true;
    menu.Open();
    EXPECT_FALSE(choice.On()) << "a store that refuses keeps the choice as it was";
    settings.failWrites = false;
    menu.Open();
    EXPECT_TRUE(choice.MayShow());
    attention.accepts = false;
    EXPECT_FALSE(choice.MayShow()) << "presenting, busy or quiet time";

    policy.machine["Notify"] = testing::Dword(0);
    policy.user["Notify"] = testing::Dword(1);
    menu.Open();
    EXPECT_FALSE(view.shown[0].checked || view.shown[0].enabled) << "the computer's policy, greyed";
    EXPECT_EQ(settings.values["Notify"], "On") << "the user's choice is kept for when the policy goes";
    policy.machine.clear();
    policy.user["Notify"] = testing::Dword(0);
    EXPECT_FALSE(choice.On()) << "the user's policy, where the computer has none";
    policy.user.clear();
    EXPECT_TRUE(choice.On()) << "the user's own choice again";
}

} // namespace
} // namespace ambervale
