#include "history/GlanceLine.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace ambervale {
namespace {

constexpr std::string_view kStatusPrefix = "Printer Status = ";
constexpr std::string_view kNameMarker = "; Printer Name = ";
constexpr std::string_view kDriverMarker = "; Printer Driver Name = ";
constexpr std::string_view kPortMarker = "; Printer Port Name = ";
constexpr std::string_view kReportEnd = "; ";

enum class Field { Literal, Day, DayName, Month, MonthName, Year, Hour12, Hour24, Minute, Second, AmPm, Unreadable };

struct Token {
    Field field;
    int count = 0;         // how many letters the picture repeats: "dd" is 2
    std::string literal;   // the text of a literal; the morning's designator as the picture writes it
    std::string evening;   // the evening's designator as the picture writes it
};

// Reads up to two digits (exactly two when the picture doubles the letter).
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
template <std::size_t N>
int ReadName(std::string_view& rest, const std::array<std::string, N>& names) {
    int best = -1;
    for (std::size_t i = 0; i < N; ++i) {
        const auto& name = names[i];
        if (!name.empty() && rest.starts_with(name) && (best < 0 || name.size() > names[best].size())) {
            best = static_cast<int>(i);
        }
    }
    if (best >= 0) rest.remove_prefix(names[best].size());
    return best;
}

} // namespace

struct HistoryLineReader::Picture {
    std::vector<Token> tokens;
};

namespace {

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
        case 'g': tokens.push_back({Field::Unreadable, count, {}, {}}); break;  // an era's name: not read, not guessed
        default: addLiteral(picture.substr(i, run)); break;
        }
        i += run;
    }
}

struct Parts {
    int year = -1, month = -1, day = -1, hour = 0, minute = 0, second = 0;
    int hour12 = -1;
    int pm = -1;
    const char* seconds = nullptr;  // where the picture's "ss" was read, always two digits
};

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
                if (!ReadNumber(rest, 4, 4, parts.year)) return false;
            } else {
                int year = 0;
                if (!ReadNumber(rest, width, 2, year)) return false;
                parts.year = year < 50 ? 2000 + year : 1900 + year;  // Windows' own two-digit window
            }
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
        case Field::Unreadable:
            return false;
        }
    }
    return true;
}

} // namespace

DatePictures UnitedStatesPictures() {
    return DatePictures{"M/d/yyyy", "h:mm:ss tt", "AM", "PM",
                        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
                         "October", "November", "December"},
                        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
                        {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
                        {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}};
}

LocalSeconds ToLocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    namespace chr = std::chrono;
    const chr::sys_days days{chr::year{year} / chr::month{static_cast<unsigned>(month)} /
                             chr::day{static_cast<unsigned>(day)}};
    return static_cast<LocalSeconds>(days.time_since_epoch().count()) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string IsoLocalText(LocalSeconds when) {
    namespace chr = std::chrono;
    const std::int64_t day = DayOf(when);
    const chr::year_month_day date{chr::sys_days{chr::days{day}}};
    const std::int64_t inDay = when - day * 86400;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
    return text;
}

HistoryLineReader::HistoryLineReader(DatePictures pictures)
    : names_(std::move(pictures)), date_(std::make_unique<Picture>()), time_(std::make_unique<Picture>()) {
    CompileInto(names_.shortDate, names_, date_->tokens);
    CompileInto(names_.longTime, names_, time_->tokens);
}

HistoryLineReader::~HistoryLineReader() = default;

