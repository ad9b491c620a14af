// The IPP question at an entry: which printers are asked, what each way the exchange ends says, what the line and
// the supplies then are, and the policy that asks no printer at all.
#include "ipp/IppStatusSource.h"

#include <gtest/gtest.h>

#include <atomic>

#include "fakes/FakeIpp.h"
#include "fakes/FakeAsking.h"
#include "fakes/FakeSpooler.h"
#include "printer/AskPrintersGate.h"
#include "printer/PrinterReport.h"
#include "printer/PrinterStatus.h"
#include "printer/StatusBits.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;

PostEnding Answer(std::vector<std::byte> body) { return {AskOutcome::Kind::Answered, std::move(body), ""}; }

// Stopped with an empty tray, toner at 3%, and saying so.
std::vector<std::byte> EmptyTray(std::uint32_t id) {
    return PrinterResponse(id, [](IppBytes& b) {
        b.Integer(ipp_tag::kEnum, "printer-state", 5).Value(0x44, "printer-state-reasons", "media-empty-error");
        b.Value(0x41, "printer-state-message", "Load paper in Tray 1");
        b.Value(0x42, "marker-names", "Black").Value(0x44, "marker-types", "toner").Integer(0x21, "marker-levels", 3);
    });
}

struct IppWorld {
    IppWorld() {
        ports.ports["IP_192.0.2.7"] = SnmpPort("192.0.2.7");
        ports.ports["IP_192.0.2.7"].snmpEnabled = Number(0);
        ports.ports["IP_192.0.2.8"] = SnmpPort("192.0.2.8");
    }
    std::uint32_t Bits(const std::string& portName = "IP_192.0.2.7") {
        FakeSpooler spooler;
        PrinterFields record;
        record.portName = portName;
        ownReport = {};
        return source.StatusAndReport(OpenPrinter{spooler, FakeSpooler::kHandle, record}, ownReport);
    }
    FakeTcpIpPorts ports;
    FakeIppTransport transport;
    CountingRequestIds ids;
    FakeForeignText text;
    AskClock::time_point now{};
    IppStatusSource source{ports, transport, ids, text, [this] { return now; }};
    PrinterOwnReport ownReport;
};

TEST(IppStatusSource, ATcpIpPortWithSnmpOffIsAskedOnceAtTheEverywhereAddress) {
    IppWorld world;
    world.transport.answer = Answer(EmptyTray(101));
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Paper Out  Toner Low  \r\n");
    ASSERT_EQ(world.transport.requests.size(), 1u);
    EXPECT_EQ(world.transport.requests[0], EncodeGetPrinterAttributes("ipp://192.0.2.7:631/ipp/print", 101));
    EXPECT_EQ(world.transport.targets[0].host, "192.0.2.7");
    EXPECT_EQ(world.ownReport.supplies,
              (std::vector<Supply>{{"Black", supply_type::kToner, supply_class::kOther, 3, 1}}));
    EXPECT_FALSE(world.ownReport.notAsked.has_value());
    EXPECT_EQ(world.ownReport.alerts,
              (std::vector<PrinterAlert>{{PrinterAlert::Severity::Critical, "Load paper in Tray 1"}}));
}

TEST(IppStatusSource, OnlyUrlPortsAndTcpIpPortsThatSnmpLeavesAreAsked) {
    IppWorld world;
    world.transport.answer = Answer(EmptyTray(101));
    EXPECT_EQ(world.Bits("IP_192.0.2.8"), 0u) << "SNMP asks it";
    EXPECT_EQ(world.Bits("WSD-4b3c1e7a-0001"), 0u);
    EXPECT_EQ(world.Bits("LPT1:"), 0u);
    EXPECT_EQ(world.Bits(""), 0u);
    EXPECT_TRUE(world.transport.requests.empty());

    world.Bits("http://192.0.2.9:8631/ipp/print");
    ASSERT_EQ(world.transport.targets.size(), 1u);
    EXPECT_EQ(world.transport.targets[0].printerUri, "ipp://192.0.2.9:8631/ipp/print");
    EXPECT_EQ(world.transport.targets[0].port, 8631);
    // A Standard TCP/IP port named like a URL is that port: its key says where the printer is.
    world.ports.ports["http://192.0.2.9/"] = world.ports.ports["IP_192.0.2.7"];
    world.Bits("http://192.0.2.9/");
    EXPECT_EQ(world.transport.targets.back().host, "192.0.2.7");
}

