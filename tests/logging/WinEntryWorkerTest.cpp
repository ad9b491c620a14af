// The entry's question on a thread of its own while the window's messages go on, and a close during the wait.
#include "logging/WinEntryWorker.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "base/AppError.h"
#include "base/WinHandles.h"

namespace ambervale {
namespace {

constexpr DWORD kBound = 10000;  // only so a hang cannot stop the run

// A window of the test's own; DefWindowProc destroys it on WM_CLOSE.
struct TestWindow {
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    HWND hwnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
};

// Set once the window's messages are dispatched: a timer's callback runs only from the dispatch of its WM_TIMER.
const win::UniqueKernelObject dispatched(CreateEventA(nullptr, TRUE, FALSE, nullptr));
void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { SetEvent(dispatched.get()); }

TEST(WinEntryWorker, RunsTheWorkElsewhereWhileTheWindowsMessagesAreDispatched) {
    TestWindow window;
    win::WinEntryWorker worker;
    worker.SetWindow(window.hwnd);
    ResetEvent(dispatched.get());
    ASSERT_NE(SetTimer(window.hwnd, 1, 0, &OnTimer), 0u);
    DWORD workThread = 0;
    DWORD seen = WAIT_TIMEOUT;
    // The work can only end once the window has had the message that came while it waited.
    EXPECT_TRUE(worker.RunAndWait([&] {
        workThread = GetCurrentThreadId();
        seen = WaitForSingleObject(dispatched.get(), kBound);
    }));
    EXPECT_NE(workThread, GetCurrentThreadId());
    EXPECT_EQ(seen, WAIT_OBJECT_0);
    EXPECT_FALSE(worker.Busy());
    // What a question holds (the printer's objects) goes on the worker before the caller has its answer, never after.
    auto held = std::make_shared<int>(0);
    const std::weak_ptr<int> watched = held;
    EXPECT_TRUE(worker.RunAndWait([held = std::move(held)] {}));
    EXPECT_TRUE(watched.expired());

    try {
        worker.RunAndWait([] { throw AppError("No default printer"); });
        ADD_FAILURE() << "the work's failure did not reach the waiter";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "No default printer");
    }
}

TEST(WinEntryWorker, ACloseEndsTheWaitAndTheWorkFinishesOnItsOwn) {
    TestWindow window;
    win::WinEntryWorker worker;
    worker.SetWindow(window.hwnd);
    auto release = std::make_shared<win::UniqueKernelObject>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    auto finished = std::make_shared<std::atomic<bool>>(false);
    const std::weak_ptr<std::atomic<bool>> held = finished;
    PostMessageA(window.hwnd, WM_CLOSE, 0, 0);  // DefWindowProc destroys the window
    // The work owns what it touches, as an entry's does: it outlives the wait.
    EXPECT_FALSE(worker.RunAndWait([release, finished] {
        WaitForSingleObject(release->get(), kBound);
        *finished = true;
    }));
    EXPECT_FALSE(IsWindow(window.hwnd));
    EXPECT_TRUE(worker.Busy()) << "the work is still blocked";
    EXPECT_FALSE(worker.RunAndWait([] { ADD_FAILURE() << "no work starts once the window is gone"; }));

    SetEvent(release->get());
    for (DWORD waited = 0; worker.Busy() && waited < kBound; waited += 10) Sleep(10);
    EXPECT_TRUE(*finished);
    // The program's exit takes the end of its question from Busy(): by then nothing of it is left to tear down.
    finished.reset();
    EXPECT_TRUE(held.expired());
}

// Logging switched off and on while the printer is silent, then a tick: a question asked while the first one's caller
// waits, and a third while the second's waits. The timers' callbacks stand for those handlers; a caller left waiting
// would only be freed by the window's end, 5 s on.
struct Nested {
    win::WinEntryWorker* worker = nullptr;
    HWND window = nullptr;
    std::shared_ptr<win::UniqueKernelObject> release;
    std::shared_ptr<std::string> ran = std::make_shared<std::string>();
    bool second = false, third = false;
};
Nested* nested = nullptr;

void CALLBACK OnNestedTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    const std::shared_ptr<std::string> ran = nested ? nested->ran : nullptr;
    switch (id) {
    case 1:  // the second question, while the first is blocked
        SetTimer(window, 2, 0, &OnNestedTimer);
        nested->second = nested->worker->RunAndWait([ran] { *ran += 'B'; });
        break;
    case 2:  // the third, while the second waits its turn; the first is freed only once the third is handed over
        SetTimer(window, 3, 0, &OnNestedTimer);
        SetTimer(window, 4, 5000, &OnNestedTimer);
        nested->third = nested->worker->RunAndWait([ran] { *ran += 'C'; });
        break;
    case 3:
        SetEvent(nested->release->get());
        break;
    case 4:
        DestroyWindow(window);
        break;
    }
}

TEST(WinEntryWorker, QuestionsAskedWhileOthersWaitEachRunInTurnAndAnswerTheirCaller) {
    TestWindow window;
    win::WinEntryWorker worker;
    worker.SetWindow(window.hwnd);
    Nested state{&worker, window.hwnd,
                 std::make_shared<win::UniqueKernelObject>(CreateEventA(nullptr, TRUE, FALSE, nullptr))};
    nested = &state;
    ASSERT_NE(SetTimer(window.hwnd, 1, 0, &OnNestedTimer), 0u);
    const bool first = worker.RunAndWait([release = state.release, ran = state.ran] {
        WaitForSingleObject(release->get(), kBound);
        *ran += 'A';
    });
    KillTimer(window.hwnd, 4);
    nested = nullptr;
    EXPECT_TRUE(first);
    EXPECT_TRUE(state.second) << "the second caller was left waiting until the window's end";
    EXPECT_TRUE(state.third);
    EXPECT_EQ(*state.ran, "ABC");
    EXPECT_TRUE(IsWindow(window.hwnd));
    EXPECT_FALSE(worker.Busy());
}

} // namespace
} // namespace ambervale
