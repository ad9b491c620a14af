// Feeds the SNMP reply reader mutated replies: valid v1 and v2c answers, noSuchName, truncations, length and tag
// mutations, splices and deep nesting; and the supplies table's walk mutated replies to its GetNextRequests (rows,
// endOfMibView, noSuchName, tooBig, object ids of every length), one walk taking them in turn until it ends; and the
// alert table's walk the same way, its rows read as the printer's words (severities, groups, codes, descriptions of
// any bytes and length, in a character set named or not). Built
// natively; under AddressSanitizer and UBSan (the tests' build) any over-read or undefined step ends the run with a
// report. Every fourth reply also goes the program's whole way, as the one datagram an agent sends: the status source
// asks, and the outcome adds its words and report by the trust table.
//   ambervale_fuzz_snmp [replies, default 1000000] [seed, default 1]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "FuzzAsciiText.h"
#include "FuzzMutation.h"
#include "snmp/Ber.h"
#include "snmp/PrinterAlertTable.h"
#include "snmp/PrinterMib.h"
#include "snmp/SnmpGet.h"
#include "snmp/SnmpStatusSource.h"
#include "snmp/TableWalk.h"

namespace {

using namespace ambervale;
using fuzz::Bytes;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes Octets(std::initializer_list<int> values) {
    Bytes out;
    for (int value : values) out.push_back(static_cast<std::byte>(value));
    return out;
}

Bytes Community() { return BerElement(ber::kOctetString, Octets({'p', 'u', 'b', 'l', 'i', 'c'})); }

Bytes Reply(int version, std::int32_t id, int status, int index, const std::vector<Bytes>& values) {
    Bytes bindings;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto object = ObjectIdOf(kPrinterObjects[i % 3], 1);
        const Bytes binding = BerElement(ber::kSequence, Join({BerElement(ber::kObjectId, object), values[i]}));
        bindings.insert(bindings.end(), binding.begin(), binding.end());
    }
    const Bytes pdu = BerElement(0xA2, Join({BerInteger(id), BerInteger(status), BerInteger(index),
                                             BerElement(ber::kSequence, bindings)}));
    return BerElement(ber::kSequence, Join({BerInteger(version), Community(), pdu}));
}

