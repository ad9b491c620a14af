// What the entries of the running program say about the queue: "Use Printer Offline" set and cleared on the
// queue from outside, as a user would in the printer folder, and a queue with the longest name CUPS allows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/Form1Layout.h"
#include "tests/e2e/AppProcess.h"
#include "tests/e2e/E2ePaths.h"
#include "tests/fakes/WinTestPrinter.h"

namespace ambervale::e2e {
namespace {

constexpr DWORD kBound = 30000;  // only so a hang cannot stop the run

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class PrinterStatusEntries : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteAllSettings();
        SetSetting("OftenIndex", "1");  // an entry every second
        SetSetting("StartStopState", "On");
    }
    void TearDown() override { DeleteAllSettings(); }

};

// The rows of the running program's log list.
std::vector<std::string> Rows(const AppProcess& app, HWND list) {
    std::vector<std::string> rows;
    const int count = ListViewCount(list);
    for (int row = 0; row < count; ++row) rows.push_back(RemoteListViewText(app.Process(), list, row));
    return rows;
}

TEST_F(PrinterStatusEntries, WorkOfflineReadsOffLineUntilClearedThenReady) {
    const std::string queue = ambervale::testing::DefaultTestQueue().value_or("Ambervale_Test");
    ambervale::testing::WithWorkOffline offline;
    ASSERT_TRUE(offline.Set()) << "the spooler refused to set Work Offline";
    const std::string temp = FreshTempFolder("work-offline");
    const std::string history = temp + "\\Ambervale.txt";
    AppProcess app(AmbervaleExe(), temp);
    HWND form = app.WaitForMainWindow(kBound);
    ASSERT_NE(form, nullptr);
    HWND list = GetDlgItem(form, kListView1);

    const std::string offLine = " Printer Status = Off Line  ; Printer Name = " + queue + "; ";
    const std::string ready = " Printer Status = Ready; Printer Name = " + queue + "; ";
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) >= 2 && ReadLines(history).size() >= 2; }, kBound));
    const std::vector<std::string> whileOffline = Rows(app, list);
    ASSERT_TRUE(offline.Clear());
    for (const std::string& row : whileOffline) EXPECT_TRUE(Holds(row, offLine)) << row;
    EXPECT_TRUE(Holds(ReadLines(history)[0], offLine)) << ReadLines(history)[0];

    // An entry under way while the setting changed may show either; the one after it started afterwards.
    const std::size_t changedAt = Rows(app, list).size();
    ASSERT_TRUE(WaitFor([&] { return Rows(app, list).size() >= changedAt + 2; }, kBound));
    EXPECT_TRUE(Holds(Rows(app, list).back(), ready)) << Rows(app, list).back();
    ASSERT_TRUE(WaitFor([&] { return ReadLines(history).size() >= changedAt + 2; }, kBound));
    EXPECT_TRUE(Holds(ReadLines(history).back(), ready)) << ReadLines(history).back();

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(kBound));
}

// Run in a world of its own whose only queue, the default printer, has a name of 127 characters.
class LongQueueName : public PrinterStatusEntries {};

TEST_F(LongQueueName, IsLoggedWhole) {
    const std::string queue = ambervale::testing::DefaultTestQueue().value_or("");
    ASSERT_EQ(queue.size(), 127u) << "needs the world with the long queue name";
    const std::string temp = FreshTempFolder("long-queue-name");
    const std::string history = temp + "\\Ambervale.txt";
    AppProcess app(AmbervaleExe(), temp);
    HWND form = app.WaitForMainWindow(kBound);
    ASSERT_NE(form, nullptr);
    HWND list = GetDlgItem(form, kListView1);

    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) > 0 || ErrorBoxes(app.Id()).count > 0; }, kBound));
    const HWND box = ErrorBoxes(app.Id()).last;
    ASSERT_EQ(box, nullptr) << ControlText(GetDlgItem(box, 0xFFFF));
    const std::string row = RemoteListViewText(app.Process(), list, 0);
    EXPECT_TRUE(Holds(row, " Printer Status = Ready; Printer Name = " + queue + "; Printer Driver Name = ")) << row;
    EXPECT_TRUE(Holds(row, "; Printer Port Name = CUPS:" + queue + "; ")) << row;
    ASSERT_TRUE(WaitFor([&] { return !ReadLines(history).empty(); }, kBound));
    const std::string line = ReadLines(history)[0];
    EXPECT_EQ(line.substr(line.find(" Printer Status")), row.substr(row.find(" Printer Status")));

    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(kBound));
}

} // namespace
} // namespace ambervale::e2e
