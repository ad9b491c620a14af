#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "snmp/HostNames.h"
#include "snmp/SnmpTransport.h"

namespace ambervale::win {

struct PendingResolution;

// A test's stand-in for the system's name lookup: each lookup runs on a thread that startThread starts (it throws
// std::system_error when none can start), as on a Windows without GetAddrInfoExW's timeout, and finds the numeric
// addresses that numericAddresses gives; a name found is used as it is for reuseFor, and while a fresh lookup runs
// for up to keptFor (at least reuseFor).
struct NameLookupHooks {
    std::function<std::vector<std::string>(const std::string& host)> numericAddresses;
    std::function<void(std::function<void()> lookup)> startThread;
    std::chrono::milliseconds reuseFor{0};
    std::chrono::milliseconds keptFor{0};
};

// SNMP over Winsock UDP. A host given as an address is used at once. A name is resolved in all of the system's name
// spaces (DNS, the hosts file, NetBIOS, LLMNR), as the port monitor resolves it: with GetAddrInfoExW and its timeout
// where Windows has them (8 and later), else with getaddrinfo on a thread of its own; either way the question's
// deadline holds when the name server is silent. Names and their lookups follow HostNames: a name found is refreshed
// beside the questions, which ask its last addresses meanwhile; at most one lookup per host runs. Every address the
// name has is asked, IPv6 and IPv4 alike, through one socket connected to each, so only datagrams from the agent's
// addresses and port come in.
class WinUdpTransport final : public SnmpTransport {
public:
    // agentPort: 161, SNMP's own, but for tests.
    explicit WinUdpTransport(std::uint16_t agentPort = 161);
    // For tests: names looked up through hooks, never by the system.
    WinUdpTransport(std::uint16_t agentPort, NameLookupHooks hooks);
    ~WinUdpTransport() override;
    WinUdpTransport(const WinUdpTransport&) = delete;
    WinUdpTransport& operator=(const WinUdpTransport&) = delete;

    SnmpOpening Open(const std::string& host, AskClock::time_point deadline) override;

private:
    std::uint16_t agentPort_;
    int startError_ = 0;  // WSAStartup's, 0 once Winsock started
    std::shared_ptr<const NameLookupHooks> hooks_;  // null: the system's lookup
    HostNames<PendingResolution> names_;
};

} // namespace ambervale::win
