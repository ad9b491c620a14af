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
#include "base/WinText.h"

namespace ambervale::win {

struct SocketTraits {
    using Handle = SOCKET;
    static Handle Invalid() { return INVALID_SOCKET; }
    static void Close(Handle s) { closesocket(s); }
};
using UniqueSocket = UniqueHandle<SocketTraits>;

struct AgentAddress {
    sockaddr_storage address{};
    int length = 0;
};

// A name's resolution, shared with whatever resolves it (the system's lookup, or a thread of ours): done is set
// when it has finished, and only then may anyone else read addresses or free it.
struct PendingResolution {
    UniqueKernelObject done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::vector<AgentAddress> addresses;
    // GetAddrInfoExW's own state, while it runs.
    OVERLAPPED overlapped{};
    ADDRINFOEXW* found = nullptr;
    HANDLE cancel = nullptr;
    bool overlappedLookup = false;
};

namespace {

// No reply to the program's questions comes near this; a larger datagram is cut by Winsock and ignored.
constexpr int kMaxDatagram = 4096;

template <class Info>
void TakeAddresses(const Info* found, std::vector<AgentAddress>& addresses) {
    // MinGW declares ai_next of ADDRINFOEXW as a pointer to a struct of another spelling.
    for (const Info* info = found; info != nullptr; info = reinterpret_cast<const Info*>(info->ai_next)) {
        AgentAddress agent;
        if (info->ai_addr == nullptr || info->ai_addrlen > sizeof agent.address) continue;
        std::memcpy(&agent.address, info->ai_addr, info->ai_addrlen);
        agent.length = static_cast<int>(info->ai_addrlen);
        const bool seen = std::any_of(addresses.begin(), addresses.end(), [&](const AgentAddress& a) {
            return a.length == agent.length && std::memcmp(&a.address, &agent.address, agent.length) == 0;
        });
        if (!seen) addresses.push_back(agent);
    }
}

std::vector<AgentAddress> Addresses(const std::string& host, const std::string& port, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    hints.ai_flags = flags;
    addrinfo* found = nullptr;
    std::vector<AgentAddress> addresses;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return addresses;
    TakeAddresses(found, addresses);
    freeaddrinfo(found);
    return addresses;
}

// GetAddrInfoExW and its companions, from ws2_32 at run time: Windows 7 has no timeout or cancel for it, and a
// program that imported them would not start there.
using GetAddrInfoExWFunction = int(WSAAPI*)(PCWSTR, PCWSTR, DWORD, LPGUID, const ADDRINFOEXW*, PADDRINFOEXW*,
                                            timeval*, LPOVERLAPPED, LPVOID, LPHANDLE);
using GetAddrInfoExCancelFunction = int(WSAAPI*)(LPHANDLE);
using GetAddrInfoExOverlappedResultFunction = int(WSAAPI*)(LPOVERLAPPED);
using FreeAddrInfoExWFunction = void(WSAAPI*)(PADDRINFOEXW);

struct LookupFunctions {
    GetAddrInfoExWFunction lookup = nullptr;
    GetAddrInfoExCancelFunction cancel = nullptr;
    GetAddrInfoExOverlappedResultFunction result = nullptr;
    FreeAddrInfoExWFunction free = nullptr;
    bool Usable() const { return lookup && cancel && result && free; }
};

const LookupFunctions& Lookup() {
    static const LookupFunctions functions = [] {
        LookupFunctions f;
        // ws2_32 is imported, so it is loaded for the life of the process.
        const HMODULE ws2 = GetModuleHandleW(L"ws2_32.dll");
        if (ws2 == nullptr) return f;
        f.lookup = reinterpret_cast<GetAddrInfoExWFunction>(
            reinterpret_cast<void*>(GetProcAddress(ws2, "GetAddrInfoExW")));
        f.cancel = reinterpret_cast<GetAddrInfoExCancelFunction>(
            reinterpret_cast<void*>(GetProcAddress(ws2, "GetAddrInfoExCancel")));
        f.result = reinterpret_cast<GetAddrInfoExOverlappedResultFunction>(
            reinterpret_cast<void*>(GetProcAddress(ws2, "GetAddrInfoExOverlappedResult")));
        f.free = reinterpret_cast<FreeAddrInfoExWFunction>(
            reinterpret_cast<void*>(GetProcAddress(ws2, "FreeAddrInfoExW")));
        return f;
    }();
    return functions;
}

// Takes what a finished GetAddrInfoExW found, and frees it.
void FinishOverlapped(PendingResolution& pending) {
    if (!pending.overlappedLookup) return;
    pending.overlappedLookup = false;
    if (Lookup().result(&pending.overlapped) == 0) TakeAddresses(pending.found, pending.addresses);
    if (pending.found != nullptr) Lookup().free(pending.found);
    pending.found = nullptr;
}

// Starts GetAddrInfoExW with a timeout of the time left; false when this Windows cannot (before 8, it refuses an
// OVERLAPPED).
bool StartOverlapped(PendingResolution& pending, const std::string& host, const std::string& port,
                     SnmpClock::time_point deadline) {
    if (!Lookup().Usable()) return false;
    ADDRINFOEXW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    const DWORD wait = std::max<DWORD>(MillisecondsUntil(deadline), 1);
    timeval timeout{static_cast<long>(wait / 1000), static_cast<long>(wait % 1000) * 1000};
    pending.overlapped.hEvent = pending.done.get();
    const int started = Lookup().lookup(WideFromAnsi(host).c_str(), WideFromAnsi(port).c_str(), NS_DNS, nullptr,
                                        &hints, &pending.found, &timeout, &pending.overlapped, nullptr,
                                        &pending.cancel);
    if (started == WSA_IO_PENDING) {
        pending.overlappedLookup = true;
        return true;
    }
    if (started == 0) {
        // Answered at once (from the cache): the event may or may not have been set.
        pending.overlappedLookup = true;
        FinishOverlapped(pending);
        SetEvent(pending.done.get());
        return true;
    }
    if (pending.found != nullptr) Lookup().free(pending.found);
    pending.found = nullptr;
    return false;
}

// The fallback: getaddrinfo on a thread of its own, which ends by itself when the name server gives up.
void StartThread(const std::shared_ptr<PendingResolution>& pending, const std::string& host,
                 const std::string& port) {
    std::thread([pending, host, port]() noexcept {
        // Winsock stays started for as long as this thread needs it, whatever the transport does meanwhile.
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) == 0) {
            pending->addresses = Addresses(host, port, 0);
            WSACleanup();
        }
        SetEvent(pending->done.get());
    }).detach();
}

