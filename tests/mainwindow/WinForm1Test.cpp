// The real main window under Wine: which of its handlers its controls raise.
#include "mainwindow/WinForm1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

} // namespace
} // namespace ambervale
