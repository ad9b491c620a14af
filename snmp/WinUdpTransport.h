#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "snmp/SnmpTransport.h"

namespace ambervale::win {

// SNMP over Winsock UDP. A host given as an address is used at once; a name is resolved on a thread of its own, so
// the question's deadline holds even when the name server is silent (the thread, left behind, ends by itself). Each
// conversation's socket is connected to the agent, so only datagrams from its address and port come in.
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
    bool started_ = false;
};

} // namespace ambervale::win
