#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "asking/AskClock.h"
#include "asking/RequestIds.h"
#include "asking/TcpIpPort.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TableWalk.h"

namespace ambervale {

// Walks the columns of the printer's tables within deadline, several columns a request: the walk when it came to its
// end, nullopt when the printer stopped answering. An agent's refusal (genErr, ...) ends the walk with what it had;
// tooBig has the columns asked one at a time.
std::optional<TableWalk> WalkColumns(std::vector<WalkColumn> columns, const SnmpTarget& target,
                                     SnmpConversation& conversation, RequestIds& ids, AskClock::time_point deadline);

// The character set the printer's descriptions are in (prtLocalizationCharacterSet of the localization it speaks in,
// an IANA MIBenum); nullopt when it does not say, or not within deadline.
std::optional<std::uint32_t> PrinterCharacterSet(const SnmpTarget& target, SnmpConversation& conversation,
                                                 RequestIds& ids, AskClock::time_point deadline);

} // namespace ambervale
