#include "snmp/SnmpExchange.h"

#include <algorithm>

namespace ambervale {

std::optional<GetResponse> Exchange(SnmpConversation& conversation, RequestIds& ids, std::string_view community,
                                    PduKind kind, const std::vector<ObjectId>& objects, SnmpClock::time_point deadline,
                                    const std::function<bool(const GetResponse&)>& accept) {
    std::vector<std::int32_t> sent;
    for (int request = 0; request < kSnmpTries && SnmpClock::now() < deadline; ++request) {
        sent.push_back(ids.Next());
        conversation.Send(kind == PduKind::Get ? EncodeGetRequest(community, sent.back(), objects)
                                               : EncodeGetNextRequest(community, sent.back(), objects));
        const SnmpClock::time_point waitUntil = std::min(SnmpClock::now() + kSnmpTryWait, deadline);
        while (const auto datagram = conversation.Receive(waitUntil)) {
            std::optional<GetResponse> reply = ReadGetResponse(*datagram, community);
            if (!reply || std::find(sent.begin(), sent.end(), reply->requestId) == sent.end()) continue;
            if (accept(*reply)) return reply;
        }
    }
    return std::nullopt;
}

} // namespace ambervale
