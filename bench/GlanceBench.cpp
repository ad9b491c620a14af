// The history at a glance, page and CSV file, on a month of logging every second (2.6 million lines, about 400 MB)
// and on a month of a printer that changes every 2 seconds (1.3 million spells), each against reading the same
// file's bytes once, the floor no report can beat; the medians of five runs. Also the heap the report needs at its
// peak, for one day and for thirty, which must be the same: what the report keeps grows with the printers, statuses
// and days pictured, never with the lines or the spells; the page's size, which must stay within its bound; and the
// same month read without the reader's remembered pieces, which says what that shortcut earns. The records are made
// in a temporary folder of their own and deleted at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GlanceBenchHeap.h"
#include "glance/Glance.h"
#include "glance/GlanceCsv.h"
#include "glance/GlancePage.h"

namespace {

namespace fs = std::filesystem;
constexpr std::int64_t kDay = 86400;

enum class Kind { Steady, Flapping };

// An entry every second from 1 November 2026, in the pictures of English (United States). Steady: Off Line for five
// minutes every three hours, Paper Jam for a minute twice a day, and each day a quarter of an hour not recorded.
// Flapping: Off Line and Ready by turns, two seconds each.
fs::path MakeRecord(const fs::path& folder, int days, Kind kind) {
    const fs::path path = folder / ((kind == Kind::Steady ? "steady-" : "flapping-") + std::to_string(days) + ".txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::vector<char> buffer(1 << 20);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    for (int d = 0; d < days; ++d) {
        const int month = d < 30 ? 11 : 12;
        const int day = d < 30 ? d + 1 : d - 29;
        for (std::int64_t inDay = 0; inDay < kDay; ++inDay) {
            const char* status = "";
            if (kind == Kind::Steady) {
                if (inDay >= 13 * 3600 && inDay < 13 * 3600 + 900) continue;
                status = inDay % 10800 < 300                             ? "Off Line  "
                         : (inDay / 60 == 600 || inDay / 60 == 1000) ? "Paper Jam  "
                                                                        : "";
            } else {
                status = (inDay / 2) % 2 ? "Off Line  " : "";
            }
            const int hour = static_cast<int>(inDay / 3600);
            if (inDay == 0) {
                std::fprintf(file, "%d/%d/2026 ", month, day);
            } else {
                std::fprintf(file, "%d/%d/2026 %d:%02d:%02d %s ", month, day, hour % 12 == 0 ? 12 : hour % 12,
                             static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60), hour < 12 ? "AM" : "PM");
            }
            std::fprintf(file,
                         "Printer Status = %s; Printer Name = Front Desk Laser; Printer Driver Name = HP Universal "
                         "Printing PCL 6; Printer Port Name = IP_192.168.1.20; \r\n",
                         status);
        }
    }
    std::fclose(file);
    return path;
}

class FileSource final : public ambervale::ByteSource {
public:
    explicit FileSource(const fs::path& path) : file_(std::fopen(path.c_str(), "rb")), size_(fs::file_size(path)) {}
    ~FileSource() override { std::fclose(file_); }
    std::uint64_t Size() override { return size_; }
    std::size_t Read(char* buffer, std::size_t size) override { return std::fread(buffer, 1, size, file_); }

private:
    std::FILE* file_;
    std::uint64_t size_;
};

class NullSink final : public ambervale::ByteSink {
public:
    void Write(std::string_view bytes) override { written += bytes.size(); }
    std::size_t written = 0;
};

// Central Europe's rules, so that every line is turned into UTC as on a PC with daylight saving.
class EuropeZone final : public ambervale::TimeZoneRules {
public:
    ambervale::ZoneYear ForYear(int) override {
        return {-60, 0, -60, {0, 10, 0, 5, 3, 0, 0, 0}, {0, 3, 0, 5, 2, 0, 0, 0}};
    }
};

enum Record { kSteadyDay, kSteadyMonth, kFlappingMonth, kRecords };
std::vector<fs::path> records;
std::vector<double> floorTimes[kRecords];
std::vector<double> reportTimes[kRecords];
std::vector<double> freshTimes[kRecords];

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

double SecondsSince(std::chrono::steady_clock::time_point began) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

