// The tray icon as an output of the log: its looks, its tip, when it notifies and what, and its menu.
#include "tray/TrayStatusOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakePolicy.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTrayHostWindow.h"
#include "fakes/FakeTrayPlatform.h"
#include "tray/MinimiseToTray.h"

namespace ambervale {
namespace {

using Alerts = std::vector<PrinterAlert>;
using Shown = std::vector<std::string>;
constexpr auto kCritical = PrinterAlert::Severity::Critical;
constexpr std::uint32_t kOffLine = 0x80, kPaperJam = 0x8, kTonerLow = 0x20000;

// Entries every `step` seconds from `from` to `to`, with an error word or without.
struct Span {
    std::int64_t from, to, step;
    bool error;
};

// The notifications one printer's entries bring ("person@t", "ready@t after N", "changing@t N"), the user not to be
// disturbed from quietFrom to quietUntil.
Shown Told(const std::vector<Span>& spans, std::int64_t quietFrom = -1, std::int64_t quietUntil = -1) {
    struct Gate : NoticeGate {
        bool MayShow() override { return !(quietFrom <= now && now < quietUntil); }
        std::int64_t now = 0, quietFrom = 0, quietUntil = 0;
    } gate;
    gate.quietFrom = quietFrom, gate.quietUntil = quietUntil;
    PrinterNoticeRule rule;
    Shown shown;
    for (const Span& span : spans) {
        for (gate.now = span.from; gate.now <= span.to; gate.now += span.step) {
            const auto notice = rule.Saw("Front Desk", span.error, gate.now, gate);
            const char* const kinds[] = {"person@", "ready@", "changing@"};
            if (!notice) continue;
            shown.push_back(kinds[static_cast<int>(notice->kind)] + std::to_string(gate.now) +
                            (notice->lasted ? " after " + std::to_string(notice->lasted) : "") +
                            (notice->changes ? " " + std::to_string(notice->changes) : ""));
        }
    }
    return shown;
}

TEST(PrinterNotices, AnErrorIsToldOnceItHoldsPastTheNextEntryAndTenSecondsAndReadyAgainWithHowLongItWasNot) {
    // Every second: off line for 9 s is nothing; for longer it is told at its tenth second, once, and ready again.
    EXPECT_EQ(Told({{0, 4, 1, false}, {5, 13, 1, true}, {14, 20, 1, false}}), Shown{});
    EXPECT_EQ(Told({{0, 4, 1, false}, {5, 100, 1, true}, {101, 120, 1, false}}),
              (Shown{"person@15", "ready@101 after 96"}));
    // Every 5 minutes: the entry after the first that saw it confirms it; the first alone never does.
    EXPECT_EQ(Told({{0, 300, 300, false}, {600, 900, 300, true}, {1200, 1500, 300, false}}),
              (Shown{"person@900", "ready@1200 after 600"}));
    EXPECT_EQ(Told({{0, 300, 300, false}, {600, 600, 300, true}, {900, 1500, 300, false}}), Shown{});
}

TEST(PrinterNotices, AFlappingPrinterGetsOneKeepsChangingNotificationUntilItsStateHoldsTenMinutes) {
    // Told of an error and its end; then in and out of errors at every entry, 20 s apart: the seventh change within
    // ten minutes is flapping, and nothing more is told until the state has held ten minutes.
    std::vector<Span> spans{{0, 30, 1, true}};
    for (std::int64_t at = 40; at < 400; at += 20) spans.push_back({at, at, 1, (at / 20) % 2 == 1});
    spans.push_back({400, 1000, 1, false});
    EXPECT_EQ(Told(spans), (Shown{"person@10", "ready@40 after 40", "changing@160 7", "ready@1000 after 240"}));
}

TEST(PrinterNotices, NothingIsShownWhileTheUserIsNotToBeDisturbedAndWhatWasHeldBackIsNotShownLater) {
    const std::vector<Span> spans{{0, 4, 1, false}, {5, 100, 1, true}, {101, 110, 1, false}, {111, 200, 1, true},
                                  {201, 210, 1, false}};
    EXPECT_EQ(Told(spans, 10, 20), (Shown{"person@121", "ready@201 after 90"})) << "held back, and so its end";
    EXPECT_EQ(Told(spans, 101, 102), (Shown{"person@15", "person@121", "ready@201 after 90"}));
    EXPECT_EQ(Told(spans, 0, 1000), Shown{}) << "off by the user's choice or by policy";
}

struct FakeTime : Clock, SinceText, SecondsClock, NoticeGate {
    LocalDateTime Now() override { return now; }
    std::string TimeOfDay(const LocalDateTime& t) override {
        return std::to_string(t.hour) + ":" + std::to_string(t.minute);
    }
    std::string Date(const LocalDateTime& t) override { return std::to_string(t.day) + "/12"; }
    std::int64_t Seconds() override { return seconds; }
    bool MayShow() override { return true; }
    LocalDateTime now{2026, 12, 6, 10, 42, 0};
    std::int64_t seconds = 0;
};

// Shift-JIS's lead bytes: a two-byte code page.
bool ShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

auto Icon(IconHandle h) { return std::make_shared<testing::FakeTrayPicture>(PictureKind::Icon, h); }

struct TrayWorld {
    TrayWorld() { tray.SetInTray(true), output.LoggingSwitched(true, "Log every 1 second"); }
    void Entry(std::uint32_t status, Alerts alerts = {}, std::string printer = "Front Desk") {
        LogEntry entry{"t", "line", PrinterFields{std::move(printer), "Generic Laser", "LPT1:", status, 0, 0, {}}};
        entry.printer->ownReport.alerts = std::move(alerts);
        output.Write(entry);
    }
    // The last record the shell was given with that flag alone.
    NotifyIconRecord Last(std::uint32_t flag) const {
        const auto call = std::find_if(platform.calls.rbegin(), platform.calls.rend(),
                                       [&](const auto& c) { return c.record.uFlags == flag; });
        return call == platform.calls.rend() ? NotifyIconRecord{} : call->record;
    }
    std::string Tip() const { return Last(kNifTip).szTip.data(); }
    std::string Notification() const {
        const NotifyIconRecord r = Last(kNifInfo);
        return r.szInfoTitle.data() + (" | " + std::string(r.szInfo.data())) + " | " + std::to_string(r.dwInfoFlags);
    }

