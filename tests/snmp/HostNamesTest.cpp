// A printer's name refreshed beside the questions, on a clock of the test's own; a lookup finishes when the test says.
#include "snmp/HostNames.h"

#include <gtest/gtest.h>

namespace ambervale {
namespace {

using namespace std::chrono_literals;

struct Lookup {
    bool finished = false, found = false;
    bool Finished() { return finished; }
    bool WaitUntil(AskClock::time_point) { return finished; }  // until then slower than any question's budget
    bool Found() const { return found; }
};

TEST(HostNames, ARefreshSlowerThanTheQuestionLeavesTheLastAddressesAskedForTenMinutesAtMost) {
    HostNames<Lookup> names;
    std::vector<std::shared_ptr<Lookup>> started;
    const auto ask = [&](AskClock::duration at) {
        const auto now = AskClock::time_point{} + at;
        return names.Find("printer", now, now + kAskBudget, [&](const std::string&) {
            started.push_back(std::make_shared<Lookup>(Lookup{started.empty(), started.empty()}));
            return NameAnswer<Lookup>{started.back(), {}};
        }).lookup;
    };
    const auto first = ask(0s);
    EXPECT_EQ(ask(60s), first) << "the fresh lookup is not waited for";
    EXPECT_EQ(ask(61s), first);
    ASSERT_EQ(started.size(), 2u) << "one lookup of a host at a time";
    *started[1] = {true, true};
    const auto second = ask(62s);
    EXPECT_EQ(second, started[1]) << "its answer replaces the last one when it comes";
    EXPECT_EQ(ask(120s), second);
    *started.back() = {true, false};
    EXPECT_EQ(ask(659s), second) << "while refreshes fail, for ten minutes from the lookup that found it";
    EXPECT_EQ(ask(660s), nullptr) << "then the name is looked up within the question, as at first";
}

} // namespace
} // namespace ambervale
