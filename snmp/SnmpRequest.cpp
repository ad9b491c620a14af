#include "snmp/SnmpRequest.h"

#include <algorithm>

namespace ambervale {

std::optional<GetResponse> RequestWithRetries(SnmpConversation& conversation, RequestIds& ids,
                                              std::string_view community, PduKind kind,
                                              const std::vector<ObjectId>& objects, AskClock::time_point deadline) {
    std::vector<std::int32_t> sent;
    Tries tries(kSnmpTries, kSnmpTryWait, deadline);
    while (tries.Next()) {
        sent.push_back(ids.Next());
        conversation.Send(kind == PduKind::Get ? EncodeGetRequest(community, sent.back(), objects)
                                               : EncodeGetNextRequest(community, sent.back(), objects));
        while (tries.Waiting()) {
            const auto datagram = conversation.Receive(tries.TryEnds());
            if (!datagram) break;
            std::optional<GetResponse> reply = ReadGetResponse(*datagram, community);
            if (!reply || std::find(sent.begin(), sent.end(), reply->requestId) == sent.end()) continue;
            if (reply->errorStatus != 0 || reply->bindings.size() == objects.size()) return reply;
        }
    }
    return std::nullopt;
}

} // namespace ambervale