    testing::FakeTrayPlatform platform;
    cSysTray tray{7, platform.Services()};
    FakeTime time;
    TrayStatusOutput output{tray, {Icon(1), Icon(2), Icon(3)}, {time, time, time, time, &ShiftJisLead}};
};

TEST(TrayStatus, TheLookAndTipFollowTheStatusAndAnEntryThatChangesNothingReachesNoShell) {
    TrayWorld w;
    w.Entry(0);
    EXPECT_EQ(w.Last(kNifIcon).hIcon, 1u);
    EXPECT_EQ(w.Tip(), "Ambervale\nFront Desk: Ready since 10:42");
    const std::size_t calls = w.platform.calls.size();
    w.time.now.minute = 50;
    for (const std::uint32_t status : {0, 0x800000, 0x800000}) w.Entry(status);  // a bit without a word: an error
    EXPECT_EQ(w.Last(kNifIcon).hIcon, 3u);
    EXPECT_EQ(w.platform.calls.size(), calls + 2) << "a look and a tip, nothing for the entries that change nothing";
    w.Entry(kTonerLow);
    EXPECT_EQ(w.Last(kNifIcon).hIcon, 2u);
    w.time.now = {2026, 12, 7, 9, 5, 0};
    w.Entry(kTonerLow);
    EXPECT_EQ(w.Tip(), "Ambervale\nFront Desk: Toner Low since 6/12 10:50") << "the next day, the date";
    w.output.EntryFailed("There is no default printer.");
    EXPECT_EQ(w.Last(kNifIcon).hIcon, 3u);
    EXPECT_EQ(w.Tip(), "Ambervale\nThere is no default printer.");
    w.output.LoggingSwitched(false, "");
    w.Entry(kOffLine);  // "Log Current Status Now" while logging is off: the icon no longer follows the printer
    EXPECT_EQ(w.Last(kNifIcon).hIcon, 1u);
    EXPECT_EQ(w.Tip(), "Ambervale");
}

// Alerts of the shapes real printers' tables have, as the reader hands them on (made safe, at most 160 bytes), and
// the tip's second line within the 127 characters.
TEST(TrayStatus, TheTipShowsThePrinterWordsThatExplainItsStatusCutAtAWordWithinTheShellsField) {
    const std::string service = "The Maintenance Box is at the end of its service life. You need to replace it now. "
                                "Contact the administrator of this printer or the dealer";
    const std::string kanji = "\x83\x81\x83\x93\x83\x65\x83\x69\x83\x93\x83\x58\x83\x7B\x83\x62\x83\x4E\x83\x58";
    const struct {
        std::uint32_t status;
        Alerts alerts;
        std::string printer, line;
    } cases[] = {
        {kPaperJam, {{kCritical, "Media Error: Media Mismatch"}, {kCritical, "Ink is expended. BK2"}}, "Front Desk",
         "Front Desk: Paper Jam since 10:42 - Media Error: Media Mismatch"},
        {0, {{PrinterAlert::Severity::Warning, "Ink low. C"}}, "Front Desk", "Front Desk: Ready since 10:42"},
        {kOffLine, {{kCritical, service}}, "Front Desk",
         "Front Desk: Off Line since 10:42 - " + service.substr(0, 77) + "..."},
        {kOffLine, {{kCritical, service}}, std::string(150, 'N'), std::string(92, 'N') + "...: Off Line since 10:42"},
        {kOffLine, {{kCritical, kanji + kanji + kanji}}, std::string(60, 'N'),
         std::string(60, 'N') + ": Off Line since 10:42 - " + (kanji + kanji).substr(0, 28) + "..."},
    };
    for (const auto& c : cases) {
        TrayWorld w;
        w.Entry(c.status, c.alerts, c.printer);
        EXPECT_EQ(w.Tip(), "Ambervale\n" + c.line);
    }
}

TEST(TrayStatus, NotificationsNameThePrinterItsStatusAndWordsAndAClickOnOneShowsTheWindow) {
    TrayWorld w;
    testing::FakeTrayHostWindow window;
    testing::FakeSettingsStore settings;
    MinimiseToTray behaviour{window, w.tray, settings};
    w.Entry(kPaperJam, {{kCritical, "Media Error: Media Mismatch"}});
    w.time.seconds = 10, w.time.now.minute = 43;
    w.Entry(kPaperJam | kOffLine, {{kCritical, "Media Error: Media Mismatch"}});
    EXPECT_EQ(w.Notification(),
              "Front Desk: Off Line, Paper Jam | Since 10:42.\r\nThe printer says: Media Error: Media Mismatch | 131");
    w.tray.HandleTrayMessage(0x405, 0);
    EXPECT_EQ(window.log, Shown({"show", "focus"}));
    w.time.seconds = 4000;
    w.Entry(0);
    EXPECT_EQ(w.Notification(), "Front Desk: Ready | Ready again after 1 h 6 min. | 129");
}

TEST(TrayMenu, ARightButtonReleaseShowsTheWindowThenTheNotifyItemOnByDefaultRememberedAndHeldByPolicy) {
    struct View : TrayMenuView, UserAttention {
        std::optional<int> Show(const std::vector<TrayMenuItem>& items) override { return shown = items, 1; }
        bool AcceptsNotifications() override { return accepts; }
        std::vector<TrayMenuItem> shown;
        bool accepts = true;
    } view;
    testing::FakeSettingsStore settings;
    testing::FakePolicySource policy;
    NotifyChoice choice{settings, policy, view};
    TrayMenu menu{view, choice};
    TrayWorld w;
    testing::FakeTrayHostWindow window;
    MinimiseToTray behaviour{window, w.tray, settings};
    behaviour.SetMenu(&menu);
    behaviour.cSysTray1_MouseUp(kLeftButton, 0);
    EXPECT_TRUE(view.shown.empty()) << "the left button only brings the window back";
    behaviour.cSysTray1_MouseUp(kRightButton, 0);
    EXPECT_EQ(window.log, Shown({"show", "focus", "show", "focus"}));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0].caption, "Notify me when the printer needs attention");
    EXPECT_TRUE(view.shown[0].checked && view.shown[0].enabled) << "on by default";
    EXPECT_EQ(settings.values["Notify"], "Off");
    settings.failWrites = true;
    menu.Open();
    EXPECT_FALSE(choice.MayShow()) << "a store that refuses keeps the choice as it was";
    settings.failWrites = false;
    menu.Open();
    EXPECT_TRUE(choice.MayShow());
    view.accepts = false;
    EXPECT_FALSE(choice.MayShow()) << "presenting, busy or quiet time";
    policy.machine["Notify"] = testing::Dword(0);
    policy.user["Notify"] = testing::Dword(1);
    menu.Open();
    EXPECT_FALSE(view.shown[0].checked || view.shown[0].enabled) << "the computer's policy, greyed";
    EXPECT_EQ(settings.values["Notify"], "On") << "the user's choice is kept for when the policy goes";
}

} // namespace
} // namespace ambervale
