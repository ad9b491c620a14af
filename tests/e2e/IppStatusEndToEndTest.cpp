// The printer's own word over IPP: the default printer put on a URL port or on a Standard TCP/IP port without SNMP
// whose printer is the test world's ippeveprinter (on port 631 of 127.0.0.1), frozen, ended, or an HTTP server of the
// test's own that answers garbage, or never.
#include <winsock2.h>

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "e2e/LoggingEverySecond.h"
#include "e2e/WindowWatch.h"
#include "fakes/FakeIpp.h"
#include "fakes/WinTestHttpResponder.h"
#include "fakes/WinTestTcpIpPort.h"
#include "printer/WinAskPrintersPolicy.h"

namespace ambervale::e2e {
namespace {

using ambervale::testing::HttpOk;
using ambervale::testing::HttpReply;
using ambervale::testing::LoopbackHttpResponder;

constexpr char kPrinterUrl[] = "http://127.0.0.1:631/ipp/print";
constexpr char kMedia[] = "/media?size1=na_letter_8.5x11in&type1=stationery&size3=na_number-10_4.125x9.5in"
                          "&type3=envelope&level3=-2&level1=";

// A GET of the printer's web form, as a browser sends it; true when the printer took it.
bool SetOnPrinter(const std::string& pathAndQuery) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(631);
    std::string reply;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + pathAndQuery + " HTTP/1.0\r\nHost: localhost\r\n\r\n";
        send(s, request.data(), static_cast<int>(request.size()), 0);
        char buffer[4096];
        // The status line is all the test needs: the printer keeps the connection open for a while after its page.
        for (int got; reply.find("\r\n") == std::string::npos && (got = recv(s, buffer, sizeof buffer, 0)) > 0;) {
            reply.append(buffer, static_cast<std::size_t>(got));
        }
    }
    closesocket(s);
    WSACleanup();
    return reply.rfind("HTTP/1.0 200", 0) == 0 || reply.rfind("HTTP/1.1 200", 0) == 0;
}

// STOP, CONT or TERM to the printer's process, through the test world (tools/testenv.sh --ipp); true once sent.
bool SignalPrinter(const char* signal) {
    const char* world = std::getenv("AMBERVALE_ENV_DIR");
    if (world == nullptr) return false;
    const std::string file = std::string("Z:") + world + "/ipp/signal";
    std::ofstream(file) << signal;
    return WaitFor([&] { return GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10000);
}

void SetUserPolicy(DWORD askPrinters) {
    ambervale::testing::SetNumber(ambervale::testing::CreateKey(HKEY_CURRENT_USER, win::kAskPrintersPolicyKey),
                                  win::kAskPrintersPolicyValue, askPrinters);
}
void ClearUserPolicy() { RegDeleteKeyA(HKEY_CURRENT_USER, win::kAskPrintersPolicyKey); }

class IppStatus : public LoggingEverySecond {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("AMBERVALE_IPP_PRINTER"), nullptr) << "needs the world with the printer (--ipp)";
        LoggingEverySecond::SetUp();
        ClearUserPolicy();
        ASSERT_TRUE(SetOnPrinter(std::string(kMedia) + "250"));
        ASSERT_TRUE(SetOnPrinter("/supplies?supply0=20&supply1=80"));
    }
    void TearDown() override {
        LoggingEverySecond::TearDown();
        ClearUserPolicy();
    }

    void PutPrinterOn(const std::string& portName) {
        portName_ = portName;
        printerPort_.reset();
        printerPort_ = std::make_unique<ambervale::testing::WithDefaultPrinterPort>(portName);
        ASSERT_TRUE(printerPort_->Set()) << "the spooler refused the port";
    }
    // Waits for count lines in the history file and checks that each one shows the status and the port.
    void ExpectLines(std::size_t count, const std::string& status) {
        ASSERT_TRUE(WaitFor([&] { return Lines().size() >= count && RowCount() > 0; }, kBound));
        for (const std::string& line : Lines()) {
            EXPECT_TRUE(Holds(line, " Printer Status = " + status + "; Printer Name = ")) << line;
            EXPECT_TRUE(Holds(line, "; Printer Port Name = " + portName_ + "; ")) << line;
        }
    }

    std::string portName_;
    std::unique_ptr<ambervale::testing::WithDefaultPrinterPort> printerPort_;
};

TEST_F(IppStatus, EachStateOfThePrinterGivesItsWordsOnAUrlPort) {
    const struct {
        const char* what;
        std::string form;
        const char* status;
    } cases[] = {
        // An idle printer reports its empty tray (media-empty-report): information, not a condition.
        {"tray empty while idle", std::string(kMedia) + "0", "Ready"},
        {"toner at 3%", "/supplies?supply0=20&supply1=3", "Toner Low  "},
        {"idle, nothing wrong", "/supplies?supply0=20&supply1=80", "Ready"},
    };
    ASSERT_NO_FATAL_FAILURE(PutPrinterOn(kPrinterUrl));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(SetOnPrinter(std::string(kMedia) + "250"));
        ASSERT_TRUE(SetOnPrinter(c.form));
        ASSERT_NO_FATAL_FAILURE(Start(c.what));
        ASSERT_NO_FATAL_FAILURE(ExpectLines(2, c.status));
        Close();
    }
}

