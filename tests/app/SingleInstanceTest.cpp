#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <climits>

namespace ambervale {
namespace {

// A running copy as a second start sees it: its window answers from a given attempt on, or it ends at one.
class FakeInstances : public InstanceServices {
public:
    bool ClaimInstance() override { return claimFree; }
    bool TakeOverFromEndedInstance() override { return attempts >= endsAtAttempt; }
    bool BringRunningInstanceToFront() override { return ++attempts >= answersAtAttempt; }
    std::int64_t NowMilliseconds() override { return now; }
    void Sleep(std::int64_t milliseconds) override {
        now += milliseconds;
        slept += milliseconds;
    }

    bool claimFree = false;
    int answersAtAttempt = INT_MAX;
    int endsAtAttempt = INT_MAX;
    int attempts = 0;
    std::int64_t now = 5'000'000;
    std::int64_t slept = 0;
};

struct StartCase {
    const char* name;
    bool claimFree;
    int answersAtAttempt;
    int endsAtAttempt;
    StartChoice expected;
    int attempts;
    std::int64_t slept;
};

class ChoosingStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(ChoosingStart, RunsOnlyWhenNoOtherCopyRuns) {
    const StartCase& c = GetParam();
    FakeInstances instances;
    instances.claimFree = c.claimFree;
    instances.answersAtAttempt = c.answersAtAttempt;
    instances.endsAtAttempt = c.endsAtAttempt;

    EXPECT_EQ(ChooseStart(instances), c.expected);
    EXPECT_EQ(instances.attempts, c.attempts);
    EXPECT_EQ(instances.slept, c.slept);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ChoosingStart,
    ::testing::Values(
        StartCase{"FirstCopyRunsWithoutLookingForAnother", true, 1, INT_MAX, StartChoice::RunHere, 0, 0},
        StartCase{"RunningCopyAnswersAtOnce", false, 1, INT_MAX, StartChoice::LeaveToRunningInstance, 1, 0},
        StartCase{"RunningCopyStillStartingAnswersLater", false, 4, INT_MAX, StartChoice::LeaveToRunningInstance, 4,
                  300},
        // 10 s of 100 ms waits: the attempt at 0 ms and one after each wait.
        StartCase{"RunningCopyWithoutWindowIsLeftAloneAfterTheWaitAndSaysSo", false, INT_MAX, INT_MAX,
                  StartChoice::RunningInstanceDidNotAnswer, 101, 10000},
        StartCase{"CopyThatEndedMeanwhileLeavesTheRunToThisOne", false, INT_MAX, 3, StartChoice::RunHere, 3, 200}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace ambervale
