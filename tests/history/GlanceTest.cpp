#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/Glance.h"

namespace ambervale {
namespace {

constexpr const char* kReport = "Printer Status = Paused  ; Printer Name = Front Desk; Printer Driver Name = Generic "
                                "Laser; Printer Port Name = LPT1:; ";

DatePictures Pictures(const char* date, const char* time) {
    DatePictures pictures = UnitedStatesPictures();
    pictures.shortDate = date;
    pictures.longTime = time;
    return pictures;
}

TEST(GlanceLineTest, ReadsLinesByTheLocalePicturesThatWroteThem) {
    const DatePictures us = UnitedStatesPictures();
    const DatePictures german = Pictures("dd.MM.yyyy", "HH:mm:ss");
    const DatePictures japanese = Pictures("yyyy/MM/dd", "H:mm:ss");
    const DatePictures named = Pictures("dd-MMM-yy", "HH'h'mm ss");
    struct Case {
        const DatePictures& pictures;
        std::string line;
        const char* when;  // nullptr: not of the program's form
        const char* status;
        const char* printer;
    };
    const std::vector<Case> cases = {
        {us, std::string("12/6/2026 8:15:04 PM ") + kReport, "2026-12-06T20:15:04", "Paused", "Front Desk"},
        {us, std::string("12/6/2026 12:00:01 AM ") + kReport, "2026-12-06T00:00:01", "Paused", "Front Desk"},
        {us, std::string("12/6/2026 ") + kReport, "2026-12-06T00:00:00", "Paused", "Front Desk"},  // midnight
        {us, "1/31/2027 ", "2027-01-31T00:00:00", "", ""},  // midnight, the spooler did not answer
        {us, "1/31/2027 9:05:00 AM ", "2027-01-31T09:05:00", "", ""},
        {german,
         "06.12.2026 20:15:04 Printer Status = Off Line  Paper Jam  ; Printer Name = Büro; Printer Driver Name = D; "
         "Printer Port Name = P; ",
         "2026-12-06T20:15:04", "Off Line, Paper Jam", "Büro"},
        {japanese, "2026/12/06 8:15:04 Printer Status = ; Printer Name = A; Printer Driver Name = ; Printer Port Name = ; ",
         "2026-12-06T08:15:04", "Ready", "A"},
        {named, std::string("06-Dec-26 07h05 09 ") + kReport, "2026-12-06T07:05:09", "Paused", "Front Desk"},
        // A name may hold anything, the report's own markers too.
        {us,
         "12/6/2026 8:15:04 PM Printer Status = ; Printer Name = a; Printer Name = b; Printer Driver Name = x; "
         "Printer Driver Name = d; Printer Port Name = p; ",
         "2026-12-06T20:15:04", "Ready", "a; Printer Name = b; Printer Driver Name = x"},
        {us, std::string("06.12.2026 20:15:04 ") + kReport, nullptr, "", ""},  // another locale's date
        {german, std::string("12/6/2026 8:15:04 PM ") + kReport, nullptr, "", ""},
        {german, std::string("31.02.2026 20:15:04 ") + kReport, nullptr, "", ""},  // no such day
        {us, "12/6/2026 8:15:04 PM Printer Status = Paused  ; Printer Na", nullptr, "", ""},  // torn
        {us, "12/6/2026 8:15:04 PM", nullptr, "", ""},
        {us, "written by hand", nullptr, "", ""},
        {us, "", nullptr, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        HistoryLineReader reader(c.pictures);
        const auto read = reader.Read(c.line);
        ASSERT_EQ(read.has_value(), c.when != nullptr);
        if (!read) continue;
        EXPECT_EQ(IsoLocalText(read->when), c.when);
        EXPECT_EQ(read->reported, std::string(c.status) != "");
        if (read->reported) {
            EXPECT_EQ(StatusWords(read->status), c.status);
        }
        EXPECT_EQ(read->printer, c.printer);
    }
}

TEST(GlanceLineTest, ALineTornAnywhereInItsReportIsNeverGuessedAt) {
    HistoryLineReader reader(UnitedStatesPictures());
    const std::string line = std::string("12/6/2026 8:15:04 PM ") + kReport;
    ASSERT_TRUE(reader.Read(line));
    for (std::size_t cut = std::string("12/6/2026 8:15:04 PM P").size(); cut < line.size(); ++cut) {
        EXPECT_FALSE(reader.Read(std::string_view(line).substr(0, cut))) << cut;
        // Read after a whole line, as in a record, and after a torn one: the last line remembered changes nothing.
        ASSERT_TRUE(reader.Read(line));
    }
    std::string flipped = line;
    for (std::size_t at = 0; at < line.size(); ++at) {
        flipped[at] = '\0';
        const auto read = reader.Read(flipped);  // under the sanitizers: never a read outside the line
        if (read && at < 20) ADD_FAILURE() << "a broken date was read at " << at;
        flipped[at] = line[at];
    }
}

class StringSource final : public ByteSource {
public:
    explicit StringSource(std::string text) : text_(std::move(text)) {}
    std::uint64_t Size() override { return text_.size(); }
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - at_);
        text_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t at_ = 0;
};

// "hh:mm:ss status|printer" for 6 December 2026, by the German pictures; "!" lines are written as they stand.
GlanceRecord RecordOf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        if (line.starts_with("!")) {
            text += line.substr(1) + "\r\n";
            continue;
        }
        const auto bar = line.find('|');
        text += "06.12.2026 " + line.substr(0, 8) + " Printer Status = " + line.substr(9, bar - 9) +
                "; Printer Name = " + line.substr(bar + 1) + "; Printer Driver Name = d; Printer Port Name = p; \r\n";
    }
    StringSource source(text);
    return ReadGlanceRecord(source, Pictures("dd.MM.yyyy", "HH:mm:ss"));
}

