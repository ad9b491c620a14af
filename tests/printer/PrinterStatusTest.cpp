#include "printer/PrinterStatus.h"

#include <gtest/gtest.h>

#include <string>

namespace ambervale {
namespace {

struct StatusCase {
    std::uint32_t status;
    const char* line;
};

class PrinterStatusWords : public ::testing::TestWithParam<StatusCase> {};

TEST_P(PrinterStatusWords, RendersTheLine) {
    EXPECT_EQ(PrinterStatusText(GetParam().status), GetParam().line);
}

// Every row of the word table on its own, in table order.
INSTANTIATE_TEST_SUITE_P(EachWordAlone, PrinterStatusWords,
                         ::testing::Values(StatusCase{0x200, "Printer Status = Busy  \r\n"},
                                           StatusCase{0x400000, "Printer Status = Printer Door Open  \r\n"},
                                           StatusCase{0x2, "Printer Status = Printer Error  \r\n"},
                                           StatusCase{0x8000, "Printer Status = Initializing  \r\n"},
                                           StatusCase{0x100, "Printer Status = I/O Active  \r\n"},
                                           StatusCase{0x20, "Printer Status = Manual Feed  \r\n"},
                                           StatusCase{0x40000, "Printer Status = No Toner  \r\n"},
                                           StatusCase{0x1000, "Printer Status = Not Available  \r\n"},
                                           StatusCase{0x80, "Printer Status = Off Line  \r\n"},
                                           StatusCase{0x200000, "Printer Status = Out of Memory  \r\n"},
                                           StatusCase{0x800, "Printer Status = Output Bin Full  \r\n"},
                                           StatusCase{0x80000, "Printer Status = Page Punt  \r\n"},
                                           StatusCase{0x8, "Printer Status = Paper Jam  \r\n"},
                                           StatusCase{0x10, "Printer Status = Paper Out  \r\n"},
                                           StatusCase{0x40, "Printer Status = Page Problem  \r\n"},
                                           StatusCase{0x1, "Printer Status = Paused  \r\n"},
                                           StatusCase{0x4, "Printer Status = Pending Deletion  \r\n"},
                                           StatusCase{0x400, "Printer Status = Printing  \r\n"},
                                           StatusCase{0x4000, "Printer Status = Processing  \r\n"},
                                           StatusCase{0x20000, "Printer Status = Toner Low  \r\n"},
                                           StatusCase{0x100000, "Printer Status = User Intervention  \r\n"},
                                           StatusCase{0x2000, "Printer Status = Waiting  \r\n"},
                                           StatusCase{0x10000, "Printer Status = Warming Up  \r\n"}));

INSTANTIATE_TEST_SUITE_P(
    CombinationsAndUnknownBits, PrinterStatusWords,
    ::testing::Values(StatusCase{0, "Printer Status = Ready\r\n"},
                      StatusCase{0x11, "Printer Status = Paper Out  Paused  \r\n"},
                      StatusCase{0x18000, "Printer Status = Initializing  Warming Up  \r\n"},
                      StatusCase{0x402, "Printer Status = Printer Error  Printing  \r\n"},
                      StatusCase{0x800000, "Printer Status = Unknown Status of 8388608\r\n"},
                      StatusCase{0x1000000, "Printer Status = Unknown Status of 16777216\r\n"},
                      StatusCase{0x80000000, "Printer Status = Unknown Status of -2147483648\r\n"},
                      StatusCase{0xFF800000, "Printer Status = Unknown Status of -8388608\r\n"},
                      StatusCase{0x80000001, "Printer Status = Paused  \r\n"},
                      StatusCase{0x7F800200, "Printer Status = Busy  \r\n"}));

TEST(PrinterStatusText, AllTableBitsGiveAllWordsInTableOrder) {
    EXPECT_EQ(PrinterStatusText(0x007FFFFF),
              "Printer Status = Busy  Printer Door Open  Printer Error  Initializing  I/O Active  Manual Feed  "
              "No Toner  Not Available  Off Line  Out of Memory  Output Bin Full  Page Punt  Paper Jam  Paper Out  "
              "Page Problem  Paused  Pending Deletion  Printing  Processing  Toner Low  User Intervention  "
              "Waiting  Warming Up  \r\n");
    EXPECT_EQ(PrinterStatusText(0xFFFFFFFF), PrinterStatusText(0x007FFFFF));
}

} // namespace
} // namespace ambervale
