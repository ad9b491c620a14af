#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeGlance.h"
#include "glance/GlanceCsv.h"

namespace ambervale {
namespace {

using testing::GermanPictures;
using testing::SpellsOf;
using testing::StringSink;
using testing::StringSource;

constexpr const char* kReport = "Printer Status = Paused  ; Printer Name = Front Desk; Printer Driver Name = Generic "
                                "Laser; Printer Port Name = LPT1:; ";

DatePictures Pictures(const char* date, const char* time, int calendar = calendar::kGregorian) {
    DatePictures pictures = UnitedStatesPictures();
    pictures.shortDate = date;
    pictures.longTime = time;
    pictures.calendar = calendar;
    return pictures;
}

// A calendar only "Windows" knows: every date of it is 2026-12-06.
class OneDayCalendar final : public CalendarConverter {
public:
    std::optional<GregorianDate> ToGregorian(const CalendarDate&) override { return GregorianDate{2026, 12, 6}; }
};

TEST(GlanceLineTest, ReadsLinesByTheLocalePicturesAndCalendarThatWroteThem) {
    const DatePictures us = UnitedStatesPictures();
    const DatePictures german = GermanPictures();
    const DatePictures japanese = Pictures("yyyy/MM/dd", "H:mm:ss");
    const DatePictures named = Pictures("dd-MMM-yy", "HH'h'mm ss");
    const DatePictures thai = Pictures("d/M/yyyy", "H:mm:ss", calendar::kThai);
    const DatePictures taiwan = Pictures("yyy/M/d", "H:mm:ss", calendar::kTaiwan);
    const DatePictures hijri = Pictures("dd/MM/yyyy", "hh:mm:ss tt", calendar::kHijri);
    OneDayCalendar windows;
    struct Case {
        const DatePictures& pictures;
        std::string line;
        LineReading reading;
        const char* when;
        const char* status;  // "": the spooler gave no report
        const char* printer;
        CalendarConverter* calendar = nullptr;
    };
    const LineReading read = LineReading::Read;
    const LineReading notOfForm = LineReading::NotOfTheForm;
    const std::vector<Case> cases = {
        {us, std::string("12/6/2026 8:15:04 PM ") + kReport, read, "2026-12-06T20:15:04", "Paused", "Front Desk"},
        {us, std::string("12/6/2026 12:00:01 AM ") + kReport, read, "2026-12-06T00:00:01", "Paused", "Front Desk"},
        {us, std::string("12/6/2026 ") + kReport, read, "2026-12-06T00:00:00", "Paused", "Front Desk"},  // midnight
        {us, "1/31/2027 ", read, "2027-01-31T00:00:00", "", ""},  // midnight, the spooler did not answer
        {us, "1/31/2027 9:05:00 AM ", read, "2027-01-31T09:05:00", "", ""},
        {german,
         "06.12.2026 20:15:04 Printer Status = Off Line  Paper Jam  ; Printer Name = Büro; Printer Driver Name = D; "
         "Printer Port Name = P; ",
         read, "2026-12-06T20:15:04", "Off Line, Paper Jam", "Büro"},
        {japanese, "2026/12/06 8:15:04 Printer Status = ; Printer Name = A; Printer Driver Name = ; Printer Port Name = ; ",
         read, "2026-12-06T08:15:04", "Ready", "A"},
        {named, std::string("06-Dec-26 07h05 09 ") + kReport, read, "2026-12-06T07:05:09", "Paused", "Front Desk"},
        // A name may hold anything, the report's own markers too; a status word may stand anywhere.
        {us,
         "12/6/2026 8:15:04 PM Printer Status = ; Printer Name = a; Printer Name = b; Printer Driver Name = x; "
         "Printer Driver Name = d; Printer Port Name = p; ",
         read, "2026-12-06T20:15:04", "Ready", "a; Printer Name = b; Printer Driver Name = x"},
        {us, "12/6/2026 8:15:04 PM Printer Status = XOff Line  ; Printer Name = A; Printer Driver Name = ; Printer Port "
             "Name = ; ", read, "2026-12-06T20:15:04", "XOff Line", "A"},
        // The Thai Buddhist era's leap day is the Gregorian one; Taiwan counts from 1912.
        {thai, std::string("29/2/2567 9:00:00 ") + kReport, read, "2024-02-29T09:00:00", "Paused", "Front Desk"},
        {thai, std::string("29/2/2566 9:00:00 ") + kReport, notOfForm, nullptr, "", ""},
        {taiwan, std::string("115/12/6 9:00:00 ") + kReport, read, "2026-12-06T09:00:00", "Paused", "Front Desk"},
        // A calendar only Windows converts: through it, or counted apart where it cannot.
        {hijri, std::string("25/06/1448 09:00:00 AM ") + kReport, LineReading::DateNotConvertible, nullptr, "", ""},
        {hijri, std::string("25/06/1448 09:00:00 AM ") + kReport, read, "2026-12-06T09:00:00", "Paused", "Front Desk",
         &windows},
        {us, std::string("06.12.2026 20:15:04 ") + kReport, notOfForm, nullptr, "", ""},  // another locale's date
        {german, std::string("12/6/2026 8:15:04 PM ") + kReport, notOfForm, nullptr, "", ""},
        {german, std::string("31.02.2026 20:15:04 ") + kReport, notOfForm, nullptr, "", ""},  // no such day
        {us, "12/6/2026 8:15:04 PM Printer Status = Paused  ; Printer Na", notOfForm, nullptr, "", ""},  // torn
        {us, "12/6/2026 8:15:04 PM", notOfForm, nullptr, "", ""},
        {us, "written by hand", notOfForm, nullptr, "", ""},
        {us, "", notOfForm, nullptr, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        GlanceNames names;
        HistoryLineReader reader(c.pictures, names, c.calendar);
        HistoryLine line;
        ASSERT_EQ(reader.Read(c.line, line), c.reading);
        if (c.reading != read) continue;
        EXPECT_EQ(IsoLocalText(line.when), c.when);
        EXPECT_EQ(line.reported, std::string(c.status) != "");
        if (line.reported) {
            EXPECT_EQ(names.Statuses()[line.status], c.status);
            EXPECT_EQ(names.Printers()[line.printer], c.printer);
        }
    }
}

TEST(GlanceLineTest, ALineTornAnywhereInItsReportIsNeverGuessedAt) {
    GlanceNames names;
    HistoryLineReader reader(UnitedStatesPictures(), names);
    const std::string line = std::string("12/6/2026 8:15:04 PM ") + kReport;
    HistoryLine read;
    ASSERT_EQ(reader.Read(line, read), LineReading::Read);
    for (std::size_t cut = std::string("12/6/2026 8:15:04 PM P").size(); cut < line.size(); ++cut) {
        EXPECT_NE(reader.Read(std::string_view(line).substr(0, cut), read), LineReading::Read) << cut;
        // Read after a whole line, as in a record, and after a torn one: the pieces remembered change nothing.
        ASSERT_EQ(reader.Read(line, read), LineReading::Read);
    }
    std::string flipped = line;
    for (std::size_t at = 0; at < line.size(); ++at) {
        flipped[at] = '\0';
        // Under the sanitizers: never a read outside the line.
        if (reader.Read(flipped, read) == LineReading::Read && at < 20) ADD_FAILURE() << "a broken date was read at " << at;
        flipped[at] = line[at];
    }
}

TEST(GlanceLineTest, EachWordCountsWhereverItStands) {
    const std::vector<std::pair<const char*, StatusKind>> cases = {
        {"Ready", StatusKind::Ready},           {"Off Line", StatusKind::Error},
        {"Printing, Paper Jam", StatusKind::Error}, {"Toner Low", StatusKind::Warning},
        {"XOff Line", StatusKind::Working},     {"Off Lines", StatusKind::Working},
        {"Unknown Status of 0x4000000", StatusKind::Error}, {"No report from the spooler", StatusKind::NoReport},
        {"Printing", StatusKind::Working}};
    for (const auto& [words, kind] : cases) EXPECT_EQ(KindOfWords(words), kind) << words;
}

TEST(GlanceSpellsTest, MergesEntriesIntoSpellsAndShowsGapsAsNotRecorded) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        const char* spells;
    };
    const std::vector<Case> cases = {
        {"same status merged, a change ends the spell at the entry that differs",
         {"08:00:00 |A", "08:00:01 |A", "08:00:02 Off Line  |A", "08:00:03 |A"},
         "A:Ready 08:00:00-08:00:02 2\nA:Off Line 08:00:02-08:00:03 1\nA:Ready 08:00:03-08:00:03 0\n"},
        {"a gap of more than twice the spacing and a minute is not recorded",
         {"08:00:00 |A", "08:00:10 |A", "08:00:20 |A", "09:00:00 |A", "09:00:10 |A"},
         "A:Ready 08:00:00-08:00:20 20\nA:not recorded 08:00:20-09:00:00 3580\nA:Ready 09:00:00-09:00:10 10\n"},
        {"under a minute is no gap, however long against the spacing",
         {"08:00:00 |A", "08:00:01 |A", "08:00:59 |A"}, "A:Ready 08:00:00-08:00:59 59\n"},
        {"hourly entries are no gap",
         {"08:00:00 |A", "09:00:00 |A", "10:00:00 Paused  |A", "11:00:00 Paused  |A"},
         "A:Ready 08:00:00-10:00:00 7200\nA:Paused 10:00:00-11:00:00 3600\n"},
        {"a change of printer ends the spell; each printer keeps its own",
         {"08:00:00 |A", "08:00:05 |B", "08:00:10 |A"},
         "A:Ready 08:00:00-08:00:05 5\nB:Ready 08:00:05-08:00:10 5\nA:Ready 08:00:10-08:00:10 0\n"},
        {"torn and foreign lines are skipped and counted",
         {"08:00:00 |A", "!06.12.2026 08:00:01 Printer Status = Pa", "!12/6/2026 8:00:02 AM ", "08:00:03 |A"},
         "A:Ready 08:00:00-08:00:03 3\n"},
        {"a clock set back ends the spell without a gap",
         {"08:00:00 |A", "08:00:01 |A", "07:00:00 |A"},
         "A:Ready 08:00:00-08:00:01 1\nA:Ready 07:00:00-07:00:00 0\n"},
        {"the spooler's silence between two like reports is a spell of its own",
         {"08:00:00 Off Line  |A", "!06.12.2026 08:00:01 ", "08:00:02 Off Line  |A", "08:00:03 Off Line  |A"},
         "A:Off Line 08:00:00-08:00:01 1\nA:No report from the spooler 08:00:01-08:00:02 1\n"
         "A:Off Line 08:00:02-08:00:03 1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SpellsOf(c.lines), c.spells);
    }
    GlanceRecord torn;
    SpellsOf(cases[5].lines, nullptr, &torn);
    EXPECT_EQ(torn.unreadableLines, 2u);
    EXPECT_EQ(torn.unreadableLineNumbers, (std::vector<std::uint64_t>{2, 3}));
    EXPECT_EQ(torn.entries, 2u);
}

TEST(GlanceSpellsTest, ReadsUpToTheLastWholeLineAndMidnightWithoutItsTime) {
    StringSource source("5.12.2026 23:59:59 Printer Status = ; Printer Name = A; Printer Driver Name = ; Printer "
                        "Port Name = ; \r\n06.12.2026 Printer Status = ; Printer Name = A; Printer Driver Name = ; "
                        "Printer Port Name = ; \r\n06.12.2026 00:00:01 Printer Status = Paused  ; Printer Na");
    GlanceRecord record;
    testing::SpellList spells(record.names);
    ReadGlanceRecord(source, {Pictures("d.M.yyyy", "HH:mm:ss"), nullptr, nullptr}, record, &spells);
    EXPECT_EQ(record.unreadableLines, 0u);
    EXPECT_EQ(spells.text, "A:Ready 2026-12-05T23:59:59-00:00:00 1\n");
}

TEST(GlancePageTest, NothingFromTheRecordBecomesMarkup) {
    const std::string hostile = "<script>alert(1)</script>\" onload=\"x' &amp;";
    GlanceRecord record;
    SpellsOf({"08:00:00 |" + hostile, "08:00:10 Paused  |" + hostile, "09:00:00 Paused  |" + hostile,
              "!<img src=x onerror=alert(1)>"},
             nullptr, &record);
    StringSink page;
    WriteGlancePage(record, {"C:\\<Temp>\\Ambervale.txt", "a \"b\".csv", 0, {}, nullptr, nullptr}, page);
    EXPECT_EQ(page.text.find("<script"), std::string::npos);
    EXPECT_EQ(page.text.find("<img"), std::string::npos);
    EXPECT_EQ(page.text.find("onload=\""), std::string::npos);
    EXPECT_NE(page.text.find("&lt;script&gt;alert(1)&lt;/script&gt;&quot; onload=&quot;x&#39; &amp;amp;"),
              std::string::npos);
    EXPECT_NE(page.text.find("content=\"default-src 'none'; style-src 'unsafe-inline'\""), std::string::npos);
    EXPECT_NE(page.text.find("<title>Ambervale history at a glance</title>"), std::string::npos);
    EXPECT_NE(page.text.find("data-status=\"not recorded\" data-start=\"2026-12-06T08:00:10\" "
                             "data-end=\"2026-12-06T09:00:00\""),
              std::string::npos);
    EXPECT_NE(page.text.find("<a href=\"a%20%22b%22.csv\">a &quot;b&quot;.csv</a>"), std::string::npos);
    EXPECT_NE(page.text.find("line 4."), std::string::npos);
}

TEST(GlancePageTest, PicturesTheLast31DaysWithEntriesNewestFirst) {
    // An entry at noon on each of 40 days (1 November to 10 December 2026), then an empty report and a line far
    // longer than any the program writes.
    std::string text;
    for (int day = 0; day < 40; ++day) {
        const std::string date = IsoLocalText(ToLocalSeconds(2026, 11, 1, 12, 0, 0) + day * 86400LL);
        text += date.substr(8, 2) + "." + date.substr(5, 2) + ".2026 12:00:00 Printer Status = ; Printer Name = A; "
                "Printer Driver Name = ; Printer Port Name = ; \r\n";
    }
    text += "10.12.2026 12:00:05 \r\n" + std::string(100000, 'x') + "\r\n";
    StringSource source(text);
    GlanceRecord record;
    testing::SpellList spells(record.names);
    ReadGlanceRecord(source, {GermanPictures(), nullptr, nullptr}, record, &spells);
    EXPECT_TRUE(spells.text.ends_with("A:No report from the spooler 2026-12-10T12:00:05-2026-12-10T12:00:05 0\n"));
    EXPECT_EQ(record.unreadableLineNumbers, (std::vector<std::uint64_t>{42}));
    StringSink page;
    WriteGlancePage(record, {"h.txt", "", 0, {}, nullptr, nullptr}, page);
    std::vector<std::string> days;
    for (auto at = page.text.find("<figcaption>"); at != std::string::npos; at = page.text.find("<figcaption>", at + 1)) {
        days.push_back(page.text.substr(at + 12, page.text.find('<', at + 12) - at - 12));
    }
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days.front(), "Thursday 2026-12-10");
    EXPECT_EQ(days.back(), "Tuesday 2026-11-10");
}

TEST(GlancePageTest, DurationsAreReadable) {
    const std::vector<std::pair<std::int64_t, const char*>> cases = {
        {0, "0 s"}, {59, "59 s"}, {60, "1 min"}, {725, "12 min 5 s"}, {7980, "2 h 13 min"}, {3600, "1 h"},
        {273600, "3 d 4 h"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(SpellDurationText(seconds), text);
}

TEST(GlancePageTest, TheReportAndItsSpellsStandBesideTheHistory) {
    EXPECT_EQ(GlanceReportPath("C:\\Temp\\Ambervale.txt"), "C:\\Temp\\Ambervale at a glance.html");
    EXPECT_EQ(GlanceReportPath("\\Ambervale.txt"), "\\Ambervale at a glance.html");
    EXPECT_EQ(GlanceReportPath("history"), "history at a glance.html");
    EXPECT_EQ(GlanceCsvPath("C:\\Temp\\Ambervale at a glance.html"), "C:\\Temp\\Ambervale at a glance.csv");
    EXPECT_EQ(GlanceCsvPath("C:\\a.b\\report"), "C:\\a.b\\report.csv");
    EXPECT_EQ(GlanceCsvPath("C:\\Temp\\spells.CSV"), "C:\\Temp\\spells.csv.csv");
}

TEST(GlanceCsvTest, EverySpellAsTextThatNoSpreadsheetEvaluates) {
    const std::vector<std::pair<std::string, std::string>> cells = {
        {"Front Desk", "\"Front Desk\""}, {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""}, {"+1", "\"'+1\""},
        {"-2", "\"'-2\""}, {"@SUM(A1)", "\"'@SUM(A1)\""}, {"\tx", "\"'\tx\""}, {"\rx", "\"'\rx\""},
        {"a,b\r\nc", "\"a,b\r\nc\""}, {"", "\"\""}};
    for (const auto& [text, cell] : cells) EXPECT_EQ(CsvCell(text), cell) << text;

    GlanceRecord record;
    StringSink file;
    GlanceCsv csv(record.names, file, nullptr, {});
    StringSource source(testing::HistoryText({"08:00:00 |=cmd", "08:00:02 Off Line  |=cmd", "09:30:00 |=cmd"}));
    ReadGlanceRecord(source, {GermanPictures(), nullptr, nullptr}, record, &csv);
    csv.Finish();
    EXPECT_EQ(file.text,
              "\xEF\xBB\xBFprinter,status,start,end,seconds\r\n"
              "\"'=cmd\",\"Ready\",2026-12-06 08:00:00,2026-12-06 08:00:02,2\r\n"
              "\"'=cmd\",\"Off Line\",2026-12-06 08:00:02,2026-12-06 08:00:02,0\r\n"
              "\"'=cmd\",\"not recorded\",2026-12-06 08:00:02,2026-12-06 09:30:00,5398\r\n"
              "\"'=cmd\",\"Ready\",2026-12-06 09:30:00,2026-12-06 09:30:00,0\r\n");
}

} // namespace
} // namespace ambervale
