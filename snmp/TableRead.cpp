#include "snmp/TableRead.h"

#include <cstddef>
#include <cstdint>

#include "snmp/SnmpRequest.h"

namespace ambervale {

std::optional<TableWalk> WalkColumns(std::vector<WalkColumn> columns, const SnmpTarget& target,
                                     SnmpConversation& conversation, RequestIds& ids, AskClock::time_point deadline) {
    TableWalk walk(std::move(columns));
    std::size_t perRequest = SIZE_MAX;
    while (!walk.Done()) {
        const std::vector<ObjectId> objects = walk.NextObjects(perRequest);
        const auto reply =
            RequestWithRetries(conversation, ids, target.community, PduKind::GetNext, objects, deadline);
        if (!reply) return std::nullopt;
        switch (walk.Take(*reply, objects)) {
        case TableWalk::Step::TooBig:
            // One column at a time is as small as a request gets; an agent too small even for that has no table.
            if (perRequest == 1) return walk;
            perRequest = 1;
            break;
        case TableWalk::Step::AgentError:
            return walk;
        case TableWalk::Step::Taken:
        case TableWalk::Step::NotAnAnswer:
            break;
        }
    }
    return walk;
}

std::optional<std::uint32_t> PrinterCharacterSet(const SnmpTarget& target, SnmpConversation& conversation,
                                                 RequestIds& ids, AskClock::time_point deadline) {
    // prtGeneralCurrentLocalization.device names the row of prtLocalizationTable the printer speaks in;
    // prtLocalizationCharacterSet.device.row says that row's character set.
    const auto getInteger = [&](const ObjectArcs& arcs) -> std::optional<std::int32_t> {
        const std::vector<ObjectId> objects = {EncodeObjectId(arcs)};
        const auto reply = RequestWithRetries(conversation, ids, target.community, PduKind::Get, objects, deadline);
        if (!reply || reply->errorStatus != 0 || reply->bindings.size() != 1 ||
            reply->bindings[0].object != objects[0] || reply->bindings[0].value.kind != SnmpValue::Kind::Integer) {
            return std::nullopt;
        }
        return reply->bindings[0].value.integer;
    };
    const auto localization = getInteger({1, 3, 6, 1, 2, 1, 43, 5, 1, 1, 2, target.deviceIndex});
    if (!localization || *localization < 1) return std::nullopt;
    const auto characterSet = getInteger(
        {1, 3, 6, 1, 2, 1, 43, 7, 1, 1, 4, target.deviceIndex, static_cast<std::uint32_t>(*localization)});
    if (!characterSet || *characterSet < 1) return std::nullopt;
    return static_cast<std::uint32_t>(*characterSet);
}

} // namespace ambervale
