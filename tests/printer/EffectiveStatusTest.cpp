#include "printer/EffectiveStatus.h"

#include <gtest/gtest.h>

#include "printer/PrinterStatus.h"

namespace ambervale {
namespace {

// Job status bits, as the port monitor sets them.
constexpr std::uint32_t kJobPaused = 0x1;
constexpr std::uint32_t kJobError = 0x2;
constexpr std::uint32_t kJobPrinting = 0x10;
constexpr std::uint32_t kJobOffline = 0x20;
constexpr std::uint32_t kJobPaperOut = 0x40;
constexpr std::uint32_t kJobBlocked = 0x200;
constexpr std::uint32_t kJobUserIntervention = 0x400;
constexpr std::uint32_t kWorkOffline = 0x400;

struct StatusCase {
    const char* name;
    std::uint32_t status;
    std::uint32_t attributes;
    std::uint32_t jobStatus;
    const char* line;
};

class EffectiveStatusLine : public ::testing::TestWithParam<StatusCase> {};

TEST_P(EffectiveStatusLine, ShowsWhatTheQueueCannotDo) {
    const StatusCase& c = GetParam();
    PrinterFields fields;
    fields.status = c.status;
    fields.attributes = c.attributes;
    fields.jobs = c.jobStatus != 0 ? 1 : 0;
    EXPECT_EQ(PrinterStatusText(EffectivePrinterStatus(fields, c.jobStatus)), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EffectiveStatusLine,
    ::testing::Values(
        StatusCase{"NothingWrong", 0, 0, 0, "Printer Status = Ready\r\n"},
        StatusCase{"JobError", 0, 0, kJobError, "Printer Status = Printer Error  \r\n"},
        StatusCase{"JobOffline", 0, 0, kJobOffline, "Printer Status = Off Line  \r\n"},
        StatusCase{"JobPaperOut", 0, 0, kJobPaperOut, "Printer Status = Paper Out  \r\n"},
        StatusCase{"JobBlocked", 0, 0, kJobBlocked, "Printer Status = Printer Error  \r\n"},
        StatusCase{"JobUserIntervention", 0, 0, kJobUserIntervention, "Printer Status = User Intervention  \r\n"},
        StatusCase{"ErrorAndBlockedGiveOneWord", 0, 0, kJobError | kJobBlocked, "Printer Status = Printer Error  \r\n"},
        StatusCase{"AllInTableOrder", 0, 0,
                   kJobError | kJobOffline | kJobPaperOut | kJobBlocked | kJobUserIntervention,
                   "Printer Status = Printer Error  Off Line  Paper Out  User Intervention  \r\n"},
        StatusCase{"JobsAtWorkAreReady", 0, 0, kJobPaused | kJobPrinting | 0x8 | 0x1000, "Printer Status = Ready\r\n"},
        StatusCase{"WorkOffline", 0, kWorkOffline, 0, "Printer Status = Off Line  \r\n"},
        StatusCase{"WorkOfflineAmongOtherAttributes", 0, kWorkOffline | 0x4 | 0x40, 0,
                   "Printer Status = Off Line  \r\n"},
        StatusCase{"OtherAttributesAlone", 0, 0xFFFFFBFF, 0, "Printer Status = Ready\r\n"},
        StatusCase{"WorkOfflineBeforeJobs", 0, kWorkOffline, kJobPaperOut, "Printer Status = Off Line  \r\n"},
        StatusCase{"StatusBitsWinOverWorkOffline", 0x1, kWorkOffline, 0, "Printer Status = Paused  \r\n"},
        StatusCase{"StatusBitsWinOverJobs", 0x400, 0, kJobError, "Printer Status = Printing  \r\n"},
        StatusCase{"UnknownStatusBitsWinToo", 0x800000, kWorkOffline, kJobError,
                   "Printer Status = Unknown Status of 8388608\r\n"}),
    [](const ::testing::TestParamInfo<StatusCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace ambervale
