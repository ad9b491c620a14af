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
    bool firstClaimed = false;
    std::thread starting([&] { firstClaimed = first->ClaimInstance(); });  // the claim belongs to this thread
    starting.join();
    ASSERT_TRUE(firstClaimed);

    win::WinInstanceServices second;
    EXPECT_FALSE(second.ClaimInstance());
    // The first copy's thread is gone but its handle stays open: as when a copy ends without letting go.
    EXPECT_TRUE(second.TakeOverFromEndedInstance());
    first.reset();

    std::thread third([] {
        win::WinInstanceServices another;
        EXPECT_FALSE(another.ClaimInstance());
        EXPECT_FALSE(another.TakeOverFromEndedInstance()) << "the second holds the claim and runs";
    });
    third.join();
}

TEST(WinSingleInstance, NamesTakenFirstByAnotherAccountArePassedOverAndThisUsersCopiesMeetAtTheNext) {
    const auto shut = testing::SquatClaimName(0, "D:");
    const auto open = testing::SquatClaimName(1, "D:(A;;GA;;;WD)");
    ASSERT_TRUE(shut && open);

    auto first = std::make_unique<win::WinInstanceServices>();
    bool firstClaimed = false;
    std::thread starting([&] { firstClaimed = first->ClaimInstance(); });
    starting.join();
    EXPECT_TRUE(firstClaimed) << "the names of another account keep nobody from starting";

    win::WinInstanceServices second;
    EXPECT_FALSE(second.ClaimInstance()) << "a second copy of this user finds the first";
    EXPECT_TRUE(second.TakeOverFromEndedInstance()) << "and it is the first copy's claim that it waits on";
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
