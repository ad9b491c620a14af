#include "snmp/SnmpStatusSource.h"

#include <cstddef>
#include <iterator>
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
                            const std::vector<PrinterObject>& asked, AskClock::time_point deadline) {
    PrinterAnswer answer;
    for (const PrinterObject object : asked) {
        const std::vector<PrinterObject> one = {object};
        const std::vector<ObjectId> objects = ObjectIds(one, target.deviceIndex);
        const auto reply = RequestWithRetries(conversation, ids, target.community, PduKind::Get, objects, deadline);
        if (!reply) continue;
        const ReplyVerdict verdict = JudgeReply(*reply, objects);
        if (verdict.kind == ReplyVerdict::Kind::Answer) answer = TakeAnswer(verdict, one, answer);
    }
    return answer;
}

} // namespace

std::optional<PrinterAnswer> AskPrinter(const SnmpTarget& target, SnmpConversation& conversation, RequestIds& ids,
                                        AskClock::time_point deadline) {
    std::vector<PrinterObject> asked(std::begin(kPrinterObjects), std::end(kPrinterObjects));
    // Once the agent has answered a request, the question has its answer, however the rest goes.
    bool heard = false;
    while (!asked.empty()) {
        const std::vector<ObjectId> objects = ObjectIds(asked, target.deviceIndex);
        const std::optional<GetResponse> reply =
            RequestWithRetries(conversation, ids, target.community, PduKind::Get, objects, deadline);
        if (!reply) break;
        heard = true;
        const ReplyVerdict verdict = JudgeReply(*reply, objects);
        switch (verdict.kind) {
        case ReplyVerdict::Kind::Answer:
            return TakeAnswer(verdict, asked, PrinterAnswer{});
        case ReplyVerdict::Kind::TooBig:
            return AskOneAtATime(target, conversation, ids, asked, deadline);
        case ReplyVerdict::Kind::NoSuchName:
            // Left out, and the others asked again with tries of their own. Not one of the objects existing there
            // is an answer that says nothing of the printer.
            asked.erase(asked.begin() + static_cast<std::ptrdiff_t>(verdict.missingObject));
            break;
        case ReplyVerdict::Kind::AgentError:
        case ReplyVerdict::Kind::NotAnAnswer:
            return PrinterAnswer{};
        }
    }
    return heard ? std::optional<PrinterAnswer>(PrinterAnswer{}) : std::nullopt;
}

std::optional<AskOutcome> SnmpStatusSource::Ask(const std::string& portName, AskClock::time_point deadline) {
    if (!IsPortKeyName(portName)) return std::nullopt;
    const std::optional<TcpIpPortValues> port = ports_.Read(portName);
    if (!port) return std::nullopt;
    const std::optional<SnmpTarget> target = TargetsOf(*port).snmp;
    if (!target) return std::nullopt;
    const SnmpOpening opening = transport_.Open(target->host, deadline);
    if (!opening.localFailure.empty()) return AskOutcome::NotAsked(opening.localFailure);
    if (!opening.conversation) return AskOutcome::Silence();
    const std::optional<PrinterAnswer> answer = AskPrinter(*target, *opening.conversation, ids_, deadline);
    if (!answer) return AskOutcome::Silence();
    // The alert table and the supplies come after the status, in what is left of the budget: the alerts first, which
    // explain the state this entry shows; the supplies' descriptions can wait.
    const AskClock::time_point now = clock_();
    alerts_.Update(*target, *opening.conversation, ids_, PrinterStatusBits(*answer), now, deadline);
    supplies_.Update(*target, *opening.conversation, ids_, now, deadline);
    const std::vector<Supply>& supplies = supplies_.Supplies();
    AskOutcome outcome = AskOutcome::Answer(PrinterStatusBits(*answer, supplies) | SupplyStatusBits(supplies));
    outcome.supplies = supplies;
    outcome.pages = supplies_.Pages();
    outcome.alerts = alerts_.Alerts();
    return outcome;
}

} // namespace ambervale
