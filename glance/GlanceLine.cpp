#include "glance/GlanceLine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace ambervale {
namespace {

constexpr std::string_view kStatusPrefix = "Printer Status = ";
constexpr std::string_view kNameMarker = "; Printer Name = ";
constexpr std::string_view kDriverMarker = "; Printer Driver Name = ";
constexpr std::string_view kPortMarker = "; Printer Port Name = ";
constexpr std::string_view kReportEnd = "; ";

enum class Field { Literal, Day, DayName, Month, MonthName, Year, Era, Hour12, Hour24, Minute, Second, AmPm };

struct Token {
    Field field;
    int count = 0;        // how many letters the picture repeats: "dd" is 2
    std::string literal;  // the text of a literal; the morning's designator as the picture writes it
    std::string evening;  // the evening's designator as the picture writes it
};

// Reads minDigits to maxDigits digits.
bool ReadNumber(std::string_view& rest, int minDigits, int maxDigits, int& value) {
    int digits = 0;
    value = 0;
    while (digits < maxDigits && digits < static_cast<int>(rest.size()) && rest[digits] >= '0' && rest[digits] <= '9') {
        value = value * 10 + (rest[digits] - '0');
        ++digits;
    }
    if (digits < minDigits) return false;
    rest.remove_prefix(static_cast<std::size_t>(digits));
    return true;
}

// The index of the longest name that starts rest, or -1.
template <class Names>
int ReadName(std::string_view& rest, const Names& names) {
    int best = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto& name = names[i];
        if (!name.empty() && rest.starts_with(name) && (best < 0 || name.size() > names[best].size())) {
            best = static_cast<int>(i);
        }
    }
    if (best >= 0) rest.remove_prefix(names[best].size());
    return best;
}

void CompileInto(std::string_view picture, const DatePictures& names, std::vector<Token>& tokens) {
    auto addLiteral = [&](std::string_view text) {
        if (text.empty()) return;
        if (tokens.empty() || tokens.back().field != Field::Literal) tokens.push_back({Field::Literal, 0, {}, {}});
        tokens.back().literal += text;
    };
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted text stands as it is; two quotes are one quote.
            std::size_t j = i + 1;
            std::string text;
            while (j < picture.size()) {
                if (picture[j] == '\'') {
                    if (j + 1 < picture.size() && picture[j + 1] == '\'') {
                        text += '\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += picture[j++];
            }
            addLiteral(text);
            i = j + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        const int count = static_cast<int>(run);
        switch (c) {
        case 'd': tokens.push_back({count >= 3 ? Field::DayName : Field::Day, count, {}, {}}); break;
        case 'M': tokens.push_back({count >= 3 ? Field::MonthName : Field::Month, count, {}, {}}); break;
        case 'y': tokens.push_back({Field::Year, count, {}, {}}); break;
        case 'g': tokens.push_back({Field::Era, count, {}, {}}); break;
        case 'h': tokens.push_back({Field::Hour12, count, {}, {}}); break;
        case 'H': tokens.push_back({Field::Hour24, count, {}, {}}); break;
        case 'm': tokens.push_back({Field::Minute, count, {}, {}}); break;
        case 's': tokens.push_back({Field::Second, count, {}, {}}); break;
        case 't': {
            // "t" writes the designator's first character, "tt" all of it.
            const auto cut = [&](const std::string& d) { return count == 1 ? d.substr(0, 1) : d; };
            tokens.push_back({Field::AmPm, count, cut(names.am), cut(names.pm)});
            break;
        }
        default: addLiteral(picture.substr(i, run)); break;
        }
        i += run;
    }
}

struct Parts {
    int era = 1, year = -1, month = -1, day = -1, hour = 0, minute = 0, second = 0;
    int hour12 = -1;
    int pm = -1;
    const char* seconds = nullptr;  // where the picture's "ss" was read, always two digits
};

// A year written without its century: the one of that calendar at most twoDigitYearMax that ends in those digits.
int FullYear(int digits, int twoDigitYearMax) {
    const int first = twoDigitYearMax - 99;
    return first + ((digits - first) % 100 + 100) % 100;
}

bool ReadPicture(const std::vector<Token>& tokens, const DatePictures& names, std::string_view& rest, Parts& parts) {
    for (const Token& token : tokens) {
        const int width = token.count >= 2 ? 2 : 1;
        switch (token.field) {
        case Field::Literal:
            if (!rest.starts_with(token.literal)) return false;
            rest.remove_prefix(token.literal.size());
            break;
        case Field::Day:
            if (!ReadNumber(rest, width, 2, parts.day)) return false;
            break;
        case Field::DayName:
            if (ReadName(rest, token.count == 3 ? names.dayAbbreviations : names.dayNames) < 0) return false;
            break;
        case Field::Month:
            if (!ReadNumber(rest, width, 2, parts.month)) return false;
            break;
        case Field::MonthName: {
            const int month = ReadName(rest, token.count == 3 ? names.monthAbbreviations : names.monthNames);
            if (month < 0) return false;
            parts.month = month + 1;
            break;
        }
        case Field::Year: {
            if (token.count >= 3) {
                // The whole year; an era's years may have fewer digits than the picture's letters.
                if (!ReadNumber(rest, 1, std::max(token.count, 4), parts.year)) return false;
            } else {
                int year = 0;
                if (!ReadNumber(rest, width, 2, year)) return false;
                parts.year = FullYear(year, names.twoDigitYearMax);
            }
            break;
        }
        case Field::Era: {
            const int era = ReadName(rest, names.eraNames);
            if (era < 0) return false;
            parts.era = era + 1;
            break;
        }
        case Field::Hour12:
            if (!ReadNumber(rest, width, 2, parts.hour12)) return false;
            break;
        case Field::Hour24:
            if (!ReadNumber(rest, width, 2, parts.hour)) return false;
            break;
        case Field::Minute:
            if (!ReadNumber(rest, width, 2, parts.minute)) return false;
            break;
        case Field::Second:
            if (token.count >= 2) parts.seconds = rest.data();
            if (!ReadNumber(rest, width, 2, parts.second)) return false;
            break;
        case Field::AmPm: {
            const std::string& am = token.literal;
            const std::string& pm = token.evening;
            const bool isAm = !am.empty() && rest.starts_with(am);
            const bool isPm = !pm.empty() && rest.starts_with(pm);
            if (isAm && (!isPm || am.size() >= pm.size())) {
                parts.pm = 0;
                rest.remove_prefix(am.size());
            } else if (isPm) {
                parts.pm = 1;
                rest.remove_prefix(pm.size());
            } else if (!am.empty() || !pm.empty()) {
                return false;
            }
            break;
        }
        }
    }
    return true;
}

} // namespace

