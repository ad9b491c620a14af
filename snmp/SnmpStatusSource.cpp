#include "snmp/SnmpStatusSource.h"

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

namespace ambervale {
namespace {

std::vector<ObjectId> ObjectIds(const std::vector<PrinterObject>& objects, std::uint32_t deviceIndex) {
    std::vector<ObjectId> ids;
    for (PrinterObject object : objects) ids.push_back(ObjectIdOf(object, deviceIndex));
    return ids;
}

// What a reply says of the objects still asked for, beside what earlier replies said. A value that cannot be used
// leaves its object unknown.
PrinterAnswer TakeAnswer(const ReplyVerdict& verdict, const std::vector<PrinterObject>& asked, PrinterAnswer answer) {
    for (std::size_t i = 0; i < asked.size(); ++i) static_cast<void>(TakeValue(asked[i], verdict.values[i], answer));
    return answer;
}

// After tooBig: each object alone, while the budget lasts; one that gets no answer stays unknown.
PrinterAnswer AskOneAtATime(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                            const std::vector<PrinterObject>& asked, SnmpClock::time_point deadline) {
    PrinterAnswer answer;
    for (const PrinterObject object : asked) {
        const std::vector<PrinterObject> one = {object};
        const std::vector<ObjectId> objects = ObjectIds(one, target.deviceIndex);
        const auto reply = Exchange(conversation, ids, target.community, PduKind::Get, objects, deadline,
                                    [&](const GetResponse& r) {
                                        return JudgeReply(r, objects).kind != ReplyVerdict::Kind::NotAnAnswer;
                                    });
        if (!reply) continue;
        const ReplyVerdict verdict = JudgeReply(*reply, objects);
        if (verdict.kind == ReplyVerdict::Kind::Answer) answer = TakeAnswer(verdict, one, answer);
    }
    return answer;
}

} // namespace

std::optional<PrinterAnswer> AskPrinter(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                                        SnmpClock::time_point deadline) {
    std::vector<PrinterObject> asked(std::begin(kPrinterObjects), std::end(kPrinterObjects));
    std::vector<std::int32_t> sent;
    for (int request = 0; request < kSnmpTries && SnmpClock::now() < deadline; ++request) {
        const std::vector<ObjectId> objects = ObjectIds(asked, target.deviceIndex);
        sent.push_back(ids.Next());
        conversation.Send(EncodeGetRequest(target.community, sent.back(), objects));
        const SnmpClock::time_point waitUntil = std::min(SnmpClock::now() + kSnmpTryWait, deadline);
        while (const auto datagram = conversation.Receive(waitUntil)) {
            const std::optional<GetResponse> reply = ReadGetResponse(*datagram, target.community);
            if (!reply || std::find(sent.begin(), sent.end(), reply->requestId) == sent.end()) continue;
            const ReplyVerdict verdict = JudgeReply(*reply, objects);
            switch (verdict.kind) {
            case ReplyVerdict::Kind::Answer:
                return TakeAnswer(verdict, asked, PrinterAnswer{});
            case ReplyVerdict::Kind::TooBig:
                return AskOneAtATime(target, conversation, ids, asked, deadline);
            case ReplyVerdict::Kind::AgentError:
                return PrinterAnswer{};
            case ReplyVerdict::Kind::NoSuchName:
                asked.erase(asked.begin() + static_cast<std::ptrdiff_t>(verdict.missingObject));
                // Not one of the objects exists there: an answer that says nothing of the printer.
                if (asked.empty()) return PrinterAnswer{};
                break;
            case ReplyVerdict::Kind::NotAnAnswer:
                continue;
            }
            break;
        }
    }
    return std::nullopt;
}

std::uint32_t SnmpStatusSource::StatusBits(const OpenPrinter& printer) {
    PrinterHeard heard;
    return Hear(printer, heard);
}

std::uint32_t SnmpStatusSource::Hear(const OpenPrinter& printer, PrinterHeard& heard) {
    try {
        if (!IsPortKeyName(printer.record.portName)) return 0;
        const std::optional<TcpIpPortValues> port = ports_.Read(printer.record.portName);
        if (!port) return 0;
        const std::optional<SnmpTarget> target = SnmpTargetOf(*port);
        if (!target) return 0;
        return Ask(*target, heard);
    } catch (const std::bad_alloc&) {
        heard.notAsked = "out of memory";
    } catch (const std::exception& error) {
        heard.notAsked = error.what();
    }
    // A failure of this PC is not the printer's silence: the entry has the spooler's word alone.
    heard.supplies.clear();
    heard.pages.reset();
    return 0;
}

std::uint32_t SnmpStatusSource::Ask(const SnmpTarget& target, PrinterHeard& heard) {
    const SnmpClock::time_point deadline = SnmpClock::now() + kSnmpBudget;
    const SnmpOpening opening = transport_.Open(target.host, deadline);
    if (!opening.localFailure.empty()) {
        heard.notAsked = opening.localFailure;
        return 0;
    }
    if (!opening.conversation) return kSilentPrinterBits;
    const std::optional<PrinterAnswer> answer = AskPrinter(target, *opening.conversation, ids_, deadline);
    if (!answer) return kSilentPrinterBits;
    // The supplies come after the status, in what is left of the budget.
    supplies_.Update(target, *opening.conversation, ids_, clock_(), deadline);
    heard.supplies = supplies_.Supplies();
    heard.pages = supplies_.Pages();
    return PrinterStatusBits(*answer) | SupplyStatusBits(heard.supplies);
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