// The floor: the file's bytes read once, a megabyte at a time, as the report reads them.
void ReadBytesOnce(benchmark::State& state) {
    const auto which = static_cast<std::size_t>(state.range(0));
    std::vector<char> block(1 << 20);
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        FileSource source(records[which]);
        std::size_t total = 0;
        while (const std::size_t got = source.Read(block.data(), block.size())) total += got;
        benchmark::DoNotOptimize(total);
        floorTimes[which].push_back(SecondsSince(began));
    }
}

void Report(benchmark::State& state) {
    const auto which = static_cast<std::size_t>(state.range(0));
    const bool remember = state.range(1) != 0;
    std::size_t peak = 0;
    std::size_t page = 0;
    std::size_t csvBytes = 0;
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        const std::size_t before = heapNow;
        heapPeak = before;
        {
            EuropeZone zone;
            FileSource source(records[which]);
            ambervale::GlanceRecord record;
            NullSink csvFile;
            ambervale::GlanceCsv csv(record.names, csvFile, nullptr, {});
            ambervale::ReadGlanceRecord(source, {ambervale::UnitedStatesPictures(), &zone, nullptr, remember}, record,
                                        &csv);
            csv.Finish();
            NullSink sink;
            ambervale::WriteGlancePage(record, {records[which].string(), "spells.csv", 0, {}, nullptr, nullptr}, sink);
            page = sink.written;
            csvBytes = csvFile.written;
        }
        peak = std::max(peak, heapPeak - before);
        (remember ? reportTimes : freshTimes)[which].push_back(SecondsSince(began));
    }
    state.counters["peak_heap_MiB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["page_KiB"] = static_cast<double>(page) / 1024;
    state.counters["csv_MiB"] = static_cast<double>(csvBytes) / (1 << 20);
}

} // namespace

int main(int argc, char** argv) {
    const fs::path folder = fs::temp_directory_path() / ("ambervale-glance-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::printf("Making the records in %s...\n", folder.c_str());
    records = {MakeRecord(folder, 1, Kind::Steady), MakeRecord(folder, 30, Kind::Steady),
               MakeRecord(folder, 30, Kind::Flapping)};
    for (const auto& record : records) {
        std::printf("%s: %.0f MB\n", record.filename().c_str(), static_cast<double>(fs::file_size(record)) / 1e6);
    }
    const auto timed = [](benchmark::internal::Benchmark* b, int repetitions) {
        b->Iterations(1)->Repetitions(repetitions)->Unit(benchmark::kMillisecond);
    };
    timed(benchmark::RegisterBenchmark("ReadBytesOnce/steady_30_days", ReadBytesOnce)->Args({kSteadyMonth}), 5);
    timed(benchmark::RegisterBenchmark("ReadBytesOnce/flapping_30_days", ReadBytesOnce)->Args({kFlappingMonth}), 5);
    timed(benchmark::RegisterBenchmark("Report/steady_1_day", Report)->Args({kSteadyDay, 1}), 3);
    timed(benchmark::RegisterBenchmark("Report/steady_30_days", Report)->Args({kSteadyMonth, 1}), 5);
    timed(benchmark::RegisterBenchmark("Report/flapping_30_days", Report)->Args({kFlappingMonth, 1}), 5);
    timed(benchmark::RegisterBenchmark("Report/steady_30_days_without_remembered_pieces", Report)
              ->Args({kSteadyMonth, 0}), 3);
    timed(benchmark::RegisterBenchmark("Report/flapping_30_days_without_remembered_pieces", Report)
              ->Args({kFlappingMonth, 0}), 3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [which, name] : {std::pair{kSteadyMonth, "30 days, an entry a second"},
                                      std::pair{kFlappingMonth, "30 days, a change every 2 seconds"}}) {
        if (floorTimes[which].empty() || reportTimes[which].empty()) continue;
        std::printf("%s: the report takes %.2f times the reading of the bytes once (medians: %.3f s / %.3f s)",
                    name, Median(reportTimes[which]) / Median(floorTimes[which]), Median(reportTimes[which]),
                    Median(floorTimes[which]));
        if (!freshTimes[which].empty()) {
            std::printf("; without the remembered pieces %.2f times", Median(freshTimes[which]) / Median(floorTimes[which]));
        }
        std::printf("\n");
    }
    fs::remove_all(folder);
    return 0;
}
