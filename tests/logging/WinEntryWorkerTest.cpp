// The entry's question on a thread of its own while the window's messages go on, and a close during the wait.
#include "logging/WinEntryWorker.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

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
    for (DWORD waited = 0; !*finished && waited < kBound; waited += 10) Sleep(10);
    EXPECT_TRUE(*finished);
}

} // namespace
} // namespace ambervale
