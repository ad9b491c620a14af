#pragma once
#include <map>
#include <memory>
#include <string>

#include "ipp/IppTransport.h"

namespace ambervale::win {

struct PostInFlight;

// IPP's HTTP through WinHTTP, Windows' own client, loaded from the system folder at the first question (it is no
// known library of Windows, so it is not imported). Asynchronous: the worker waits for the exchange until the
// deadline at the latest and then closes its request and connection. No proxy, no credentials (no automatic logon,
// no authentication, no cookies), no redirects, no keep-alive: one connection at a time, made anew while time remains
// when the printer does not accept it within half a second. Whatever the printer does (accepts and never answers,
// answers a byte a second), an exchange is over, WinHTTP done with it, before the next one with that printer starts:
// until then a question opens nothing and ends as silence, so connections, threads and memory stay as they are
// however long a printer hangs, and however WinHTTP ends what the program closed. TLS takes the printer's
// certificate as it is: printers carry self-signed ones, nothing secret is sent, and the answer only adds words to a
// log.
class WinHttpTransport final : public IppTransport {
public:
    WinHttpTransport() = default;
    ~WinHttpTransport() override;
    WinHttpTransport(const WinHttpTransport&) = delete;
    WinHttpTransport& operator=(const WinHttpTransport&) = delete;

    PostEnding Post(const IppTarget& target, std::span<const std::byte> request,
                     AskClock::time_point deadline) override;

private:
    void* session_ = nullptr;  // the HINTERNET of the session, opened at the first question and kept
    // Each printer's (host and port) last exchange, until WinHTTP has let it go.
    std::map<std::string, std::shared_ptr<PostInFlight>> inFlight_;
};

} // namespace ambervale::win
