#include "printer/WinSpooler.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/WinTestPrinter.h"
#include "base/AppError.h"
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
