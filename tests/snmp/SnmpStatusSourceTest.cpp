// The question to the printer: tries, request ids, noSuchName, bad replies, and what the entry's line then says.
#include "snmp/SnmpStatusSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fakes/FakeSnmp.h"
#include "fakes/FakeSpooler.h"
#include "printer/PrinterReport.h"
#include "printer/PrinterStatus.h"
#include "snmp/Ber.h"

namespace ambervale {
namespace {

using namespace ambervale::testing;
using enum PrinterObject;

std::vector<std::byte> Join(std::initializer_list<std::vector<std::byte>> parts) {
    std::vector<std::byte> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<std::byte> Binding(PrinterObject object, std::vector<std::byte> value) {
    return BerElement(ber::kSequence, Join({BerElement(ber::kObjectId, ObjectIdOf(object, 1)), value}));
}
std::vector<std::byte> Integer(int value) { return BerInteger(value); }
std::vector<std::byte> Octets(std::initializer_list<int> octets) { return BerElement(ber::kOctetString, Bytes(octets)); }
const std::vector<std::byte> kNull = Bytes({0x05, 0x00});
const std::vector<std::byte> kNoSuchObject = Bytes({0x80, 0x00});

// The objects' bindings with NULL values, as a request has them and SNMPv1 agents echo them with an error.
std::vector<std::byte> Nulls(std::initializer_list<PrinterObject> objects) {
    std::vector<std::byte> bindings;
    for (PrinterObject object : objects) {
        const auto binding = Binding(object, kNull);
        bindings.insert(bindings.end(), binding.begin(), binding.end());
    }
    return bindings;
}

// A GetResponse as an agent sends it.
std::vector<std::byte> Response(std::int32_t id, std::initializer_list<std::vector<std::byte>> bindings,
                                int errorStatus = 0, int errorIndex = 0) {
    const auto pdu = BerElement(0xA2, Join({BerInteger(id), BerInteger(errorStatus), BerInteger(errorIndex),
                                            BerElement(ber::kSequence, Join(bindings))}));
    const auto community = BerElement(ber::kOctetString, Bytes({'p', 'u', 'b', 'l', 'i', 'c'}));
    return BerElement(ber::kSequence, Join({BerInteger(0), community, pdu}));
}

// Idle, running, jammed (bit 5).
std::vector<std::byte> Jammed(std::int32_t id) {
    return Response(id, {Binding(DeviceStatus, Integer(2)), Binding(PrinterStatus, Integer(3)),
                         Binding(DetectedErrorState, Octets({0x04}))});
}

struct SnmpWorld {
    SnmpWorld() { ports.ports["IP_192.0.2.7"] = SnmpPort("192.0.2.7"); }
    std::uint32_t Bits(const std::string& portName = "IP_192.0.2.7") {
        FakeSpooler spooler;
        PrinterFields record;
        record.portName = portName;
        return source.StatusBits(OpenPrinter{spooler, FakeSpooler::kHandle, record});
    }
    FakeTcpIpPorts ports;
    FakeAgent agent;
    CountingRequestIds ids;
    SnmpStatusSource source{ports, agent, ids};
};

TEST(SnmpStatusSource, AJammedPrinterReadsPaperJamFromOneRequest) {
    SnmpWorld world;
    world.agent.replies = {{Jammed(101)}};
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Paper Jam  \r\n");
    EXPECT_EQ(world.agent.opened, std::vector<std::string>{"192.0.2.7"});
    ASSERT_EQ(world.agent.GetRequests().size(), 1u);
    EXPECT_EQ(world.agent.requests[0], EncodeGetRequest("public", 101, PrinterObjectsAt(1)));
}

TEST(SnmpStatusSource, ASilentPrinterIsAskedThreeTimesWithFreshIdsThenReadsOffLine) {
    SnmpWorld world;
    EXPECT_EQ(world.Bits(), status_bit::kOffline);
    ASSERT_EQ(world.agent.requests.size(), 3u) << "and no supplies asked of a printer that says nothing";
    EXPECT_EQ(world.agent.requests[1], EncodeGetRequest("public", 102, PrinterObjectsAt(1)));
    EXPECT_EQ(world.agent.requests[2], EncodeGetRequest("public", 103, PrinterObjectsAt(1)));

    SnmpWorld unreachable;
    unreachable.agent.unreachable = true;  // a name that does not resolve in time
    EXPECT_EQ(unreachable.Bits(), status_bit::kOffline);
    EXPECT_TRUE(unreachable.agent.requests.empty());
}

TEST(SnmpStatusSource, RepliesThatAreNotOursAreIgnoredAndALateAnswerCounts) {
    SnmpWorld world;
    auto otherCommunity = Jammed(101);
    otherCommunity[8] = std::byte{'P'};
    world.agent.replies = {
        {Jammed(999), Bytes({0x30, 0x03, 0x02}), otherCommunity, Response(101, {Binding(DeviceStatus, Integer(2))})},
        // While the second request is waited for, the answer to the first one arrives.
        {Jammed(101)},
    };
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Paper Jam  \r\n");
    EXPECT_EQ(world.agent.GetRequests().size(), 2u);
}

TEST(SnmpStatusSource, AnyErrorOrUnusableValueOfTheAgentsOwnIsNeverOffLine) {
    const struct {
        const char* what;
        std::vector<std::byte> reply;
        const char* line;
    } cases[] = {
        {"genErr", Response(101, {Nulls({DeviceStatus, PrinterStatus, DetectedErrorState})}, 5, 1),
         "Printer Status = Ready\r\n"},
        {"badValue without bindings", Response(101, {}, 3, 0), "Printer Status = Ready\r\n"},
        {"noSuchName of no object asked", Response(101, {}, kErrorNoSuchName, 7), "Printer Status = Ready\r\n"},
        {"a device status of the wrong type", Response(101, {Binding(DeviceStatus, Octets({5})),
                                                             Binding(PrinterStatus, Integer(3)),
                                                             Binding(DetectedErrorState, Octets({0x08}))}),
         "Printer Status = Printer Door Open  \r\n"},
        {"a 9-byte integer and NULL", Response(101, {Binding(DeviceStatus, Bytes({2, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9})),
                                                     Binding(PrinterStatus, kNull),
                                                     Binding(DetectedErrorState, Octets({0x04}))}),
         "Printer Status = Paper Jam  \r\n"},
        {"nothing usable at all", Response(101, {Binding(DeviceStatus, kNull), Binding(PrinterStatus, kNull),
                                                 Binding(DetectedErrorState, kNull)}),
         "Printer Status = Ready\r\n"},
    };
    for (const auto& c : cases) {
        SnmpWorld world;
        world.agent.replies = {{c.reply}};
        EXPECT_EQ(PrinterStatusText(world.Bits()), c.line) << c.what;
        EXPECT_EQ(world.agent.GetRequests().size(), 1u) << c.what;
    }
}

TEST(SnmpStatusSource, TooBigHasTheObjectsAskedOneAtATime) {
    SnmpWorld world;
    world.agent.replies = {
        {Response(101, {}, kErrorTooBig, 0)},
        {Response(102, {Binding(DeviceStatus, Integer(2))})},
        {},  // hrPrinterStatus: no answer to any of its three tries
        {},
        {},
        {Response(106, {Binding(DetectedErrorState, Octets({0x04}))})},
    };
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Paper Jam  \r\n");
    const auto gets = world.agent.GetRequests();
    ASSERT_EQ(gets.size(), 6u);
    EXPECT_EQ(gets[1], EncodeGetRequest("public", 102, std::vector<ObjectId>{PrinterObjectsAt(1)[0]}));
    EXPECT_EQ(gets[5], EncodeGetRequest("public", 106, std::vector<ObjectId>{PrinterObjectsAt(1)[2]}));
}

TEST(SnmpStatusSource, AFailureOnThisPcIsNotThePrintersSilence) {
    SnmpWorld world;
    world.agent.localFailure = "no socket";
    FakeSpooler spooler;
    PrinterFields record;
    record.portName = "IP_192.0.2.7";
    PrinterOwnReport ownReport;
    EXPECT_EQ(world.source.StatusAndReport(OpenPrinter{spooler, FakeSpooler::kHandle, record}, ownReport), 0u);
    EXPECT_EQ(ownReport.notAsked, "no socket");
    EXPECT_TRUE(world.agent.requests.empty());

    // A name that does not resolve is the printer's silence, not this PC's failure.
    world.agent.localFailure.clear();
    world.agent.unreachable = true;
    PrinterOwnReport silent;
    EXPECT_EQ(world.source.StatusAndReport(OpenPrinter{spooler, FakeSpooler::kHandle, record}, silent), status_bit::kOffline);
    EXPECT_FALSE(silent.notAsked.has_value());
}

TEST(SnmpStatusSource, NoSuchNameAsksForTheOtherObjectsAlone) {
    SnmpWorld world;
    world.agent.replies = {
        {Response(101, {Nulls({DeviceStatus, PrinterStatus, DetectedErrorState})}, kErrorNoSuchName, 1)},
        {Response(102, {Binding(PrinterStatus, Integer(4)), Binding(DetectedErrorState, Octets({0x08}))})},
    };
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Printer Door Open  Printing  \r\n");
    ASSERT_EQ(world.agent.GetRequests().size(), 2u);
    const std::vector<ObjectId> all = PrinterObjectsAt(1);
    EXPECT_EQ(world.agent.requests[1], EncodeGetRequest("public", 102, std::vector<ObjectId>(all.begin() + 1, all.end())));
}

TEST(SnmpStatusSource, AReplyIsJudgedAgainstTheRequestItAnswers) {
    SnmpWorld world;
    world.agent.replies = {
        {},  // the first request gets no reply in time
        // The reply to the first one says hrPrinterStatus is missing: the other two are asked again.
        {Response(101, {Nulls({DeviceStatus, PrinterStatus, DetectedErrorState})}, kErrorNoSuchName, 2)},
        // The reply to the second request, for all three objects, comes after that one: no error of the agent's.
        {Response(102, {Nulls({DeviceStatus, PrinterStatus, DetectedErrorState})}, kErrorNoSuchName, 2),
         Response(103, {Binding(DeviceStatus, Integer(2)), Binding(DetectedErrorState, Octets({0x04}))})},
    };
    EXPECT_EQ(PrinterStatusText(world.Bits()), "Printer Status = Paper Jam  \r\n");
    EXPECT_EQ(world.agent.GetRequests().size(), 3u);
}

// An agent, or anyone, that keeps sending datagrams: counts those asked for once the deadline has passed.
class Flood : public SnmpConversation {
public:
    explicit Flood(AskClock::time_point deadline) : deadline_(deadline) {}
    void Send(std::span<const std::byte>) override {}
    std::optional<std::vector<std::byte>> Receive(AskClock::time_point) override {
        if (AskClock::now() >= deadline_ && ++late > 1000) return std::nullopt;
        return Bytes({0x30, 0x00});
    }
    int late = 0;

private:
    AskClock::time_point deadline_;
};

TEST(SnmpStatusSource, TheDeadlineEndsTheQuestionWhateverKeepsArriving) {
    const AskClock::time_point deadline = AskClock::now() + std::chrono::milliseconds(20);
    Flood flood(deadline);
    CountingRequestIds ids;
    EXPECT_FALSE(AskPrinter(SnmpTarget{"192.0.2.7", "public", 1}, flood, ids, deadline).has_value());
    EXPECT_LE(flood.late, 1);
}

TEST(SnmpStatusSource, AnAgentThatIsNoPrinterAddsNothing) {
    // SNMPv1 agents echo the bindings asked for, with the first one named missing.
    SnmpWorld v1;
    v1.agent.replies = {
        {Response(101, {Nulls({DeviceStatus, PrinterStatus, DetectedErrorState})}, kErrorNoSuchName, 1)},
        {Response(102, {Nulls({PrinterStatus, DetectedErrorState})}, kErrorNoSuchName, 1)},
        {Response(103, {Nulls({DetectedErrorState})}, kErrorNoSuchName, 1)},
    };
    EXPECT_EQ(v1.Bits(), 0u) << "it answered: the printer is not off line";
    EXPECT_EQ(v1.agent.GetRequests().size(), 3u);

    // The first request lost on the way, the next one answered noSuchName: the agent is up, whatever follows.
    SnmpWorld lossy;
    lossy.agent.replies = {
        {}, {Response(102, {Nulls({DeviceStatus, PrinterStatus, DetectedErrorState})}, kErrorNoSuchName, 1)}};
    EXPECT_EQ(lossy.Bits(), 0u) << "never off line";
    EXPECT_EQ(lossy.agent.GetRequests().size(), 5u) << "the objects left have three tries of their own";

    SnmpWorld v2c;
    v2c.agent.replies = {{Response(101, {Binding(DeviceStatus, Integer(5)), Binding(PrinterStatus, kNoSuchObject),
                                         Binding(DetectedErrorState, kNoSuchObject)})}};
    EXPECT_EQ(v2c.Bits(), 0u);
}

TEST(SnmpStatusSource, APortWithoutSnmpIsNeverAskedAndABadPortNameNeverLookedUp) {
    SnmpWorld world;
    world.ports.ports["IP_off"] = SnmpPort("192.0.2.8");
    world.ports.ports["IP_off"].snmpEnabled = Number(0);
    EXPECT_EQ(world.Bits("IP_off"), 0u);
    EXPECT_EQ(world.Bits("LPT1:"), 0u);
    EXPECT_EQ(world.Bits("\\\\server\\queue"), 0u);
    EXPECT_EQ(world.Bits(""), 0u);
    EXPECT_EQ(world.ports.reads, (std::vector<std::string>{"IP_off", "LPT1:"}));
    EXPECT_TRUE(world.agent.opened.empty());
}

TEST(SnmpStatusSource, ThePrintersWordIsOredWithTheSpoolersAndKeepsTheTablesOrder) {
    SnmpWorld world;
    world.agent.replies = {{Jammed(101)}};
    FakeSpooler spooler;
    spooler.record.portName = "IP_192.0.2.7";
    spooler.record.status = 0x1;  // paused
    std::vector<StatusSource*> sources(SpoolerStatusSources().begin(), SpoolerStatusSources().end());
    sources.push_back(&world.source);
    const auto fields = QueryDefaultPrinter(spooler, sources);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(RenderPrinterReport(*fields),
              "Printer Status = Paper Jam  Paused  \r\nPrinter Name = Front Desk\r\n"
              "Printer Driver Name = Generic Laser\r\nPrinter Port Name = IP_192.0.2.7\r\n");
    EXPECT_EQ(spooler.closeCount, 1);
}

} // namespace
} // namespace ambervale
