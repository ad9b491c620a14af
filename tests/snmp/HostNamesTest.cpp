// A printer's name and its lookups: a fresh lookup runs beside the questions, never in their way, on a clock of the
// test's own and lookups that take as long as the test says.
#include "snmp/HostNames.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ambervale {
namespace {

using namespace std::chrono_literals;

// A lookup that finishes when the test says: one that has not is slower than any question's budget.
struct ScriptedLookup {
    bool finished = false;
    bool found = false;
    bool Finished() { return finished; }
    bool WaitUntil(AskClock::time_point) { return finished; }
    bool Found() const { return found; }
};

struct Names {
    // The lookup a question at now is given, or nullptr.
    std::shared_ptr<ScriptedLookup> Ask(AskClock::time_point now) {
        return names.Find("printer", now, now + kAskBudget, [&](const std::string&) {
            auto lookup = std::make_shared<ScriptedLookup>(ScriptedLookup{answersAtOnce, answersAtOnce});
            started.push_back(lookup);
            return NameAnswer<ScriptedLookup>{lookup, {}};
        }).lookup;
    }
    void Finish(std::size_t lookup, bool found) { *started.at(lookup) = {true, found}; }

    HostNames<ScriptedLookup> names;
    std::vector<std::shared_ptr<ScriptedLookup>> started;
    bool answersAtOnce = true;  // the next lookup finishes within its question
};

TEST(HostNames, AFreshLookupRunsBesideTheQuestionsWhileTheLastAddressesAreAsked) {
    Names names;
    const AskClock::time_point t{};
    const auto first = names.Ask(t);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(names.Ask(t + 59s), first);
    EXPECT_EQ(names.started.size(), 1u) << "a name found is used again for a minute";

    names.answersAtOnce = false;  // the name server now takes longer than a question's budget
    EXPECT_EQ(names.Ask(t + 60s), first) << "the refresh is not waited for";
    EXPECT_EQ(names.Ask(t + 61s), first);
    EXPECT_EQ(names.started.size(), 2u) << "one lookup of a host at a time";
    names.Finish(1, true);
    EXPECT_EQ(names.Ask(t + 62s), names.started[1]) << "its answer replaces the last one when it comes";

    // Refreshes that fail leave the last addresses in use, ten minutes from the lookup that found them.
    const AskClock::time_point found = t + 60s;
    for (AskClock::time_point now = found + 60s; now < found + 10min; now += 30s) {
        EXPECT_EQ(names.Ask(now), names.started[1]);
        names.Finish(names.started.size() - 1, false);
    }
    EXPECT_EQ(names.Ask(found + 10min), nullptr) << "then the name is looked up within the question, as at first";
    names.Finish(names.started.size() - 1, true);
    EXPECT_EQ(names.Ask(found + 10min + 1s), names.started.back());
}

TEST(HostNames, ANameNeverFoundIsLookedUpWithinTheQuestionOneLookupAtATime) {
    Names names;
    names.answersAtOnce = false;
    const AskClock::time_point t{};
    EXPECT_EQ(names.Ask(t), nullptr);
    EXPECT_EQ(names.Ask(t + 1s), nullptr);
    EXPECT_EQ(names.started.size(), 1u) << "the next question waits for the lookup under way";
    names.Finish(0, false);
    EXPECT_EQ(names.Ask(t + 2s), nullptr);
    EXPECT_EQ(names.started.size(), 2u) << "a failure is not handed to a later question";
    names.Finish(1, true);
    EXPECT_EQ(names.Ask(t + 3s), names.started[1]) << "a lookup that came after its question answers the next";
}

} // namespace
} // namespace ambervale
