#pragma once
#include <array>
#include <memory>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ambervale {

// The user's date and time pictures, as Windows gives them (LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT and the names they
// may spell out), in the ANSI code page the history lines are written in. The lines are read by the same pictures
// that wrote them: "M/d/yyyy" and "h:mm:ss tt" read "12/6/2026 8:15:04 PM", "dd.MM.yyyy" and "HH:mm:ss" read
// "06.12.2026 20:15:04".
struct DatePictures {
    std::string shortDate;
    std::string longTime;
    std::string am;
    std::string pm;
    std::array<std::string, 12> monthNames;
    std::array<std::string, 12> monthAbbreviations;
    std::array<std::string, 7> dayNames;           // Monday first, as Windows numbers them
    std::array<std::string, 7> dayAbbreviations;
};

// The pictures of English (United States), where nothing else is known.
DatePictures UnitedStatesPictures();

// Seconds from 1 January 1970 of a local date and time, taken as it stands (no time zone, no daylight saving): the
// history keeps local times, and spans between them are what the clock on the wall showed.
using LocalSeconds = std::int64_t;
LocalSeconds ToLocalSeconds(int year, int month, int day, int hour, int minute, int second);
// "2026-12-06T08:15:04"
std::string IsoLocalText(LocalSeconds when);
// The day of a local time: LocalSeconds of its midnight divided by 86400.
inline std::int64_t DayOf(LocalSeconds when) { return when >= 0 ? when / 86400 : (when - 86399) / 86400; }

// One history line read: its time, and the report's status words and printer, as views into the line.
struct HistoryLine {
    LocalSeconds when = 0;
    bool reported = false;       // false: the spooler gave no report, the line is the time alone
    std::string_view status;     // "Off Line  Paper Jam  ", as the line has it
    std::string_view printer;
    bool sameReport = false;     // the report is the last line's, word for word
};

// Reads lines by a set of pictures, compiled once.
class HistoryLineReader {
public:
    explicit HistoryLineReader(DatePictures pictures);
    ~HistoryLineReader();
    HistoryLineReader(const HistoryLineReader&) = delete;
    HistoryLineReader& operator=(const HistoryLineReader&) = delete;

    // nullopt for a line that is not of the program's form (torn, written by hand, another locale's date): it is
    // never guessed at. line has no CR or LF. The views stay good until the next Read.
    std::optional<HistoryLine> Read(std::string_view line);
    // At one entry a second most lines are the last line Read but for the two digits of its seconds: such a line is
    // read by comparing its bytes alone, as Read would read it. False when it differs elsewhere: Read it then.
    bool ReadLikeLast(std::string_view line, HistoryLine& read) const {
        const std::size_t seconds = lastLead_.size();
        if (lastLine_.empty() || line.size() != lastLine_.size()) return false;
        const char tens = line[seconds];
        const char ones = line[seconds + 1];
        if (tens < '0' || tens > '5' || ones < '0' || ones > '9') return false;
        const std::size_t after = seconds + 2;
        if (std::memcmp(line.data(), lastLine_.data(), seconds) != 0 ||
            std::memcmp(line.data() + after, lastLine_.data() + after, line.size() - after) != 0) {
            return false;
        }
        read = likeLast_;
        read.when = lastMinute_ + (tens - '0') * 10 + (ones - '0');
        return true;
    }

private:
    struct Picture;
    std::optional<HistoryLine> ReadLine(std::string_view line);
    std::optional<LocalSeconds> ReadDateTime(std::string_view& rest);

    DatePictures names_;
    std::unique_ptr<Picture> date_;
    std::unique_ptr<Picture> time_;
    // The last line's date and report, which the next line most likely shares.
    std::string lastDateText_;
    std::string lastLead_;  // the last line up to its seconds, when the time picture writes them as two digits
    std::string lastTail_;  // what the time picture writes after the seconds
    LocalSeconds lastMinute_ = 0;
    LocalSeconds lastMidnight_ = 0;
    std::string lastReport_;
    std::pair<std::size_t, std::size_t> lastStatus_;   // where the status and the printer are in lastReport_
    std::pair<std::size_t, std::size_t> lastPrinter_;
    // The last line, when it was read with a report and its seconds at lastLead_.size(); empty otherwise.
    std::string lastLine_;
    HistoryLine likeLast_;  // what a line like it reads as, but for the time
};

// The status words of a line's status ("Off Line  Paper Jam  ") as the program shows them elsewhere: joined by ", "
// ("Off Line, Paper Jam"), "Ready" when there are none.
std::string StatusWords(std::string_view status);

} // namespace ambervale