std::vector<Bytes> Seeds() {
    const Bytes nullValue = Octets({0x05, 0x00});
    std::vector<Bytes> seeds = {
        Reply(0, 4660, 0, 0, {BerInteger(2), BerInteger(3), BerElement(ber::kOctetString, Octets({0x04, 0x00}))}),
        Reply(1, -7, 0, 0, {BerInteger(5), Octets({0x80, 0x00}), Octets({0x81, 0x00})}),
        Reply(0, 0x7FFFFFFF, 2, 2, {nullValue, nullValue, nullValue}),
        Reply(1, 1, 0, 0, {Octets({0x82, 0x00}), Octets({0x41, 0x01, 0x07}), BerElement(ber::kOctetString, {})}),
        EncodeGetRequest("public", 99, std::vector<ObjectId>{ObjectIdOf(PrinterObject::DeviceStatus, 300)}),
    };
    // Replies to a walk of the supplies table: a row of each column, the ends of a v2c and a v1 agent, tooBig.
    const auto tableCell = [](std::uint32_t table, std::uint32_t column, std::uint32_t row, const Bytes& value) {
        const std::vector<std::uint32_t> arcs = {1, 3, 6, 1, 2, 1, 43, table, 1, 1, column, 1, row};
        return BerElement(ber::kSequence, Join({BerElement(ber::kObjectId, BerObjectIdContents(arcs)), value}));
    };
    const auto walkReply = [](int version, int status, int index, const Bytes& bindings) {
        const Bytes pdu = BerElement(0xA2, Join({BerInteger(77), BerInteger(status), BerInteger(index),
                                                 BerElement(ber::kSequence, bindings)}));
        return BerElement(ber::kSequence, Join({BerInteger(version), Community(), pdu}));
    };
    const auto cell = [&](std::uint32_t column, std::uint32_t row, const Bytes& value) {
        return tableCell(11, column, row, value);
    };
    const Bytes counter = Octets({0x41, 0x05, 0x00, 0xff, 0xff, 0xff, 0xfe});
    seeds.push_back(walkReply(0, 0, 0, Join({cell(4, 1, BerInteger(3)), cell(5, 1, BerInteger(3)),
                                            cell(6, 1, BerElement(ber::kOctetString, Octets({'B', 'k', 0xe9}))),
                                            cell(7, 1, BerInteger(13)), cell(8, 1, BerInteger(7000)),
                                            cell(9, 1, BerInteger(-3)), cell(4, 5, counter)})));
    seeds.push_back(walkReply(1, 0, 0, Join({cell(5, 0x7FFFFFFF, BerInteger(21)), cell(9, 2, Octets({0x82, 0x00})),
                                            cell(12, 1, BerInteger(1))})));
    seeds.push_back(walkReply(0, 2, 3, Join({cell(4, 1, nullValue), cell(5, 1, nullValue), cell(6, 1, nullValue)})));
    seeds.push_back(walkReply(1, 1, 0, {}));
    // Replies to a walk of the alert table: an Epson's critical row, a sleeping printer's warnings, text of any bytes.
    const auto text = [](std::string_view words) {
        return BerElement(ber::kOctetString, std::as_bytes(std::span(words.data(), words.size())));
    };
    const auto alert = [&](std::uint32_t row, int severity, int group, int code, const Bytes& description) {
        return Join({tableCell(18, 2, row, BerInteger(severity)), tableCell(18, 4, row, BerInteger(group)),
                     tableCell(18, 7, row, BerInteger(code)), tableCell(18, 8, row, description)});
    };
    seeds.push_back(walkReply(
        0, 0, 0, alert(1, 3, 11, 1110, text("The Maintenance Box is at the end of its service life."))));
    seeds.push_back(walkReply(1, 0, 0, alert(2, 4, 5, 23, text("Sleep"))));
    seeds.push_back(walkReply(1, 0, 0, alert(9, 4, 10, 1001, text("fuser under temperature \xe9\xc3\xa9"))));
    seeds.push_back(walkReply(1, 0, 0, alert(0x7FFFFFFF, 5, 18, 1801, Octets({0x82, 0x00}))));
    std::string garbage;
    for (int i = 0; i < 1200; ++i) garbage += static_cast<char>(i * 37 % 256);
    seeds.push_back(walkReply(0, 0, 0, alert(3, 3, 8, 808, text(garbage))));
    // Deep nesting: sequences inside sequences, each with a long-form length.
    Bytes nested = BerInteger(0);
    for (int depth = 0; depth < 2000; ++depth) nested = BerElement(ber::kSequence, nested);
    seeds.push_back(nested);
    return seeds;
}

// A port whose printer is asked over SNMP at 192.0.2.7; the datagram is the only one its agent sends back.
class OneDatagramAgent final : public StandardTcpIpPorts, public SnmpTransport, public RequestIds {
public:
    std::optional<TcpIpPortValues> Read(const std::string&) override {
        TcpIpPortValues port;
        port.snmpEnabled = {PortValue::Kind::Number, "", 1};
        port.ipAddress = {PortValue::Kind::Text, "192.0.2.7", 0};
        return port;
    }
    SnmpOpening Open(const std::string&, AskClock::time_point) override {
        return {std::make_unique<Conversation>(datagram), ""};
    }
    std::int32_t Next() override { return 4660; }  // the first seed's
    Bytes datagram;

private:
    class Conversation final : public SnmpConversation {
    public:
        explicit Conversation(const Bytes& datagram) : datagram_(datagram) {}
        void Send(std::span<const std::byte>) override {}
        std::optional<std::vector<std::byte>> Receive(AskClock::time_point) override {
            if (sent_) return std::nullopt;
            sent_ = true;
            return datagram_;
        }

    private:
        const Bytes& datagram_;
        bool sent_ = false;
    };
};

// The rows the alert table's walk holds, as the printer's words.
std::vector<PrinterAlert> AlertsOf(const TableWalk& walk, std::optional<std::uint32_t> set, ForeignText* text) {
    const auto integer = [&](std::size_t column, std::uint32_t row) -> std::optional<std::int32_t> {
        const auto found = walk.Rows(column).find(row);
        if (found == walk.Rows(column).end() || found->second.kind != SnmpValue::Kind::Integer) return std::nullopt;
        return found->second.integer;
    };
    std::vector<AlertRow> rows;
    for (const auto& [row, value] : walk.Rows(3)) {
        std::optional<std::string> description;
        if (value.kind == SnmpValue::Kind::OctetString) {
            description.emplace(reinterpret_cast<const char*>(value.octets.data()), value.octets.size());
        }
        rows.push_back({integer(0, row), integer(1, row), integer(2, row), description});
    }
    return AlertsOfRows(rows, set, text);
}

