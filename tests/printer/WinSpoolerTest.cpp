#include "printer/WinSpooler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// A GetDefaultPrinterW that answers from a script: each answer is a name to return when it fits the buffer, or an
// error with the capacity to report.
struct NameAnswer {
    std::wstring name;
    DWORD error = 0;
    DWORD capacity = 0;
};

struct ScriptedDefaultPrinter {
    std::vector<NameAnswer> answers;
    std::vector<DWORD> capacitiesAsked;

    BOOL operator()(LPWSTR buffer, LPDWORD capacity) {
        capacitiesAsked.push_back(*capacity);
        const NameAnswer answer = answers.at(capacitiesAsked.size() - 1);
        if (answer.error == 0 && answer.name.size() < *capacity) {
            answer.name.copy(buffer, answer.name.size());
            buffer[answer.name.size()] = L'\0';
            return TRUE;
        }
        *capacity = answer.error == 0 ? static_cast<DWORD>(answer.name.size() + 1) : answer.capacity;
        SetLastError(answer.error == 0 ? ERROR_INSUFFICIENT_BUFFER : answer.error);
        return FALSE;
    }
};

std::wstring ReadWith(ScriptedDefaultPrinter& script) {
    return ReadDefaultPrinterName([&](LPWSTR buffer, LPDWORD capacity) { return script(buffer, capacity); });
}

TEST(ReadDefaultPrinterName, OneCallWithRoomForEveryPrinterName) {
    const std::wstring longest(1023, L'N');
    ScriptedDefaultPrinter script{{{longest}}, {}};
    EXPECT_EQ(ReadWith(script), longest);
    EXPECT_EQ(script.capacitiesAsked, std::vector<DWORD>{1024});
}

TEST(ReadDefaultPrinterName, GrowsOnlyToWhatTheSpoolerAsksFor) {
    const std::wstring longer(1500, L'L');
    ScriptedDefaultPrinter script{{{longer}, {longer}}, {}};
    EXPECT_EQ(ReadWith(script), longer);
    EXPECT_EQ(script.capacitiesAsked, (std::vector<DWORD>{1024, 1501}));
}

struct NameFailure {
    const char* name;
    std::vector<NameAnswer> answers;
    const char* message;
};

class ReadDefaultPrinterNameFails : public ::testing::TestWithParam<NameFailure> {};

TEST_P(ReadDefaultPrinterNameFails, Throws) {
    ScriptedDefaultPrinter script{GetParam().answers, {}};
    try {
        ReadWith(script);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadDefaultPrinterNameFails,
    ::testing::Values(
        NameFailure{"NoDefault", {{L"", ERROR_FILE_NOT_FOUND, 0}}, "No default printer"},
        NameFailure{"InvalidName", {{L"", ERROR_INVALID_NAME, 0}},
                    "The default printer cannot be found (Windows error 123)"},
        NameFailure{"TooSmallWithoutASize", {{L"", ERROR_INSUFFICIENT_BUFFER, 1024}},
                    "The default printer cannot be found (Windows error 122)"},
        NameFailure{"KeepsGrowing",
                    {{std::wstring(2000, L'a')}, {std::wstring(3000, L'b')}, {std::wstring(4000, L'c')},
                     {std::wstring(5000, L'd')}},
                    "The default printer keeps changing"}),
    [](const ::testing::TestParamInfo<NameFailure>& info) { return std::string(info.param.name); });

} // namespace
} // namespace ambervale
