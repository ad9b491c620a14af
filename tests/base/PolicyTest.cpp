#include "base/Policy.h"

#include <gtest/gtest.h>

namespace ambervale {
namespace {

TEST(Policy, TheMachinesValueBeforeTheUsersAndOnlyZeroTurnsAThingOff) {
    const std::optional<std::uint32_t> none;
    EXPECT_TRUE(PolicyAllows(none, none));
    EXPECT_TRUE(PolicyAllows(none, 2u));
    EXPECT_FALSE(PolicyAllows(none, 0u));
    EXPECT_FALSE(PolicyAllows(0u, 1u));
    EXPECT_TRUE(PolicyAllows(1u, 0u));
    EXPECT_TRUE(PolicyAllows(0xFFFFFFFFu, none));
    EXPECT_FALSE(PolicyAllows(0u, none));
}

} // namespace
} // namespace ambervale
