// How often a guessed address is asked, and when its silence counts.
#include "asking/GuessedAddresses.h"

#include <gtest/gtest.h>

namespace ambervale {
namespace {

using namespace std::chrono_literals;
using Kind = AskOutcome::Kind;
using Address = AskOutcome::Address;

TEST(GuessedAddresses, AGuessThatNeverAnsweredWaitsDoublingUpToAnHourAndOnceAnsweredIsAskedAlways) {
    GuessedAddresses guesses;
    AskClock::time_point now{};
    const std::string at = "ipp://192.0.2.7:631/ipp/print";
    // The waits after each silence: 1, 2, 4, ... minutes, never more than an hour.
    for (const auto wait : {1min, 2min, 4min, 8min, 16min, 32min, 60min, 60min}) {
        ASSERT_TRUE(guesses.Due(at, now));
        EXPECT_EQ(guesses.Took(at, Kind::Silent, now), Address::GuessedNeverAnswered);
        EXPECT_FALSE(guesses.Due(at, now + wait - 1s)) << wait.count();
        now += wait;
    }
    EXPECT_TRUE(guesses.Due("ipp://192.0.2.8:631/ipp/print", now)) << "each address on its own";
    // This PC's own failure and a refusal put it off, as silence does.
    EXPECT_EQ(guesses.Took(at, Kind::CouldNotAsk, now), Address::GuessedNeverAnswered);
    EXPECT_FALSE(guesses.Due(at, now + 59min)) << "a PC that cannot ask does not try the guess at every entry";
    now += 1h;
    guesses.Took(at, Kind::NoSuchProtocol, now);
    EXPECT_FALSE(guesses.Due(at, now + 59min));

    now += 1h;
    EXPECT_EQ(guesses.Took(at, Kind::Answered, now), Address::GuessedAnswered);
    EXPECT_EQ(guesses.Took(at, Kind::Silent, now + 1s), Address::GuessedAnswered) << "its silence now counts";
    EXPECT_TRUE(guesses.Due(at, now + 2s)) << "and it is asked at every entry";
}

} // namespace
} // namespace ambervale
