// The real main window under Wine: which of its handlers its controls raise, and what its log list shows.
#include "mainwindow/WinForm1.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "base/WinMessageBoxes.h"
#include "fakes/RecordingForm1Events.h"

namespace ambervale {
namespace {

using testing::RecordingForm1Events;

class WinForm1 : public ::testing::Test {
protected:
    void SetUp() override {
        form.Create();
        form.Attach(events);
        form.ListView2().AddColumn("Intervals");
        for (const char* row : {"one", "two", "three"}) form.ListView2().AddRow(row);
    }

    int SelectedPosition() {
        std::string text;
        int position = 0;
        return form.ListView2().SelectedRow(text, position) ? position : 0;
    }

    win::Form1Window form{GetModuleHandleA(nullptr)};
    RecordingForm1Events events;
};

TEST_F(WinForm1, SelectingAnIntervalRowByCodeIsNoClickButTheUsersChoiceIs) {
    form.ListView2().SelectRow(2);
    EXPECT_EQ(SelectedPosition(), 2);
    EXPECT_EQ(events.Count("ListView2_Click"), 0);

    SendMessageA(GetDlgItem(form.Handle(), kListView2), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SelectedPosition(), 3);
    EXPECT_EQ(events.Count("ListView2_Click"), 1);
}

TEST_F(WinForm1, CheckBoxValuesSetByCodeRaiseTheirClickOnlyWhenTheyChange) {
    form.SetCheck4Value(kChecked);
    form.SetCheck4Value(kChecked);
    form.SetCheck8Value(kUnchecked);
    EXPECT_EQ(form.Check4Value(), kChecked);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"Check4_Click"}));
    form.SetCheck8Value(kChecked);
    EXPECT_EQ(events.Count("Check8_Click"), 1);
}

TEST_F(WinForm1, AHeldControlIsDisabledWithTheAdministratorsTipUntilGivenBack) {
    HWND check4 = GetDlgItem(form.Handle(), kCheck4);
    std::string tip;
    form.SetHeld(HeldControl::Check4, true);
    EXPECT_FALSE(IsWindowEnabled(check4));
    ASSERT_TRUE(form.HeldTip(HeldControl::Check4, tip));
    EXPECT_EQ(tip, "Set by your administrator");
    EXPECT_FALSE(form.HeldTip(HeldControl::PushButton5, tip));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form.Handle(), kPushButton5)));

    form.SetHeld(HeldControl::Check4, false);
    EXPECT_TRUE(IsWindowEnabled(check4));
    EXPECT_FALSE(form.HeldTip(HeldControl::Check4, tip));
}

