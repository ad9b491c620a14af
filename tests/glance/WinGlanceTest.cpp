// The history at a glance's Windows side against the real time zone, files and locale.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fakes/WinScratchFolder.h"
#include "glance/WinGlance.h"
#include "glance/WinGlanceLocale.h"

namespace ambervale {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The files a report is written under before it is put in place ("amb*.tmp").
bool PartsLeft(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\amb*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return search != INVALID_HANDLE_VALUE;
}

// Every hour of three years read by the year's rules as Windows' own conversion reads it (the dynamic one where
// there is one: Wine 8 has only the plain call, whose rules of these years are the same). The test command runs it in
// the world's zone and again in central Europe's (TZ=Europe/Berlin, which Wine makes Windows' zone).
TEST(WinGlanceZoneTest, EveryHourIsReadAsWindowsReadsIt) {
    using Convert = BOOL(WINAPI*)(const DYNAMIC_TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*);
    const auto dynamic = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "TzSpecificLocalTimeToSystemTimeEx")));
    const auto windows = [dynamic](const SYSTEMTIME* local, SYSTEMTIME* utc) {
        return dynamic ? dynamic(nullptr, local, utc) : TzSpecificLocalTimeToSystemTime(nullptr, local, utc);
    };
    WinTimeZone zone;
    LocalToUtc clock(&zone);
    int twice = 0;
    int compared = 0;
    for (LocalSeconds local = ToLocalSeconds(2025, 1, 1, 0, 30, 0); local < ToLocalSeconds(2028, 1, 1, 0, 0, 0);
         local += 3600) {
        const auto readings = clock.Convert(local);
        if (readings.earlier != readings.later) {
            EXPECT_EQ(readings.later - readings.earlier, 3600) << IsoLocalText(local);
            ++twice;
            continue;
        }
        const std::string iso = IsoLocalText(local);
        SYSTEMTIME st{};
        st.wYear = static_cast<WORD>(std::stoi(iso.substr(0, 4)));
        st.wMonth = static_cast<WORD>(std::stoi(iso.substr(5, 2)));
        st.wDay = static_cast<WORD>(std::stoi(iso.substr(8, 2)));
        st.wHour = static_cast<WORD>(std::stoi(iso.substr(11, 2)));
        st.wMinute = 30;
        SYSTEMTIME utc{};
        ASSERT_TRUE(windows(&st, &utc));
        SYSTEMTIME back{};
        if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &back) || back.wHour != st.wHour) continue;  // skipped
        EXPECT_EQ(IsoLocalText(readings.earlier),
                  IsoLocalText(ToLocalSeconds(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond)));
        ++compared;
    }
    EXPECT_GT(compared, 26000);
    const char* tz = std::getenv("TZ");
    if (tz && std::string(tz) == "Europe/Berlin") {
        EXPECT_EQ(twice, 3);  // the autumn hour of each year
    }
}

TEST(WinGlanceFilesTest, AFileIsKnownByWhatItIsNotByHowItIsSpelled) {
    testing::WinScratchFolder folder;
    const std::string history = folder.Write("Ambervale.txt", "x");
    folder.Write("Other.txt", "x");
    EXPECT_TRUE(SameFile(history, history));
    EXPECT_TRUE(SameFile(history, folder.File("AMBERVALE.TXT")));
    EXPECT_TRUE(SameFile(history, folder.Path() + "\\.\\Ambervale.txt"));
    EXPECT_FALSE(SameFile(history, folder.File("Other.txt")));
    EXPECT_FALSE(SameFile(history, folder.File("missing.txt")));
}

class CancelAtOnce final : public GlanceProgress {
public:
    void Read(std::uint64_t, std::uint64_t) override {}
    bool Cancelled() override { return true; }
};

TEST(WinGlanceFilesTest, AReportFailedOrStoppedLeavesTheLastGoodOnesWhole) {
    testing::WinScratchFolder folder;
    const std::string line = "12/6/2026 8:15:04 PM Printer Status = ; Printer Name = =HYPERLINK(\"x\"); Printer "
                             "Driver Name = d; Printer Port Name = p; \r\n";
    const std::string history = folder.Write("Ambervale.txt", line + line);
    const std::string report = folder.File("Ambervale at a glance.html");
    WriteGlanceReport(history, report, nullptr);
    const std::string page = FileText(report);
    const std::string csv = FileText(folder.File("Ambervale at a glance.csv"));
    EXPECT_NE(page.find("Ambervale%20at%20a%20glance.csv"), std::string::npos);
    EXPECT_NE(csv.find("\"'=HYPERLINK(\"\"x\"\")\",\"Ready\",2026-12-06 20:15:04,2026-12-06 20:15:04,0\r\n"),
              std::string::npos);

    CancelAtOnce cancel;
    EXPECT_THROW(WriteGlanceReport(history, report, &cancel), GlanceCancelled);
    EXPECT_THROW(WriteGlanceReport(folder.File("missing.txt"), report, nullptr), AppError);
    // Nor may the report take the history's place, however it is named.
    EXPECT_THROW(WriteGlanceReport(history, folder.File("AMBERVALE.txt"), nullptr), ReportIsHistory);
    EXPECT_THROW(WriteGlanceReport(folder.Write("h.csv", line), folder.File("h.html"), nullptr), ReportIsHistory);
    EXPECT_EQ(FileText(report), page);
    EXPECT_EQ(FileText(folder.File("Ambervale at a glance.csv")), csv);
    EXPECT_EQ(FileText(history), line + line);
    EXPECT_FALSE(PartsLeft(folder.Path()));
}

TEST(WinGlanceLocaleTest, ThePicturesReadWhatTheUsersLocaleWrites) {
    const DatePictures pictures = UserDatePictures();
    SYSTEMTIME st{2024, 2, 4, 29, 23, 59, 58, 0};
    char date[128] = {};
    char time[128] = {};
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE | LOCALE_USE_CP_ACP, &st, nullptr, date, 128), 0);
    ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_USE_CP_ACP, &st, nullptr, time, 128), 0);
    GlanceNames names;
    WinCalendarConverter converter;
    HistoryLineReader reader(pictures, names, &converter);
    HistoryLine read;
    ASSERT_EQ(reader.Read(std::string(date) + " " + time + " ", read), LineReading::Read) << date << " " << time;
    EXPECT_EQ(IsoLocalText(read.when), "2024-02-29T23:59:58");
}

} // namespace
} // namespace ambervale
