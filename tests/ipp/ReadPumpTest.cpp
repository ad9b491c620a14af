#include "ipp/ReadPump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace ambervale {
namespace {

TEST(ReadPump, ABodyInAQuarterMillionPiecesIsReadWithoutTheStackGrowing) {
    // A client that completes every read inside the call, as WinHTTP does with data it has already buffered.
    ReadPump pump;
    int piecesLeft = 250000, received = 0, depth = 0, deepest = 0;
    std::function<void()> read = [&] {
        deepest = std::max(deepest, ++depth);
        if (piecesLeft-- > 0) {
            ++received;
            pump.More(read);
        }
        --depth;
    };
    pump.More(read);
    EXPECT_EQ(received, 250000);
    EXPECT_EQ(deepest, 1);
}

} // namespace
} // namespace ambervale
