#pragma once
#include <cstddef>
#include <cstdint>

#include "history/GlanceLine.h"
#include "history/GlancePage.h"
#include "history/GlanceSpells.h"

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

class GlanceProgress {
public:
    virtual ~GlanceProgress() = default;
    // So far, of the total; called each time another hundredth of the file has been read.
    virtual void Read(std::uint64_t done, std::uint64_t total) = 0;
    // True when the report is no longer wanted (the program is closing): reading stops.
    virtual bool Cancelled() { return false; }
};

// Reads the history by streaming it a block at a time: what it keeps is one element a printer, status, spell and day
// pictured, never the lines. Reads up to the last whole line of the size the file had when reading began (a line
// still being written is left out); a line longer than any the program writes counts as one not of its form.
GlanceRecord ReadGlanceRecord(ByteSource& source, const DatePictures& pictures, GlanceProgress* progress = nullptr);

// Where the report goes when no place is named: beside the history file, "Ambervale.txt" giving
// "Ambervale at a glance.html".
std::string GlanceReportPath(std::string_view historyPath);

} // namespace ambervale
