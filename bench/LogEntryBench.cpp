// Times one log entry (query, list row, append) beside the bare spooler calls it cannot avoid,
// under the machine's real spooler. Usage: ambervale_bench_log_entry [calls per batch] [batches]
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "eventlog/EventLogOutput.h"
#include "eventlog/WinEventLog.h"
#include "history/HistoryFile.h"
#include "history/HistoryPath.h"
#include "history/WinHistoryFile.h"
#include "logging/LogEntry.h"
#include "logging/StatusLogger.h"
#include "logging/WinDateTime.h"
#include "printer/PrinterReport.h"
#include "printer/WinSpooler.h"

namespace {

// Keeps every row, as the real list does, so the cost of a growing list is counted.
class KeepingLogList final : public ambervale::LogList {
public:
    void AddRow(std::string_view dateTimeText, std::string_view reportLine) override {
        rows.push_back(std::string(dateTimeText) + ' ' + std::string(reportLine));
    }
    std::vector<std::string> rows;
};

// The spooler work of one entry with nothing around it: default name, open, probe, fill, close.
bool BareSpoolerCalls() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    std::vector<char> name(size + 1);
    if (!GetDefaultPrinterA(name.data(), &size)) return false;
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name.data(), &printer, &defaults)) return false;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> record(needed);
    const BOOL filled = GetPrinterA(printer, 2, record.data(), needed, &needed);
    ClosePrinter(printer);
    return filled != FALSE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call over one batch.
double TimeBatch(const std::function<void()>& call, int calls, LARGE_INTEGER frequency) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) call();
    QueryPerformanceCounter(&end);
    return Seconds(start, end, frequency) * 1e6 / calls;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const int batches = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;

    if (!BareSpoolerCalls()) {
        std::fprintf(stderr, "No default printer that can be read: nothing to time.\n");
        return 1;
    }

    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ambervale-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = ambervale::ComposeHistoryFilePath(folder);

    ambervale::WinSpooler spooler;
    ambervale::WinClock clock;
    ambervale::WinDateTimeText dateTimeText;
    KeepingLogList list;
    ambervale::WinHistoryWriter writer;
    // Wired as the program wires it: the list, then the history file.
    ambervale::EntryLogger logger(spooler, clock, dateTimeText);
    ambervale::LogListOutput listOutput(list);
    ambervale::HistoryFileOutput historyOutput(writer, path, clock, dateTimeText);
    logger.AddOutput(listOutput);
    logger.AddOutput(historyOutput);
    // The same with the Event Log output after them, logging on: with nothing changing, no entry reaches the Event
    // Log after the first.
    ambervale::win::WinEventLog eventLog;
    ambervale::win::WinSecondsClock seconds;
    ambervale::EventLogOutput eventLogOutput(eventLog, seconds);
    ambervale::EntryLogger loggerWithEvents(spooler, clock, dateTimeText);
    loggerWithEvents.AddOutput(listOutput);
    loggerWithEvents.AddOutput(historyOutput);
    loggerWithEvents.AddOutput(eventLogOutput);
    loggerWithEvents.LoggingSwitched(true, "Log every 1 second");

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const std::function<void()> bare = [] { BareSpoolerCalls(); };
    const std::function<void()> entry = [&] { logger.LogStatusNow(); };
    const std::function<void()> entryWithEvents = [&] { loggerWithEvents.LogStatusNow(); };
    // The parts of one entry, to show where a gap comes from.
    const std::function<void()> query = [&] { ambervale::GetPrinterReport(spooler); };
    const std::function<void()> dateTime = [&] { ambervale::GeneralDateText(dateTimeText, clock.Now()); };
    const std::string sampleLine(200, 'x');
    const std::function<void()> append = [&] { ambervale::AppendToHistory(writer, path, sampleLine); };

    // Warm both paths (DLL loading, the spooler's first contact with CUPS) before timing.
    TimeBatch(bare, 10, frequency);
    TimeBatch(entry, 10, frequency);
    TimeBatch(entryWithEvents, 10, frequency);

    // Interleaved batches, so a slow moment of the machine hits both sides alike.
    std::vector<double> bareTimes;
    std::vector<double> entryTimes;
    std::vector<double> entryWithEventsTimes;
    std::vector<double> queryTimes;
    std::vector<double> dateTimeTimes;
    std::vector<double> appendTimes;
    for (int b = 0; b < batches; ++b) {
        bareTimes.push_back(TimeBatch(bare, calls, frequency));
        entryTimes.push_back(TimeBatch(entry, calls, frequency));
        entryWithEventsTimes.push_back(TimeBatch(entryWithEvents, calls, frequency));
        queryTimes.push_back(TimeBatch(query, calls, frequency));
        dateTimeTimes.push_back(TimeBatch(dateTime, calls, frequency));
        appendTimes.push_back(TimeBatch(append, calls, frequency));
    }
    const double bareMedian = Median(bareTimes);
    const double entryMedian = Median(entryTimes);

    std::printf("batches: %d x %d calls (median of the batches' mean per call)\n", batches, calls);
    std::printf("bare spooler calls: %10.1f us\n", bareMedian);
    std::printf("LogStatusNow:       %10.1f us\n", entryMedian);
    std::printf("ratio:              %10.3f (target <= 1.25)\n", entryMedian / bareMedian);
    std::printf("with Event Log:     %10.1f us, ratio %.3f to without (nothing changes; source %s, policy %s)\n",
                Median(entryWithEventsTimes), Median(entryWithEventsTimes) / entryMedian,
                ambervale::win::EventSourceRegistered() ? "registered" : "not registered",
                eventLog.PolicyAllows() ? "on" : "off");
    std::printf("  of which GetPrinterReport %10.1f us, date-time text %6.1f us, append %6.1f us\n",
                Median(queryTimes), Median(dateTimeTimes), Median(appendTimes));
    std::printf("rows kept: %zu\n", list.rows.size());

    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
