#include "snmp/WinUdpTransport.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
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

// A name's lookup, shared with whatever looks it up (the system, or a thread of ours): done is set when it has
// finished, and only then may anyone else read addresses or free it.
struct PendingResolution {
    UniqueKernelObject done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::vector<AgentAddress> addresses;
    // GetAddrInfoExW's own state, while it runs.
    OVERLAPPED overlapped{};
    ADDRINFOEXW* found = nullptr;
    HANDLE cancel = nullptr;
    bool overlappedLookup = false;

    // What HostNames asks of a lookup.
    bool Finished();
    bool WaitUntil(AskClock::time_point deadline);
    bool Found() const { return !addresses.empty(); }
};

namespace {

// No reply to the program's questions comes near this; a larger datagram is cut by Winsock and ignored.
constexpr int kMaxDatagram = 4096;

// How long the system may take over a lookup, whatever the question that started it: a NetBIOS or LLMNR name whose
// cache has expired takes up to a few seconds, longer than a question, and is still worth having for the next ones.
constexpr std::chrono::seconds kLookupGivesUpAfter{15};

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

// Starts GetAddrInfoExW with a timeout of the time left until givesUp; false when this Windows cannot (before 8, it
// refuses an OVERLAPPED).
bool StartOverlapped(PendingResolution& pending, const std::string& host, const std::string& port,
                     AskClock::time_point givesUp) {
    if (!Lookup().Usable()) return false;
    ADDRINFOEXW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    const DWORD wait = std::max<DWORD>(MillisecondsUntil(givesUp), 1);
    timeval timeout{static_cast<long>(wait / 1000), static_cast<long>(wait % 1000) * 1000};
    pending.overlapped.hEvent = pending.done.get();
    // Every name space, as the port monitor's own lookup: a printer named in the hosts file, by NetBIOS or LLMNR is
    // found as for printing, not only one that DNS knows.
    const int started = Lookup().lookup(WideFromAnsi(host).c_str(), WideFromAnsi(port).c_str(), NS_ALL, nullptr,
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

// The fallback: getaddrinfo (every name space) on a thread of its own, which ends by itself when the name server
// gives up. Throws std::system_error when no thread starts.
void StartThread(const std::shared_ptr<PendingResolution>& pending, const std::string& host,
                 const std::string& port, const NameLookupHooks* hooks) {
    auto numeric = hooks != nullptr ? hooks->numericAddresses : nullptr;
    auto lookup = [pending, host, port, numeric = std::move(numeric)]() noexcept {
        // Winsock stays started for as long as this thread needs it, whatever the transport does meanwhile.
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) == 0) {
            try {
                if (!numeric) pending->addresses = Addresses(host, port, 0);
                for (const std::string& address : numeric ? numeric(host) : std::vector<std::string>()) {
                    for (const AgentAddress& agent : Addresses(address, port, AI_NUMERICHOST)) {
                        pending->addresses.push_back(agent);
                    }
                }
            } catch (const std::bad_alloc&) {
                pending->addresses.clear();  // no memory for the addresses: as good as none found
            }
            WSACleanup();
        }
        SetEvent(pending->done.get());
    };
    if (hooks != nullptr) {
        hooks->startThread(lookup);
    } else {
        std::thread(lookup).detach();
    }
}

// Starts a lookup of the host, which the system may give up at givesUp; the empty text when it runs, else why this PC
// could not start one.
std::string StartLookup(const std::shared_ptr<PendingResolution>& pending, const std::string& host,
                        const std::string& port, AskClock::time_point givesUp, const NameLookupHooks* hooks) {
    if (!pending->done) return "no event for the name's resolution";
    if (hooks == nullptr && StartOverlapped(*pending, host, port, givesUp)) return {};
    try {
        StartThread(pending, host, port, hooks);
    } catch (const std::system_error&) {
        return "no thread for the name's resolution";
    }
    return {};
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

    std::optional<std::vector<std::byte>> Receive(AskClock::time_point deadline) override {
        std::vector<std::byte> datagram(kMaxDatagram);
        // The deadline is the deadline: datagrams that keep coming (oversized ones, say) do not hold the wait open.
        while (!sockets_.empty() && AskClock::now() < deadline) {
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

bool PendingResolution::Finished() { return WaitUntil(AskClock::now()); }

bool PendingResolution::WaitUntil(AskClock::time_point deadline) {
    if (WaitForSingleObject(done.get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0) return false;
    FinishOverlapped(*this);
    return true;
}

WinUdpTransport::WinUdpTransport(std::uint16_t agentPort) : agentPort_(agentPort) {
    WSADATA data;
    startError_ = WSAStartup(MAKEWORD(2, 2), &data);
}

WinUdpTransport::WinUdpTransport(std::uint16_t agentPort, NameLookupHooks hooks)
    : agentPort_(agentPort), hooks_(std::make_shared<const NameLookupHooks>(std::move(hooks))),
      names_(hooks_->reuseFor, hooks_->keptFor) {
    WSADATA data;
    startError_ = WSAStartup(MAKEWORD(2, 2), &data);
}

WinUdpTransport::~WinUdpTransport() {
    for (const std::shared_ptr<PendingResolution>& pending : names_.Lookups()) {
        if (!pending || !pending->overlappedLookup) continue;
        // The lookup writes into its state until it completes: cancel it and give it a moment to; one that still
        // runs (a system that cannot cancel) keeps its state, which the ending process no longer needs.
        Lookup().cancel(&pending->cancel);
        if (WaitForSingleObject(pending->done.get(), 200) == WAIT_OBJECT_0) {
            FinishOverlapped(*pending);
        } else {
            new std::shared_ptr<PendingResolution>(pending);
        }
    }
    names_ = HostNames<PendingResolution>();
    if (startError_ == 0) WSACleanup();
}

SnmpOpening WinUdpTransport::Open(const std::string& host, AskClock::time_point deadline) {
    if (startError_ != 0) return {nullptr, WinsockFailure("Winsock did not start", startError_)};
    const std::string port = std::to_string(agentPort_);
    // An address needs no name server.
    std::vector<AgentAddress> addresses = Addresses(host, port, AI_NUMERICHOST);
    if (addresses.empty()) {
        const auto start = [&](const std::string& name) -> NameAnswer<PendingResolution> {
            auto pending = std::make_shared<PendingResolution>();
            std::string failure =
                StartLookup(pending, name, port, AskClock::now() + kLookupGivesUpAfter, hooks_.get());
            if (!failure.empty()) return {nullptr, std::move(failure)};
            return {std::move(pending), {}};
        };
        NameAnswer<PendingResolution> answer = names_.Find(host, AskClock::now(), deadline, start);
        if (!answer.localFailure.empty()) return {nullptr, std::move(answer.localFailure)};
        if (answer.lookup) addresses = answer.lookup->addresses;
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