class UdpConversation final : public SnmpConversation {
public:
    explicit UdpConversation(std::vector<UniqueSocket> sockets) : sockets_(std::move(sockets)) {}

    void Send(std::span<const std::byte> datagram) override {
        // To every address at once: the first that answers counts. A request that cannot be sent is lost like one
        // dropped on the way; the tries allow for that.
        for (const UniqueSocket& socket : sockets_) {
            send(socket.get(), reinterpret_cast<const char*>(datagram.data()), static_cast<int>(datagram.size()), 0);
        }
    }

    std::optional<std::vector<std::byte>> Receive(SnmpClock::time_point deadline) override {
        std::vector<std::byte> datagram(kMaxDatagram);
        // The deadline is the deadline: datagrams that keep coming (oversized ones, say) do not hold the wait open.
        while (!sockets_.empty() && SnmpClock::now() < deadline) {
            const DWORD wait = MillisecondsUntil(deadline);
            fd_set readable;
            FD_ZERO(&readable);
            for (const UniqueSocket& socket : sockets_) FD_SET(socket.get(), &readable);
            timeval timeout{static_cast<long>(wait / 1000), static_cast<long>(wait % 1000) * 1000};
            if (select(0, &readable, nullptr, nullptr, &timeout) <= 0) return std::nullopt;
            for (auto socket = sockets_.begin(); socket != sockets_.end();) {
                if (!FD_ISSET(socket->get(), &readable)) {
                    ++socket;
                    continue;
                }
                const int got = recv(socket->get(), reinterpret_cast<char*>(datagram.data()), kMaxDatagram, 0);
                // An empty datagram is handed on like any other garbage, which the reader ignores, so it cannot
                // cut the wait for the real reply short.
                if (got >= 0) {
                    datagram.resize(static_cast<std::size_t>(got));
                    return datagram;
                }
                // An oversized datagram is dropped and the wait goes on; any other failure (the host saying
                // nothing listens on the port) drops that address, and the others are still waited for.
                if (WSAGetLastError() == WSAEMSGSIZE) {
                    ++socket;
                } else {
                    socket = sockets_.erase(socket);
                }
            }
        }
        return std::nullopt;
    }

private:
    std::vector<UniqueSocket> sockets_;
};

