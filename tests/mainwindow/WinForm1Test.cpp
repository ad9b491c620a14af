// The real main window under Wine: which of its handlers its controls raise.
#include "mainwindow/WinForm1.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace ambervale
