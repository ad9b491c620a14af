// The history at a glance on a month of logging every second (2.6 million lines, about 400 MB), against reading the
// same file's bytes once, the floor no report can beat; and the heap the report needs at its peak, for one day and
// for thirty, which must be the same: what the report keeps grows with the spells and days, never with the lines.
// The records are made in a temporary folder of their own and deleted at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include <string>

#include "GlanceBenchHeap.h"
#include "history/Glance.h"

namespace {

namespace fs = std::filesystem;
constexpr std::int64_t kDay = 86400;

// An entry every second from 1 November 2026, in the pictures of English (United States): Off Line for five minutes
// every three hours, Paper Jam for a minute twice a day, and each day a quarter of an hour not recorded.
fs::path MakeRecord(const fs::path& folder, int days) {
    const fs::path path = folder / ("history-" + std::to_string(days) + "-days.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    std::vector<char> buffer(1 << 20);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    const ambervale::LocalSeconds start = ambervale::ToLocalSeconds(2026, 11, 1, 0, 0, 0);
    for (std::int64_t s = 0; s < days * kDay; ++s) {
        const std::int64_t inDay = s % kDay;
        if (inDay >= 13 * 3600 && inDay < 13 * 3600 + 900) continue;
        const char* status = inDay % 10800 < 300 ? "Off Line  " : (inDay / 60 == 600 || inDay / 60 == 1000) ? "Paper Jam  " : "";
        const std::string iso = ambervale::IsoLocalText(start + s);
        const int month = std::stoi(iso.substr(5, 2)), day = std::stoi(iso.substr(8, 2));
        const int hour = static_cast<int>(inDay / 3600), minute = static_cast<int>(inDay / 60 % 60);
        const int second = static_cast<int>(inDay % 60);
        if (inDay == 0) {
            std::fprintf(file, "%d/%d/2026 ", month, day);
        } else {
            std::fprintf(file, "%d/%d/2026 %d:%02d:%02d %s ", month, day, hour % 12 == 0 ? 12 : hour % 12, minute,
                         second, hour < 12 ? "AM" : "PM");
        }
        std::fprintf(file,
                     "Printer Status = %s; Printer Name = Front Desk Laser; Printer Driver Name = HP Universal "
                     "Printing PCL 6; Printer Port Name = IP_192.168.1.20; \r\n",
                     status);
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

struct Records {
    fs::path folder;
    fs::path oneDay;
    fs::path month;
} records;

const fs::path& RecordOf(int days) { return days == 1 ? records.oneDay : records.month; }

double floorSeconds = 0;
double reportSeconds = 0;

// The floor: the file's bytes read once, a megabyte at a time, as the report reads them.
void ReadBytesOnce(benchmark::State& state) {
    const fs::path& path = RecordOf(static_cast<int>(state.range(0)));
    std::vector<char> block(1 << 20);
    double best = 1e9;
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        FileSource source(path);
        std::size_t total = 0;
        while (const std::size_t got = source.Read(block.data(), block.size())) total += got;
        benchmark::DoNotOptimize(total);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    }
    if (state.range(0) == 30) floorSeconds = best;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}

void Report(benchmark::State& state) {
    const fs::path& path = RecordOf(static_cast<int>(state.range(0)));
    double best = 1e9;
    std::size_t peak = 0;
    std::size_t page = 0;
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        const std::size_t before = heapNow;
        heapPeak = before;
        {
            FileSource source(path);
            const ambervale::GlanceRecord record = ReadGlanceRecord(source, ambervale::UnitedStatesPictures());
            NullSink sink;
            ambervale::WriteGlancePage(record, {path.string(), 0, {}}, sink);
            page = sink.written;
        }
        peak = std::max(peak, heapPeak - before);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    }
    if (state.range(0) == 30) reportSeconds = best;
    state.counters["peak_heap_MiB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["page_KiB"] = static_cast<double>(page) / 1024;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}

BENCHMARK(ReadBytesOnce)->Arg(30)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(Report)->Arg(1)->Arg(30)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    records.folder = fs::temp_directory_path() / ("ambervale-glance-bench-" + std::to_string(::getpid()));
    fs::create_directories(records.folder);
    std::printf("Making the records in %s...\n", records.folder.c_str());
    records.oneDay = MakeRecord(records.folder, 1);
    records.month = MakeRecord(records.folder, 30);
    std::printf("30 days: %.0f MB\n", static_cast<double>(fs::file_size(records.month)) / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (floorSeconds > 0 && reportSeconds > 0) {
        std::printf("30 days: the report takes %.2f times the reading of the bytes once (best of 3: %.3f s / %.3f s)\n",
                    reportSeconds / floorSeconds, reportSeconds, floorSeconds);
    }
    fs::remove_all(records.folder);
    return 0;
}
