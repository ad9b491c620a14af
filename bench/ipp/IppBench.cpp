// What asking the printer over IPP costs, under Wine against the test world's ippeveprinter (tools/testenv.sh --ipp):
//   1. one entry as the program makes it (the question on its worker thread): spooler only, with the printer's
//      answer, and with the printer frozen (SIGSTOP); wall time and this process's CPU time per entry, in interleaved
//      batches; and the bytes of one question and its answer;
//   2. Ambervale.exe logging every second with its printer not asked, answering, or frozen, for the given seconds:
//      the entries it made and how long its window took to answer WM_NULL, beside a minimal window program.
//   ambervale_bench_ipp.exe [seconds per run of step 2, default 30] [entries per batch of step 1, default 20]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "e2e/AppProcess.h"
#include "fakes/WinTestHttpResponder.h"
#include "fakes/WinTestPrinter.h"
#include "ipp/IppMessage.h"
#include "ipp/IppStatusSource.h"
#include "ipp/WinHttpTransport.h"
#include "logging/StatusLogger.h"
#include "logging/WinDateTime.h"
#include "logging/WinEntryWorker.h"
#include "base/WinText.h"
#include "printer/WinSpooler.h"
#include "snmp/SnmpStatusSource.h"
#include "asking/WinStandardTcpIpPorts.h"
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

constexpr char kPrinterUrl[] = "http://127.0.0.1:631/ipp/print";

