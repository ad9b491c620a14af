#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/FakeLogEntryServices.h"
#include "fakes/WinTestPrinter.h"
#include "history/HistoryPath.h"
#include "history/WinHistoryFile.h"
#include "logging/LogEntry.h"
#include "logging/WinDateTime.h"
#include "printer/WinSpooler.h"

namespace ambervale {
namespace {

constexpr LocalDateTime kEvening{2026, 12, 6, 20, 15, 4};

bool UserLocaleIsEnglishUnitedStates() {
    return GetUserDefaultLCID() == 0x0409;
}

TEST(WinDateTimeText, FollowsTheUsersLocale) {
    if (!UserLocaleIsEnglishUnitedStates()) GTEST_SKIP() << "the expected texts are those of English (United States)";
    WinDateTimeText text;
    EXPECT_EQ(text.ShortDate(kEvening), "12/6/2026");
    EXPECT_EQ(text.LongTime(kEvening), "8:15:04 PM");
    EXPECT_EQ(GeneralDateText(text, {2026, 12, 7, 0, 0, 0}), "12/7/2026");
    EXPECT_EQ(GeneralDateText(text, {2026, 1, 2, 0, 0, 1}), "1/2/2026 12:00:01 AM");
}

TEST(WinDateTimeText, RejectsADateTheLocaleCannotShow) {
    WinDateTimeText text;
    EXPECT_THROW(text.ShortDate({2026, 13, 40, 0, 0, 0}), AppError);
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One real entry: the spooler, the locale and the file system of this machine; only the clock
// and the list are stand-ins.
TEST(WinLogStatusNow, LogsTheCupsQueueToTheHistoryFile) {
    const std::optional<std::string> defaultQueue = testing::DefaultTestQueue();
    if (!defaultQueue) GTEST_SKIP() << "needs the test environment's CUPS queue as the default printer";
    const std::string queue = *defaultQueue;

    char temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder = std::string(temp) + "ambervale-entry-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = ComposeHistoryFilePath(folder);
    std::ofstream(path, std::ios::binary) << "earlier run\r\n";

    WinSpooler spooler;
    testing::FakeClock clock;
    clock.times = {kEvening};
    WinDateTimeText dateTimeText;
    testing::FakeLogList list;
    WinHistoryWriter writer;
    testing::ListAndFileLogger entries(spooler, clock, dateTimeText, list, writer, path);
    entries.LogStatusNow();
    entries.LogStatusNow();

    const std::string line = dateTimeText.ShortDate(kEvening) + " " + dateTimeText.LongTime(kEvening) +
                             " Printer Status = Ready; Printer Name = " + queue +
                             "; Printer Driver Name = " + testing::DefaultPrinterDriverName() +
                             "; Printer Port Name = CUPS:" + queue + "; ";
    EXPECT_EQ(list.rows, (std::vector<std::string>{line, line}));
    EXPECT_EQ(ReadWhole(path), "earlier run\r\n" + line + "\r\n" + line + "\r\n");

    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(WinLogStatusNow, NoDefaultPrinterMakesNoRowAndNoLine) {
    if (!testing::DefaultTestQueue()) GTEST_SKIP() << "changes the default printer: only in the test environment";
    testing::WithoutDefaultPrinter noDefault;
    ASSERT_TRUE(noDefault.Removed());

    char temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string path =
        std::string(temp) + "ambervale-no-default-" + std::to_string(GetCurrentProcessId()) + ".txt";
    WinSpooler spooler;
    testing::FakeClock clock;
    WinDateTimeText dateTimeText;
    testing::FakeLogList list;
    WinHistoryWriter writer;
    testing::ListAndFileLogger entries(spooler, clock, dateTimeText, list, writer, path);
    EXPECT_THROW(entries.LogStatusNow(), AppError);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WinLogStatusNow, MissingTempFolderLosesTheLineButKeepsTheRow) {
    WinSpooler spooler;
    testing::FakeClock clock;
    clock.times = {kEvening};
    WinDateTimeText dateTimeText;
    testing::FakeLogList list;
    WinHistoryWriter writer;
    const std::string path = ComposeHistoryFilePath("C:\\ambervale-no-such-folder");
    testing::ListAndFileLogger entries(spooler, clock, dateTimeText, list, writer, path);
    try {
        entries.LogStatusNow();
    } catch (const AppError& e) {
        // Without a default printer the entry stops before the row; with one, the append fails.
        if (list.rows.empty()) GTEST_SKIP() << "no default printer here: " << e.what();
        EXPECT_STREQ(e.what(), "Path not found");
        EXPECT_EQ(list.rows.size(), 1u);
        return;
    }
    ADD_FAILURE() << "the failed append did not reach the caller";
}

} // namespace
} // namespace ambervale
