#include "snmp/SnmpStatusSource.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace ambervale {
namespace {

std::vector<ObjectId> ObjectIds(const std::vector<PrinterObject>& objects, std::uint32_t deviceIndex) {
    std::vector<ObjectId> ids;
    for (PrinterObject object : objects) ids.push_back(ObjectIdOf(object, deviceIndex));
    return ids;
}

// The answer a reply gives to the objects still asked for, with what earlier replies said; nullopt when it gives none.
std::optional<PrinterAnswer> TakeAnswer(const ReplyVerdict& verdict, const std::vector<PrinterObject>& asked,
                                        PrinterAnswer answer) {
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (!TakeValue(asked[i], verdict.values[i], answer)) return std::nullopt;
    }
    return answer;
}

} // namespace

std::optional<PrinterAnswer> AskPrinter(const SnmpTarget& target, SnmpTransport& transport, RequestIds& ids) {
    const SnmpClock::time_point deadline = SnmpClock::now() + kSnmpBudget;
    const std::unique_ptr<SnmpConversation> conversation = transport.Open(target.host, deadline);
    if (!conversation) return std::nullopt;

    std::vector<PrinterObject> asked(std::begin(kPrinterObjects), std::end(kPrinterObjects));
    std::vector<std::int32_t> sent;
    for (int request = 0; request < kSnmpTries && SnmpClock::now() < deadline; ++request) {
        const std::vector<ObjectId> objects = ObjectIds(asked, target.deviceIndex);
        sent.push_back(ids.Next());
        conversation->Send(EncodeGetRequest(target.community, sent.back(), objects));
        const SnmpClock::time_point waitUntil = std::min(SnmpClock::now() + kSnmpTryWait, deadline);
        while (const auto datagram = conversation->Receive(waitUntil)) {
            const std::optional<GetResponse> reply = ReadGetResponse(*datagram, target.community);
            if (!reply || std::find(sent.begin(), sent.end(), reply->requestId) == sent.end()) continue;
            const ReplyVerdict verdict = JudgeReply(*reply, objects);
            if (verdict.kind == ReplyVerdict::Kind::Answer) {
                if (auto answer = TakeAnswer(verdict, asked, PrinterAnswer{})) return answer;
            } else if (verdict.kind == ReplyVerdict::Kind::NoSuchName) {
                asked.erase(asked.begin() + static_cast<std::ptrdiff_t>(verdict.missingObject));
                // Not one of the objects exists there: an answer that says nothing of the printer.
                if (asked.empty()) return PrinterAnswer{};
                break;
            }
        }
    }
    return std::nullopt;
}

std::uint32_t SnmpStatusSource::StatusBits(const OpenPrinter& printer) {
    try {
        if (!IsPortKeyName(printer.record.portName)) return 0;
        const std::optional<TcpIpPortValues> port = ports_.Read(printer.record.portName);
        if (!port) return 0;
        const std::optional<SnmpTarget> target = SnmpTargetOf(*port);
        if (!target) return 0;
        const std::optional<PrinterAnswer> answer = AskPrinter(*target, transport_, ids_);
        return answer ? PrinterStatusBits(*answer) : kSilentPrinterBits;
    } catch (const std::exception&) {
        // A source keeps its own failures (out of memory, no thread for the name): the printer's word is simply not
        // heard this time.
        return 0;
    }
}

RandomRequestIds::RandomRequestIds() {
    try {
        std::random_device device;
        generator_.seed(device());
    } catch (const std::exception&) {
        // No source of randomness: the time of the start still differs from run to run.
        generator_.seed(static_cast<std::uint32_t>(SnmpClock::now().time_since_epoch().count()));
    }
}

std::int32_t RandomRequestIds::Next() {
    std::uniform_int_distribution<std::int32_t> range(1, 0x7FFFFFFF);
    return range(generator_);
}

} // namespace ambervale
