#pragma once
// A scripted HTTP server of the test's own on 127.0.0.1, standing in for a printer (or for a device that is no
// printer): it takes one connection at a time on a thread of its own, reads the request and answers as the script
// says. Windows-only (Winsock).
#include <winsock2.h>
#include <ws2tcpip.h>
#include <ws2ipdef.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ambervale::testing {

struct HttpReply {
    std::string bytes;     // sent as they are, then the connection is closed
    DWORD delayMs = 0;     // waited before sending
    bool silent = false;   // the connection is kept open and never answered, while the next ones are taken
};
using HttpScript = std::function<HttpReply(const std::string& request)>;

// The body of a request as the responder saw it: what follows the headers.
inline std::string HttpBody(const std::string& request) {
    const std::size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : request.substr(end + 4);
}

inline std::string HttpOk(const std::string& body, const std::string& type = "application/ipp") {
    return "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

class LoopbackHttpResponder {
public:
    // On 127.0.0.1, or on ::1 when ipv6; on a port of the system's choice, or on port when it is given. For fullForMs
    // after the start its listener's queue is kept full with connections of its own, so the system drops every other
    // connection's SYN as if it were lost on the way.
    explicit LoopbackHttpResponder(HttpScript script, bool ipv6 = false, DWORD fullForMs = 0, std::uint16_t port = 0)
        : script_(std::move(script)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_storage address{};
        int length = ipv6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        if (ipv6) {
            auto& in6 = reinterpret_cast<sockaddr_in6&>(address);
            in6.sin6_family = AF_INET6;
            in6.sin6_addr = in6addr_loopback;
            in6.sin6_port = htons(port);
        } else {
            auto& in4 = reinterpret_cast<sockaddr_in&>(address);
            in4.sin_family = AF_INET;
            in4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            in4.sin_port = htons(port);
        }
        bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                           : reinterpret_cast<sockaddr_in&>(address).sin_port);
        listen(listener_, fullForMs > 0 ? 1 : 8);
        if (fullForMs > 0) FillQueue(address, length);
        thread_ = std::thread([this, fullForMs] {
            for (DWORD waited = 0; waited < fullForMs && !stop_; waited += 20) Sleep(20);
            for (const SOCKET filler : fillers_) {
                closesocket(accept(listener_, nullptr, nullptr));
                closesocket(filler);
            }
            Serve();
        });
    }
    ~LoopbackHttpResponder() {
        stop_ = true;
        thread_.join();
        for (const SOCKET held : held_) closesocket(held);
        closesocket(listener_);
        WSACleanup();
    }
    LoopbackHttpResponder(const LoopbackHttpResponder&) = delete;
    LoopbackHttpResponder& operator=(const LoopbackHttpResponder&) = delete;

    std::uint16_t Port() const { return port_; }
    int Connections() const { return connections_; }
    // The most connections the client held open at once: those never answered count until the client closes them.
    int MostOpenAtOnce() const { return mostOpen_; }
    std::vector<std::string> Requests() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    // Connects until a connection is not accepted within a moment: the queue is then full.
    void FillQueue(const sockaddr_storage& address, int length) {
        for (int connections = 0; connections < 16; ++connections) {
            const SOCKET filler = socket(address.ss_family, SOCK_STREAM, IPPROTO_TCP);
            u_long nonBlocking = 1;
            ioctlsocket(filler, FIONBIO, &nonBlocking);
            connect(filler, reinterpret_cast<const sockaddr*>(&address), length);
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(filler, &writable);
            timeval timeout{0, 200000};
            if (select(0, nullptr, &writable, nullptr, &timeout) <= 0) {
                closesocket(filler);
                return;
            }
            fillers_.push_back(filler);
        }
    }
    bool Readable(SOCKET s, long milliseconds) const {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval timeout{0, milliseconds * 1000};
        return select(0, &set, nullptr, nullptr, &timeout) > 0;
    }
    // The headers and as much of the body as Content-Length says, within a few seconds.
    std::string ReadRequest(SOCKET s) {
        std::string request;
        char buffer[4096];
        for (int waits = 0; waits < 100 && !stop_; ++waits) {
            const std::size_t end = request.find("\r\n\r\n");
            if (end != std::string::npos) {
                const std::size_t mark = request.find("Content-Length: ");
                const std::size_t length = mark == std::string::npos ? 0 : std::stoul(request.substr(mark + 16));
                if (request.size() >= end + 4 + length) break;
            }
            if (!Readable(s, 50)) continue;
            const int got = recv(s, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        return request;
    }
    void Serve() {
        while (!stop_) {
            // The connections held unanswered that the client has closed go.
            std::erase_if(held_, [&](SOCKET held) {
                char byte = 0;
                if (!Readable(held, 0) || recv(held, &byte, 1, 0) > 0) return false;
                closesocket(held);
                return true;
            });
            if (!Readable(listener_, 50)) continue;
            const SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            ++connections_;
            mostOpen_ = std::max(mostOpen_.load(), static_cast<int>(held_.size()) + 1);
            const std::string request = ReadRequest(client);
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(request);
            }
            const HttpReply reply = script_(request);
            if (reply.silent) {
                held_.push_back(client);
                continue;
            }
            for (DWORD waited = 0; waited < reply.delayMs && !stop_; waited += 20) Sleep(20);
            for (std::size_t sent = 0; sent < reply.bytes.size() && !stop_;) {
                const int chunk = static_cast<int>(std::min<std::size_t>(reply.bytes.size() - sent, 65536));
                const int done = send(client, reply.bytes.data() + sent, chunk, 0);
                if (done <= 0) break;  // the client has gone
                sent += static_cast<std::size_t>(done);
            }
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    HttpScript script_;
    SOCKET listener_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> mostOpen_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<SOCKET> held_;  // the connections never answered, until the responder goes
    std::vector<SOCKET> fillers_;
    std::thread thread_;
};

} // namespace ambervale::testing
