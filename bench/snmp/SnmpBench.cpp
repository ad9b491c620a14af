// What asking the printer itself costs, under Wine against the test world's SNMP agent (tools/testenv.sh --snmp):
//   1. one entry as the program makes it (the question on its worker thread): spooler only, with the printer's
//      answer (a printer without a supplies table), with a printer's supplies (between their reads, with their levels
//      read as each minute has them, with the whole table read as each hour has it), with a printer's alert table read
//      as each minute has it, and with a silent printer; wall
//      time and this process's CPU time per entry (Wine gives the CPU time of the calling process only, so the
//      entries are made here, not in Ambervale.exe), in interleaved batches;
//   2. Ambervale.exe logging every second with its printer not asked, answering, or silent, for the given seconds:
//      the entries it made and how long its window took to answer WM_NULL, beside a minimal window program (what
//      Wine and the machine's load alone cost).
//   3. with "soak COMMUNITY": part 2 alone, for one printer of the agent (an alert table's, say), for a soak whose
//      memory and CPU time are read from outside the process.
//   ambervale_bench_snmp.exe [seconds per run of part 2, default 60] [entries per batch of part 1, default 20]
//   ambervale_bench_snmp.exe SECONDS soak COMMUNITY
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "e2e/AppProcess.h"
#include "fakes/WinTestPrinter.h"
#include "fakes/WinTestTcpIpPort.h"
#include "logging/StatusLogger.h"
#include "logging/WinDateTime.h"
#include "logging/WinEntryWorker.h"
#include "printer/WinSpooler.h"
#include "snmp/SnmpStatusSource.h"
#include "asking/WinStandardTcpIpPorts.h"
#include "snmp/WinUdpTransport.h"
#include "EntryTiming.h"
#include "window/WindowStall.h"

