#include "printer/PrinterReport.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "fakes/FakeSpooler.h"

namespace ambervale {
namespace {

using testing::FakeSpooler;
using Calls = std::vector<std::string>;

TEST(GetPrinterReport, RendersFourLinesFromTheDefaultPrinter) {
    FakeSpooler spooler;
    spooler.record.status = 0x1;
    EXPECT_EQ(GetPrinterReport(spooler),
              "Printer Status = Paused  \r\n"
              "Printer Name = Front Desk\r\n"
              "Printer Driver Name = Generic Laser\r\n"
              "Printer Port Name = LPT1:\r\n");
    // Size probe with no buffer, then a buffer of exactly the size the probe asked for.
    const std::string needed = std::to_string(FixedPartSize(kNativeRecordLayout) + 11 + 14 + 6);
    EXPECT_EQ(spooler.calls, (Calls{"DefaultPrinterName", "OpenPrinterForUse Front Desk", "GetPrinterInfo2 0",
                                    "GetPrinterInfo2 " + needed, "ClosePrinter"}));
    EXPECT_EQ(spooler.openHandles, 0);
}

TEST(GetPrinterReport, ARecordThatGrowsBetweenProbeAndFillIsAskedForAgain) {
    FakeSpooler spooler;
    spooler.growsBeforeFills = 1;
    EXPECT_EQ(GetPrinterReport(spooler),
              "Printer Status = Ready\r\n"
              "Printer Name = Front Desk\r\n"
              "Printer Driver Name = Generic Laser v2\r\n"
              "Printer Port Name = LPT1:\r\n");
    const std::size_t fixed = FixedPartSize(kNativeRecordLayout);
    EXPECT_EQ(spooler.calls, (Calls{"DefaultPrinterName", "OpenPrinterForUse Front Desk", "GetPrinterInfo2 0",
                                    "GetPrinterInfo2 " + std::to_string(fixed + 11 + 14 + 6),
                                    "GetPrinterInfo2 " + std::to_string(fixed + 11 + 17 + 6), "ClosePrinter"}));
}

TEST(GetPrinterReport, NullStringsBecomeOneBlank) {
    FakeSpooler spooler;
    spooler.record = {std::nullopt, std::nullopt, std::nullopt, 0, std::nullopt};
    EXPECT_EQ(GetPrinterReport(spooler),
              "Printer Status = Ready\r\n"
              "Printer Name =  \r\n"
              "Printer Driver Name =  \r\n"
              "Printer Port Name =  \r\n");
}

TEST(GetPrinterReport, PortPointerOutsideTheRecordReadsAsNull) {
    FakeSpooler spooler;
    spooler.record.rawPortPointer = 0x10;
    EXPECT_EQ(GetPrinterReport(spooler),
              "Printer Status = Ready\r\n"
              "Printer Name = Front Desk\r\n"
              "Printer Driver Name = Generic Laser\r\n"
              "Printer Port Name =  \r\n");
}

TEST(GetPrinterReport, LongNameIsCutTo256Bytes) {
    FakeSpooler spooler;
    const std::string longName = std::string(256, 'N') + std::string(44, 'x');
    spooler.defaultPrinter = longName;
    spooler.record.printerName = longName;
    const std::string report = GetPrinterReport(spooler);
    EXPECT_NE(report.find("Printer Name = " + std::string(256, 'N') + "\r\nPrinter Driver Name = "),
              std::string::npos);
    EXPECT_EQ(report.find('x'), std::string::npos);
    EXPECT_EQ(spooler.calls[1], "OpenPrinterForUse " + longName);  // the full name opens the printer
}

struct FailureCase {
    const char* name;
    void (*arrange)(FakeSpooler&);
    Calls calls;
};

class GetPrinterReportFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(GetPrinterReportFailures, GiveTheEmptyReportAndCloseWhatWasOpened) {
    FakeSpooler spooler;
    GetParam().arrange(spooler);
    EXPECT_EQ(GetPrinterReport(spooler), "");
    // The first GetPrinterInfo2 is the size probe, the second the fill; their sizes differ by layout.
    Calls shape;
    int getPrinterCalls = 0;
    for (const std::string& call : spooler.calls) {
        const bool getPrinter = call.rfind("GetPrinterInfo2", 0) == 0;
        shape.push_back(!getPrinter ? call : ++getPrinterCalls == 1 ? "probe" : "fill");
    }
    EXPECT_EQ(shape, GetParam().calls);
    EXPECT_EQ(spooler.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachSpoolerFailure, GetPrinterReportFailures,
    ::testing::Values(
        FailureCase{"OpenFails", [](FakeSpooler& s) { s.failOpen = true; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk"}},
        FailureCase{"ProbeEndsWithAnotherError", [](FakeSpooler& s) { s.probeError = 1801; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk", "probe", "ClosePrinter"}},
        FailureCase{"SecondGetPrinterFails", [](FakeSpooler& s) { s.failFill = true; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk", "probe", "fill", "ClosePrinter"}},
        FailureCase{"RecordShorterThanItsFixedPart", [](FakeSpooler& s) { s.neededOverride = 40; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk", "probe", "fill", "ClosePrinter"}},
        FailureCase{"ProbeAsksForNothing", [](FakeSpooler& s) { s.neededOverride = 0; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk", "probe", "ClosePrinter"}},
        FailureCase{"ProbeAsksForMoreThanAMebibyte", [](FakeSpooler& s) { s.neededOverride = (1u << 20) + 1; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk", "probe", "ClosePrinter"}},
        FailureCase{"RecordKeepsGrowing", [](FakeSpooler& s) { s.growsBeforeFills = 100; },
                    {"DefaultPrinterName", "OpenPrinterForUse Front Desk", "probe", "fill", "fill", "fill",
                     "ClosePrinter"}}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(GetPrinterReport, NoDefaultPrinterThrowsBeforeAnySpoolerCall) {
    FakeSpooler spooler;
    spooler.defaultPrinter.reset();
    EXPECT_THROW(GetPrinterReport(spooler), AppError);
    EXPECT_EQ(spooler.calls, Calls{"DefaultPrinterName"});
    EXPECT_EQ(spooler.closeCount, 0);
}

TEST(GetPrinterReport, AFailureThatEscapesStillClosesThePrinterOnce) {
    FakeSpooler spooler;
    spooler.throwOnFill = true;
    EXPECT_THROW(GetPrinterReport(spooler), std::bad_alloc);
    EXPECT_EQ(spooler.closeCount, 1);
    EXPECT_EQ(spooler.openHandles, 0);
}

TEST(GetPrinterReport, EachCallOpensAndClosesAfresh) {
    FakeSpooler spooler;
    const std::string first = GetPrinterReport(spooler);
    spooler.defaultPrinter = "Back Office";
    spooler.record.printerName = "Back Office";
    const std::string second = GetPrinterReport(spooler);
    EXPECT_NE(first.find("Printer Name = Front Desk\r\n"), std::string::npos);
    EXPECT_NE(second.find("Printer Name = Back Office\r\n"), std::string::npos);
    EXPECT_EQ(spooler.closeCount, 2);
}

TEST(ScopedPrinter, IsMoveOnlyAndClosesExactlyOnce) {
    static_assert(!std::is_copy_constructible_v<ScopedPrinter>);
    static_assert(!std::is_copy_assignable_v<ScopedPrinter>);
    FakeSpooler spooler;
    {
        ScopedPrinter first(spooler, 11);
        ScopedPrinter moved(std::move(first));
        EXPECT_EQ(moved.Get(), 11u);
        ScopedPrinter other(spooler, 12);
        other = std::move(moved);  // closes 12 now, 11 at the end of the scope
        EXPECT_EQ(spooler.closeCount, 1);
    }
    EXPECT_EQ(spooler.closeCount, 2);
    EXPECT_EQ(spooler.calls, (Calls{"ClosePrinter", "ClosePrinter"}));
}

} // namespace
} // namespace ambervale