// A length octet of the long form.
std::byte LengthFormOctet(std::mt19937& random) { return static_cast<std::byte>(0x80 | (random() % 8)); }

} // namespace

int main(int argc, char** argv) {
    const long replies = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1000000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u;
    std::mt19937 random(seed);
    const std::vector<Bytes> seeds = Seeds();
    const std::vector<ObjectId> asked = {ObjectIdOf(PrinterObject::DeviceStatus, 1),
                                         ObjectIdOf(PrinterObject::PrinterStatus, 1),
                                         ObjectIdOf(PrinterObject::DetectedErrorState, 1)};
    // The walk's columns as the supplies table has them: six of up to 32 rows, the page count of one.
    std::vector<WalkColumn> columns;
    for (std::uint32_t column = 4; column <= 9; ++column) columns.push_back({{1, 3, 6, 1, 2, 1, 43, 11, 1, 1, column, 1}, 32});
    columns.push_back({{1, 3, 6, 1, 2, 1, 43, 10, 2, 1, 4, 1}, 1});
    TableWalk walk(columns);
    std::vector<WalkColumn> alertColumns;
    for (std::uint32_t column : {2u, 4u, 7u, 8u}) alertColumns.push_back({{1, 3, 6, 1, 2, 1, 43, 18, 1, 1, column, 1}, 32});
    TableWalk alertWalk(alertColumns);
    fuzz::AsciiText ascii;
    long alerts = 0;
    long walks = 0;
    long rows = 0;
    long read = 0;
    long answers = 0;
    std::uint32_t bits = 0;
    OneDatagramAgent agent;
    SnmpStatusSource source(agent, agent, agent);
    long sourceAnswers = 0;
    std::uint32_t sourceBits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < replies; ++i) {
        const Bytes datagram = fuzz::Mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], random, LengthFormOctet);
        if (i % 4 == 0) {
            agent.datagram = datagram;
            const std::optional<AskOutcome> outcome = source.Ask("IP_192.0.2.7", AskClock::now() + kAskBudget);
            PrinterOwnReport report;
            sourceBits |= outcome ? AddToEntry(*outcome, report) : 0;
            sourceAnswers += outcome && outcome->kind == AskOutcome::Kind::Answered ? 1 : 0;
        }
        const auto reply = ReadGetResponse(datagram, "public");
        if (!reply) continue;
        ++read;
        // The walk takes the reply as the answer to what it would ask next, a column at a time now and then.
        const std::vector<ObjectId> objects = walk.NextObjects(i % 5 == 0 ? 1 : SIZE_MAX);
        if (walk.Take(*reply, objects) == TableWalk::Step::Taken) {
            for (std::size_t c = 0; c < columns.size(); ++c) rows += static_cast<long>(walk.Rows(c).size());
        }
        if (alertWalk.Take(*reply, alertWalk.NextObjects(SIZE_MAX)) == TableWalk::Step::Taken) {
            alerts += static_cast<long>(AlertsOf(alertWalk, i % 3 == 0 ? std::nullopt : std::optional(i % 2 ? 4u : 106u),
                                                 i % 7 == 0 ? nullptr : &ascii).size());
        }
        if (alertWalk.Done()) alertWalk = TableWalk(alertColumns);
        if (walk.Done()) {
            walk = TableWalk(columns);
            ++walks;
        }
        for (const VarBind& binding : reply->bindings) rows += DecodeObjectId(binding.object) ? 0 : 1;
        const ReplyVerdict verdict = JudgeReply(*reply, asked);
        if (verdict.kind != ReplyVerdict::Kind::Answer) continue;
        PrinterAnswer answer;
        bool taken = true;
        for (std::size_t o = 0; o < asked.size(); ++o) {
            taken = taken && TakeValue(kPrinterObjects[o], verdict.values[o], answer);
        }
        if (!taken) continue;
        ++answers;
        bits |= PrinterStatusBits(answer);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("replies: %ld mutated from %zu seeds (seed %u), %.1f s, %.2f us each\n", replies, seeds.size(), seed,
                seconds, seconds * 1e6 / static_cast<double>(replies));
    std::printf("read as a GetResponse: %ld; an answer to the question: %ld; status bits seen: 0x%x\n", read, answers,
                bits);
    std::printf("walks of the supplies table ended: %ld; rows and bad object ids counted: %ld\n", walks, rows);
    std::printf("alerts read from the alert table's walks: %ld\n", alerts);
    std::printf("through the status source: %ld answered; status bits added: 0x%x\n", sourceAnswers, sourceBits);
    return 0;
}
