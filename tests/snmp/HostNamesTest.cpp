// A printer's name is refreshed beside the questions, on a clock of the test's own, with lookups that take as long as
// the test says: one not finished is slower than any question's budget.
#include "snmp/HostNames.h"

#include <gtest/gtest.h>

namespace ambervale {
namespace {

using namespace std::chrono_literals;

struct Lookup {
    bool finished = false, found = false;
    bool Finished() { return finished; }
    bool WaitUntil(AskClock::time_point) { return finished; }
    bool Found() const { return found; }
};

struct Names {
    // The lookup a question at t + at asks, or nullptr; a lookup it starts finishes within it when answersAtOnce.
    std::shared_ptr<Lookup> Ask(AskClock::duration at) {
        const AskClock::time_point now = AskClock::time_point{} + at;
        return names.Find("printer", now, now + kAskBudget, [&](const std::string&) {
            started.push_back(std::make_shared<Lookup>(Lookup{answersAtOnce, answersAtOnce}));
            return NameAnswer<Lookup>{started.back(), {}};
        }).lookup;
    }
    HostNames<Lookup> names;
    std::vector<std::shared_ptr<Lookup>> started;
    bool answersAtOnce = true;
};

TEST(HostNames, ARefreshSlowerThanTheQuestionLeavesTheLastAddressesAskedForTenMinutesAtMost) {
    Names names;
    const auto first = names.Ask(0s);
    names.answersAtOnce = false;
    EXPECT_EQ(names.Ask(59s), first);
    EXPECT_EQ(names.Ask(60s), first) << "the fresh lookup is not waited for";
    EXPECT_EQ(names.Ask(61s), first);
    ASSERT_EQ(names.started.size(), 2u) << "one lookup of a host at a time";
    *names.started[1] = {true, true};
    EXPECT_EQ(names.Ask(62s), names.started[1]) << "its answer replaces the last one when it comes";
    for (auto at = 120s; at < 660s; at += 30s) {
        EXPECT_EQ(names.Ask(at), names.started[1]) << "while refreshes fail";
        *names.started.back() = {true, false};
    }
    EXPECT_EQ(names.Ask(660s), nullptr) << "ten minutes after it was found, asked within the question as at first";
    EXPECT_EQ(names.Ask(661s), nullptr);
    EXPECT_EQ(names.started.size(), 21u);
}

} // namespace
} // namespace ambervale
