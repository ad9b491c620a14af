// WinHTTP for real, against an HTTP server of the test's own on the loopback: the one POST, and every way the
// exchange can end.
#include "ipp/WinHttpTransport.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/WinTestHttpResponder.h"
#include "ipp/IppMessage.h"

namespace ambervale {
namespace {

using testing::HttpOk;
using testing::HttpReply;
using testing::LoopbackHttpResponder;

const std::string kQuestion = "\x01\x01\x00\x0B question";

IppTarget At(std::uint16_t port) {
    return {false, "127.0.0.1", port, "/ipp/print", "ipp://127.0.0.1:" + std::to_string(port) + "/ipp/print"};
}

PostEnding Ask(std::uint16_t port, std::chrono::milliseconds budget = std::chrono::milliseconds(1500)) {
    win::WinHttpTransport transport;
    return transport.Post(At(port), std::as_bytes(std::span(kQuestion)), AskClock::now() + budget);
}

TEST(WinHttpTransport, TheQuestionIsOnePostOfApplicationIppWithoutCredentialsAndTheAnswerComesWhole) {
    const std::string answer(40000, 'a');
    LoopbackHttpResponder printer([&](const std::string&) { return HttpReply{HttpOk(answer)}; });
    const PostEnding exchange = Ask(printer.Port(), std::chrono::seconds(10));
    ASSERT_EQ(exchange.kind, AskOutcome::Kind::Answered);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(exchange.body.data()), exchange.body.size()), answer);
    ASSERT_EQ(printer.Requests().size(), 1u);
    const std::string request = printer.Requests()[0];
    EXPECT_EQ(request.rfind("POST /ipp/print HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nContent-Type: application/ipp\r\n"), std::string::npos) << request;
    EXPECT_EQ(request.find("Authorization"), std::string::npos) << request;
    EXPECT_EQ(testing::HttpBody(request), kQuestion);

    // A printer at an IPv6 address, as a TCP/IP port may name it.
    LoopbackHttpResponder printer6([&](const std::string&) { return HttpReply{HttpOk("six")}; }, true);
    win::WinHttpTransport transport;
    const IppTarget at6{false, "::1", printer6.Port(), "/ipp/print", "ipp://[::1]/ipp/print"};
    EXPECT_EQ(transport.Post(at6, std::as_bytes(std::span(kQuestion)), AskClock::now() + std::chrono::seconds(10))
                  .body.size(),
              3u);
}

TEST(WinHttpTransport, AnythingButAnIppAnswerInTimeIsTakenForWhatItSays) {
    using enum AskOutcome::Kind;
    const struct {
        const char* what;
        HttpReply reply;
        AskOutcome::Kind kind;
    } cases[] = {
        {"not found", {"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"}, NoSuchProtocol},
        {"a redirect, not followed", {"HTTP/1.1 301 Moved\r\nLocation: /other\r\nContent-Length: 0\r\n\r\n"}, NoSuchProtocol},
        {"a demand for the user's credentials",
         {"HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Negotiate\r\nWWW-Authenticate: NTLM\r\n"
          "Content-Length: 0\r\n\r\n"},
         NoSuchProtocol},
        {"no HTTP at all", {std::string("\x16\x03\x01\x00\x05garbage\r\n\r\n", 20)}, NoSuchProtocol},
        {"a body past the limit", {HttpOk(std::string(kMaxIppResponse + 1, 'b'))}, NoSuchProtocol},
        {"ten megabytes", {HttpOk(std::string(10u << 20, 'c'))}, NoSuchProtocol},
        {"an answer after the budget", {HttpOk("late"), 3000}, Silent},
        {"a connection never answered", {"", 0, true}, Silent},
    };
    for (const auto& c : cases) {
        LoopbackHttpResponder device([&](const std::string&) { return c.reply; });
        EXPECT_EQ(Ask(device.Port()).kind, c.kind) << c.what;
        EXPECT_EQ(device.Connections(), 1) << c.what;
        for (const std::string& request : device.Requests()) {
            EXPECT_EQ(request.find("Authorization"), std::string::npos) << c.what;
        }
    }
}

TEST(WinHttpTransport, AConnectionNotAcceptedIsMadeAgainWhileTimeRemains) {
    // Every SYN of the first 0.75 s is lost, those of the first two tries; TCP would send the first again only after
    // a second: the third try, the last the budget holds, is accepted.
    LoopbackHttpResponder printer([](const std::string&) { return HttpReply{HttpOk("ok")}; }, false, 750);
    EXPECT_EQ(Ask(printer.Port()).kind, AskOutcome::Kind::Answered);
    EXPECT_EQ(printer.Connections(), 1);
}

TEST(WinHttpTransport, ARefusedConnectionIsNoIpp) {
    std::uint16_t closedPort = 0;
    {
        LoopbackHttpResponder gone([](const std::string&) { return HttpReply{}; });
        closedPort = gone.Port();
    }
    EXPECT_EQ(Ask(closedPort).kind, AskOutcome::Kind::NoSuchProtocol);
}

} // namespace
} // namespace ambervale
