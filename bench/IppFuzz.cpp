// Feeds the IPP response reader mutated responses: answers with every kind of value, 1setOfs, supplies in both
// forms, language forms, collections, the printer's state message and alerts (codes, severities, descriptions of
// any bytes and length), truncations, length and tag mutations and splices. Built natively; under
// AddressSanitizer and UBSan (the tests' build) any over-read or undefined step ends the run with a report.
//   ambervale_fuzz_ipp [responses, default 1000000] [seed, default 1]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "FuzzAsciiText.h"
#include "FuzzMutation.h"
#include "ipp/IppMessage.h"
#include "ipp/IppPrinterState.h"
#include "ipp/IppStatusSource.h"

namespace {

using namespace ambervale;
using fuzz::Bytes;

class Writer {
public:
    Writer& Octet(int value) {
        bytes.push_back(static_cast<std::byte>(value));
        return *this;
    }
    Writer& Short(std::size_t value) { return Octet(static_cast<int>((value >> 8) & 0xFF)).Octet(value & 0xFF); }
    Writer& Counted(const std::string& text) {
        Short(text.size());
        for (const char c : text) Octet(static_cast<unsigned char>(c));
        return *this;
    }
    Writer& Value(int tag, const std::string& name, const std::string& value) { return Octet(tag).Counted(name).Counted(value); }
    Writer& Number(int tag, const std::string& name, std::int32_t number) {
        std::string octets;
        for (int shift = 24; shift >= 0; shift -= 8) octets += static_cast<char>((number >> shift) & 0xFF);
        return Value(tag, name, octets);
    }
    Bytes bytes;
};

constexpr std::int32_t kId = 0x1234;

Writer Opening(int major, int status) {
    Writer w;
    w.Octet(major).Octet(1).Short(static_cast<std::size_t>(status));
    for (int shift = 24; shift >= 0; shift -= 8) w.Octet((kId >> shift) & 0xFF);
    w.Octet(ipp_tag::kOperationGroup).Value(ipp_tag::kCharset, "attributes-charset", "utf-8");
    w.Value(ipp_tag::kNaturalLanguage, "attributes-natural-language", "en").Octet(ipp_tag::kPrinterGroup);
    return w;
}

std::vector<Bytes> Seeds() {
    std::vector<Bytes> seeds;
    Writer a = Opening(2, 0);
    a.Number(ipp_tag::kEnum, "printer-state", 5).Value(0x44, "printer-state-reasons", "media-empty-error")
        .Value(0x44, "", "toner-low-report").Value(0x44, "", "door-open");
    a.Value(0x42, "marker-names", "Black").Value(0x36, "", std::string("\0\x02" "de\0\x04" "Cyan", 10));
    a.Value(0x44, "marker-types", "toner").Value(0x44, "", "ink-cartridge");
    a.Number(0x21, "marker-levels", 3).Number(0x21, "", -2).Octet(ipp_tag::kEndOfAttributes);
    seeds.push_back(a.bytes);

    Writer b = Opening(1, 1);
    b.Number(ipp_tag::kEnum, "printer-state", 4).Value(0x44, "printer-state-reasons", "none");
    b.Value(0x30, "printer-supply", "index=1;class=receptacleThatIsFilled;type=wasteToner;maxcapacity=100;level=20;")
        .Value(0x30, "", "type=toner;maxcapacity=2000;level=10;class=supplyThatIsConsumed;");
    b.Value(0x41, "printer-supply-description", "Waste").Value(0x35, "", std::string("\0\x02" "en\0\x05" "Black", 11));
    b.Octet(0x34).Counted("media-col-ready").Counted("").Value(0x4A, "", "media-size").Value(0x34, "", "")
        .Value(0x4A, "", "x-dimension").Number(0x21, "", 21000).Value(0x37, "", "").Value(0x37, "", "");
    b.Value(0x13, "printer-state-message", "").Octet(0x05).Value(0x10, "x-unsupported", "");
    b.Octet(ipp_tag::kEndOfAttributes).Octet('%').Octet('P');
    seeds.push_back(b.bytes);

    Writer d = Opening(2, 0);
    d.Number(ipp_tag::kEnum, "printer-state", 5).Value(0x44, "printer-state-reasons", "media-jam-error");
    d.Value(0x41, "printer-state-message", "Media Error: Media Mismatch");
    d.Value(0x30, "printer-alert", "code=jam;severity=critical;group=mediaPath;index=1;")
        .Value(0x30, "", "code=subunitPowerSaver;severity=warning").Value(0x30, "", "severity=warningBinaryChangeEvent");
    std::string garbage;
    for (int i = 0; i < 3000; ++i) garbage += static_cast<char>(i * 37 % 256);
    d.Value(0x41, "printer-alert-description", "Paper jam \xC3\xA9\xE2\x80\xAE")
        .Value(0x35, "", std::string("\0\x02" "en\0\x05" "Sleep", 11)).Value(0x41, "", garbage);
    d.Octet(ipp_tag::kEndOfAttributes);
    seeds.push_back(d.bytes);

    Writer c = Opening(2, 0);
    for (int tag = 0x10; tag <= 0xFF; tag += 7) c.Value(tag, "t" + std::to_string(tag), std::string(tag % 9, 'v'));
    c.Octet(ipp_tag::kEndOfAttributes);
    seeds.push_back(c.bytes);
    seeds.push_back(EncodeGetPrinterAttributes("ipp://127.0.0.1:631/ipp/print", kId));
    return seeds;
}

// A delimiter tag.
std::byte DelimiterOctet(std::mt19937& random) { return static_cast<std::byte>(random() % 16); }

// The printer's answer, whatever it is: no port has a key, the request's id is the seeds'.
class OneAnswer final : public StandardTcpIpPorts, public IppTransport, public RequestIds {
public:
    std::optional<TcpIpPortValues> Read(const std::string&) override { return std::nullopt; }
    PostEnding Post(const IppTarget&, std::span<const std::byte>, AskClock::time_point) override {
        return {AskOutcome::Kind::Answered, body, ""};
    }
    std::int32_t Next() override { return kId; }
    Bytes body;
};

} // namespace

int main(int argc, char** argv) {
    const long responses = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1000000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u;
    std::mt19937 random(seed);
    const std::vector<Bytes> seeds = Seeds();
    fuzz::AsciiText text;
    OneAnswer printer;
    IppStatusSource source(printer, printer, printer, text);
    long read = 0;
    std::size_t supplies = 0;
    std::size_t alerts = 0;
    std::uint32_t bits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < responses; ++i) {
        const Bytes bytes = fuzz::Mutate(seeds[static_cast<std::size_t>(i) % seeds.size()], random, DelimiterOctet);
        printer.body = bytes;
        const std::optional<AskOutcome> outcome = source.Ask("ipp://127.0.0.1/ipp/print", AskClock::now() + kAskBudget);
        PrinterOwnReport report;
        bits |= outcome ? AddToEntry(*outcome, report) : 0;
        if (!outcome || outcome->kind != AskOutcome::Kind::Answered) continue;
        ++read;
        supplies += report.supplies.size();
        alerts += report.alerts.size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("responses: %ld mutated from %zu seeds (seed %u), %.1f s, %.2f us each\n", responses, seeds.size(),
                seed, seconds, seconds * 1e6 / static_cast<double>(responses));
    std::printf("read as an answer: %ld; supplies read: %zu; alerts read: %zu; status bits seen: 0x%x\n", read,
                supplies, alerts, bits);
    return 0;
}
