#pragma once
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "snmp/Ber.h"
#include "snmp/PrinterMib.h"
#include "snmp/SnmpGet.h"
#include "snmp/SnmpTransport.h"
#include "snmp/TcpIpPort.h"

namespace ambervale::testing {

inline std::vector<std::byte> Bytes(std::initializer_list<int> octets) {
    std::vector<std::byte> bytes;
    for (int octet : octets) bytes.push_back(static_cast<std::byte>(octet));
    return bytes;
}

// The three objects the program asks a printer for, in the row of that device index, in the order it asks.
inline std::vector<ObjectId> PrinterObjectsAt(std::uint32_t index) {
    return {ObjectIdOf(PrinterObject::DeviceStatus, index), ObjectIdOf(PrinterObject::PrinterStatus, index),
            ObjectIdOf(PrinterObject::DetectedErrorState, index)};
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

// An agent on the other side of the transport: the datagrams it sends back after each request, in turn; a request
// with nothing queued is met with silence.
class FakeAgent : public SnmpTransport {
public:
    SnmpOpening Open(const std::string& host, SnmpClock::time_point) override {
        opened.push_back(host);
        if (!localFailure.empty()) return {nullptr, localFailure};
        if (unreachable) return {};
        return {std::make_unique<Conversation>(*this), ""};
    }

    // The requests that were GetRequests (the status question's), not GetNextRequests (the supplies' walk).
    std::vector<std::vector<std::byte>> GetRequests() const {
        std::vector<std::vector<std::byte>> gets;
        for (const auto& request : requests) {
            if (PduTag(request) == 0xA0) gets.push_back(request);
        }
        return gets;
    }
    static int PduTag(std::span<const std::byte> request) {
        BerReader whole(request), message, ignored;
        std::uint8_t tag = 0;
        if (!whole.Read(ber::kSequence, message) || !message.ReadAny(tag, ignored) || !message.ReadAny(tag, ignored) ||
            !message.ReadAny(tag, ignored)) {
            return -1;
        }
        return tag;
    }

    std::vector<std::string> opened;
    std::vector<std::vector<std::byte>> requests;
    // replies[i]: what comes while the agent is waited for after request i.
    std::vector<std::deque<std::vector<std::byte>>> replies;
    bool unreachable = false;
    std::string localFailure;

private:
    class Conversation : public SnmpConversation {
    public:
        explicit Conversation(FakeAgent& agent) : agent_(agent) {}
        void Send(std::span<const std::byte> datagram) override {
            agent_.requests.emplace_back(datagram.begin(), datagram.end());
        }
        std::optional<std::vector<std::byte>> Receive(SnmpClock::time_point) override {
            const std::size_t request = agent_.requests.size() - 1;
            if (request >= agent_.replies.size() || agent_.replies[request].empty()) return std::nullopt;
            auto datagram = std::move(agent_.replies[request].front());
            agent_.replies[request].pop_front();
            return datagram;
        }

    private:
        FakeAgent& agent_;
    };
};

// Hands out 101, 102, 103, ... in turn.
struct CountingRequestIds : RequestIds {
    std::int32_t Next() override { return next++; }
    std::int32_t next = 101;
};

} // namespace ambervale::testing
