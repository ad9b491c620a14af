#include "ipp/WinHttpTransport.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinSystemFunctions.h"
#include "ipp/IppMessage.h"
#include "ipp/ReadPump.h"

namespace ambervale::win {
namespace {

struct WinHttpLibrary {
    decltype(&::WinHttpOpen) open = nullptr;
    decltype(&::WinHttpConnect) connect = nullptr;
    decltype(&::WinHttpOpenRequest) openRequest = nullptr;
    decltype(&::WinHttpSetOption) setOption = nullptr;
    decltype(&::WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&::WinHttpSetStatusCallback) setStatusCallback = nullptr;
    decltype(&::WinHttpSendRequest) sendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&::WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&::WinHttpReadData) readData = nullptr;
    decltype(&::WinHttpCloseHandle) closeHandle = nullptr;
};

WinHttpLibrary LoadWinHttp() {
    SystemFunctions library(L"winhttp.dll", "WinHTTP", "WinHTTP cannot be loaded");
    WinHttpLibrary loaded;
    library.Resolve("WinHttpOpen", loaded.open);
    library.Resolve("WinHttpConnect", loaded.connect);
    library.Resolve("WinHttpOpenRequest", loaded.openRequest);
    library.Resolve("WinHttpSetOption", loaded.setOption);
    library.Resolve("WinHttpSetTimeouts", loaded.setTimeouts);
    library.Resolve("WinHttpSetStatusCallback", loaded.setStatusCallback);
    library.Resolve("WinHttpSendRequest", loaded.sendRequest);
    library.Resolve("WinHttpReceiveResponse", loaded.receiveResponse);
    library.Resolve("WinHttpQueryHeaders", loaded.queryHeaders);
    library.Resolve("WinHttpReadData", loaded.readData);
    library.Resolve("WinHttpCloseHandle", loaded.closeHandle);
    // A WinHTTP without what the program needs was let go above; the next question loads it again.
    library.Keep();
    return loaded;
}

// Loaded by the first question, once; a load that failed is tried again at the next one. Once loaded it stays.
const WinHttpLibrary& WinHttp() {
    static const WinHttpLibrary library = LoadWinHttp();
    return library;
}

struct InternetTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { WinHttp().closeHandle(h); }
};
using UniqueInternet = UniqueHandle<InternetTraits>;

constexpr DWORD kStatusOk = 200;
constexpr std::size_t kReadChunk = 8192;
constexpr wchar_t kContentType[] = L"Content-Type: application/ipp\r\n";
// A connection not accepted within kConnectTry is given up and a new one made, while at least kRetryLeast remains:
// TCP sends a lost SYN again only after a second or more (three on older Windows), too late for a question of a
// second and a half, so one packet lost on the way would read as a printer that is gone. Three tries are all the
// budget holds.
constexpr std::chrono::milliseconds kConnectTry{500};
constexpr std::chrono::milliseconds kRetryLeast{300};
constexpr int kMaxTries = 3;
static_assert(kConnectTry * (kMaxTries - 1) + kRetryLeast <= kAskBudget &&
              kConnectTry * kMaxTries + kRetryLeast > kAskBudget);

PostEnding Ending(AskOutcome::Kind kind, std::string reason = {}) { return {kind, {}, std::move(reason)}; }

// What a failure of WinHTTP says of the printer.
PostEnding FailureEnding(DWORD error) {
    switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return Ending(AskOutcome::Kind::Silent);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return Ending(AskOutcome::Kind::CouldNotAsk, "out of memory");
    default:
        // Refused, reset, no HTTP, a TLS handshake that failed: something is there, but no IPP printer.
        return Ending(AskOutcome::Kind::NoSuchProtocol);
    }
}

} // namespace