std::string SpellsOf(const GlanceRecord& record) {
    std::string spells;
    for (const Spell& s : record.spells) {
        spells += record.printers[s.printer].name + ":" + record.statuses[s.status] + " " +
                  IsoLocalText(s.start).substr(11) + "-" + IsoLocalText(s.end).substr(11) + "\n";
    }
    return spells;
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
         "A:Ready 08:00:00-08:00:02\nA:Off Line 08:00:02-08:00:03\nA:Ready 08:00:03-08:00:03\n"},
        {"a gap of more than twice the spacing and a minute is not recorded",
         {"08:00:00 |A", "08:00:10 |A", "08:00:20 |A", "09:00:00 |A", "09:00:10 |A"},
         "A:Ready 08:00:00-08:00:20\nA:not recorded 08:00:20-09:00:00\nA:Ready 09:00:00-09:00:10\n"},
        {"under a minute is no gap, however long against the spacing",
         {"08:00:00 |A", "08:00:01 |A", "08:00:59 |A"}, "A:Ready 08:00:00-08:00:59\n"},
        {"hourly entries are no gap",
         {"08:00:00 |A", "09:00:00 |A", "10:00:00 Paused  |A", "11:00:00 Paused  |A"},
         "A:Ready 08:00:00-10:00:00\nA:Paused 10:00:00-11:00:00\n"},
        {"a change of printer ends the spell; each printer keeps its own",
         {"08:00:00 |A", "08:00:05 |B", "08:00:10 |A"},
         "A:Ready 08:00:00-08:00:05\nB:Ready 08:00:05-08:00:10\nA:Ready 08:00:10-08:00:10\n"},
        {"torn and foreign lines are skipped and counted",
         {"08:00:00 |A", "!06.12.2026 08:00:01 Printer Status = Pa", "!12/6/2026 8:00:02 AM ", "08:00:03 |A"},
         "A:Ready 08:00:00-08:00:03\n"},
        {"a clock set back ends the spell without a gap",
         {"08:00:00 |A", "08:00:01 |A", "07:00:00 |A"},
         "A:Ready 08:00:00-08:00:01\nA:Ready 07:00:00-07:00:00\n"},
        {"the spooler's silence between two like reports is a spell of its own",
         {"08:00:00 Off Line  |A", "!06.12.2026 08:00:01 ", "08:00:02 Off Line  |A", "08:00:03 Off Line  |A"},
         "A:Off Line 08:00:00-08:00:01\nA:No report from the spooler 08:00:01-08:00:02\n"
         "A:Off Line 08:00:02-08:00:03\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SpellsOf(RecordOf(c.lines)), c.spells);
    }
    const GlanceRecord torn = RecordOf(cases[5].lines);
    EXPECT_EQ(torn.unreadableLines, 2u);
    EXPECT_EQ(torn.unreadableLineNumbers, (std::vector<std::uint64_t>{2, 3}));
    EXPECT_EQ(torn.entries, 2u);
}

