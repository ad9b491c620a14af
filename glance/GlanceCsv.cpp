#include "glance/GlanceCsv.h"

#include <chrono>

namespace ambervale {
namespace {

void Digits(char* at, int count, std::int64_t value) {
    for (int i = count - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// "2026-12-06 08:15:04", without the formatting library: a month of a flapping printer has a million of them.
void AppendTime(std::string& line, LocalSeconds when) {
    namespace chr = std::chrono;
    const std::int64_t day = DayOf(when);
    const chr::year_month_day date{chr::sys_days{chr::days{day}}};
    const std::int64_t inDay = when - day * 86400;
    const int year = static_cast<int>(date.year());
    if (year < 0 || year > 9999) {
        line += "0000-00-00 00:00:00";  // no history line can be dated so
        return;
    }
    char text[19] = {'0', '0', '0', '0', '-', '0', '0', '-', '0', '0', ' ', '0', '0', ':', '0', '0', ':', '0', '0'};
    Digits(text, 4, year);
    Digits(text + 5, 2, static_cast<unsigned>(date.month()));
    Digits(text + 8, 2, static_cast<unsigned>(date.day()));
    Digits(text + 11, 2, inDay / 3600);
    Digits(text + 14, 2, inDay / 60 % 60);
    Digits(text + 17, 2, inDay % 60);
    line.append(text, sizeof text);
}

} // namespace

std::string CsvCell(std::string_view utf8) {
    std::string cell = "\"";
    if (!utf8.empty() && (utf8[0] == '=' || utf8[0] == '+' || utf8[0] == '-' || utf8[0] == '@' || utf8[0] == '\t' ||
                          utf8[0] == '\r')) {
        cell += '\'';
    }
    for (const char c : utf8) {
        cell += c;
        if (c == '"') cell += '"';
    }
    return cell += '"';
}

GlanceCsv::GlanceCsv(const GlanceNames& names, ByteSink& sink, GlanceProgress* progress,
                     std::function<std::string(std::string_view)> toUtf8)
    : names_(names), out_(sink, progress), toUtf8_(std::move(toUtf8)) {
    out_ << "\xEF\xBB\xBFprinter,status,start,end,seconds\r\n";
}

const std::string& GlanceCsv::Cell(std::vector<std::string>& cells, std::uint32_t number,
                                   const std::vector<std::string>& texts) {
    if (cells.size() <= number) cells.resize(number + 1);
    std::string& cell = cells[number];
    if (cell.empty()) cell = CsvCell(toUtf8_ ? toUtf8_(texts[number]) : texts[number]);
    return cell;
}

void GlanceCsv::SpellEnded(const Spell& spell) {
    std::string& line = line_;
    line = Cell(printerCells_, spell.printer, names_.Printers());
    line += ',';
    line += Cell(statusCells_, spell.status, names_.Statuses());
    line += ',';
    AppendTime(line, spell.start.local);
    line += ',';
    AppendTime(line, spell.end.local);
    line += ',';
    line += std::to_string(spell.Seconds());
    line += "\r\n";
    out_ << line;
}

} // namespace ambervale
