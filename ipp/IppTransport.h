#pragma once
#include <chrono>
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "ipp/IppTarget.h"

namespace ambervale {

using IppClock = std::chrono::steady_clock;

// How one HTTP exchange with the printer ended.
struct IppExchange {
    enum class Outcome {
        Answered,  // HTTP 200 with a body of at most kMaxIppResponse bytes
        NotIpp,    // the device is there but does not speak IPP at that address: refused, an HTTP error, a redirect,
                   // a body too large, an answer that is no HTTP
        Silent,    // no answer within the budget (no connection, or one that never answers; a name unresolved)
        NotAsked   // a failure on this PC (no HTTP client, no memory): says nothing of the printer
    };
    Outcome outcome = Outcome::Silent;
    std::vector<std::byte> body;  // for Answered
    std::string reason;           // for NotAsked
};

// The network, as the IPP question uses it: one POST of an application/ipp body, no proxy, no credentials, no
// redirects, one connection at a time, everything done or given up by deadline.
class IppTransport {
public:
    virtual ~IppTransport() = default;
    virtual IppExchange Post(const IppTarget& target, std::span<const std::byte> request,
                             IppClock::time_point deadline) = 0;
};

} // namespace ambervale
