// The port monitor's key and Winsock, for real: the registry of the test's Wine prefix and UDP on the loopback.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "base/WinHandles.h"
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
    const auto deadline = [] { return AskClock::now() + std::chrono::seconds(10); };
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
        EXPECT_FALSE(conversation->Receive(AskClock::now() + std::chrono::milliseconds(300)).has_value())
            << "a datagram from another port is not the agent's";
    }
}

// Name lookups that the test answers: each runs on a thread of the test's own, held while the name server is to be
// silent, and finds the addresses the test names when it is let go.
class ScriptedLookups {
public:
    ~ScriptedLookups() {
        LetGo();
        for (std::thread& thread : threads_) thread.join();
    }
    win::NameLookupHooks Hooks(std::chrono::milliseconds reuseFor) {
        const auto lookup = [this](const std::string&) {
            ++started_;
            WaitForSingleObject(open_.get(), 10000);
            const std::lock_guard<std::mutex> lock(mutex_);
            return addresses_;
        };
        const auto startThread = [this](std::function<void()> work) {
            if (noThreads) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            threads_.emplace_back([this, work] {
                work();
                ++finished_;
            });
        };
        return {lookup, startThread, reuseFor, std::chrono::milliseconds(0)};
    }
    void Hold() { ResetEvent(open_.get()); }
    void LetGo() { SetEvent(open_.get()); }
    void Answer(std::vector<std::string> addresses) {
        const std::lock_guard<std::mutex> lock(mutex_);
        addresses_ = std::move(addresses);
    }
    int Started() const { return started_; }
    void WaitFinished(int count) const {
        for (int waits = 0; waits < 1000 && finished_ < count; ++waits) Sleep(10);
    }
    bool noThreads = false;

private:
    win::UniqueKernelObject open_{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
    std::mutex mutex_;
    std::vector<std::string> addresses_;
    std::atomic<int> started_{0};
    std::atomic<int> finished_{0};
    std::vector<std::thread> threads_;
};

TEST(WinUdpTransport, ALookupAnswersOnlyWhileFreshAndOneRunsPerHost) {
    constexpr auto kReuse = std::chrono::milliseconds(1500);
    ScriptedLookups names;
    win::WinUdpTransport transport(161, names.Hooks(kReuse));
    const auto opens = [&](std::chrono::milliseconds budget) {
        return transport.Open("printer", AskClock::now() + budget).conversation != nullptr;
    };
    const auto brief = std::chrono::milliseconds(200);
    const auto ample = std::chrono::milliseconds(10000);

    names.Hold();
    EXPECT_FALSE(opens(brief));
    EXPECT_FALSE(opens(brief));
    EXPECT_EQ(names.Started(), 1) << "a second question waits for the lookup under way";
    names.LetGo();  // the name server says: no such name, after both questions gave up
    names.WaitFinished(1);
    names.Answer({"127.0.0.1"});
    EXPECT_TRUE(opens(ample)) << "a failure is not handed to a later question";
    EXPECT_TRUE(opens(ample));
    EXPECT_EQ(names.Started(), 2) << "a name found is used again for a while";

    Sleep(static_cast<DWORD>(kReuse.count()));
    names.Hold();
    EXPECT_FALSE(opens(brief));
    names.LetGo();  // found after its question, then left unused for longer than a name is trusted
    names.WaitFinished(3);
    Sleep(static_cast<DWORD>(kReuse.count()));
    EXPECT_TRUE(opens(ample));
    EXPECT_EQ(names.Started(), 4) << "an old answer is not used; the name is looked up again";
}

TEST(WinUdpTransport, ALookupThatCannotStartIsThisPcsFailureAndLeavesNothingBehind) {
    ScriptedLookups names;
    names.Answer({"127.0.0.1"});
    {
        win::WinUdpTransport transport(161, names.Hooks(std::chrono::milliseconds(0)));
        const auto deadline = AskClock::now() + std::chrono::seconds(10);
        names.noThreads = true;
        const SnmpOpening failed = transport.Open("printer", deadline);
        EXPECT_EQ(failed.conversation, nullptr);
        EXPECT_EQ(failed.localFailure, "no thread for the name's resolution");
        names.noThreads = false;
        EXPECT_NE(transport.Open("printer", deadline).conversation, nullptr);
        names.noThreads = true;
        EXPECT_FALSE(transport.Open("other", deadline).localFailure.empty());
    }  // the transport goes with a host whose lookup never started
}

} // namespace
} // namespace ambervale