TEST_F(IppStatus, ATcpIpPortWithSnmpOffAndAnIppsUrlReachThePrinter) {
    ASSERT_TRUE(SetOnPrinter("/supplies?supply0=20&supply1=3"));
    {
        ambervale::testing::WithTcpIpPort port("IP_127.0.0.1");
        ASSERT_TRUE(port.SetSnmpPort("127.0.0.1", "public", false));
        ASSERT_NO_FATAL_FAILURE(PutPrinterOn("IP_127.0.0.1"));
        ASSERT_NO_FATAL_FAILURE(Start("tcpip-snmp-off"));
        ASSERT_NO_FATAL_FAILURE(ExpectLines(2, "Toner Low  "));
        Close();
    }
    // TLS with the printer's own self-signed certificate.
    ASSERT_NO_FATAL_FAILURE(PutPrinterOn("ipps://127.0.0.1/ipp/print"));
    ASSERT_NO_FATAL_FAILURE(Start("ipps"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(2, "Toner Low  "));
    Close();
}

TEST_F(IppStatus, AFrozenPrinterReadsOffLineWhileTheWindowKeepsAnsweringAndAnEndedOneAddsNothing) {
    ASSERT_NO_FATAL_FAILURE(PutPrinterOn(kPrinterUrl));
    ASSERT_TRUE(SignalPrinter("STOP"));
    ASSERT_NO_FATAL_FAILURE(Start("frozen"));
    {
        const WindowWatch watch(form_, 300);
        ASSERT_NO_FATAL_FAILURE(ExpectLines(2, "Off Line  "));
        EXPECT_GT(watch.Asked(), 0);
        EXPECT_EQ(watch.Missed(), 0) << "longest answer " << watch.LongestMs() << " ms";
    }
    Close();

    ASSERT_TRUE(SignalPrinter("CONT"));
    ASSERT_TRUE(SignalPrinter("TERM"));
    ASSERT_TRUE(WaitFor([] { return !SetOnPrinter("/"); }, kBound)) << "the printer did not end";
    ASSERT_NO_FATAL_FAILURE(Start("ended"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(2, "Ready"));
    Close();
}

// A TCP/IP port without SNMP is asked at a guessed address: silence there is no alarm until the printer has answered
// there, and a guess that never answered is not asked at every entry.
TEST_F(IppStatus, AGuessedAddressIsOffLineOnlyOnceThePrinterHasAnsweredThere) {
    ambervale::testing::WithTcpIpPort port("IP_127.0.0.1");
    ASSERT_TRUE(port.SetSnmpPort("127.0.0.1", "public", false));
    ASSERT_NO_FATAL_FAILURE(PutPrinterOn("IP_127.0.0.1"));
    ASSERT_NO_FATAL_FAILURE(Start("guess-answered"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(2, "Ready"));
    ASSERT_TRUE(SignalPrinter("STOP"));
    ASSERT_TRUE(WaitFor([&] { return !Lines().empty() && Holds(Lines().back(), "Printer Status = Off Line  ; "); },
                        kBound))
        << "a printer that answered there and then hangs";
    Close();
    ASSERT_TRUE(SignalPrinter("CONT"));
    ASSERT_TRUE(SignalPrinter("TERM"));
    ASSERT_TRUE(WaitFor([] { return !SetOnPrinter("/"); }, kBound)) << "the printer did not end";

    // A host that takes connections on 631 and never answers, since the program started.
    LoopbackHttpResponder device([](const std::string&) { return HttpReply{"", 0, true}; }, false, 0, 631);
    ASSERT_NO_FATAL_FAILURE(Start("guess-never-answered"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(6, "Ready"));
    Close();
    EXPECT_GE(device.Connections(), 1);
    EXPECT_LE(device.Connections(), 2) << "asked at start, then not again within the minute";
}

// An HTTP server that answers garbage: the program logs on, and the window answers all along.
TEST_F(IppStatus, GarbageFromTheNetworkAddsNothingAndASlowAnswerIsSilence) {
    std::mt19937 random(7);
    std::string noise(3000, '\0');
    for (char& c : noise) c = static_cast<char>(random() % 256);
    const auto wrongId = [](const std::string& request) {
        const std::string body = ambervale::testing::HttpBody(request);
        std::uint32_t id = 0;
        for (std::size_t i = 4; i < 8 && i < body.size(); ++i) id = (id << 8) | static_cast<unsigned char>(body[i]);
        const auto response = ambervale::testing::PrinterResponse(id + 1, [](ambervale::testing::IppBytes& b) {
            b.Value(0x44, "printer-state-reasons", "media-jam-error");
        });
        return HttpOk(std::string(reinterpret_cast<const char*>(response.data()), response.size()));
    };
    const struct {
        const char* what;
        std::function<HttpReply(const std::string&)> script;
        const char* status;
    } cases[] = {
        {"random bytes", [&](const std::string&) { return HttpReply{noise}; }, "Ready"},
        {"random bytes after HTTP 200", [&](const std::string&) { return HttpReply{HttpOk(noise)}; }, "Ready"},
        {"a 10 MB body", [](const std::string&) { return HttpReply{HttpOk(std::string(10u << 20, 'x'))}; }, "Ready"},
        {"an answer to another request", [&](const std::string& r) { return HttpReply{wrongId(r)}; }, "Ready"},
        {"an answer after 3 s", [](const std::string&) { return HttpReply{HttpOk("late"), 3000}; }, "Off Line  "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackHttpResponder device(c.script);
        ASSERT_NO_FATAL_FAILURE(PutPrinterOn("http://127.0.0.1:" + std::to_string(device.Port()) + "/ipp/print"));
        ASSERT_NO_FATAL_FAILURE(Start(c.what));
        {
            const WindowWatch watch(form_, 300);
            ASSERT_NO_FATAL_FAILURE(ExpectLines(2, c.status));
            EXPECT_EQ(watch.Missed(), 0) << "longest answer " << watch.LongestMs() << " ms";
        }
        EXPECT_GE(device.Connections(), 2);
        Close();
    }
}

TEST_F(IppStatus, WithAskPrintersZeroNotOneRequestIsSentFromStartOrFromAPolicyChange) {
    LoopbackHttpResponder printer([](const std::string&) { return HttpReply{HttpOk("")}; });
    ASSERT_NO_FATAL_FAILURE(PutPrinterOn("http://127.0.0.1:" + std::to_string(printer.Port()) + "/ipp/print"));
    SetUserPolicy(0);
    ASSERT_NO_FATAL_FAILURE(Start("policy-off"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(3, "Ready"));
    Close();
    EXPECT_EQ(printer.Connections(), 0);

    ClearUserPolicy();
    ASSERT_NO_FATAL_FAILURE(Start("policy-change"));
    ASSERT_TRUE(WaitFor([&] { return printer.Connections() > 0; }, kBound));
    SetUserPolicy(0);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Policy"), SMTO_ABORTIFHUNG,
                        kBound, &ignored);
    const std::size_t linesAtChange = Lines().size();
    ASSERT_TRUE(WaitFor([&] { return Lines().size() >= linesAtChange + 2; }, kBound));
    const int connectionsAfterChange = printer.Connections();
    ASSERT_TRUE(WaitFor([&] { return Lines().size() >= linesAtChange + 4; }, kBound));
    Close();
    EXPECT_EQ(printer.Connections(), connectionsAfterChange);
}

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

// A printer hung in firmware, or a half-open proxy: a listener that accepts every connection and never answers, for
// three minutes of entries every second. Needs no printer of the world's.
class IppLongRun : public LoggingEverySecond {};
TEST_F(IppLongRun, APrinterThatAcceptsAndNeverAnswersIsOffLineWithOneConnectionAndNothingPilingUp) {
    LoopbackHttpResponder printer([](const std::string&) { return HttpReply{"", 0, true}; });
    ambervale::testing::WithDefaultPrinterPort port("http://127.0.0.1:" + std::to_string(printer.Port()) + "/");
    ASSERT_TRUE(port.Set());
    ASSERT_NO_FATAL_FAILURE(Start("hung-printer"));
    Sleep(60000);  // what the program keeps for good (threads, WinHTTP's session) is made by then
    const auto [threads, memory] = ThreadsAndMemory(*app_);
    ASSERT_GT(threads, 0) << "the program's threads could not be counted";
    Sleep(120000);
    const auto [threadsAfter, memoryAfter] = ThreadsAndMemory(*app_);
    Close();
    std::printf("after 1 min: %d threads, %.1f MiB; after 3 min: %d threads, %.1f MiB; at most %d connections open\n",
                threads, memory, threadsAfter, memoryAfter, printer.MostOpenAtOnce());
    for (const std::string& line : Lines()) EXPECT_TRUE(Holds(line, "Printer Status = Off Line  ; ")) << line;
    EXPECT_LE(printer.MostOpenAtOnce(), 2) << "a question's connection, and the last one's not yet seen closing";
    EXPECT_LE(threadsAfter, threads + 2) << "after the first minute: " << threads;
    EXPECT_LE(memoryAfter, memory + 8) << "MiB after the first minute: " << memory;
}

} // namespace
} // namespace ambervale::e2e