// STOP or CONT to the world's printer (tools/testenv.sh --ipp).
void SignalPrinter(const char* signal) {
    const char* world = std::getenv("AMBERVALE_ENV_DIR");
    if (world == nullptr) return;
    const std::string file = std::string("Z:") + world + "/ipp/signal";
    std::ofstream(file) << signal;
    e2e::WaitFor([&] { return GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10000);
}

bool SetDefaultPort(const std::string& port) {
    return testing::ChangeDefaultPrinterRecord([&](PRINTER_INFO_2A& info) { info.pPortName = const_cast<char*>(port.c_str()); });
}

class NoOutput final : public LogOutput {
public:
    void Write(const LogEntry&) override {}
};

// The transport as the program has it, counting what goes through.
class CountingTransport final : public IppTransport {
public:
    PostEnding Post(const IppTarget& target, std::span<const std::byte> request,
                    AskClock::time_point deadline) override {
        PostEnding exchange = inner.Post(target, request, deadline);
        lastRequest = request.size();
        lastBody = exchange.body.size();
        return exchange;
    }
    win::WinHttpTransport inner;
    std::size_t lastRequest = 0;
    std::size_t lastBody = 0;
};

// The HTTP request on the wire, as a server of the bench's own receives it from WinHTTP.
std::size_t RequestBytesOnTheWire() {
    testing::LoopbackHttpResponder server([](const std::string&) { return testing::HttpReply{testing::HttpOk("")}; });
    win::WinHttpTransport transport;
    const IppTarget target{false, "127.0.0.1", server.Port(), "/ipp/print", "ipp://127.0.0.1:631/ipp/print"};
    transport.Post(target, EncodeGetPrinterAttributes(target.printerUri, 1), AskClock::now() + std::chrono::seconds(5));
    const auto requests = server.Requests();
    return requests.empty() ? 0 : requests[0].size();
}

void EntryCosts(const std::string& originalPort, int perBatch) {
    WinSpooler spooler;
    WinClock clock;
    WinDateTimeText dateTimeText;
    win::WinStandardTcpIpPorts ports;
    CountingTransport transport;
    RandomRequestIds ids;
    win::WinForeignText text;
    IppStatusSource printerAsking(ports, transport, ids, text);
    win::WinEntryWorker worker;
    NoOutput output;
    EntryLogger logger(spooler, clock, dateTimeText, worker);
    logger.AddStatusSource(printerAsking);
    logger.AddOutput(output);
    const auto entry = [&] { logger.LogStatusNow(); };
    const auto on = [](std::string port) { return [port] { SetDefaultPort(port); }; };

    std::vector<EntryTimes> kinds = {
        {"spooler only (CUPS port, not asked)", on(originalPort), entry, perBatch, {}},
        {"with the printer's answer", on(kPrinterUrl), entry, perBatch, {}},
        {"with the printer frozen",
         [&] {
             SetDefaultPort(kPrinterUrl);
             SignalPrinter("STOP");
         },
         entry, 1, {}, 0, 0, [] { SignalPrinter("CONT"); }},
    };
    for (EntryTimes& kind : kinds) RunBatch(kind);  // warm: WinHTTP, the spooler's first contact
    const std::size_t body = transport.lastBody;
    ForgetFigures(kinds);
    for (int batch = 0; batch < 15; ++batch) {
        for (EntryTimes& kind : kinds) RunBatch(kind);
    }
    SetDefaultPort(kPrinterUrl);
    logger.LogStatusNow();
    for (const EntryTimes& kind : kinds) {
        std::printf("entry, %-38s %10.1f us (median of 15 batches), CPU %8.1f us\n", kind.what,
                    Median(kind.microseconds), kind.cpuSeconds * 1e6 / kind.entries);
    }
    std::printf("ratio with the printer's answer / spooler only: %.2f\n",
                Median(kinds[1].microseconds) / Median(kinds[0].microseconds));
    std::printf("one question: IPP request %zu bytes, %zu bytes as HTTP on the wire; IPP answer %zu bytes (body)\n",
                transport.lastRequest, RequestBytesOnTheWire(), std::max(body, transport.lastBody));
    SetDefaultPort(originalPort);
}

void RunProgram(const std::string& exe, const char* what, const std::string& port, bool frozen, int seconds) {
    SetDefaultPort(port);
    if (frozen) SignalPrinter("STOP");
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ambervale-bench-ipp-" + std::to_string(GetTickCount());
    CreateDirectoryA(folder.c_str(), nullptr);
    {
        e2e::AppProcess app(exe, folder);
        const HWND form = app.WaitForMainWindow(60000);
        if (form) {
            Sleep(1000);
            const std::size_t linesBefore = e2e::ReadLines(folder + "\\Ambervale.txt").size();
            const WatchFigures watched = Watch(form, seconds);
            const std::size_t entries = e2e::ReadLines(folder + "\\Ambervale.txt").size() - linesBefore;
            PostMessageA(form, WM_CLOSE, 0, 0);
            app.WaitForExit(10000);
            PrintWatch(what, watched);
            std::printf("%-28s %3zu entries in %d s: %4.1f a minute\n", "", entries, seconds, entries * 60.0 / seconds);
        } else {
            std::printf("Ambervale did not start\n");
        }
    }
    if (frozen) SignalPrinter("CONT");
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;
    const int perBatch = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    if (std::getenv("AMBERVALE_IPP_PRINTER") == nullptr) {
        std::fprintf(stderr, "No IPP printer: run inside tools/testenv.sh NAME --ipp.\n");
        return 1;
    }
    std::string originalPort;
    testing::ChangeDefaultPrinterRecord([&](PRINTER_INFO_2A& info) { originalPort = info.pPortName ? info.pPortName : ""; });
    EntryCosts(originalPort, perBatch);

    e2e::SetSetting("OftenIndex", "1");
    e2e::SetSetting("StartStopState", "On");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder = std::string(path).substr(0, std::string(path).find_last_of("\\/"));
    const std::string exe = folder + "\\..\\..\\app\\Ambervale.exe";
    RunMinimalWindow(folder + "\\..\\window\\MinimalWindow.exe", seconds);
    RunProgram(exe, "spooler only:", originalPort, false, seconds);
    RunProgram(exe, "printer answering (IPP):", kPrinterUrl, false, seconds);
    RunProgram(exe, "printer frozen (IPP):", kPrinterUrl, true, seconds);
    SetDefaultPort(originalPort);
    e2e::DeleteAllSettings();
    return 0;
}
