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
constexpr UINT kPing = WM_APP + 7;

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kPing) SetEvent(reinterpret_cast<HANDLE>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A window of the test's own: it sets an event when it gets kPing, and destroys itself on WM_CLOSE.
struct TestWindow {
    TestWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &TestWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "AmbervaleEntryWorkerTest";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pinged.get()));
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    HWND hwnd = nullptr;
    win::UniqueKernelObject pinged{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
};

TEST(WinEntryWorker, RunsTheWorkElsewhereWhileTheWindowsMessagesAreDispatched) {
    TestWindow window;
    win::WinEntryWorker worker;
    worker.SetWindow(window.hwnd);
    PostMessageA(window.hwnd, kPing, 0, 0);
    DWORD workThread = 0;
    DWORD seen = WAIT_TIMEOUT;
    // The work can only end once the window has had the message that came while it waited.
    EXPECT_TRUE(worker.RunAndWait([&] {
        workThread = GetCurrentThreadId();
        seen = WaitForSingleObject(window.pinged.get(), kBound);
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