namespace {

using namespace ambervale;
using bench::EntryTimes;
using bench::ForgetFigures;
using bench::Median;
using bench::PrintWatch;
using bench::RunBatch;
using bench::RunMinimalWindow;
using bench::Watch;
using bench::WatchFigures;

// Keeps nothing: only the making of the entry is timed.
class NoOutput final : public LogOutput {
public:
    void Write(const LogEntry&) override {}
};

void EntryCosts(const std::string& agent, int perBatch) {
    testing::WithTcpIpPort port("IP_" + agent);
    testing::WithDefaultPrinterPort printerPort("IP_" + agent);
    if (!port.Created() || !printerPort.Set()) {
        std::printf("the default printer could not be put on the port\n");
        return;
    }
    WinSpooler spooler;
    WinClock clock;
    WinDateTimeText dateTimeText;
    win::WinStandardTcpIpPorts ports;
    win::WinUdpTransport transport;
    RandomRequestIds ids;
    SnmpStatusSource printerAsking(ports, transport, ids);
    win::WinEntryWorker worker;
    NoOutput output;
    EntryLogger logger(spooler, clock, dateTimeText, worker);
    logger.AddStatusSource(printerAsking);
    logger.AddOutput(output);
    InlineEntryWorker inlineWorker;
    EntryLogger onThisThread(spooler, clock, dateTimeText, inlineWorker);
    onThisThread.AddStatusSource(printerAsking);
    onThisThread.AddOutput(output);
    // Sources whose clock moves a minute, or an hour, at each entry: each entry then reads what that step has due.
    int minutes = 0;
    int hours = 0;
    SnmpStatusSource levelsDue(ports, transport, ids, nullptr,
                               [&] { return AskClock::now() + std::chrono::minutes(++minutes); });
    SnmpStatusSource tableDue(ports, transport, ids, nullptr,
                              [&] { return AskClock::now() + std::chrono::hours(++hours); });
    // Its own, so that the batches of a printer without supplies, between, do not make it read the table again.
    SnmpStatusSource suppliesKept(ports, transport, ids);
    EntryLogger keptLogger(spooler, clock, dateTimeText, worker);
    keptLogger.AddStatusSource(suppliesKept);
    keptLogger.AddOutput(output);
    EntryLogger levelsLogger(spooler, clock, dateTimeText, worker);
    levelsLogger.AddStatusSource(levelsDue);
    levelsLogger.AddOutput(output);
    int alertMinutes = 0;
    SnmpStatusSource alertsDue(ports, transport, ids, nullptr,
                               [&] { return AskClock::now() + std::chrono::minutes(++alertMinutes); });
    EntryLogger alertsLogger(spooler, clock, dateTimeText, worker);
    alertsLogger.AddStatusSource(alertsDue);
    alertsLogger.AddOutput(output);
    EntryLogger tableLogger(spooler, clock, dateTimeText, worker);
    tableLogger.AddStatusSource(tableDue);
    tableLogger.AddOutput(output);
    const auto entry = [&] { logger.LogStatusNow(); };
    const auto snmp = [&](const char* community, bool enabled) {
        return [&port, &agent, community, enabled] { port.SetSnmpPort(agent, community, enabled); };
    };

    std::vector<EntryTimes> kinds = {
        {"the worker's hop alone (no question)", snmp("ready", false), [&] { worker.RunAndWait([] {}); }, perBatch, {}},
        {"spooler only (SNMP off)", snmp("ready", false), entry, perBatch, {}},
        {"spooler only, on the caller's thread", snmp("ready", false), [&] { onThisThread.LogStatusNow(); }, perBatch,
         {}},
        {"with the printer's answer", snmp("ready", true), entry, perBatch, {}},
        {"with supplies, between their reads", snmp("toner-at-4", true), [&] { keptLogger.LogStatusNow(); },
         perBatch, {}},
        {"with supplies, their levels read", snmp("toner-at-4", true), [&] { levelsLogger.LogStatusNow(); }, perBatch,
         {}},
        {"with supplies, the whole table read", snmp("toner-at-4", true), [&] { tableLogger.LogStatusNow(); },
         perBatch, {}},
        {"with an alert table, read", snmp("maintenance-box", true), [&] { alertsLogger.LogStatusNow(); }, perBatch,
         {}},
        {"with a silent printer", snmp("silent", true), entry, 1, {}},
    };
    for (EntryTimes& kind : kinds) RunBatch(kind);  // warm: libraries, the agent's index, the spooler's first contact
    ForgetFigures(kinds);
    // Interleaved, so a slow moment of the machine hits every kind alike.
    for (int batch = 0; batch < 15; ++batch) {
        for (EntryTimes& kind : kinds) RunBatch(kind);
    }
    for (const EntryTimes& kind : kinds) {
        std::printf("entry, %-40s %9.1f us (median of 15 batches), CPU %7.1f us\n", kind.what,
                    Median(kind.microseconds), kind.cpuSeconds * 1e6 / kind.entries);
    }
    std::printf("ratio with the printer's answer / spooler only: %.2f (the agent, a Python program, answers in "
                "milliseconds; a printer in about one)\n",
                Median(kinds[3].microseconds) / Median(kinds[1].microseconds));
    for (std::size_t k = 4; k <= 7; ++k) {
        std::printf("ratio %s / without a supplies or alert table: %.2f\n", kinds[k].what,
                    Median(kinds[k].microseconds) / Median(kinds[3].microseconds));
    }
}

std::string FreshFolder(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ambervale-bench-snmp-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\Ambervale.txt").c_str());
    return folder;
}

void RunProgram(const std::string& exe, const std::string& agent, const char* community, bool snmp, int seconds) {
    testing::WithTcpIpPort port("IP_" + agent);
    testing::WithDefaultPrinterPort printerPort("IP_" + agent);
    port.SetSnmpPort(agent, community, snmp);
    const std::string folder = FreshFolder(community);
    e2e::AppProcess app(exe, folder);
    const HWND form = app.WaitForMainWindow(60000);
    if (!form) {
        std::printf("Ambervale did not start\n");
        return;
    }
    Sleep(1000);  // past the start
    const std::size_t linesBefore = e2e::ReadLines(folder + "\\Ambervale.txt").size();
    const WatchFigures watched = Watch(form, seconds);
    const std::size_t entries = e2e::ReadLines(folder + "\\Ambervale.txt").size() - linesBefore;
    PostMessageA(form, WM_CLOSE, 0, 0);
    app.WaitForExit(10000);
    const std::string what = snmp ? std::string("printer ") + community + ":" : "SNMP off (spooler only):";
    PrintWatch(what.c_str(), watched);
    std::printf("%-28s %3zu entries in %d s: %4.1f a minute\n", "", entries, seconds, entries * 60.0 / seconds);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const bool soak = argc > 3 && std::string(argv[2]) == "soak";
    const int perBatch = argc > 2 && !soak ? std::max(1, std::atoi(argv[2])) : 20;
    const char* agent = std::getenv("AMBERVALE_SNMP_AGENT");
    if (agent == nullptr) {
        std::fprintf(stderr, "No SNMP agent: run inside tools/testenv.sh NAME --snmp.\n");
        return 1;
    }
    if (!soak) EntryCosts(agent, perBatch);

    // Ambervale.exe logging every second.
    e2e::SetSetting("OftenIndex", "1");
    e2e::SetSetting("StartStopState", "On");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder = std::string(path).substr(0, std::string(path).find_last_of("\\/"));
    const std::string exe = folder + "\\..\\..\\app\\Ambervale.exe";
    if (soak) {
        RunProgram(exe, agent, argv[3], true, seconds);
        e2e::DeleteAllSettings();
        return 0;
    }
    RunMinimalWindow(folder + "\\..\\window\\MinimalWindow.exe", seconds);
    RunProgram(exe, agent, "ready", false, seconds);
    RunProgram(exe, agent, "ready", true, seconds);
    RunProgram(exe, agent, "toner-at-4", true, seconds);
    RunProgram(exe, agent, "silent", true, seconds);
    e2e::DeleteAllSettings();
    return 0;
}
