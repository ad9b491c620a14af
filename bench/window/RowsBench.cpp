// The log list over a long run: what a row costs in memory and time, measured in the whole process.
#include "RowsBench.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTime.h"
#include "fakes/RecordingForm1Events.h"
#include "mainwindow/WinForm1.h"

namespace {

constexpr long long kBlock = 1000;
constexpr int kTimedBlocks = 20;  // at each end of the run
const std::string kReport =
    "Printer Status = Ready; Printer Name = Ambervale_Test; Printer Driver Name = Ambervale_Test; "
    "Printer Port Name = CUPS:Ambervale_Test; ";

PROCESS_MEMORY_COUNTERS_EX Memory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

double MiB(unsigned long long bytes) { return static_cast<double>(bytes) / 1048576.0; }

// The address space reserved or committed: what runs out first in a 32-bit process.
double AddressSpaceInUseMiB() {
    unsigned long long used = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* at = static_cast<const char*>(nullptr); VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State != MEM_FREE) used += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at) break;  // wrapped around
    }
    return MiB(used);
}

// The en-US general date form of the given second of the run, which starts at 12/10/2026 11:00:00 AM: the first and
// the last rows of a year then have texts of one shape, so comparing their cost compares the store alone.
std::string UsDateTime(long long second) {
    namespace chr = std::chrono;
    const chr::sys_seconds when =
        chr::sys_days{chr::year{2026} / 12 / 10} + chr::hours{11} + chr::seconds{second};
    const chr::year_month_day date{chr::floor<chr::days>(when)};
    const chr::hh_mm_ss time{when - chr::floor<chr::days>(when)};
    char text[40];
    const int hour = static_cast<int>(time.hours().count());
    const int length = std::snprintf(text, sizeof text, "%u/%u/%d", static_cast<unsigned>(date.month()),
                                     static_cast<unsigned>(date.day()), static_cast<int>(date.year()));
    if (time.to_duration().count() == 0) return std::string(text, static_cast<std::size_t>(length));
    std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), " %d:%02d:%02d %s",
                  hour % 12 == 0 ? 12 : hour % 12, static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), hour < 12 ? "AM" : "PM");
    return text;
}

std::string Shown(HWND list, int row) {
    std::string buffer(1024, '\0');
    LVITEMA item{};
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buffer.substr(0, static_cast<std::size_t>(length));
}

double Fastest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Adds one block of rows; when timed, their texts are made beforehand, so only the adding is timed.
double AddBlock(ambervale::LogList& list, long long first, bool timed, const std::string& (*report)(long long)) {
    if (!timed) {
        for (long long i = first; i < first + kBlock; ++i) list.AddRow(UsDateTime(i), report(i));
        return 0;
    }
    std::vector<std::string> times;
    std::vector<std::string> reports;
    for (long long i = first; i < first + kBlock; ++i) {
        times.push_back(UsDateTime(i));
        reports.push_back(report(i));
    }
    const double start = Now();
    for (long long i = 0; i < kBlock; ++i) list.AddRow(times[i], reports[i]);
    return Now() - start;
}

const std::string& SameReport(long long) { return kReport; }

const std::string& ChangingReport(long long i) {
    static std::string report;
    report = "Printer Status = Ready; Printer Name = Queue " + std::to_string(i) +
             "; Printer Driver Name = Ambervale_Test; Printer Port Name = CUPS:Ambervale_Test; ";
    return report;
}

void Run(ambervale::win::Form1Window& form, long long rows, const char* what,
         const std::string& (*report)(long long)) {
    const auto before = Memory();
    const double spaceBefore = AddressSpaceInUseMiB();
    const long long blocks = rows / kBlock;
    std::vector<double> first;
    std::vector<double> last;
    const double start = Now();
    // Wine reports the current commit as its peak, so the peak is also sampled here.
    SIZE_T peak = before.PagefileUsage;
    for (long long b = 0; b < blocks; ++b) {
        const bool timed = b < kTimedBlocks || b >= blocks - kTimedBlocks;
        const double seconds = AddBlock(form.ListView1(), b * kBlock, timed, report);
        if (b % 64 == 0) peak = std::max(peak, Memory().PagefileUsage);
        if (b < kTimedBlocks) first.push_back(seconds);
        else if (timed) last.push_back(seconds);
    }
    form.FlushLogRows();
    const double took = Now() - start;
    const auto after = Memory();
    peak = std::max(peak, after.PagefileUsage);
    HWND list = GetDlgItem(form.Handle(), ambervale::kListView1);
    const long long count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    const bool readsBack = count == rows && Shown(list, 0) == UsDateTime(0) + " " + report(0) &&
                           Shown(list, static_cast<int>(rows - 1)) == UsDateTime(rows - 1) + " " + report(rows - 1);
    std::printf("%s: %lld rows in %.1f s; the list shows %lld, first and last read back %s\n", what, rows, took, count,
                readsBack ? "exactly" : "WRONG");
    // PagefileUsage is the private memory committed (Wine leaves PrivateUsage at 0).
    std::printf("  memory: %.2f bytes/row (committed %.1f MiB -> %.1f MiB; working set %.1f MiB)\n",
                static_cast<double>(after.PagefileUsage - before.PagefileUsage) / static_cast<double>(rows),
                MiB(before.PagefileUsage), MiB(after.PagefileUsage), MiB(after.WorkingSetSize));
    std::printf("  peak committed %.1f MiB (sampled every 64000 rows; the system says %.1f MiB), peak working set "
                "%.1f MiB, address space in use %.1f MiB -> %.1f MiB\n",
                MiB(peak), MiB(after.PeakPagefileUsage), MiB(after.PeakWorkingSetSize), spaceBefore,
                AddressSpaceInUseMiB());
    std::printf("  first 1000 rows %.3f us/row, last 1000 rows %.3f us/row\n", first.front() * 1000,
                last.back() * 1000);
    std::printf("  blocks of 1000 among the first and the last %d: median %.3f and %.3f us/row (last/first %.2f), "
                "fastest %.3f and %.3f us/row (last/first %.2f)\n",
                kTimedBlocks, Median(first) * 1000, Median(last) * 1000, Median(last) / Median(first),
                Fastest(first) * 1000, Fastest(last) * 1000, Fastest(last) / Fastest(first));
}

} // namespace

void LogListRows(long long rows) {
    rows = std::max(2 * kTimedBlocks * kBlock, rows / kBlock * kBlock);
    ambervale::win::Form1Window form(GetModuleHandleA(nullptr));
    form.Create();
    ambervale::testing::RecordingForm1Events events;
    form.Attach(events);
    form.AddLogListColumn(" Printer Status");
    ShowWindow(form.Handle(), SW_SHOWNORMAL);
    std::printf("log list, one row a second from 12/10/2026 11:00:00 AM, report of %zu characters\n", kReport.size());
    Run(form, rows, "the same report", SameReport);
    form.ListView1Rows().RemoveAllRows();
    const auto cleared = Memory();
    std::printf("after clearing: committed %.1f MiB, working set %.1f MiB, address space in use %.1f MiB\n",
                MiB(cleared.PagefileUsage), MiB(cleared.WorkingSetSize), AddressSpaceInUseMiB());
    Run(form, std::min(rows, 1000000LL), "a report that changes at every row", ChangingReport);
}
