// The Event Log output of the log: what an entry that changes nothing costs with it and without it, what following
// the supplies costs an entry, and how many events a day of logging every second writes for a printer that goes Off
// Line ten times.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "eventlog/EventLogOutput.h"
#include "eventlog/SupplyTracker.h"
#include "fakes/FakeEventLog.h"
#include "fakes/FakeLogEntryServices.h"

namespace {

using ambervale::testing::FakeEventWriter;
using ambervale::testing::FakeLogEntryWorld;
using ambervale::testing::FakeSecondsClock;

constexpr std::uint32_t kOffLine = 0x80;
constexpr std::int64_t kDay = 86400;

// One entry (spooler record, report, date-time text, list row, history line) into outputs that keep nothing, the
// status the same each time and the clock still; with the Event Log output as the third output (range 1) or without
// it (range 0). With it, the first entry's start is the one call to the Event Log.
void EntryThatChangesNothing(benchmark::State& state) {
    auto world = std::make_unique<FakeLogEntryWorld>();
    FakeEventWriter writer;
    FakeSecondsClock seconds;
    ambervale::EventLogOutput eventLog(writer, seconds);
    if (state.range(0) == 1) world->entries.logger.AddOutput(eventLog);
    world->entries.logger.LoggingSwitched(true, "Log every 1 second");
    world->clock.times = {{2026, 12, 6, 20, 15, 4}};
    for (auto _ : state) {
        world->entries.LogStatusNow();
        // Neither the list nor the file may grow with the run: that would be measured too.
        world->logList.rows.clear();
        world->logList.dateTimeTexts.clear();
        world->historyWriter.files.clear();
    }
    state.counters["event_log_calls"] = writer.calls;
}
BENCHMARK(EntryThatChangesNothing)->Arg(0)->Arg(1);

// Entries every second for `days` days, Off Line for five minutes at the start of each of the hours 1 to 10 of the
// first day; the events written and the Event Log calls made.
void DaysAtEverySecond(benchmark::State& state) {
    const std::int64_t days = state.range(0);
    FakeEventWriter writer;
    for (auto _ : state) {
        writer = {};
        FakeSecondsClock seconds;
        ambervale::EventLogOutput eventLog(writer, seconds);
        eventLog.LoggingSwitched(true, "Log every 1 second");
        ambervale::LogEntry entry{"12/6/2026 8:15:04 PM", "", ambervale::PrinterFields{"Front Desk", "Generic Laser",
                                                                                       "LPT1:", 0}};
        for (seconds.now = 0; seconds.now < days * kDay; ++seconds.now) {
            const std::int64_t hour = seconds.now / 3600;
            const bool offLine = hour >= 1 && hour <= 10 && seconds.now % 3600 < 300;
            entry.printer->status = offLine ? kOffLine : 0;
            eventLog.Write(entry);
        }
        eventLog.LoggingSwitched(false, "Log every 1 second");
    }
    state.counters["entries"] = static_cast<double>(days * kDay);
    state.counters["events"] = static_cast<double>(writer.events.size());
    state.counters["event_log_calls"] = writer.calls;
    int heartbeats = 0;
    for (const ambervale::Event& event : writer.events) heartbeats += event.id == ambervale::EventId::Heartbeat;
    state.counters["heartbeats"] = heartbeats;
}
BENCHMARK(DaysAtEverySecond)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The supplies of one entry as the Event Log follows them: a colour laser's four toners, a drum and a waste box, two of
// the toners of one name, none of them crossing a threshold: what each entry costs the tracker.
void SuppliesThatChangeNothing(benchmark::State& state) {
    using namespace ambervale;
    const std::vector<Supply> supplies{
        {"Black Toner Cartridge", supply_type::kToner, supply_class::kConsumed, 80, 1},
        {"Black Toner Cartridge", supply_type::kToner, supply_class::kConsumed, 3, 2},
        {"Cyan Toner Cartridge", supply_type::kToner, supply_class::kConsumed, 49, 3},
        {"Magenta Toner Cartridge", supply_type::kToner, supply_class::kConsumed, 60, 4},
        {"Drum Unit", supply_type::kOpc, supply_class::kConsumed, 72, 5},
        {"Waste Toner Box", supply_type::kWasteToner, supply_class::kReceptacle, 10, 6}};
    SupplyTracker tracker;
    std::vector<Event> events;
    for (auto _ : state) {
        tracker.Saw(supplies, "Front Desk", "IP_10", events);
        events.clear();
    }
}
BENCHMARK(SuppliesThatChangeNothing);

} // namespace

BENCHMARK_MAIN();