TEST_F(WinForm1, AClickOrATickStillQueuedWhenTheCloseBeginsReachesNoHandler) {
    form.SetPeriod(1000);
    const HWND button = GetDlgItem(form.Handle(), kPushButton6);
    events.onQueryUnload = [&] {
        PostMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(kPushButton6, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        PostMessageA(form.Handle(), WM_TIMER, win::kTimer1Id, 0);
        // The close sequence lets the waiting messages through once.
        win::DispatchWaitingMessages(form.Handle());
    };
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(events.calls, std::vector<std::string>{"Form_QueryUnload"});
}

// Each way Windows and the uninstaller ask the window to close, as messages sent to it in order (message, wParam,
// lParam), and whether the window is to close.
struct CloseRequest {
    const char* name;
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> messages;
    bool closes;
};

TEST_F(WinForm1, EveryCloseRequestRunsTheCloseSequenceOnceAndTakesTheWindowDownUnlessTheSessionGoesOn) {
    const UINT closeMessage = RegisterWindowMessageA(kCloseMessageName);
    ASSERT_NE(closeMessage, 0u);
    const CloseRequest requests[] = {
        {"close button", {{WM_CLOSE, 0, 0}}, true},
        {"Restart Manager",
         {{WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP}, {WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP}}, true},
        {"end of the session", {{WM_QUERYENDSESSION, 0, 0}, {WM_ENDSESSION, TRUE, 0}}, true},
        {"an end of the session that is cancelled",
         {{WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP}, {WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP}}, false},
        {"uninstaller", {{closeMessage, 0, 0}}, true},
    };
    for (const CloseRequest& request : requests) {
        testing::RecordingForm1Events handlers;  // outlives the window, which may still be open at the end
        win::Form1Window window{GetModuleHandleA(nullptr)};
        window.Create();
        window.Attach(handlers);
        const HWND hwnd = window.Handle();
        for (const auto& [message, wParam, lParam] : request.messages) {
            const LRESULT answer = SendMessageA(hwnd, message, wParam, lParam);
            EXPECT_TRUE(message != WM_QUERYENDSESSION || answer == TRUE) << request.name << ": never refused";
        }
        EXPECT_EQ(handlers.calls, std::vector<std::string>(request.closes ? 1 : 0, "Form_QueryUnload")) << request.name;
        EXPECT_EQ(IsWindow(hwnd) == FALSE, request.closes) << request.name;
        EXPECT_EQ(window.Handle() == nullptr, request.closes) << request.name;
    }
}

LONG FontHeight(HFONT font) {
    LOGFONTA description{};
    return GetObjectA(font, sizeof description, &description) == sizeof description ? description.lfHeight : 0;
}

// The width in pixels of what the bar draws in its text colour (the text: the bar is empty and the frame grey).
int TextInkWidth(HWND bar) {
    RECT client;
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    win::UniqueMemoryDc memory(CreateCompatibleDC(screen));
    win::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    ReleaseDC(nullptr, screen);
    win::SelectedObject selected(memory.get(), bitmap.get());
    SendMessageA(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    int left = client.right;
    int right = -1;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (GetPixel(memory.get(), x, y) != ink) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    return right < left ? 0 : right - left + 1;
}

TEST_F(WinForm1, ADpiChangeGivesEveryControlItsNewFontBeforeTheOldOnesGo) {
    HWND bar = GetDlgItem(form.Handle(), kProgressBar1);
    form.SetText("Next log will occur in 00:00:05");
    const int inkBefore = TextInkWidth(bar);
    std::vector<HFONT> oldFonts;
    for (const ControlLayout& c : kForm1Controls) {
        oldFonts.push_back(reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(form.Handle(), c.id), WM_GETFONT, 0, 0)));
        ASSERT_EQ(GetObjectType(oldFonts.back()), static_cast<DWORD>(OBJ_FONT)) << c.name;
    }

    RECT suggested{10, 10, 900, 700};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    for (const ControlLayout& c : kForm1Controls) {
        const auto font = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(form.Handle(), c.id), WM_GETFONT, 0, 0));
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << c.name;
        // 9 pt and 11.25 pt at 144 dots per inch.
        EXPECT_EQ(FontHeight(font), c.font == ControlFont::Button ? -23 : -18) << c.name;
    }
    for (HFONT old : oldFonts) EXPECT_NE(GetObjectType(old), static_cast<DWORD>(OBJ_FONT)) << "an old font was kept";
    // The text grows with the font; drawn with a font that is gone it would come out in the system's font.
    const int inkAfter = TextInkWidth(bar);
    EXPECT_GT(inkBefore, 0);
    EXPECT_GE(inkAfter * 100, inkBefore * 135) << inkBefore << " -> " << inkAfter;
}

// The log list as the user sees it: its count and the text it shows for a row, asked of the list control itself.
class WinForm1LogList : public ::testing::Test {
protected:
    void SetUp() override {
        form.Create();
        form.Attach(events);
        form.AddLogListColumn(" Printer Status");
    }
    int Count() { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Shown(int row) {
        std::string buffer(8192, '\0');
        LVITEMA item{};
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return buffer.substr(0, static_cast<std::size_t>(length));
    }
    HWND List() { return GetDlgItem(form.Handle(), kListView1); }

    win::Form1Window form{GetModuleHandleA(nullptr), 3};
    RecordingForm1Events events;
};

TEST_F(WinForm1LogList, ShowsEachRowExactlyAsLoggedHoweverLong) {
    const std::string longReport = "Printer Name = " + std::string(3000, 'n') + "; ";
    form.ListView1().AddRow("12/6/2026 8:15:04 PM", "Printer Status = Paused  ; Printer Port Name = LPT1:; ");
    form.ListView1().AddRow("06.12.2026 20:15:05", longReport);
    form.FlushLogRows();
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Shown(0), "12/6/2026 8:15:04 PM Printer Status = Paused  ; Printer Port Name = LPT1:; ");
    EXPECT_EQ(Shown(1), "06.12.2026 20:15:05 " + longReport);
}

TEST_F(WinForm1LogList, StopsAtItsLimitWithoutFailingAndClearsToTakeRowsAgain) {
    for (int i = 0; i < 5; ++i) form.ListView1().AddRow("12/6/2026 8:15:0" + std::to_string(i) + " PM", "");
    form.FlushLogRows();
    ASSERT_EQ(Count(), 3);
    EXPECT_EQ(Shown(2), "12/6/2026 8:15:02 PM ");

    form.ListView1Rows().RemoveAllRows();
    EXPECT_EQ(Count(), 0);
    form.ListView1().AddRow("12/7/2026", "");
    form.FlushLogRows();
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Shown(0), "12/7/2026 ");
}

} // namespace
} // namespace ambervale
