// The status a report shows when the printer's own word is 0 (Work Offline and the jobs' states), and the other
// sources ORed into it.
#include "printer/PrinterReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeSpooler.h"

namespace ambervale {
namespace {

using testing::FakeSpooler;
using Calls = std::vector<std::string>;

constexpr char kRestOfReport[] =
    "Printer Name = Front Desk\r\nPrinter Driver Name = Generic Laser\r\nPrinter Port Name = LPT1:\r\n";

std::string ReportWithStatus(const std::string& words) {
    return "Printer Status = " + words + "\r\n" + kRestOfReport;
}

void GiveJobs(FakeSpooler& spooler, const std::vector<std::uint32_t>& statuses) {
    spooler.jobStatuses = statuses;
    spooler.record.jobs = static_cast<std::uint32_t>(statuses.size());
}

long JobCalls(const FakeSpooler& spooler) {
    return std::count_if(spooler.calls.begin(), spooler.calls.end(),
                         [](const std::string& call) { return call.rfind("EnumJobsInfo1", 0) == 0; });
}

struct JobCase {
    const char* name;
    std::vector<std::uint32_t> jobs;
    const char* words;
};

class ReportFromJobs : public ::testing::TestWithParam<JobCase> {};

TEST_P(ReportFromJobs, ShowsTheJobsThatCannotPrint) {
    FakeSpooler spooler;
    GiveJobs(spooler, GetParam().jobs);
    EXPECT_EQ(GetPrinterReport(spooler), ReportWithStatus(GetParam().words));
    EXPECT_EQ(spooler.closeCount, 1);
    EXPECT_EQ(spooler.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    JobStates, ReportFromJobs,
    ::testing::Values(JobCase{"OneJobInError", {0x2}, "Printer Error  "},
                      JobCase{"SpreadOverJobs", {0x10, 0x400 | 0x8, 0x40, 0x202},
                              "Printer Error  Paper Out  User Intervention  "}),
    [](const ::testing::TestParamInfo<JobCase>& info) { return std::string(info.param.name); });

TEST(JobQuery, AsksForTheFirstSixtyFourJobsWithAProbeThenTheRecords) {
    FakeSpooler spooler;
    GiveJobs(spooler, {0x20, 0});
    ASSERT_EQ(GetPrinterReport(spooler), ReportWithStatus("Off Line  "));
    const std::string size = std::to_string(2 * (sizeof(void*) == 8 ? 96 : 64) + 2 * 9);
    ASSERT_EQ(spooler.calls.size(), 7u);
    EXPECT_EQ(Calls(spooler.calls.begin() + 4, spooler.calls.end()),
              (Calls{"EnumJobsInfo1 64 0", "EnumJobsInfo1 64 " + size, "ClosePrinter"}));
}

struct NoJobCallCase {
    const char* name;
    std::uint32_t status;
    std::uint32_t attributes;
    std::vector<std::uint32_t> jobs;
    const char* words;
};

class ReportWithoutJobCalls : public ::testing::TestWithParam<NoJobCallCase> {};

TEST_P(ReportWithoutJobCalls, NeedsNoExtraSpoolerCall) {
    FakeSpooler spooler;
    spooler.record.status = GetParam().status;
    spooler.record.attributes = GetParam().attributes;
    GiveJobs(spooler, GetParam().jobs);
    EXPECT_EQ(GetPrinterReport(spooler), ReportWithStatus(GetParam().words));
    EXPECT_EQ(JobCalls(spooler), 0);
    EXPECT_EQ(spooler.closeCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportWithoutJobCalls,
    ::testing::Values(NoJobCallCase{"ReadyWithoutJobs", 0, 0, {}, "Ready"},
                      NoJobCallCase{"WorkOffline", 0, 0x400, {}, "Off Line  "},
                      NoJobCallCase{"WorkOfflineWithJobsInError", 0, 0x400 | 0x40, {0x2, 0x40}, "Off Line  "},
                      NoJobCallCase{"StatusBitsWinOverWorkOffline", 0x1, 0x400, {}, "Paused  "},
                      NoJobCallCase{"StatusBitsWinOverJobs", 0x4000, 0, {0x2}, "Processing  "}),
    [](const ::testing::TestParamInfo<NoJobCallCase>& info) { return std::string(info.param.name); });

struct JobFailureCase {
    const char* name;
    void (*arrange)(FakeSpooler&);
    const char* words;
    long jobCalls;  // 1: the probe alone; 2: the probe and the data call
};

class ReportWhenJobsFail : public ::testing::TestWithParam<JobFailureCase> {};

// The jobs only add to the record: whatever goes wrong with them, the entry is made from the record.
TEST_P(ReportWhenJobsFail, StillReportsTheRecordAndClosesOnce) {
    FakeSpooler spooler;
    GiveJobs(spooler, {0, 0x2, 0x40});
    GetParam().arrange(spooler);
    EXPECT_EQ(GetPrinterReport(spooler), ReportWithStatus(GetParam().words));
    EXPECT_EQ(JobCalls(spooler), GetParam().jobCalls);
    EXPECT_EQ(spooler.calls.back(), "ClosePrinter");
    EXPECT_EQ(spooler.closeCount, 1);
    EXPECT_EQ(spooler.openHandles, 0);
}

constexpr std::uint32_t kJobRecordSize = sizeof(void*) == 8 ? 96 : 64;

INSTANTIATE_TEST_SUITE_P(
    EachJobFailure, ReportWhenJobsFail,
    ::testing::Values(
        JobFailureCase{"NotImplemented", [](FakeSpooler& s) { s.jobsProbeError = 120; }, "Ready", 1},
        JobFailureCase{"AccessDenied", [](FakeSpooler& s) { s.jobsProbeError = 5; }, "Ready", 1},
        JobFailureCase{"DataCallFails", [](FakeSpooler& s) { s.failJobsFill = true; }, "Ready", 2},
        JobFailureCase{"QueueEmptiedSinceTheRecord", [](FakeSpooler& s) { s.jobStatuses.clear(); }, "Ready", 1},
        JobFailureCase{"ProbeAsksForNothing", [](FakeSpooler& s) { s.jobsNeededOverride = 0; }, "Ready", 1},
        JobFailureCase{"ProbeAsksForAbsurdlyMuch",
                       [](FakeSpooler& s) { s.jobsNeededOverride = kMaxJobsBytes + 1; }, "Ready", 1},
        JobFailureCase{"BufferShorterThanOneRecord",
                       [](FakeSpooler& s) { s.jobsNeededOverride = kJobRecordSize - 1; }, "Ready", 2},
        // The second record, a job in error, is cut short: only the first, which is fine, is read.
        JobFailureCase{"BufferCutInsideTheSecondRecord",
                       [](FakeSpooler& s) { s.jobsNeededOverride = kJobRecordSize * 2 - 1; }, "Ready", 2},
        JobFailureCase{"CountSmallerThanTheRecords", [](FakeSpooler& s) { s.jobsReturnedOverride = 2; },
                       "Printer Error  ", 2},
        JobFailureCase{"CountLargerThanTheBuffer", [](FakeSpooler& s) { s.jobsReturnedOverride = 4000000000u; },
                       "Printer Error  Paper Out  ", 2}),
    [](const ::testing::TestParamInfo<JobFailureCase>& info) { return std::string(info.param.name); });

// A source beside the spooler's: what it says is ORed into the word, so the line keeps the table's order.
struct ScriptedSource : StatusSource {
    explicit ScriptedSource(std::uint32_t bits) : bits(bits) {}
    std::uint32_t StatusBits(const OpenPrinter& printer) override {
        seen.push_back(printer.record.portName + (printer.handle != 0 ? " open" : " closed"));
        return bits;
    }
    std::uint32_t bits;
    std::vector<std::string> seen;
};

TEST(StatusSources, EverySourceIsAskedWithThePrinterOpenAndTheirBitsAreOred) {
    FakeSpooler spooler;
    spooler.record.status = 0x1;  // Paused
    ScriptedSource jam(0x8), doorOpen(0x400000);
    std::vector<StatusSource*> sources(SpoolerStatusSources().begin(), SpoolerStatusSources().end());
    sources.push_back(&jam);
    sources.push_back(&doorOpen);
    const std::optional<PrinterFields> fields = QueryDefaultPrinter(spooler, sources);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(RenderPrinterReport(*fields), ReportWithStatus("Printer Door Open  Paper Jam  Paused  "));
    EXPECT_EQ(jam.seen, std::vector<std::string>{"LPT1: open"});
    EXPECT_EQ(spooler.closeCount, 1);

    spooler.failOpen = true;
    EXPECT_FALSE(QueryDefaultPrinter(spooler, sources).has_value());
    EXPECT_EQ(jam.seen.size(), 1u) << "a printer that does not open is asked nothing";
}

} // namespace
} // namespace ambervale
