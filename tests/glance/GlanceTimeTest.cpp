// Time as it passed: the gaps at every interval, the clock's changes, and the page's size whatever the record.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "fakes/FakeGlance.h"

namespace ambervale {
namespace {

using testing::EuropeZone;
using testing::GermanPictures;
using testing::SpellsOf;

// Entries of one status from "YYYY-MM-DD hh:mm:ss", every spacing seconds, count of them.
std::vector<std::string> Every(const char* from, int spacing, int count, const char* status = "") {
    std::vector<std::string> lines;
    const std::string text = from;
    const LocalSeconds start = ToLocalSeconds(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                                              std::stoi(text.substr(8, 2)), std::stoi(text.substr(11, 2)),
                                              std::stoi(text.substr(14, 2)), std::stoi(text.substr(17, 2)));
    for (int i = 0; i < count; ++i) {
        std::string iso = IsoLocalText(start + static_cast<LocalSeconds>(i) * spacing);
        iso[10] = ' ';
        lines.push_back(iso + " " + status + "|A");
    }
    return lines;
}

std::vector<std::string> Then(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(GlanceGapsTest, AGapIsAGapAtEveryIntervalAndNoOtherSpacingIs) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        const char* spells;
    };
    const std::vector<Case> cases = {
        {"an interval made longer: six hourly entries of Off Line after entries every 5 seconds",
         Then(Every("2026-12-06 08:00:00", 5, 6), Every("2026-12-06 09:00:25", 3600, 6, "Off Line  ")),
         "A:Ready 08:00:00-09:00:25 3625\nA:Off Line 09:00:25-14:00:25 18000\n"},
        {"from every second to every 24 hours: four days go on with the spell",
         Then(Every("2026-12-06 08:00:00", 1, 5), Every("2026-12-07 08:00:04", 86400, 4)),
         "A:Ready 08:00:00-2026-12-10T08:00:04 345604\n"},
        {"an interval made shorter, then an outage at the new one",
         Then(Then(Every("2026-12-06 08:00:00", 3600, 4), Every("2026-12-06 11:00:05", 5, 4)),
              Every("2026-12-06 12:00:00", 5, 3)),
         "A:Ready 08:00:00-11:00:20 10820\nA:not recorded 11:00:20-12:00:00 3580\nA:Ready 12:00:00-12:00:10 10\n"},
        {"the first entries: a test entry, and logging from a week later",
         Then({"2026-11-29 08:00:00 |A"}, Every("2026-12-06 08:00:00", 5, 4)),
         "A:Ready 2026-11-29T08:00:00-2026-11-29T08:00:00 0\n"
         "A:not recorded 2026-11-29T08:00:00-08:00:00 604800\nA:Ready 08:00:00-08:00:15 15\n"},
        {"two entries a week apart and nothing else: longer than any interval",
         {"2026-11-29 08:00:00 |A", "2026-12-06 08:00:00 |A"},
         "A:Ready 2026-11-29T08:00:00-2026-11-29T08:00:00 0\n"
         "A:not recorded 2026-11-29T08:00:00-08:00:00 604800\nA:Ready 08:00:00-08:00:00 0\n"},
        {"an outage between entries every 5 seconds, with a test entry in it",
         Then(Then(Every("2026-12-06 08:00:00", 5, 3), {"2026-12-06 09:00:00 |A"}), Every("2026-12-06 10:00:00", 5, 3)),
         "A:Ready 08:00:00-08:00:10 10\nA:not recorded 08:00:10-09:00:00 3590\nA:Ready 09:00:00-09:00:00 0\n"
         "A:not recorded 09:00:00-10:00:00 3600\nA:Ready 10:00:00-10:00:10 10\n"},
        {"the record ends: the last status up to its last entry only",
         Then(Every("2026-12-06 08:00:00", 5, 3), Every("2026-12-06 08:00:15", 5, 2, "Paused  ")),
         "A:Ready 08:00:00-08:00:15 15\nA:Paused 08:00:15-08:00:20 5\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SpellsOf(c.lines), c.spells);
    }
}

TEST(GlanceGapsTest, TheClockPutForwardOrBackIsNoGapAndDurationsAreReal) {
    EuropeZone zone;
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        const char* spells;
    };
    const std::vector<Case> cases = {
        {"spring: 01:59:59 to 03:00:00 is one second",
         Then(Every("2026-03-29 01:59:58", 1, 2), Every("2026-03-29 03:00:00", 1, 2, "Paused  ")),
         "A:Ready 2026-03-29T01:59:58-2026-03-29T03:00:00 2\nA:Paused 2026-03-29T03:00:00-2026-03-29T03:00:01 1\n"},
        {"autumn: the hour the clock shows twice is read as its second pass",
         Then(Every("2026-10-25 02:59:58", 1, 2), Every("2026-10-25 02:00:00", 1, 2)),
         "A:Ready 2026-10-25T02:59:58-2026-10-25T02:00:01 3\n"},
        {"autumn, hourly: a spell across the night lasts the hour more that passed",
         Every("2026-10-25 00:30:00", 3600, 4, "Off Line  "),
         "A:Off Line 2026-10-25T00:30:00-2026-10-25T03:30:00 14400\n"},
        {"a clock truly set back ends the spell, without a gap",
         {"2026-10-25 05:00:00 |A", "2026-10-25 05:00:01 |A", "2026-10-25 04:00:00 |A"},
         "A:Ready 2026-10-25T05:00:00-2026-10-25T05:00:01 1\nA:Ready 2026-10-25T04:00:00-2026-10-25T04:00:00 0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SpellsOf(c.lines, &zone), c.spells);
    }
}

TEST(GlanceGapsTest, LocalTimesBecomeUtcByTheYearsRules) {
    EuropeZone europe;
    // Sydney: standard UTC+10, daylight saving from the first Sunday of October, 02:00, to the first Sunday of
    // April, 03:00: across the turn of the year.
    class SydneyZone final : public TimeZoneRules {
    public:
        ZoneYear ForYear(int) override { return {-600, 0, -60, {0, 4, 0, 1, 3, 0, 0, 0}, {0, 10, 0, 1, 2, 0, 0, 0}}; }
    } sydney;
    struct Case {
        TimeZoneRules* zone;
        const char* local;
        const char* earlier;  // UTC
        const char* later;
    };
    const std::vector<Case> cases = {
        {&europe, "2026-01-15T12:00:00", "2026-01-15T11:00:00", "2026-01-15T11:00:00"},
        {&europe, "2026-07-15T12:00:00", "2026-07-15T10:00:00", "2026-07-15T10:00:00"},
        {&europe, "2026-03-29T02:30:00", "2026-03-29T01:30:00", "2026-03-29T01:30:00"},  // skipped: after the jump
        {&europe, "2026-10-25T02:30:00", "2026-10-25T00:30:00", "2026-10-25T01:30:00"},  // twice
        {&europe, "2026-10-25T03:00:00", "2026-10-25T02:00:00", "2026-10-25T02:00:00"},
        {&sydney, "2026-01-15T12:00:00", "2026-01-15T01:00:00", "2026-01-15T01:00:00"},
        {&sydney, "2026-07-15T12:00:00", "2026-07-15T02:00:00", "2026-07-15T02:00:00"},
        {&sydney, "2026-04-05T02:30:00", "2026-04-04T15:30:00", "2026-04-04T16:30:00"},
        {&sydney, "2026-10-04T02:30:00", "2026-10-03T16:30:00", "2026-10-03T16:30:00"},
        {nullptr, "2026-07-15T12:00:00", "2026-07-15T12:00:00", "2026-07-15T12:00:00"},
    };
    for (const Case& c : cases) {
        const std::string text = c.local;
        LocalToUtc clock(c.zone);
        const auto readings = clock.Convert(ToLocalSeconds(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                                                           std::stoi(text.substr(8, 2)), std::stoi(text.substr(11, 2)),
                                                           std::stoi(text.substr(14, 2)), 0));
        EXPECT_EQ(IsoLocalText(readings.earlier), c.earlier) << c.local;
        EXPECT_EQ(IsoLocalText(readings.later), c.later) << c.local;
    }
}

TEST(GlanceGapsTest, TheDaysTheClockChangesHaveTheirOwnLength) {
    EuropeZone zone;
    GlanceRecord record;
    SpellsOf(Then(Every("2026-03-28 12:00:00", 1800, 48 * 2 + 1), Every("2026-10-24 12:00:00", 1800, 48 * 2 + 1)),
             &zone, &record);
    std::vector<std::pair<std::int64_t, std::int64_t>> lengths;
    for (const auto& [day, bar] : record.printers.at(0).days) {
        lengths.push_back({bar.Length(), bar.HourMarks()[1]});  // and where 03:00 falls
    }
    EXPECT_EQ(lengths, (std::vector<std::pair<std::int64_t, std::int64_t>>{
                           {86400, 10800}, {82800, 7200}, {86400, 10800},    // 28-30 March
                           {86400, 10800}, {90000, 14400}, {86400, 10800}})); // 24-26 October
    testing::StringSink page;
    WriteGlancePage(record, {"h.txt", "", 0, {}, nullptr, nullptr}, page);
    EXPECT_NE(page.text.find("viewBox=\"0 0 1380 80\""), std::string::npos);
    EXPECT_NE(page.text.find("viewBox=\"0 0 1500 80\""), std::string::npos);
}

// A record made as it is read: entries every spacing seconds from 1 November 2026, each with the report of its
// number.
class MadeRecord final : public ByteSource {
public:
    MadeRecord(std::uint64_t lines, int spacing, std::function<const std::string&(std::uint64_t)> report)
        : lines_(lines), spacing_(spacing), report_(std::move(report)) {}
    std::uint64_t Size() override { return std::numeric_limits<std::uint64_t>::max(); }
    std::size_t Read(char* buffer, std::size_t size) override {
        while (pending_.size() < size && next_ < lines_) {
            const LocalSeconds when = ToLocalSeconds(2026, 11, 1, 0, 0, 1) + static_cast<LocalSeconds>(next_) * spacing_;
            if (DayOf(when) != day_) {
                day_ = DayOf(when);
                const std::string iso = IsoLocalText(when);
                date_ = iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4) + " ";
            }
            const std::int64_t inDay = when - day_ * 86400;
            char time[10] = {static_cast<char>('0' + inDay / 36000), static_cast<char>('0' + inDay / 3600 % 10), ':',
                             static_cast<char>('0' + inDay / 600 % 6), static_cast<char>('0' + inDay / 60 % 10), ':',
                             static_cast<char>('0' + inDay % 60 / 10), static_cast<char>('0' + inDay % 10), ' ', 0};
            pending_ += date_;
            pending_ += time;
            pending_ += report_(next_++);
            pending_ += "\r\n";
        }
        const std::size_t n = std::min(size, pending_.size());
        pending_.copy(buffer, n);
        pending_.erase(0, n);
        return n;
    }

private:
    std::uint64_t lines_;
    int spacing_;
    std::function<const std::string&(std::uint64_t)> report_;
    std::uint64_t next_ = 0;
    std::int64_t day_ = -1;
    std::string date_;
    std::string pending_;
};

std::string Report(const std::string& status, const std::string& printer) {
    return "Printer Status = " + status + "; Printer Name = " + printer + "; Printer Driver Name = d; Printer Port "
           "Name = p; ";
}

class SpellCount final : public SpellSink {
public:
    void SpellEnded(const Spell&) override { ++spells; }
    std::uint64_t spells = 0;
};

TEST(GlancePageBoundTest, AnyRecordMakesAPageOfAtMost8MB) {
    std::vector<std::string> flapping = {Report("", "Front Desk"), Report("Off Line  ", "Front Desk")};
    std::vector<std::string> printers;
    for (int p = 0; p < 20; ++p) {
        for (const char* status : {"", "Paused  "}) printers.push_back(Report(status, "P" + std::to_string(p)));
    }
    std::vector<std::string> words;
    for (int n = 0; n < 600; ++n) words.push_back(Report("Word" + std::to_string(n) + "  ", std::string(60000, '"')));
    struct Case {
        const char* what;
        std::uint64_t lines;
        int spacing;
        std::function<const std::string&(std::uint64_t)> report;
    };
    const std::vector<Case> cases = {
        {"a month of a printer that changes every 2 seconds", 30 * 43200, 2,
         [&](std::uint64_t n) -> const std::string& { return flapping[n % 2]; }},
        {"31 days of statuses by turns, each as long as can be drawn alone, on twenty printers in turn", 31 * 1416, 61,
         [&](std::uint64_t n) -> const std::string& { return printers[n / 2200 % 20 * 2 + n % 2]; }},
        {"a name of the longest line's length and a status of its own at every entry", 600, 61,
         [&](std::uint64_t n) -> const std::string& { return words[n]; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MadeRecord source(c.lines, c.spacing, c.report);
        GlanceRecord record;
        SpellCount csv;
        ReadGlanceRecord(source, {GermanPictures(), nullptr, nullptr}, record, &csv);
        EXPECT_EQ(record.unreadableLines, 0u);
        EXPECT_EQ(csv.spells, record.spells);
        testing::StringSink page;
        WriteGlancePage(record, {"h.txt", "h.csv", 0, {}, nullptr, nullptr}, page);
        EXPECT_LE(page.text.size(), kLargestPage);
        EXPECT_NE(page.text.find("more spell"), std::string::npos);
        EXPECT_TRUE(page.text.ends_with("</body></html>\n"));
    }
}

} // namespace
} // namespace ambervale
