// The port monitor's key and Winsock, for real: the registry of the test's Wine prefix and UDP on the loopback.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/WinTestTcpIpPort.h"
#include "asking/WinStandardTcpIpPorts.h"
#include "snmp/WinUdpTransport.h"

namespace ambervale {
namespace {

TEST(WinStandardTcpIpPorts, ReadsEachValueAsItIsStoredAndNoPortWithoutItsKey) {
    const testing::WithTcpIpPort port("IP_127.0.0.99");
    ASSERT_TRUE(testing::SetNumber(port.Key(), "SNMP Enabled", 1));
    ASSERT_TRUE(testing::SetText(port.Key(), "HostName", "printer-7"));
    ASSERT_TRUE(testing::SetValue(port.Key(), "IPAddress", REG_BINARY, "\x01\x02"));
    ASSERT_TRUE(testing::SetText(port.Key(), "SNMP Community", "s3cret"));

    win::WinStandardTcpIpPorts ports;
    const auto values = ports.Read("IP_127.0.0.99");
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->snmpEnabled.kind, PortValue::Kind::Number);
    EXPECT_EQ(values->snmpEnabled.number, 1u);
    EXPECT_EQ(values->hostName.kind, PortValue::Kind::Text);
    EXPECT_EQ(values->hostName.text, "printer-7");
    EXPECT_EQ(values->ipAddress.kind, PortValue::Kind::Other);
    EXPECT_EQ(values->community.text, "s3cret");
    EXPECT_EQ(values->deviceIndex.kind, PortValue::Kind::Absent);

    EXPECT_FALSE(ports.Read("IP_127.0.0.98").has_value());
    EXPECT_FALSE(ports.Read("CUPS:Ambervale_Test").has_value());
}

// A UDP socket of the test's own on the loopback, standing in for an agent.
class LoopbackAgent {
public:
    LoopbackAgent() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackAgent() {
        closesocket(socket_);
        WSACleanup();
    }
    std::uint16_t Port() const { return port_; }
    // Waits for one datagram (bounded, against a hang) and answers it with reply from this socket, or from another.
    std::vector<char> ReceiveAndAnswer(const std::vector<std::vector<char>>& replies, bool fromOtherSocket = false) {
        std::vector<char> request(2048);
        sockaddr_in from{};
        int length = sizeof from;
        DWORD timeout = 10000;
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        const int got = recvfrom(socket_, request.data(), static_cast<int>(request.size()), 0,
                                 reinterpret_cast<sockaddr*>(&from), &length);
        request.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        SOCKET sender = fromOtherSocket ? socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP) : socket_;
        for (const auto& reply : replies) {
            sendto(sender, reply.data(), static_cast<int>(reply.size()), 0, reinterpret_cast<sockaddr*>(&from),
                   length);
        }
        if (fromOtherSocket) closesocket(sender);
        return request;
    }

private:
    SOCKET socket_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
};

std::span<const std::byte> AsBytes(const std::string& text) {
    return std::as_bytes(std::span<const char>(text.data(), text.size()));
}

TEST(WinUdpTransport, TakesOnlyTheAgentsOwnDatagramsDropsOversizedOnesAndHandsOnEmptyOnes) {
    LoopbackAgent agent;
    win::WinUdpTransport transport(agent.Port());
    const auto deadline = [] { return SnmpClock::now() + std::chrono::seconds(10); };
    for (const char* host : {"127.0.0.1", "localhost"}) {
        SCOPED_TRACE(host);
        auto conversation = transport.Open(host, deadline()).conversation;
        ASSERT_NE(conversation, nullptr);

        conversation->Send(AsBytes("question"));
        const auto request = agent.ReceiveAndAnswer({std::vector<char>(5000, 'x'), {'a', 'n', 's'}});
        EXPECT_EQ(std::string(request.begin(), request.end()), "question");
        const auto reply = conversation->Receive(deadline());
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(reply->size(), 3u) << "the oversized datagram before it was dropped";

        conversation->Send(AsBytes("empty"));
        agent.ReceiveAndAnswer({{}});
        const auto empty = conversation->Receive(deadline());
        ASSERT_TRUE(empty.has_value()) << "an empty datagram is garbage for the reader, not the end of the wait";
        EXPECT_TRUE(empty->empty());

        conversation->Send(AsBytes("again"));
        agent.ReceiveAndAnswer({{'s', 'p', 'o', 'o', 'f'}}, true);
        EXPECT_FALSE(conversation->Receive(SnmpClock::now() + std::chrono::milliseconds(300)).has_value())
            << "a datagram from another port is not the agent's";
    }
}

} // namespace
} // namespace ambervale
