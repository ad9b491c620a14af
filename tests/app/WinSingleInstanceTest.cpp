// The claim on the one instance and the message between copies, under Wine.
#include "app/WinSingleInstance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fakes/RecordingForm1Events.h"
#include "fakes/WinSquattedClaim.h"
#include "mainwindow/WinForm1.h"

namespace ambervale {
namespace {

TEST(WinSingleInstance, OnlyTheFirstClaimHoldsAndItIsTakenOverOnlyOnceItsThreadHasEnded) {
    auto first = std::make_unique<win::WinInstanceServices>();
    auto firstClaim = InstanceClaim::HeldByAnotherCopy;
    std::thread starting([&] { firstClaim = first->ClaimInstance(); });  // the claim belongs to this thread
    starting.join();
    ASSERT_EQ(firstClaim, InstanceClaim::Claimed);

    win::WinInstanceServices second;
    EXPECT_EQ(second.ClaimInstance(), InstanceClaim::HeldByAnotherCopy);
    // The first copy's thread is gone but its handle stays open: as when a copy ends without letting go.
    EXPECT_TRUE(second.TakeOverFromEndedInstance());
    first.reset();

    std::thread third([] {
        win::WinInstanceServices another;
        EXPECT_EQ(another.ClaimInstance(), InstanceClaim::HeldByAnotherCopy);
        EXPECT_FALSE(another.TakeOverFromEndedInstance()) << "the second holds the claim and runs";
    });
    third.join();
}

TEST(WinSingleInstance, NamesTakenFirstByAnotherAccountArePassedOverAndThisUsersCopiesMeetAtTheNext) {
    const auto shut = testing::SquatClaimName(0, "D:");
    const auto open = testing::SquatClaimName(1, "D:(A;;GA;;;WD)");
    ASSERT_TRUE(shut && open);

    auto first = std::make_unique<win::WinInstanceServices>();
    auto firstClaim = InstanceClaim::HeldByAnotherCopy;
    std::thread starting([&] { firstClaim = first->ClaimInstance(); });
    starting.join();
    EXPECT_EQ(firstClaim, InstanceClaim::Claimed) << "the names of another account keep nobody from starting";

    win::WinInstanceServices second;
    EXPECT_EQ(second.ClaimInstance(), InstanceClaim::HeldByAnotherCopy) << "a second copy of this user finds the first";
    EXPECT_TRUE(second.TakeOverFromEndedInstance()) << "and it is the first copy's claim that it waits on";
}

TEST(WinSingleInstance, EveryNameHeldByAnotherAccountIsNoClaim) {
    std::vector<win::UniqueKernelObject> squatted;
    for (int attempt = 0; attempt < win::kInstanceClaimNames; ++attempt) {
        squatted.push_back(testing::SquatClaimName(attempt, "D:(A;;GA;;;WD)"));
        ASSERT_TRUE(squatted.back());
    }
    win::WinInstanceServices starting;
    EXPECT_EQ(starting.ClaimInstance(), InstanceClaim::NamesHeldByAnotherAccount);
    EXPECT_FALSE(starting.TakeOverFromEndedInstance()) << "and it holds nothing to wait on";
}

TEST(WinSingleInstance, TheMainWindowAnswersAStartAgainByComingToTheFront) {
    win::Form1Window form{GetModuleHandleA(nullptr)};
    form.Create();
    form.AnswerStartedAgain(win::StartedAgainMessage());
    EXPECT_EQ(SendMessageA(form.Handle(), win::StartedAgainMessage(), 0, 0), 0) << "no answer before its handlers";
    testing::RecordingForm1Events events;
    form.Attach(events);

    EXPECT_EQ(SendMessageA(form.Handle(), win::StartedAgainMessage(), 0, 0), win::kBroughtToFront);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"Form_StartedAgain"}));
}

} // namespace
} // namespace ambervale
