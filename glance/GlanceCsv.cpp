#include "glance/GlanceCsv.h"

#include <charconv>
#include <chrono>
#include <cstring>

namespace ambervale {
namespace {

void Digits(char* at, int count, std::int32_t value) {
    for (int i = count - 1; i >= 0; --i) {
        at[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// Two digits, 00 to 99, at a time.
void TwoDigits(char* at, std::uint32_t value) {
    static constexpr char kPairs[] =
        "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
        "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";
    std::memcpy(at, kPairs + 2 * value, 2);
}

} // namespace

// "2026-12-06 08:15:04" at text, without the formatting library: a month of a flapping printer has millions of them.
// The date's text is a function of the day alone, worked out once a day.
void GlanceCsv::WriteTime(LocalSeconds when, char* text) {
    namespace chr = std::chrono;
    if (when < dayStart_ || when - dayStart_ >= 86400 || date_[0] == 0) {
        const std::int64_t day = DayOf(when);
        const chr::year_month_day date{chr::sys_days{chr::days{day}}};
        const int year = static_cast<int>(date.year());
        Digits(date_.data(), 4, year < 0 || year > 9999 ? 0 : year);  // no history line can be dated otherwise
        date_[4] = '-';
        Digits(date_.data() + 5, 2, static_cast<std::int32_t>(static_cast<unsigned>(date.month())));
        date_[7] = '-';
        Digits(date_.data() + 8, 2, static_cast<std::int32_t>(static_cast<unsigned>(date.day())));
        date_[10] = ' ';
        dayStart_ = day * 86400;
    }
    std::memcpy(text, date_.data(), date_.size());
    const auto inDay = static_cast<std::uint32_t>(when - dayStart_);
    const std::uint32_t hours = inDay / 3600;
    const std::uint32_t minutes = (inDay - hours * 3600) / 60;
    TwoDigits(text + 11, hours);
    text[13] = ':';
    TwoDigits(text + 14, minutes);
    text[16] = ':';
    TwoDigits(text + 17, inDay - hours * 3600 - minutes * 60);
}

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
    const std::string& printer = Cell(printerCells_, spell.printer, names_.Printers());
    const std::string& status = Cell(statusCells_, spell.status, names_.Statuses());
    char seconds[24];
    const auto secondsEnd = std::to_chars(seconds, seconds + sizeof seconds, spell.Seconds()).ptr;
    const auto secondsSize = static_cast<std::size_t>(secondsEnd - seconds);
    // The row in one piece: printer,status,start,end,seconds CR LF.
    out_.Put(printer.size() + status.size() + 2 * kTimeText + secondsSize + 6, [&](char* at) {
        const auto put = [&at](const char* text, std::size_t size) {
            std::memcpy(at, text, size);
            at += size;
        };
        put(printer.data(), printer.size());
        *at++ = ',';
        put(status.data(), status.size());
        *at++ = ',';
        WriteTime(spell.start.local, at);
        at += kTimeText;
        *at++ = ',';
        WriteTime(spell.end.local, at);
        at += kTimeText;
        *at++ = ',';
        put(seconds, secondsSize);
        put("\r\n", 2);
    });
}

} // namespace ambervale
