// A printer hung in firmware, or a half-open proxy, at a URL port: a listener of the test's own that accepts every
// connection and never answers. Three minutes of entries every second: each one reads Off Line, and the program keeps
// one connection at a time, its threads and memory as they were.
#include <winsock2.h>

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/LoggingEverySecond.h"
#include "fakes/WinTestHttpResponder.h"

namespace ambervale::e2e {
namespace {

using ambervale::testing::HttpReply;
using ambervale::testing::LoopbackHttpResponder;

struct ProcessFigures {
    int threads = 0;
    double workingSetMiB = 0;
};

ProcessFigures FiguresOf(const AppProcess& app) {
    ProcessFigures figures;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        figures.threads += entry.th32OwnerProcessID == app.Id() ? 1 : 0;
    }
    CloseHandle(snapshot);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(app.Process(), &counters, sizeof counters)) {
        figures.workingSetMiB = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    return figures;
}

class IppLongRun : public LoggingEverySecond {};

TEST_F(IppLongRun, APrinterThatAcceptsAndNeverAnswersIsOffLineAndCostsNoMoreAsTheHoursGo) {
    LoopbackHttpResponder printer([](const std::string&) { return HttpReply{"", 0, true}; });
    ambervale::testing::WithDefaultPrinterPort port("http://127.0.0.1:" + std::to_string(printer.Port()) +
                                                    "/ipp/print");
    ASSERT_TRUE(port.Set()) << "the spooler refused the port";
    ASSERT_NO_FATAL_FAILURE(Start("hung-printer"));
    // What the program keeps for good (its threads, WinHTTP's session) is made within the first minute.
    Sleep(60000);
    const ProcessFigures settled = FiguresOf(*app_);
    Sleep(120000);
    const ProcessFigures after = FiguresOf(*app_);
    Close();

    const std::vector<std::string> lines = Lines();
    ASSERT_GE(lines.size(), 40u);
    for (const std::string& line : lines) EXPECT_TRUE(Holds(line, " Printer Status = Off Line  ; ")) << line;
    EXPECT_LE(printer.MostOpenAtOnce(), 2) << "one question's connection, and the last one's not yet seen closing";
    EXPECT_GE(printer.Connections(), 40);
    EXPECT_LE(after.threads, settled.threads + 2) << "threads after the first minute " << settled.threads;
    EXPECT_LE(after.workingSetMiB, settled.workingSetMiB + 8) << "MiB after the first minute " << settled.workingSetMiB;
}

} // namespace
} // namespace ambervale::e2e
