#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <climits>

namespace ambervale {
namespace {

// A running copy as a second start sees it: its window answers from a given attempt on, or it ends at one.
class FakeInstances : public InstanceServices {
public:
    InstanceClaim ClaimInstance() override { return claim; }
    bool TakeOverFromEndedInstance() override { return attempts >= endsAtAttempt; }
    bool BringRunningInstanceToFront() override { return ++attempts >= answersAtAttempt; }
    std::int64_t NowMilliseconds() override { return now; }
    void Sleep(std::int64_t milliseconds) override {
        now += milliseconds;
        slept += milliseconds;
    }

    InstanceClaim claim = InstanceClaim::HeldByAnotherCopy;
    int answersAtAttempt = INT_MAX;
    int endsAtAttempt = INT_MAX;
    int attempts = 0;
    std::int64_t now = 5'000'000;
    std::int64_t slept = 0;
};

struct StartCase {
    const char* name;
    InstanceClaim claim;
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
    instances.claim = c.claim;
    instances.answersAtAttempt = c.answersAtAttempt;
    instances.endsAtAttempt = c.endsAtAttempt;

    EXPECT_EQ(ChooseStart(instances), c.expected);
    EXPECT_EQ(instances.attempts, c.attempts);
    EXPECT_EQ(instances.slept, c.slept);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ChoosingStart,
    ::testing::Values(
        StartCase{"FirstCopyRunsWithoutLookingForAnother", InstanceClaim::Claimed, 1, INT_MAX, StartChoice::RunHere, 0, 0},
        StartCase{"RunningCopyAnswersAtOnce", InstanceClaim::HeldByAnotherCopy, 1, INT_MAX, StartChoice::LeaveToRunningInstance, 1, 0},
        StartCase{"RunningCopyStillStartingAnswersLater", InstanceClaim::HeldByAnotherCopy, 4, INT_MAX, StartChoice::LeaveToRunningInstance, 4,
                  300},
        // 10 s of 100 ms waits: the attempt at 0 ms and one after each wait.
        StartCase{"RunningCopyWithoutWindowIsLeftAloneAfterTheWaitAndSaysSo", InstanceClaim::HeldByAnotherCopy, INT_MAX, INT_MAX,
                  StartChoice::RunningInstanceDidNotAnswer, 101, 10000},
        StartCase{"CopyThatEndedMeanwhileLeavesTheRunToThisOne", InstanceClaim::HeldByAnotherCopy, INT_MAX, 3,
                  StartChoice::RunHere, 3, 200},
        // Even a copy of this user's own that answers would not be found: the names are not this user's.
        StartCase{"NamesHeldByAnotherAccountRefuseTheStartWithoutLooking", InstanceClaim::NamesHeldByAnotherAccount, 1,
                  1, StartChoice::NamesHeldByAnotherAccount, 0, 0}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace ambervale