std::optional<LocalSeconds> HistoryLineReader::ReadDateTime(std::string_view& rest) {
    // Lines in a row mostly differ in their seconds alone: where all before and after them is as in the last line,
    // the two digits are all there is to read.
    if (!lastLead_.empty() && rest.size() > lastLead_.size() + 2 + lastTail_.size() && rest.starts_with(lastLead_)) {
        const char tens = rest[lastLead_.size()];
        const char ones = rest[lastLead_.size() + 1];
        const std::string_view after = rest.substr(lastLead_.size() + 2);
        if (tens >= '0' && tens <= '5' && ones >= '0' && ones <= '9' && after.starts_with(lastTail_) &&
            after[lastTail_.size()] == ' ') {
            rest = after.substr(lastTail_.size());
            return lastMinute_ + (tens - '0') * 10 + (ones - '0');
        }
    }
    const std::string_view line = rest;
    lastLead_.clear();
    // Lines in a row share their date: it is read, checked and counted once.
    if (!lastDateText_.empty() && rest.starts_with(lastDateText_) && rest.size() > lastDateText_.size() &&
        rest[lastDateText_.size()] == ' ') {
        rest.remove_prefix(lastDateText_.size());
    } else {
        Parts parts;
        if (date_->tokens.empty() || !ReadPicture(date_->tokens, names_, rest, parts)) return std::nullopt;
        if (parts.year < 0 || parts.month < 0 || parts.day < 0) return std::nullopt;
        namespace chr = std::chrono;
        const chr::year_month_day date{chr::year{parts.year}, chr::month{static_cast<unsigned>(parts.month)},
                                       chr::day{static_cast<unsigned>(parts.day)}};
        if (!date.ok()) return std::nullopt;
        lastDateText_.assign(line.substr(0, line.size() - rest.size()));
        lastMidnight_ = ToLocalSeconds(parts.year, parts.month, parts.day, 0, 0, 0);
    }
    Parts parts;
    // Midnight is written as the date alone; any other time follows it after a blank.
    std::string_view afterTime = rest;
    Parts time;
    if (afterTime.starts_with(' ')) {
        afterTime.remove_prefix(1);
        if (!time_->tokens.empty() && ReadPicture(time_->tokens, names_, afterTime, time)) {
            if (time.hour12 >= 0) {
                if (time.hour12 < 1 || time.hour12 > 12) return std::nullopt;
                time.hour = time.hour12 % 12 + (time.pm == 1 ? 12 : 0);
            }
            if (time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
            rest = afterTime;
            parts.hour = time.hour;
            parts.minute = time.minute;
            parts.second = time.second;
            if (time.seconds) {
                lastLead_.assign(line.substr(0, static_cast<std::size_t>(time.seconds - line.data())));
                lastTail_.assign(time.seconds + 2, afterTime.data());
                lastMinute_ = lastMidnight_ + parts.hour * 3600 + parts.minute * 60;
            }
        }
    }
    return lastMidnight_ + parts.hour * 3600 + parts.minute * 60 + parts.second;
}

std::optional<HistoryLine> HistoryLineReader::Read(std::string_view line) {
    lastLine_.clear();
    auto read = ReadLine(line);
    if (read && read->reported && !lastLead_.empty()) {
        lastLine_.assign(line);
        likeLast_ = *read;
        likeLast_.sameReport = true;
        likeLast_.status = std::string_view(lastReport_).substr(lastStatus_.first, lastStatus_.second);
        likeLast_.printer = std::string_view(lastReport_).substr(lastPrinter_.first, lastPrinter_.second);
    }
    return read;
}

std::optional<HistoryLine> HistoryLineReader::ReadLine(std::string_view line) {
    std::string_view rest = line;
    const auto when = ReadDateTime(rest);
    if (!when || !rest.starts_with(' ')) return std::nullopt;
    rest.remove_prefix(1);
    HistoryLine read;
    read.when = *when;
    if (rest.empty()) return read;  // the spooler gave no report
    // Lines in a row mostly differ in their time alone: a report like the last one is not taken apart again.
    if (rest == lastReport_) {
        read.reported = true;
        read.sameReport = true;
        read.status = std::string_view(lastReport_).substr(lastStatus_.first, lastStatus_.second);
        read.printer = std::string_view(lastReport_).substr(lastPrinter_.first, lastPrinter_.second);
        return read;
    }
    const std::string_view report = rest;
    if (!rest.starts_with(kStatusPrefix) || !rest.ends_with(kReportEnd)) return std::nullopt;
    rest.remove_prefix(kStatusPrefix.size());
    // Status words never hold a semicolon; the names may hold anything, so they are cut from the right.
    const auto name = rest.find(kNameMarker);
    const auto port = rest.rfind(kPortMarker);
    if (name == std::string_view::npos || port == std::string_view::npos || port < name) return std::nullopt;
    const auto driver = rest.substr(0, port).rfind(kDriverMarker);
    if (driver == std::string_view::npos || driver < name + kNameMarker.size()) return std::nullopt;
    read.reported = true;
    read.status = rest.substr(0, name);
    read.printer = rest.substr(name + kNameMarker.size(), driver - name - kNameMarker.size());
    lastReport_.assign(report);
    lastStatus_ = {static_cast<std::size_t>(read.status.data() - report.data()), read.status.size()};
    lastPrinter_ = {static_cast<std::size_t>(read.printer.data() - report.data()), read.printer.size()};
    return read;
}

std::string StatusWords(std::string_view status) {
    std::string words;
    while (!status.empty()) {
        const auto end = status.find("  ");
        const std::string_view word = status.substr(0, end);
        if (!word.empty()) {
            if (!words.empty()) words += ", ";
            words += word;
        }
        if (end == std::string_view::npos) break;
        status.remove_prefix(end + 2);
    }
    return words.empty() ? "Ready" : words;
}

} // namespace ambervale