std::string WinsockFailure(const char* what, int error) {
    return std::string(what) + " (Winsock error " + std::to_string(error) + ")";
}

} // namespace

WinUdpTransport::WinUdpTransport(std::uint16_t agentPort) : agentPort_(agentPort) {
    WSADATA data;
    startError_ = WSAStartup(MAKEWORD(2, 2), &data);
}

WinUdpTransport::~WinUdpTransport() {
    for (auto& [host, pending] : pending_) {
        if (!pending->overlappedLookup) continue;
        // The lookup writes into its state until it completes: cancel it and give it a moment to; one that still
        // runs (a system that cannot cancel) keeps its state, which the ending process no longer needs.
        Lookup().cancel(&pending->cancel);
        if (WaitForSingleObject(pending->done.get(), 200) == WAIT_OBJECT_0) {
            FinishOverlapped(*pending);
        } else {
            new std::shared_ptr<PendingResolution>(pending);
        }
    }
    pending_.clear();
    if (startError_ == 0) WSACleanup();
}

SnmpOpening WinUdpTransport::Open(const std::string& host, SnmpClock::time_point deadline) {
    if (startError_ != 0) return {nullptr, WinsockFailure("Winsock did not start", startError_)};
    const std::string port = std::to_string(agentPort_);
    // An address needs no name server.
    std::vector<AgentAddress> addresses = Addresses(host, port, AI_NUMERICHOST);
    if (addresses.empty()) {
        // At most one resolution per host: a question waits for the one under way rather than start another.
        std::shared_ptr<PendingResolution>& pending = pending_[host];
        if (!pending) {
            auto fresh = std::make_shared<PendingResolution>();
            if (!fresh->done) return {nullptr, "no event for the name's resolution"};
            if (!StartOverlapped(*fresh, host, port, deadline)) {
                try {
                    StartThread(fresh, host, port);
                } catch (const std::system_error&) {
                    return {nullptr, "no thread for the name's resolution"};
                }
            }
            pending = std::move(fresh);
        }
        if (WaitForSingleObject(pending->done.get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0) return {};
        FinishOverlapped(*pending);
        addresses = std::move(pending->addresses);
        pending_.erase(host);
    }
    std::vector<UniqueSocket> sockets;
    int socketError = 0;
    for (const AgentAddress& agent : addresses) {
        UniqueSocket socket(::socket(agent.address.ss_family, SOCK_DGRAM, IPPROTO_UDP));
        if (!socket) {
            // An address family this PC has no stack for is no address of ours to ask.
            if (WSAGetLastError() != WSAEAFNOSUPPORT) socketError = WSAGetLastError();
            continue;
        }
        if (connect(socket.get(), reinterpret_cast<const sockaddr*>(&agent.address), agent.length) != 0) continue;
        sockets.push_back(std::move(socket));
    }
    if (sockets.empty() && socketError != 0) return {nullptr, WinsockFailure("no socket", socketError)};
    if (sockets.empty()) return {};
    return {std::make_unique<UdpConversation>(std::move(sockets)), ""};
}

} // namespace ambervale::win