// One exchange's state, shared by the worker that waits and WinHTTP's threads that call back. It lives until both
// are done with it: the worker's reference goes when it returns, WinHTTP's when the request's handle is closed; the
// transport keeps the last exchange of each printer until then, so that no other starts meanwhile.
struct PostInFlight {
    UniqueKernelObject done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    // Set at WinHTTP's last word on the request, its handle closing: nothing of the exchange runs after it.
    UniqueKernelObject closed{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::vector<std::byte> request;  // WinHTTP reads it until the request is sent
    std::array<std::byte, kReadChunk> chunk{};
    std::vector<std::byte> body;
    // Written once, by the completion that ends the exchange, before done is set; read by the worker only after that.
    PostEnding ending;
    DWORD error = 0;  // WinHTTP's, when it ended the exchange
    std::atomic<bool> ended{false};
    std::atomic<bool> connected{false};  // the printer accepted the connection
    ReadPump pump;
    std::shared_ptr<PostInFlight> heldByWinHttp;

    // Two completions may end the exchange at once (an error beside a read): the first to claim it writes.
    void End(PostEnding result, DWORD winHttpError = 0) {
        if (ended.exchange(true)) return;
        ending = std::move(result);
        error = winHttpError;
        SetEvent(done.get());
    }
    void Fail(DWORD winHttpError) {
        if (!ended) End(FailureEnding(winHttpError), winHttpError);
    }
    bool ClosedBy(AskClock::time_point deadline) const {
        return WaitForSingleObject(closed.get(), MillisecondsUntil(deadline)) == WAIT_OBJECT_0;
    }
    // WinHTTP completes a read inside the call while it has data buffered: the pump keeps that from nesting.
    void ReadMore(HINTERNET request) {
        pump.More([this, request] {
            if (ended) return;
            // One byte past the limit is asked for, so a body that is too large shows as one.
            const std::size_t room = kMaxIppResponse + 1 - body.size();
            const auto size = static_cast<DWORD>(std::min(chunk.size(), room));
            if (!WinHttp().readData(request, chunk.data(), size, nullptr)) Fail(GetLastError());
        });
    }
};

namespace {

void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
    auto* exchange = reinterpret_cast<PostInFlight*>(context);
    if (exchange == nullptr) return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_CONNECTED_TO_SERVER:
        exchange->connected = true;
        break;
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        exchange->connected = true;
        if (!WinHttp().receiveResponse(handle, nullptr)) exchange->Fail(GetLastError());
        break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE: {
        DWORD code = 0;
        DWORD size = sizeof code;
        if (!WinHttp().queryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                    WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX) ||
            code != kStatusOk) {
            // An error, a redirect (never followed), a demand for credentials (never sent): no IPP there.
            exchange->End(Ending(AskOutcome::Kind::NoSuchProtocol));
            break;
        }
        exchange->ReadMore(handle);
        break;
    }
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        if (length == 0) {
            exchange->End({AskOutcome::Kind::Answered, std::move(exchange->body), ""});
            break;
        }
        exchange->body.insert(exchange->body.end(), exchange->chunk.begin(),
                              exchange->chunk.begin() + std::min<std::size_t>(length, exchange->chunk.size()));
        if (exchange->body.size() > kMaxIppResponse) {
            exchange->End(Ending(AskOutcome::Kind::NoSuchProtocol));
            break;
        }
        exchange->ReadMore(handle);
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        exchange->Fail(static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError);
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING: {
        // WinHTTP's last word on this request: its reference goes, and with the worker's and the transport's gone
        // too, the exchange.
        const std::shared_ptr<PostInFlight> last = std::move(exchange->heldByWinHttp);
        SetEvent(exchange->closed.get());
        break;
    }
    default:
        break;
    }
}

bool SetNumberOption(HINTERNET handle, DWORD option, DWORD value) {
    return WinHttp().setOption(handle, option, &value, sizeof value) != FALSE;
}

// No credentials of the user's, no cookies, no redirects, one connection that ends with the exchange; TLS with the
// printer's own certificate. A client that does not take these is not used.
bool Restrict(HINTERNET request, bool secure) {
    constexpr DWORD kNoSecrets = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_AUTHENTICATION |
                                 WINHTTP_DISABLE_KEEP_ALIVE;
    constexpr DWORD kAnyCertificate = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID |
                                      SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;
    return SetNumberOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH) &&
           SetNumberOption(request, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER) &&
           SetNumberOption(request, WINHTTP_OPTION_DISABLE_FEATURE, kNoSecrets) &&
           (!secure || SetNumberOption(request, WINHTTP_OPTION_SECURITY_FLAGS, kAnyCertificate));
}

std::wstring Ascii(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string ErrorText(const char* what) { return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ")"; }

} // namespace

WinHttpTransport::~WinHttpTransport() {
    if (session_ != nullptr) WinHttp().closeHandle(static_cast<HINTERNET>(session_));
}

