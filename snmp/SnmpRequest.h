#pragma once
#include <optional>
#include <string_view>
#include <vector>

#include "asking/AskClock.h"
#include "snmp/SnmpGet.h"
#include "snmp/SnmpTransport.h"

namespace ambervale {

// One question to the printer: up to three requests, each waited for up to half a second, all within the question's
// budget, the host's name resolved included.
inline constexpr int kSnmpTries = 3;
inline constexpr std::chrono::milliseconds kSnmpTryWait{500};
static_assert(kSnmpTryWait * kSnmpTries <= kAskBudget);

enum class PduKind { Get, GetNext };

// Sends a request with a fresh id, and again with another while no reply to it comes, up to three times, each waited
// for half a second at most, all before deadline. The one rule of which reply counts, for every request the program
// sends: a well-formed GetResponse with the community, bearing one of these ids (a slow agent may answer an earlier
// send, which asked for the same objects), that answers the request: an error status of the agent's own, or one
// binding for each object asked. nullopt when none came by the deadline.
std::optional<GetResponse> RequestWithRetries(SnmpConversation& conversation, RequestIds& ids,
                                              std::string_view community, PduKind kind,
                                              const std::vector<ObjectId>& objects, AskClock::time_point deadline);

} // namespace ambervale