struct HistoryLineReader::Picture {
    std::vector<Token> tokens;
};

DatePictures UnitedStatesPictures() {
    DatePictures pictures;
    pictures.shortDate = "M/d/yyyy";
    pictures.longTime = "h:mm:ss tt";
    pictures.am = "AM";
    pictures.pm = "PM";
    pictures.monthNames = {"January", "February", "March",     "April",   "May",      "June", "July",
                           "August",  "September", "October", "November", "December", ""};
    pictures.monthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                   "Aug", "Sep", "Oct", "Nov", "Dec", ""};
    pictures.dayNames = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    pictures.dayAbbreviations = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return pictures;
}

std::string IsoLocalText(LocalSeconds when) {
    namespace chr = std::chrono;
    const std::int64_t day = DayOf(when);
    const chr::year_month_day date{chr::sys_days{chr::days{day}}};
    const std::int64_t inDay = when - day * 86400;
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
    return text;
}

HistoryLineReader::HistoryLineReader(DatePictures pictures, GlanceNames& names, CalendarConverter* calendar)
    : pictures_(std::move(pictures)), names_(names), calendar_(calendar), date_(std::make_unique<Picture>()),
      time_(std::make_unique<Picture>()) {
    CompileInto(pictures_.shortDate, pictures_, date_->tokens);
    CompileInto(pictures_.longTime, pictures_, time_->tokens);
}

HistoryLineReader::~HistoryLineReader() = default;

LineReading HistoryLineReader::ReadDate(std::string_view& rest, LocalSeconds& midnight) {
    if (remember_ && !lastDate_.empty() && rest.size() > lastDate_.size() && Begins(rest, lastDate_) &&
        rest[lastDate_.size()] == ' ') {
        rest.remove_prefix(lastDate_.size());
        midnight = lastMidnight_;
        return LineReading::Read;
    }
    const std::string_view text = rest;
    Parts parts;
    if (date_->tokens.empty() || !ReadPicture(date_->tokens, pictures_, rest, parts)) return LineReading::NotOfTheForm;
    if (parts.year < 0 || parts.month < 0 || parts.day < 0) return LineReading::NotOfTheForm;
    const std::string_view written = text.substr(0, text.size() - rest.size());
    const auto date =
        ToGregorian({pictures_.calendar, parts.era, parts.year, parts.month, parts.day, written}, calendar_);
    if (!date) {
        return YearOffset(pictures_.calendar) ? LineReading::NotOfTheForm : LineReading::DateNotConvertible;
    }
    midnight = ToLocalSeconds(date->year, date->month, date->day, 0, 0, 0);
    lastDate_.assign(written);
    lastMidnight_ = midnight;
    return LineReading::Read;
}

