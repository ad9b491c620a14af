// When the user is told of the printer: the notification rule over scripted sequences of entries.
#include "tray/PrinterNotices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ambervale {
namespace {

// Answers whether a notification may be shown by the seconds the user was away or busy.
struct ScriptedGate : NoticeGate {
    bool MayShow() override {
        ++asked;
        return !(quietFrom <= now && now < quietUntil);
    }
    std::int64_t now = 0, quietFrom = -1, quietUntil = -1;
    int asked = 0;
};

// One printer's entries, each its second and whether it shows an error word; the notifications shown, as "person@t",
// "ready@t after N" and "changing@t N".
std::vector<std::string> Told(const std::vector<std::pair<std::int64_t, bool>>& entries, ScriptedGate& gate,
                             const char* printer = "Front Desk") {
    PrinterNoticeRule rule;
    std::vector<std::string> shown;
    for (const auto& [at, error] : entries) {
        gate.now = at;
        const auto notice = rule.Saw(printer, error, at, gate);
        if (!notice) continue;
        const std::string when = "@" + std::to_string(at);
        switch (notice->kind) {
        case PrinterNotice::Kind::NeedsPerson: shown.push_back("person" + when); break;
        case PrinterNotice::Kind::ReadyAgain: shown.push_back("ready" + when + " after " + std::to_string(notice->lasted)); break;
        case PrinterNotice::Kind::KeepsChanging: shown.push_back("changing" + when + " " + std::to_string(notice->changes)); break;
        }
    }
    return shown;
}

// Entries every `step` seconds from `from` to `to`, all with or without an error.
std::vector<std::pair<std::int64_t, bool>> Every(std::int64_t step, std::int64_t from, std::int64_t to, bool error) {
    std::vector<std::pair<std::int64_t, bool>> entries;
    for (std::int64_t at = from; at <= to; at += step) entries.emplace_back(at, error);
    return entries;
}

template <class... Parts>
std::vector<std::pair<std::int64_t, bool>> Join(const Parts&... parts) {
    std::vector<std::pair<std::int64_t, bool>> all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

using Shown = std::vector<std::string>;

TEST(PrinterNotices, AnErrorIsToldOnceItHoldsPastTheNextEntryAndTenSecondsAndReadyAgainWithHowLongItWasNot) {
    ScriptedGate gate;
    // Every second: off line for 9 s is nothing; for 10 s it is told at the tenth second, once, and ready again.
    EXPECT_EQ(Told(Join(Every(1, 0, 4, false), Every(1, 5, 13, true), Every(1, 14, 20, false)), gate), Shown{});
    EXPECT_EQ(Told(Join(Every(1, 0, 4, false), Every(1, 5, 100, true), Every(1, 101, 120, false)), gate),
              (Shown{"person@15", "ready@101 after 96"}));
    // Every 5 minutes: the entry after the first that saw it confirms it; the first alone never does.
    EXPECT_EQ(Told(Join(Every(300, 0, 300, false), Every(300, 600, 900, true), Every(300, 1200, 1500, false)), gate),
              (Shown{"person@900", "ready@1200 after 600"}));
    EXPECT_EQ(Told(Join(Every(300, 0, 300, false), Every(300, 600, 600, true), Every(300, 900, 1500, false)), gate),
              Shown{});
    // An error at the first entry of all is one too.
    EXPECT_EQ(Told(Every(5, 0, 10, true), gate), Shown{"person@10"});
}

TEST(PrinterNotices, AFlappingPrinterGetsOneKeepsChangingNotificationUntilItsStateHoldsTenMinutes) {
    ScriptedGate gate;
    std::vector<std::pair<std::int64_t, bool>> entries = Every(1, 0, 30, true);  // told at 10
    // Then in and out of errors at every entry, 20 s apart: the seventh change within ten minutes is flapping, and
    // nothing more is told until the state has held ten minutes.
    for (std::int64_t at = 40; at < 400; at += 20) entries.emplace_back(at, (at / 20) % 2 == 1);
    const auto settled = Every(1, 400, 1000, false);
    entries.insert(entries.end(), settled.begin(), settled.end());
    EXPECT_EQ(Told(entries, gate), (Shown{"person@10", "ready@40 after 40", "changing@160 7", "ready@1000 after 240"}));
}

TEST(PrinterNotices, NothingIsShownWhileTheUserIsNotToBeDisturbedAndWhatWasHeldBackIsNotShownLater) {
    const auto entries = Join(Every(1, 0, 4, false), Every(1, 5, 100, true), Every(1, 101, 110, false),
                              Every(1, 111, 200, true), Every(1, 201, 210, false));
    ScriptedGate quietAtTheError;
    quietAtTheError.quietFrom = 10, quietAtTheError.quietUntil = 20;
    EXPECT_EQ(Told(entries, quietAtTheError), (Shown{"person@121", "ready@201 after 90"}))
        << "the first error was held back, so was its end";
    ScriptedGate quietAtTheEnd;
    quietAtTheEnd.quietFrom = 101, quietAtTheEnd.quietUntil = 102;
    EXPECT_EQ(Told(entries, quietAtTheEnd), (Shown{"person@15", "person@121", "ready@201 after 90"}));
    ScriptedGate off;  // the user's choice or the policy: off throughout
    off.quietFrom = 0, off.quietUntil = 1000;
    EXPECT_EQ(Told(entries, off), Shown{});
    EXPECT_EQ(off.asked, 2) << "asked only when a notification was due";
}

TEST(PrinterNotices, AnotherDefaultPrinterStartsAfreshAndNothingIsToldOfTheOneBefore) {
    ScriptedGate gate;
    PrinterNoticeRule rule;
    for (std::int64_t at = 0; at <= 10; ++at) rule.Saw("Front Desk", true, at, gate);
    EXPECT_FALSE(rule.Saw("Back Office", false, 11, gate));
    EXPECT_FALSE(rule.Saw("Back Office", true, 12, gate));
    EXPECT_TRUE(rule.Saw("Back Office", true, 22, gate));
    rule.Forget();
    EXPECT_FALSE(rule.Saw("Back Office", false, 23, gate)) << "a new period of logging: nothing to be ready from";
}

} // namespace
} // namespace ambervale
