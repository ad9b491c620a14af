#include "printer/WinSpooler.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/WinTestPrinter.h"
#include "mainwindow/AppError.h"
#include "printer/PrinterReport.h"

namespace ambervale {
namespace {

using testing::DefaultTestQueue;
using testing::DefaultPrinterDriverName;

class WinSpoolerWithQueue : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DefaultTestQueue()) GTEST_SKIP() << "needs the test environment's CUPS queue as the default printer";
        queue = *DefaultTestQueue();
        // A run killed half-way may have left the queue offline: the setting outlives the process.
        testing::SetDefaultPrinterWorkOffline(false);
    }
    WinSpooler spooler;
    std::string queue;
};

TEST_F(WinSpoolerWithQueue, DefaultPrinterIsTheCupsQueue) {
    EXPECT_EQ(spooler.DefaultPrinterName(), queue);
}

TEST_F(WinSpoolerWithQueue, ReportNamesTheQueueItsDriverAndCupsPort) {
    const std::string driver = DefaultPrinterDriverName();
    ASSERT_FALSE(driver.empty());
    EXPECT_EQ(GetPrinterReport(spooler), "Printer Status = Ready\r\n"
                                         "Printer Name = " + queue + "\r\n"
                                         "Printer Driver Name = " + driver + "\r\n"
                                         "Printer Port Name = CUPS:" + queue + "\r\n");
}

TEST_F(WinSpoolerWithQueue, ProbeAsksForABufferAndClosesCleanly) {
    const auto printer = spooler.OpenPrinterForUse(spooler.DefaultPrinterName());
    ASSERT_TRUE(printer.has_value());
    ScopedPrinter owner(spooler, *printer);
    std::uint32_t needed = 0;
    EXPECT_FALSE(spooler.GetPrinterInfo2(owner.Get(), nullptr, 0, needed));
    EXPECT_EQ(spooler.LastError(), kErrorInsufficientBuffer);
    EXPECT_GE(needed, FixedPartSize(kNativeRecordLayout));
}

TEST_F(WinSpoolerWithQueue, WorkOfflineReadsAsOffLineUntilCleared) {
    const std::string rest = "Printer Name = " + queue + "\r\n";
    {
        testing::WithWorkOffline offline;
        ASSERT_TRUE(offline.Set());
        const std::string report = GetPrinterReport(spooler);
        EXPECT_EQ(report.substr(0, report.find("Printer Driver")), "Printer Status = Off Line  \r\n" + rest);
    }
    const std::string report = GetPrinterReport(spooler);
    EXPECT_EQ(report.substr(0, report.find("Printer Driver")), "Printer Status = Ready\r\n" + rest);
}

TEST_F(WinSpoolerWithQueue, ListsNoJobsOfAnIdleQueueNorPassesOffAnEarlierError) {
    const auto printer = spooler.OpenPrinterForUse(spooler.DefaultPrinterName());
    ASSERT_TRUE(printer.has_value());
    ScopedPrinter owner(spooler, *printer);
    std::uint32_t needed = 0;
    spooler.GetPrinterInfo2(owner.Get(), nullptr, 0, needed);
    ASSERT_EQ(spooler.LastError(), kErrorInsufficientBuffer);

    std::uint32_t returned = 0xFFFF;
    // Windows lists an idle queue as empty; Wine has no job list and fails without an error of its own.
    const bool listed = spooler.EnumJobsInfo1(owner.Get(), kMaxJobsRead, nullptr, 0, needed, returned);
    const std::uint32_t error = spooler.LastError();
    RecordProperty("enum_jobs_error", static_cast<int>(listed ? 0 : error));
    EXPECT_EQ(returned, 0u);
    if (listed) {
        EXPECT_EQ(needed, 0u);
    } else {
        EXPECT_NE(error, kErrorInsufficientBuffer) << "the record probe's error read as the job probe's";
    }
}

TEST(WinSpooler, UnknownPrinterDoesNotOpen) {
    WinSpooler spooler;
    EXPECT_FALSE(spooler.OpenPrinterForUse("No Such Printer Ambervale").has_value());
}

TEST_F(WinSpoolerWithQueue, NoDefaultPrinterThrows) {
    testing::WithoutDefaultPrinter noDefault;
    ASSERT_TRUE(noDefault.Removed());
    try {
        spooler.DefaultPrinterName();
        ADD_FAILURE() << "a missing default printer went unnoticed";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "No default printer");
    }
    EXPECT_THROW(GetPrinterReport(spooler), AppError);
}

} // namespace
} // namespace ambervale
