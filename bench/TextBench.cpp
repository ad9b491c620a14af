// The pure text work of one log entry, without the spooler or the file system.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "logging/LogEntry.h"
#include "printer/PrinterReport.h"
#include "printer/PrinterStatus.h"

namespace {

void StatusText(benchmark::State& state) {
    const auto status = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ambervale::PrinterStatusText(status));
    }
}
BENCHMARK(StatusText)->Arg(0)->Arg(0x11)->Arg(0x007FFFFF)->Arg(0x00800000);

void LogLine(benchmark::State& state) {
    const ambervale::PrinterFields fields{"Front Desk", "Generic Laser", "LPT1:", 0x1};
    for (auto _ : state) {
        const std::string report = ambervale::RenderPrinterReport(fields);
        benchmark::DoNotOptimize(ambervale::ComposeLogLine("12/6/2026 8:15:04 PM", report));
    }
}
BENCHMARK(LogLine);

} // namespace

BENCHMARK_MAIN();