TEST(GlanceSpellsTest, ReadsUpToTheLastWholeLineAndMidnightWithoutItsTime) {
    StringSource source("5.12.2026 23:59:59 Printer Status = ; Printer Name = A; Printer Driver Name = ; Printer "
                        "Port Name = ; \r\n06.12.2026 Printer Status = ; Printer Name = A; Printer Driver Name = ; "
                        "Printer Port Name = ; \r\n06.12.2026 00:00:01 Printer Status = Paused  ; Printer Na");
    const GlanceRecord record = ReadGlanceRecord(source, Pictures("d.M.yyyy", "HH:mm:ss"));
    EXPECT_EQ(record.unreadableLines, 0u);
    EXPECT_EQ(SpellsOf(record), "A:Ready 23:59:59-00:00:00\n");
}

class StringSink final : public ByteSink {
public:
    void Write(std::string_view bytes) override { text += bytes; }
    std::string text;
};

TEST(GlancePageTest, NothingFromTheRecordBecomesMarkup) {
    const std::string hostile = "<script>alert(1)</script>\" onload=\"x' &amp;";
    const GlanceRecord record = RecordOf({"08:00:00 |" + hostile, "08:00:10 Paused  |" + hostile,
                                          "09:00:00 Paused  |" + hostile, "!<img src=x onerror=alert(1)>"});
    StringSink page;
    WriteGlancePage(record, {"C:\\<Temp>\\Ambervale.txt", record.spells[0].start, {}}, page);
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
    const GlanceRecord record = ReadGlanceRecord(source, Pictures("dd.MM.yyyy", "HH:mm:ss"));
    EXPECT_EQ(SpellsOf(record).substr(SpellsOf(record).rfind('\n', SpellsOf(record).size() - 2) + 1),
              "A:No report from the spooler 12:00:05-12:00:05\n");
    EXPECT_EQ(record.unreadableLineNumbers, (std::vector<std::uint64_t>{42}));
    StringSink page;
    WriteGlancePage(record, {"h.txt", 0, {}}, page);
    std::vector<std::string> days;
    for (auto at = page.text.find("<figcaption>"); at != std::string::npos; at = page.text.find("<figcaption>", at + 1)) {
        days.push_back(page.text.substr(at + 12, page.text.find('<', at + 12) - at - 12));
    }
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days.front(), "Thursday 2026-12-10");
    EXPECT_EQ(days.back(), "Tuesday 2026-11-10");
}

TEST(GlancePageTest, DurationsAreReadable) {
    const std::vector<std::pair<LocalSeconds, const char*>> cases = {
        {0, "0 s"}, {59, "59 s"}, {60, "1 min"}, {725, "12 min 5 s"}, {7980, "2 h 13 min"}, {3600, "1 h"},
        {273600, "3 d 4 h"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(SpellDurationText(seconds), text);
}

TEST(GlancePageTest, TheReportStandsBesideTheHistory) {
    EXPECT_EQ(GlanceReportPath("C:\\Temp\\Ambervale.txt"), "C:\\Temp\\Ambervale at a glance.html");
    EXPECT_EQ(GlanceReportPath("\\Ambervale.txt"), "\\Ambervale at a glance.html");
    EXPECT_EQ(GlanceReportPath("history"), "history at a glance.html");
}

} // namespace
} // namespace ambervale
