// A printer hung in firmware, or a half-open proxy, at a URL port: a listener of the test's own that accepts every
// connection and never answers. Three minutes of entries every second.
#include "fakes/WinTestHttpResponder.h"

#include <psapi.h>
#include <tlhelp32.h>

#include "e2e/LoggingEverySecond.h"

namespace ambervale::e2e {
namespace {

// The program's threads, and its working set in MiB.
std::pair<int, double> ThreadsAndMemory(const AppProcess& app) {
    int threads = 0;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        threads += entry.th32OwnerProcessID == app.Id() ? 1 : 0;
    }
    CloseHandle(snapshot);
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(app.Process(), &counters, sizeof counters);
    return {threads, static_cast<double>(counters.WorkingSetSize) / (1 << 20)};
}

class IppLongRun : public LoggingEverySecond {};
TEST_F(IppLongRun, APrinterThatAcceptsAndNeverAnswersIsOffLineWithOneConnectionAndNothingPilingUp) {
    ambervale::testing::LoopbackHttpResponder printer([](auto&) { return ambervale::testing::HttpReply{"", 0, true}; });
    ambervale::testing::WithDefaultPrinterPort port("http://127.0.0.1:" + std::to_string(printer.Port()) + "/");
    ASSERT_TRUE(port.Set());
    ASSERT_NO_FATAL_FAILURE(Start("hung-printer"));
    Sleep(60000);  // what the program keeps for good (threads, WinHTTP's session) is made by then
    const auto [threads, memory] = ThreadsAndMemory(*app_);
    Sleep(120000);
    const auto [threadsAfter, memoryAfter] = ThreadsAndMemory(*app_);
    Close();
    for (const std::string& line : Lines()) EXPECT_TRUE(Holds(line, "Printer Status = Off Line  ; ")) << line;
    EXPECT_LE(printer.MostOpenAtOnce(), 2) << "a question's connection, and the last one's not yet seen closing";
    EXPECT_LE(threadsAfter, threads + 2) << "after the first minute: " << threads;
    EXPECT_LE(memoryAfter, memory + 8) << "MiB after the first minute: " << memory;
}

} // namespace
} // namespace ambervale::e2e
