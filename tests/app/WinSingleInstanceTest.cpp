// The claim on the one instance and the message between copies, under Wine.
#include "app/WinSingleInstance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fakes/RecordingForm1Events.h"
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

TEST(WinSingleInstance, AClaimThisCopyMayNotOpenCountsAsARunningCopy) {
    // As an elevated copy's mutex is to one that is not: an empty access list shuts everybody out.
    ACL nobody{};
    ASSERT_TRUE(InitializeAcl(&nobody, sizeof nobody, ACL_REVISION));
    SECURITY_DESCRIPTOR closed{};
    ASSERT_TRUE(InitializeSecurityDescriptor(&closed, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&closed, TRUE, &nobody, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &closed, FALSE};
    const win::UniqueKernelObject running(CreateMutexA(&attributes, TRUE, win::InstanceMutexName().c_str()));
    ASSERT_TRUE(running);

    win::WinInstanceServices second;
    EXPECT_FALSE(second.ClaimInstance());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(second.TakeOverFromEndedInstance());
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
