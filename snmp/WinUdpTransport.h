#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "snmp/SnmpTransport.h"

namespace ambervale::win {

struct PendingResolution;

// SNMP over Winsock UDP. A host given as an address is used at once. A name is resolved with GetAddrInfoExW and its
// timeout where Windows has them (8 and later), else on a thread of its own; either way the question's deadline
// holds when the name server is silent, and a resolution that outlives its question is kept, one per host at most,
// for the next question of that host to wait for or take. Every address the name has is asked, IPv6 and IPv4 alike,
// through one socket connected to each, so only datagrams from the agent's addresses and port come in.
class WinUdpTransport final : public SnmpTransport {
public:
    // agentPort: 161, SNMP's own, but for tests.
    explicit WinUdpTransport(std::uint16_t agentPort = 161);
    ~WinUdpTransport() override;
    WinUdpTransport(const WinUdpTransport&) = delete;
    WinUdpTransport& operator=(const WinUdpTransport&) = delete;

    SnmpOpening Open(const std::string& host, SnmpClock::time_point deadline) override;

private:
    std::uint16_t agentPort_;
    int startError_ = 0;  // WSAStartup's, 0 once Winsock started
    std::map<std::string, std::shared_ptr<PendingResolution>> pending_;
};

} // namespace ambervale::win
