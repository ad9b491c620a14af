#include "snmp/WinUdpTransport.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "base/WinHandles.h"

namespace ambervale::win {
namespace {

struct SocketTraits {
    using Handle = SOCKET;
    static Handle Invalid() { return INVALID_SOCKET; }
    static void Close(Handle s) { closesocket(s); }
};
using UniqueSocket = UniqueHandle<SocketTraits>;

// No reply to the program's question comes near this; a larger datagram is cut by Winsock and ignored.
constexpr int kMaxDatagram = 4096;

struct AgentAddress {
    sockaddr_storage address{};
    int length = 0;
};

DWORD MillisecondsUntil(SnmpClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SnmpClock::now()).count();
    return static_cast<DWORD>(std::clamp<long long>(left, 0, 0x7FFFFFFF));
}

std::optional<AgentAddress> FirstAddress(const std::string& host, const std::string& port, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    hints.ai_flags = flags;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || found == nullptr) return std::nullopt;
    AgentAddress agent;
    if (found->ai_addrlen <= sizeof agent.address) {
        std::memcpy(&agent.address, found->ai_addr, found->ai_addrlen);
        agent.length = static_cast<int>(found->ai_addrlen);
    }
    freeaddrinfo(found);
    if (agent.length == 0) return std::nullopt;
    return agent;
}

// A name's resolution, shared with the thread that resolves it: a wait that gives up leaves it to that thread.
struct Resolution {
    std::string host;
    std::string port;
    std::optional<AgentAddress> agent;
    UniqueKernelObject done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    void Run() noexcept {
        // Winsock stays started for as long as this thread needs it, whatever the transport does meanwhile.
        WSADATA data;
        const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (started) {
            agent = FirstAddress(host, port, 0);
            WSACleanup();
        }
        SetEvent(done.get());
    }
};

std::optional<AgentAddress> Resolve(const std::string& host, const std::string& port,
                                    SnmpClock::time_point deadline) {
    // An address needs no name server.
    if (auto numeric = FirstAddress(host, port, AI_NUMERICHOST)) return numeric;
    auto resolution = std::make_shared<Resolution>();
    resolution->host = host;
    resolution->port = port;
    if (!resolution->done) return std::nullopt;
    try {
        std::thread([resolution] { resolution->Run(); }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    if (WaitForSingleObject(resolution->done.get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0) return std::nullopt;
    return resolution->agent;
}

class UdpConversation final : public SnmpConversation {
public:
    explicit UdpConversation(UniqueSocket socket) : socket_(std::move(socket)) {}

    void Send(std::span<const std::byte> datagram) override {
        // A request that cannot be sent is lost like one dropped on the way; the tries allow for that.
        send(socket_.get(), reinterpret_cast<const char*>(datagram.data()), static_cast<int>(datagram.size()), 0);
    }

    std::optional<std::vector<std::byte>> Receive(SnmpClock::time_point deadline) override {
        std::vector<std::byte> datagram(kMaxDatagram);
        for (;;) {
            const DWORD wait = MillisecondsUntil(deadline);
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(socket_.get(), &readable);
            timeval timeout{static_cast<long>(wait / 1000), static_cast<long>(wait % 1000) * 1000};
            if (select(0, &readable, nullptr, nullptr, &timeout) <= 0) return std::nullopt;
            const int got = recv(socket_.get(), reinterpret_cast<char*>(datagram.data()), kMaxDatagram, 0);
            // An empty datagram is handed on like any other garbage, which the reader ignores, so it cannot cut the
            // wait for the real reply short.
            if (got >= 0) {
                datagram.resize(static_cast<std::size_t>(got));
                return datagram;
            }
            // An oversized datagram is dropped and the wait goes on; any other failure (the host saying nothing
            // listens on the port) ends this wait.
            if (WSAGetLastError() != WSAEMSGSIZE) return std::nullopt;
        }
    }

private:
    UniqueSocket socket_;
};

} // namespace

WinUdpTransport::WinUdpTransport(std::uint16_t agentPort) : agentPort_(agentPort) {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinUdpTransport::~WinUdpTransport() {
    if (started_) WSACleanup();
}

SnmpOpening WinUdpTransport::Open(const std::string& host, SnmpClock::time_point deadline) {
    if (!started_) return {nullptr, "Winsock did not start"};
    const std::optional<AgentAddress> agent = Resolve(host, std::to_string(agentPort_), deadline);
    if (!agent) return {};
    UniqueSocket socket(::socket(agent->address.ss_family, SOCK_DGRAM, IPPROTO_UDP));
    if (!socket) return {nullptr, "no socket"};
    if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&agent->address), agent->length) != 0) return {};
    return {std::make_unique<UdpConversation>(std::move(socket)), ""};
}

} // namespace ambervale::win
