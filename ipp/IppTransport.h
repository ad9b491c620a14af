#pragma once
#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "asking/AskClock.h"
#include "ipp/IppTarget.h"
#include "asking/AskOutcome.h"

namespace ambervale {

// How one HTTP exchange with the printer ended, as one of the outcomes of asking a printer:
//   Answered: HTTP 200 with a body of at most kMaxIppResponse bytes (whether it is an IPP answer is read later);
//   NoSuchProtocol: the device is there but does not speak IPP at that address: refused, an HTTP error, a redirect,
//     a body too large, an answer that is no HTTP;
//   Silent: no answer within the budget (no connection, or one that never answers; a name unresolved);
//   CouldNotAsk: a failure on this PC (no HTTP client, no memory): says nothing of the printer.
struct PostEnding {
    AskOutcome::Kind kind = AskOutcome::Kind::Silent;
    std::vector<std::byte> body;  // for Answered
    std::string reason;           // for CouldNotAsk
};

// The network, as the IPP question uses it: one POST of an application/ipp body, no proxy, no credentials, no
// redirects, one connection at a time, everything done or given up by deadline.
class IppTransport {
public:
    virtual ~IppTransport() = default;
    virtual PostEnding Post(const IppTarget& target, std::span<const std::byte> request,
                             AskClock::time_point deadline) = 0;
};

} // namespace ambervale
