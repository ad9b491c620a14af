#include "ipp/ReadPump.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ambervale {
namespace {

// A client that completes every read at once, inside the call, as WinHTTP does with data it has already buffered.
struct InlineClient {
    ReadPump pump;
    int piecesLeft = 0;
    int received = 0;
    int depth = 0;
    int deepest = 0;

    void Read() {
        ++depth;
        deepest = std::max(deepest, depth);
        if (piecesLeft-- > 0) Completed();
        --depth;
    }
    void Completed() {
        ++received;
        pump.More([this] { Read(); });
    }
};

TEST(ReadPump, ABodyInAQuarterMillionPiecesIsReadWithoutTheStackGrowing) {
    InlineClient client;
    client.piecesLeft = 250000;
    client.pump.More([&] { client.Read(); });
    EXPECT_EQ(client.received, 250000);
    EXPECT_EQ(client.deepest, 1);
}

} // namespace
} // namespace ambervale
