#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "glance/GlanceLine.h"
#include "glance/GlanceOutput.h"
#include "glance/GlanceRecord.h"

namespace ambervale {

// The history file's bytes, read from the start. Throws AppError when they cannot be read.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The size when reading began: what is appended after it is left for the next report.
    virtual std::uint64_t Size() = 0;
    // Up to size bytes into buffer; 0 at the end.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// What the PC says about how the history's lines were written: the user's pictures and calendar, and the time zone
// whose clock they show.
struct GlanceReading {
    DatePictures pictures;
    TimeZoneRules* zone = nullptr;          // none: local time is taken as UTC
    CalendarConverter* calendar = nullptr;  // none: only the Gregorian and year-offset calendars are read
    bool rememberPieces = true;             // the reader's one shortcut (HistoryLineReader); off to measure it
};

// Reads the history by streaming it a block at a time into record: what it keeps grows with the printers, statuses
// and days pictured, never with the lines or the spells. Every spell also goes to spells (the CSV file), in the
// order they end. Reads up to the last whole line of the size the file had when reading began (a line still being
// written is left out); a line longer than any the program writes counts as one not of its form. Throws
// GlanceCancelled when the progress says the report is no longer wanted.
void ReadGlanceRecord(ByteSource& source, const GlanceReading& reading, GlanceRecord& record,
                      SpellSink* spells = nullptr, GlanceProgress* progress = nullptr);

// Where the report goes when no place is named: beside the history file, "Ambervale.txt" giving
// "Ambervale at a glance.html".
std::string GlanceReportPath(std::string_view historyPath);
// The CSV file beside a report: "Ambervale at a glance.html" gives "Ambervale at a glance.csv".
std::string GlanceCsvPath(std::string_view reportPath);

} // namespace ambervale
