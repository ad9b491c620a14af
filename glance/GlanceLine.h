#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "glance/Calendars.h"
#include "glance/GlanceNames.h"
#include "glance/TimeZoneRules.h"

namespace ambervale {

// The user's date and time pictures and the names they spell, as Windows gives them for the user's calendar
// (LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT, the calendar's month, day and era names), in the ANSI code page the history
// lines are written in. The lines are read by the same pictures that wrote them: "M/d/yyyy" and "h:mm:ss tt" read
// "12/6/2026 8:15:04 PM", "dd.MM.yyyy" and "HH:mm:ss" read "06.12.2026 20:15:04".
struct DatePictures {
    std::string shortDate;
    std::string longTime;
    std::string am;
    std::string pm;
    std::array<std::string, 13> monthNames;  // the thirteenth: the Hebrew calendar's leap month
    std::array<std::string, 13> monthAbbreviations;
    std::array<std::string, 7> dayNames;  // Monday first, as Windows numbers them
    std::array<std::string, 7> dayAbbreviations;
    int calendar = calendar::kGregorian;  // the calendar the dates are written in (LOCALE_ICALENDARTYPE)
    int twoDigitYearMax = 2049;           // a two-digit year is the one at most this (CAL_ITWODIGITYEARMAX)
    std::vector<std::string> eraNames;    // "gg": era 1, 2, ... as the calendar numbers them
};

// The pictures of English (United States), where nothing else is known.
DatePictures UnitedStatesPictures();

// "2026-12-06T08:15:04"
std::string IsoLocalText(LocalSeconds when);

// One history line read: its local time, and the printer and status it names in the record's names.
struct HistoryLine {
    LocalSeconds when = 0;
    bool reported = false;  // false: the spooler gave no report, the line is the time alone
    std::uint32_t printer = 0;
    std::uint32_t status = 0;
};

enum class LineReading { Read, NotOfTheForm, DateNotConvertible };

// Reads lines by a set of pictures, compiled once.
//
// The one shortcut of the history at a glance lives here. At one entry a second nearly every line repeats a line
// read shortly before in all but its seconds. So the reader keeps the pieces it last read (the date, the time up
// to its seconds and after them, the last few reports) with what they read as, and a piece that is byte for byte one
// of them reads as it did then. The rule it relies on: what a piece reads as depends on its bytes alone and on the
// pictures, never on the lines before it. Remember(false) reads every line the long way; the fuzzer reads each line
// both ways and fails on any difference.
class HistoryLineReader {
public:
    HistoryLineReader(DatePictures pictures, GlanceNames& names, CalendarConverter* calendar = nullptr);
    ~HistoryLineReader();
    HistoryLineReader(const HistoryLineReader&) = delete;
    HistoryLineReader& operator=(const HistoryLineReader&) = delete;

    // line has no CR or LF. NotOfTheForm: torn, written by hand, another locale's date: never guessed at.
    // DateNotConvertible: of the form, but its calendar's date cannot be turned into a Gregorian one here.
    // Inline, for the remembered pieces: every line of the record comes here.
    LineReading Read(std::string_view line, HistoryLine& read) {
        if (remember_ && ReadRemembered(line, read)) return LineReading::Read;
        return ReadAnew(line, read);
    }
    void Remember(bool on) { remember_ = on; }

private:
    // True when text begins with piece: eight bytes at a time, for the short pieces of a line.
    static bool Begins(std::string_view text, std::string_view piece) {
        if (text.size() < piece.size()) return false;
        std::size_t at = 0;
        for (; at + 8 <= piece.size(); at += 8) {
            std::uint64_t a;
            std::uint64_t b;
            std::memcpy(&a, text.data() + at, 8);
            std::memcpy(&b, piece.data() + at, 8);
            if (a != b) return false;
        }
        for (; at < piece.size(); ++at) {
            if (text[at] != piece[at]) return false;
        }
        return true;
    }
    // A line that is a line read before but for the two digits of its seconds and its report one of the last few.
    bool ReadRemembered(std::string_view line, HistoryLine& read) const {
        const std::size_t lead = lastLead_.size();
        if (lead == 0 || line.size() <= lead + 3 + lastTail_.size() || !Begins(line, lastLead_)) return false;
        const char tens = line[lead];
        const char ones = line[lead + 1];
        const std::string_view after = line.substr(lead + 2);
        if (tens < '0' || tens > '5' || ones < '0' || ones > '9' || !Begins(after, lastTail_) ||
            after[lastTail_.size()] != ' ') {
            return false;
        }
        const std::string_view report = after.substr(lastTail_.size() + 1);
        for (const Report& known : reports_) {
            if (known.text.size() == report.size() && std::memcmp(known.text.data(), report.data(), report.size()) == 0) {
                read = known.read;
                read.when = lastMinute_ + (tens - '0') * 10 + (ones - '0');
                return true;
            }
        }
        return false;
    }
    LineReading ReadAnew(std::string_view line, HistoryLine& read);
    struct Picture;
    struct Report {
        std::string text;
        HistoryLine read;
    };
    LineReading ReadDateTime(std::string_view& rest, LocalSeconds& when);
    LineReading ReadDate(std::string_view& rest, LocalSeconds& midnight);
    bool ReadReport(std::string_view report, HistoryLine& read);

    DatePictures pictures_;
    GlanceNames& names_;
    CalendarConverter* calendar_;
    std::unique_ptr<Picture> date_;
    std::unique_ptr<Picture> time_;
    bool remember_ = true;
    // The pieces last read (see above).
    std::string lastDate_;  // the date's text, and the midnight it reads as
    LocalSeconds lastMidnight_ = 0;
    std::string lastLead_;  // the line up to its seconds, where the time picture writes them as two digits
    std::string lastTail_;  // what the time picture writes after the seconds
    LocalSeconds lastMinute_ = 0;
    std::array<Report, 4> reports_;
    std::size_t nextReport_ = 0;
};

} // namespace ambervale
