#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "glance/GlanceOutput.h"
#include "glance/GlanceRecord.h"

namespace ambervale {

// The most the page may take, whatever the record: every browser opens it.
inline constexpr std::uint64_t kLargestPage = 8u << 20;
// The printers given a section of their own: the ones used last. The others are named, and in the CSV file.
inline constexpr std::size_t kPrintersPictured = 16;
// The spells tables of a printer with more spells than its recent ones kept: this many of each.
inline constexpr std::size_t kSpellsPerTable = 100;

// How the page shows dates and times: the user's calendar and form where Windows gives them; ISO 8601 here. UTF-8.
class ShownDates {
public:
    virtual ~ShownDates() = default;
    virtual std::string Date(LocalSeconds when);       // "2026-12-06"
    virtual std::string Time(LocalSeconds when);       // "08:15:04"
    virtual std::string DayCaption(std::int64_t day);  // "Sunday 2026-12-06"
};

struct GlancePageFacts {
    std::string historyPath;  // UTF-8, shown on the page
    std::string csvName;      // the CSV file's name beside the page (UTF-8), linked; empty: none
    LocalSeconds writtenAt = 0;
    // The record's text (the ANSI code page) as UTF-8; the page is UTF-8. None: taken as it is.
    std::function<std::string(std::string_view)> toUtf8;
    ShownDates* dates = nullptr;  // none: ISO 8601
    GlanceProgress* progress = nullptr;  // looked at for cancellation while writing
};

// Each text from the record in HTML, where nothing can be markup: & < > " ' escaped, control characters shown as
// U+FFFD. text is UTF-8.
std::string EscapeHtml(std::string_view text);

// "45 s", "12 min 5 s", "2 h 13 min", "3 d 4 h".
std::string SpellDurationText(std::int64_t seconds);

// The record as one self-contained HTML page of at most kLargestPage bytes: no script, nothing fetched (its
// Content-Security-Policy allows inline styles alone), the day pictures as inline SVG. For each printer pictured, in
// the order the record names them: the summary, a bar for each of the last 31 days with entries (newest first) in
// real time, and the spells, each row carrying data-printer, data-status, data-start and data-end (ISO 8601 local
// time). Then the lines not of the program's form, by number. Where the record holds more than the page can show,
// the page says how much more, and points to the CSV file, which has every spell. Throws GlanceCancelled when the
// progress says the report is no longer wanted.
void WriteGlancePage(const GlanceRecord& record, const GlancePageFacts& facts, ByteSink& sink);

} // namespace ambervale
