// What the entries of the running program say about the queue: "Use Printer Offline" set and cleared on the
// queue from outside, as a user would in the printer folder, and a queue with the longest name CUPS allows.
#include <string>
#include <vector>

#include "e2e/LoggingEverySecond.h"

namespace ambervale::e2e {
namespace {

using PrinterStatusEntries = LoggingEverySecond;

TEST_F(PrinterStatusEntries, WorkOfflineReadsOffLineUntilClearedThenReady) {
    const std::string queue = ambervale::testing::DefaultTestQueue().value_or("Ambervale_Test");
    ambervale::testing::WithWorkOffline offline;
    ASSERT_TRUE(offline.Set()) << "the spooler refused to set Work Offline";
    ASSERT_NO_FATAL_FAILURE(Start("work-offline"));

    const std::string offLine = " Printer Status = Off Line  ; Printer Name = " + queue + "; ";
    const std::string ready = " Printer Status = Ready; Printer Name = " + queue + "; ";
    ASSERT_TRUE(WaitFor([&] { return RowCount() >= 2 && Lines().size() >= 2; }, kBound));
    const std::vector<std::string> whileOffline = Rows();
    ASSERT_TRUE(offline.Clear());
    for (const std::string& row : whileOffline) EXPECT_TRUE(Holds(row, offLine)) << row;
    EXPECT_TRUE(Holds(Lines()[0], offLine)) << Lines()[0];

    // An entry under way while the setting changed may show either; the one after it started afterwards.
    const std::size_t changedAt = Rows().size();
    ASSERT_TRUE(WaitFor([&] { return Rows().size() >= changedAt + 2; }, kBound));
    EXPECT_TRUE(Holds(Rows().back(), ready)) << Rows().back();
    ASSERT_TRUE(WaitFor([&] { return Lines().size() >= changedAt + 2; }, kBound));
    EXPECT_TRUE(Holds(Lines().back(), ready)) << Lines().back();
    Close();
}

// Run in a world of its own whose only queue, the default printer, has a name of 127 characters.
class LongQueueName : public PrinterStatusEntries {};

TEST_F(LongQueueName, IsLoggedWhole) {
    const std::string queue = ambervale::testing::DefaultTestQueue().value_or("");
    ASSERT_EQ(queue.size(), 127u) << "needs the world with the long queue name";
    ASSERT_NO_FATAL_FAILURE(Start("long-queue-name"));

    ASSERT_TRUE(WaitFor([&] { return RowCount() > 0 || !ErrorBoxes(app_->Id()).empty(); }, kBound));
    const HWND box = LastOf(ErrorBoxes(app_->Id()));
    ASSERT_EQ(box, nullptr) << ControlText(GetDlgItem(box, 0xFFFF));
    const std::string row = Rows().front();
    EXPECT_TRUE(Holds(row, " Printer Status = Ready; Printer Name = " + queue + "; Printer Driver Name = ")) << row;
    EXPECT_TRUE(Holds(row, "; Printer Port Name = CUPS:" + queue + "; ")) << row;
    ASSERT_TRUE(WaitFor([&] { return !Lines().empty(); }, kBound));
    const std::string line = Lines().front();
    EXPECT_EQ(line.substr(line.find(" Printer Status")), row.substr(row.find(" Printer Status")));
    Close();
}

} // namespace
} // namespace ambervale::e2e