namespace {

// One try at the exchange, on a connection of its own that must be accepted within connectWait.
struct Try {
    PostEnding ending;
    bool notAccepted = false;  // the connection was not accepted in time: a fresh one may be
};

// inFlight: where the printer's exchange under way is kept, until WinHTTP has let it go.
Try Ask(HINTERNET session, const IppTarget& target, std::span<const std::byte> request,
        AskClock::time_point deadline, DWORD connectWait, std::shared_ptr<PostInFlight>& inFlight) {
    const UniqueInternet connection(WinHttp().connect(session, Ascii(target.host).c_str(), target.port, 0));
    if (!connection) return {FailureEnding(GetLastError())};
    const UniqueInternet handle(WinHttp().openRequest(connection.get(), L"POST", Ascii(target.path).c_str(), nullptr,
                                                      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                      target.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!handle) return {FailureEnding(GetLastError())};
    if (!Restrict(handle.get(), target.secure)) {
        return {Ending(AskOutcome::Kind::CouldNotAsk, ErrorText("WinHTTP refused a restriction"))};
    }
    // WinHTTP's own timeouts end its work soon after the worker stops waiting for it, where WinHTTP keeps them: the
    // response's own as well, without which a client may wait for an answer as long as the connection stays open.
    // Nothing relies on them: the next exchange with the printer waits for this one to be over.
    const auto wait = static_cast<int>(MillisecondsUntil(deadline));
    WinHttp().setTimeouts(handle.get(), wait, static_cast<int>(connectWait), wait, wait);
    static_cast<void>(SetNumberOption(handle.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(wait)));

    auto exchange = std::make_shared<PostInFlight>();
    if (!exchange->done || !exchange->closed) return {Ending(AskOutcome::Kind::CouldNotAsk, ErrorText("No event"))};
    exchange->request.assign(request.begin(), request.end());
    if (WinHttp().setStatusCallback(handle.get(), OnStatus,
                                    WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES |
                                        WINHTTP_CALLBACK_FLAG_CONNECT_TO_SERVER,
                                    0) == WINHTTP_INVALID_STATUS_CALLBACK) {
        return {Ending(AskOutcome::Kind::CouldNotAsk, ErrorText("No WinHTTP callback"))};
    }
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(exchange.get());
    if (!WinHttp().setOption(handle.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context)) {
        return {Ending(AskOutcome::Kind::CouldNotAsk, ErrorText("No WinHTTP context"))};
    }
    // From here WinHTTP calls back with the exchange until it says the handle is closing.
    exchange->heldByWinHttp = exchange;
    inFlight = exchange;
    const auto size = static_cast<DWORD>(exchange->request.size());
    if (!WinHttp().sendRequest(handle.get(), kContentType, static_cast<DWORD>(-1L), exchange->request.data(), size,
                               size, context)) {
        return {FailureEnding(GetLastError())};
    }
    if (WaitForSingleObject(exchange->done.get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0) {
        return {Ending(AskOutcome::Kind::Silent)};
    }
    return {std::move(exchange->ending), exchange->error == ERROR_WINHTTP_TIMEOUT && !exchange->connected};
}

} // namespace

PostEnding WinHttpTransport::Post(const IppTarget& target, std::span<const std::byte> request,
                                   AskClock::time_point deadline) {
    try {
        WinHttp();
    } catch (const AppError& error) {
        return Ending(AskOutcome::Kind::CouldNotAsk, error.what());
    }
    if (session_ == nullptr) {
        session_ = WinHttp().open(L"Ambervale", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
        if (session_ == nullptr) return Ending(AskOutcome::Kind::CouldNotAsk, ErrorText("No WinHTTP session"));
    }
    // One exchange with a printer at a time, whatever the printer does: the last one is over (its request and
    // connection closed, WinHTTP done with it) before the next one starts; while it is not, nothing new is opened,
    // and the question ends as the silence it is. Printers whose last exchange is over are forgotten.
    const std::string printer = target.host + ':' + std::to_string(target.port);
    std::erase_if(inFlight_, [&](const auto& kept) {
        return kept.first != printer && (!kept.second || kept.second->ClosedBy({}));
    });
    std::shared_ptr<PostInFlight>& inFlight = inFlight_[printer];
    Tries tries(kMaxTries, kConnectTry, deadline);
    while (tries.Next()) {
        if (inFlight && !inFlight->ClosedBy(deadline)) return Ending(AskOutcome::Kind::Silent);
        inFlight.reset();
        const bool last = tries.IsLast(kRetryLeast);
        const DWORD connectWait = MillisecondsUntil(last ? deadline : tries.TryEnds());
        Try attempt = Ask(static_cast<HINTERNET>(session_), target, request, deadline, connectWait, inFlight);
        if (last || !attempt.notAccepted) return std::move(attempt.ending);
    }
    return Ending(AskOutcome::Kind::Silent);
}

} // namespace ambervale::win
