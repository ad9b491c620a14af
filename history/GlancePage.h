#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "history/GlanceSpells.h"

namespace ambervale {

// Where the page's bytes go, a piece at a time. Write throws AppError when they cannot be written.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
};

struct GlancePageFacts {
    std::string historyPath;  // UTF-8, shown on the page
    LocalSeconds writtenAt = 0;
    // The record's text (the ANSI code page) as UTF-8; the page is UTF-8.
    std::function<std::string(std::string_view)> toUtf8;
};

// Each text from the record in HTML, where nothing can be markup: & < > " ' escaped, control characters shown as
// U+FFFD. text is UTF-8.
std::string EscapeHtml(std::string_view text);

// "45 s", "12 min 5 s", "2 h 13 min", "3 d 4 h".
std::string SpellDurationText(LocalSeconds seconds);

// The record as one self-contained HTML page: no script, nothing fetched (its Content-Security-Policy allows inline
// styles alone), the day pictures as inline SVG. For each printer in the order the record names them: the summary,
// a 24-hour bar for each of the last 31 days with its entries (newest first), and the spells, each row carrying
// data-printer, data-status, data-start and data-end (ISO 8601 local time). Then the lines not of the program's
// form, by number.
void WriteGlancePage(const GlanceRecord& record, const GlancePageFacts& facts, ByteSink& sink);

} // namespace ambervale
