#include "base/ErrorReport.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "fakes/FakeMessageBoxes.h"

namespace ambervale {
namespace {

using testing::FakeMessageBoxes;

TEST(ErrorBoxText, IsExactByteForByte) {
    EXPECT_EQ(ErrorBoxText("Printer not found", "Timer1", 116),
              "Printer not found\r\nin Lumenquay2021/08/31.Form1.Timer1 at line 116\r\r"
              "Please email screenshot of this message to support@corvatek.example");
}

TEST(GuardedSteps, FailedStepShowsOneBoxAndTheHandlerGoesOn) {
    FakeMessageBoxes boxes;
    GuardedSteps steps(boxes, "Form_Load");
    std::vector<int> ran;
    steps.Run(100, [&] { ran.push_back(100); });
    steps.Run(102, [&] { throw AppError("Bad file name"); });
    steps.Run(104, [&] { throw AppError("Second failure"); });
    steps.Run(106, [&] { ran.push_back(106); });

    EXPECT_EQ(ran, (std::vector<int>{100, 106}));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].caption, "Application Error");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(boxes.shown[0].buttons, BoxButtons::Ok);
    EXPECT_EQ(boxes.shown[0].text, ErrorBoxText("Bad file name", "Form_Load", 102));
    EXPECT_EQ(boxes.shown[1].text, ErrorBoxText("Second failure", "Form_Load", 104));
}

TEST(GuardedSteps, FailedConditionCountsAsPassed) {
    FakeMessageBoxes boxes;
    GuardedSteps steps(boxes, "PushButton1_Click");
    EXPECT_TRUE(steps.Test(100, []() -> bool { throw AppError("Path not found"); }));
    EXPECT_FALSE(steps.Test(102, [] { return false; }));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, ErrorBoxText("Path not found", "PushButton1_Click", 100));
}

TEST(GuardedSteps, DescribesFailuresThatAreNotAppErrors) {
    FakeMessageBoxes boxes;
    GuardedSteps steps(boxes, "Timer1");
    steps.Run(100, [] { throw std::bad_alloc(); });
    steps.Run(102, [] { throw 42; });
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, ErrorBoxText("Out of memory", "Timer1", 100));
    EXPECT_EQ(boxes.shown[1].text, ErrorBoxText("Unknown error", "Timer1", 102));
}

TEST(GuardedSteps, ABoxThatCannotBeShownDoesNotStopTheHandler) {
    FakeMessageBoxes boxes;
    boxes.failNext = true;
    GuardedSteps steps(boxes, "Timer1");
    bool next = false;
    steps.Run(100, [] { throw AppError("x"); });
    steps.Run(102, [&] { next = true; });
    EXPECT_TRUE(next);
}

} // namespace
} // namespace ambervale
