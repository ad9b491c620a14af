// The tray icon as an output of the log: what an entry costs it when nothing that shows changes (the usual entry),
// and when the status changes at every entry (tip and look sent to the shell each time).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "fakes/FakeTrayPlatform.h"
#include "tray/TrayStatusOutput.h"

namespace {

using ambervale::LocalDateTime;

struct StillTime final : ambervale::Clock, ambervale::SinceText, ambervale::SecondsClock, ambervale::NoticeGate {
    LocalDateTime Now() override { return {2026, 12, 6, 10, 42, 0}; }
    std::string TimeOfDay(const LocalDateTime&) override { return "10:42"; }
    std::string Date(const LocalDateTime&) override { return "12/6/2026"; }
    std::int64_t Seconds() override { return ++seconds; }
    bool MayShow() override { return true; }
    std::int64_t seconds = 0;
};

// Range 0: the same status every entry; range 1: Paper Jam and Ready in turn, each with the printer's words.
void TrayOutputWrite(benchmark::State& state) {
    ambervale::testing::FakeTrayPlatform platform;
    ambervale::cSysTray tray(7, platform.Services());
    tray.SetInTray(true);
    StillTime time;
    auto icon = [](ambervale::IconHandle h) {
        return std::make_shared<ambervale::testing::FakeTrayPicture>(ambervale::PictureKind::Icon, h);
    };
    ambervale::TrayStatusOutput output(tray, {icon(1), icon(2), icon(3)},
                                       {time, time, time, time, &ambervale::NoLeadBytes});
    output.LoggingSwitched(true, "Log every 1 second");
    ambervale::LogEntry entries[2]{{"12/6/2026 10:42:00 AM", "", ambervale::PrinterFields{"Front Desk", "Generic Laser",
                                                                                        "IP_10.0.0.7", 0x8}},
                                   {"12/6/2026 10:42:00 AM", "", ambervale::PrinterFields{"Front Desk", "Generic Laser",
                                                                                        "IP_10.0.0.7", 0}}};
    entries[0].printer->ownReport.alerts = {
        {ambervale::PrinterAlert::Severity::Critical, "Media Error: Media Mismatch"}};
    std::size_t at = 0;
    for (auto _ : state) {
        output.Write(entries[at]);
        if (state.range(0) == 1) at ^= 1;
        // The fake shell's journal must not grow with the run: that would be measured too.
        platform.calls.clear();
        platform.journal.clear();
    }
}
BENCHMARK(TrayOutputWrite)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