// What each end of the exchange adds to the line and to the Event Log, at an address the administrator named (a URL
// port) and at a guess (a TCP/IP port without SNMP) that has not answered yet. One row a case.
TEST(IppStatusSource, EachEndOfTheExchangeAddsWhatTheAddressEarned) {
    using enum AskOutcome::Kind;
    const struct {
        const char* what;
        AskOutcome::Kind kind;
        std::vector<std::byte> body;
        const char* reason;
        std::uint32_t atUrl;
        std::uint32_t atGuess;
    } cases[] = {
        {"no answer in time", Silent, {}, "", status_bit::kOffline, 0},
        {"refused or an HTTP error", NoSuchProtocol, {}, "", 0, 0},
        {"no HTTP client on this PC", CouldNotAsk, {}, "no WinHTTP", 0, 0},
        {"an answer to another request", Answered, EmptyTray(102), "", 0, 0},
        {"garbage with HTTP 200", Answered, Bytes({0x3C, 0x68, 0x74}), "", 0, 0},
        {"an error status", Answered, IppBytes().Header(2, 0x0400, 101).Groups().End(), "", 0, 0},
        {"an answer", Answered, EmptyTray(101), "", status_bit::kPaperOut | status_bit::kTonerLow,
         status_bit::kPaperOut | status_bit::kTonerLow},
    };
    for (const auto& c : cases) {
        for (const bool guessed : {false, true}) {
            IppWorld world;
            world.transport.answer = {c.kind, c.body, c.reason};
            EXPECT_EQ(world.Bits(guessed ? "IP_192.0.2.7" : "ipp://192.0.2.7/ipp/print"), guessed ? c.atGuess : c.atUrl)
                << c.what << (guessed ? " at a guess" : " at a URL");
            // Only an address the administrator named speaks of this PC's failure.
            const std::optional<std::string> notAsked =
                c.kind == CouldNotAsk && !guessed ? std::optional<std::string>(c.reason) : std::nullopt;
            EXPECT_EQ(world.ownReport.notAsked, notAsked) << c.what << (guessed ? " at a guess" : " at a URL");
            EXPECT_EQ(world.ownReport.supplies.size(), c.atUrl != 0 && c.kind == Answered ? 1u : 0u) << c.what;
        }
    }
    IppWorld world;
    world.transport.failure = "no thread for the question";
    EXPECT_EQ(world.Bits("ipp://192.0.2.7/ipp/print"), 0u) << "this PC's failure is not the printer's silence";
    EXPECT_EQ(world.ownReport.notAsked, "no thread for the question");
}

TEST(IppStatusSource, AGuessIsAskedLessOftenUntilItAnswersAndThenItsSilenceIsOffLine) {
    IppWorld world;
    world.transport.answer = {AskOutcome::Kind::Silent, {}, ""};
    EXPECT_EQ(world.Bits(), 0u);
    world.now += std::chrono::seconds(59);
    EXPECT_EQ(world.Bits(), 0u);
    EXPECT_EQ(world.transport.requests.size(), 1u) << "not asked again within the minute";
    world.now += std::chrono::seconds(1);
    world.Bits();
    EXPECT_EQ(world.transport.requests.size(), 2u);
    EXPECT_EQ(world.Bits("ipp://192.0.2.7:631/ipp/print"), status_bit::kOffline) << "a URL port is asked always";

    world.now += std::chrono::minutes(2);
    world.transport.answer = Answer(EmptyTray(104));
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Paper Out  Toner Low  \r\n");
    world.transport.answer = {AskOutcome::Kind::Silent, {}, ""};
    EXPECT_EQ(world.Bits(), status_bit::kOffline) << "it has answered here: now its silence counts";
    EXPECT_EQ(world.Bits(), status_bit::kOffline);
    EXPECT_EQ(world.transport.requests.size(), 6u);
}

TEST(IppStatusSource, ThePolicyGateAsksNoPrinterWhileClosedAndAgainOnceOpen) {
    IppWorld world;
    world.transport.answer = Answer(EmptyTray(101));
    std::atomic<bool> allowed{false};
    AskPrintersGate gate(world.source, allowed);
    FakeSpooler spooler;
    spooler.record.portName = "IP_192.0.2.7";
    std::vector<StatusSource*> sources(SpoolerStatusSources().begin(), SpoolerStatusSources().end());
    sources.push_back(&gate);
    const auto closed = QueryDefaultPrinter(spooler, sources);
    ASSERT_TRUE(closed.has_value());
    EXPECT_EQ(closed->status, 0u);
    EXPECT_TRUE(world.transport.requests.empty());

    allowed = true;
    const auto open = QueryDefaultPrinter(spooler, sources);
    ASSERT_TRUE(open.has_value());
    EXPECT_EQ(PrinterStatusText(open->status), "Printer Status = Paper Out  Toner Low  \r\n");
    EXPECT_EQ(open->ownReport.supplies.size(), 1u);
}

} // namespace
} // namespace ambervale
