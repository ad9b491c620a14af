// A million one-second ticks of the logging schedule at each of the twelve intervals: the cost of a tick, and that
// the entries still come once per whole interval after that many ticks.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "fakes/FakeScheduleRig.h"
#include "logging/IntervalTable.h"

namespace {

constexpr int kTicks = 1000000;

void MillionTicks(benchmark::State& state) {
    const auto row = static_cast<std::size_t>(state.range(0));
    const int seconds = ambervale::kIntervalTable[row - 1].seconds;
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<ambervale::testing::FakeScheduleRig>();
        rig->settings.values["OftenIndex"] = std::to_string(row);
        rig->Load();
        state.ResumeTiming();
        for (int i = 0; i < kTicks; ++i) rig->Tick();
        if (rig->logger.entries != kTicks / seconds) state.SkipWithError("an entry came early, late or not at all");
    }
    state.SetItemsProcessed(state.iterations() * kTicks);
}
BENCHMARK(MillionTicks)->DenseRange(1, 12)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
