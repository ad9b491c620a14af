#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "asking/AskClock.h"
#include "asking/RequestIds.h"

namespace ambervale {

// One exchange of datagrams with an agent's UDP port 161.
class SnmpConversation {
public:
    virtual ~SnmpConversation() = default;
    // Sends one datagram. A datagram that cannot be sent is as good as lost, which the question allows for.
    virtual void Send(std::span<const std::byte> datagram) = 0;
    // The next datagram that comes from the agent's own address and port, waiting for it until deadline at the
    // latest; nullopt when none came in time, or when the agent's host says nothing listens there.
    virtual std::optional<std::vector<std::byte>> Receive(AskClock::time_point deadline) = 0;
};

// A conversation, or why there is none.
struct SnmpOpening {
    // nullptr when the host cannot be resolved in time or reached: as far as the question goes, the printer's silence.
    std::unique_ptr<SnmpConversation> conversation;
    // Not empty when this PC could not ask at all (Winsock would not start, no socket, no thread, no memory): the
    // reason, as text. Never the printer's silence.
    std::string localFailure;
};

// The network, as the SNMP question uses it.
class SnmpTransport {
public:
    virtual ~SnmpTransport() = default;
    // A conversation with UDP port 161 of host (a name or an address), its name resolved before deadline.
    virtual SnmpOpening Open(const std::string& host, AskClock::time_point deadline) = 0;
};

} // namespace ambervale