LineReading HistoryLineReader::ReadDateTime(std::string_view& rest, LocalSeconds& when) {
    // All but the seconds as in a line read before: the two digits are all there is to read.
    if (const std::size_t lead = lastLead_.size();
        remember_ && lead > 0 && rest.size() > lead + 2 + lastTail_.size() && Begins(rest, lastLead_)) {
        const char tens = rest[lead];
        const char ones = rest[lead + 1];
        const std::string_view after = rest.substr(lead + 2);
        if (tens >= '0' && tens <= '5' && ones >= '0' && ones <= '9' && Begins(after, lastTail_) &&
            after[lastTail_.size()] == ' ') {
            rest = after.substr(lastTail_.size());
            when = lastMinute_ + (tens - '0') * 10 + (ones - '0');
            return LineReading::Read;
        }
    }
    const std::string_view line = rest;
    lastLead_.clear();
    LocalSeconds midnight = 0;
    if (const LineReading date = ReadDate(rest, midnight); date != LineReading::Read) return date;
    when = midnight;
    // Midnight is written as the date alone; any other time follows it after a blank.
    if (!rest.starts_with(' ')) return LineReading::Read;
    std::string_view afterTime = rest.substr(1);
    Parts time;
    if (time_->tokens.empty() || !ReadPicture(time_->tokens, pictures_, afterTime, time)) return LineReading::Read;
    if (time.hour12 >= 0) {
        if (time.hour12 < 1 || time.hour12 > 12) return LineReading::NotOfTheForm;
        time.hour = time.hour12 % 12 + (time.pm == 1 ? 12 : 0);
    }
    if (time.hour > 23 || time.minute > 59 || time.second > 59) return LineReading::NotOfTheForm;
    rest = afterTime;
    when = midnight + time.hour * 3600 + time.minute * 60 + time.second;
    if (time.seconds) {
        lastLead_.assign(line.substr(0, static_cast<std::size_t>(time.seconds - line.data())));
        lastTail_.assign(time.seconds + 2, afterTime.data());
        lastMinute_ = when - time.second;
    }
    return LineReading::Read;
}

bool HistoryLineReader::ReadReport(std::string_view report, HistoryLine& read) {
    std::string_view rest = report;
    if (!rest.starts_with(kStatusPrefix) || !rest.ends_with(kReportEnd)) return false;
    rest.remove_prefix(kStatusPrefix.size());
    // Status words never hold a semicolon; the names may hold anything, so they are cut from the right.
    const auto name = rest.find(kNameMarker);
    const auto port = rest.rfind(kPortMarker);
    if (name == std::string_view::npos || port == std::string_view::npos || port < name) return false;
    const auto driver = rest.substr(0, port).rfind(kDriverMarker);
    if (driver == std::string_view::npos || driver < name + kNameMarker.size()) return false;
    read.reported = true;
    read.status = names_.Status(rest.substr(0, name));
    read.printer = names_.Printer(rest.substr(name + kNameMarker.size(), driver - name - kNameMarker.size()));
    return true;
}

LineReading HistoryLineReader::ReadAnew(std::string_view line, HistoryLine& read) {
    std::string_view rest = line;
    LocalSeconds when = 0;
    if (const LineReading time = ReadDateTime(rest, when); time != LineReading::Read) return time;
    if (!rest.starts_with(' ')) return LineReading::NotOfTheForm;
    const std::string_view report = rest.substr(1);
    if (report.empty()) {  // the spooler gave no report
        read = HistoryLine{when, false, 0, 0};
        return LineReading::Read;
    }
    if (remember_) {
        for (const Report& known : reports_) {
            if (known.text.size() == report.size() && std::memcmp(known.text.data(), report.data(), report.size()) == 0) {
                read = known.read;
                read.when = when;
                return LineReading::Read;
            }
        }
    }
    HistoryLine fresh{when, false, 0, 0};
    if (!ReadReport(report, fresh)) return LineReading::NotOfTheForm;
    reports_[nextReport_] = {std::string(report), fresh};
    nextReport_ = (nextReport_ + 1) % reports_.size();
    read = fresh;
    return LineReading::Read;
}

} // namespace ambervale
