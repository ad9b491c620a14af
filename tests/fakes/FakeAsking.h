#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "asking/RequestIds.h"
#include "asking/TcpIpPort.h"

namespace ambervale::testing {

inline std::vector<std::byte> Bytes(std::initializer_list<int> octets) {
    std::vector<std::byte> bytes;
    for (int octet : octets) bytes.push_back(static_cast<std::byte>(octet));
    return bytes;
}

// Ports by name, as Windows' port monitor would keep them; counts the reads.
class FakeTcpIpPorts : public StandardTcpIpPorts {
public:
    std::optional<TcpIpPortValues> Read(const std::string& portName) override {
        reads.push_back(portName);
        const auto found = ports.find(portName);
        if (found == ports.end()) return std::nullopt;
        return found->second;
    }
    std::map<std::string, TcpIpPortValues> ports;
    std::vector<std::string> reads;
};

inline PortValue Text(std::string text) { return {PortValue::Kind::Text, std::move(text), 0}; }
inline PortValue Number(std::uint32_t number) { return {PortValue::Kind::Number, "", number}; }

// A port as Windows' dialog leaves it with "SNMP Status Enabled" checked, for a printer at address.
inline TcpIpPortValues SnmpPort(std::string address) {
    TcpIpPortValues port;
    port.snmpEnabled = Number(1);
    port.hostName = Text("");
    port.ipAddress = Text(std::move(address));
    port.community = Text("public");
    port.deviceIndex = Number(1);
    return port;
}

// Hands out 101, 102, 103, ... in turn.
struct CountingRequestIds : RequestIds {
    std::int32_t Next() override { return next++; }
    std::int32_t next = 101;
};

} // namespace ambervale::testing
