#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "glance/DayBar.h"
#include "glance/GlanceSpells.h"
#include "glance/StatusTable.h"

namespace ambervale {

// How much of each printer's record the page can show; every spell is in the CSV file all the same.
inline constexpr std::size_t kDaysPictured = 31;
inline constexpr std::size_t kLongestSpellsKept = 100;  // the longest spells that were not Ready
inline constexpr std::size_t kRecentSpellsKept = 400;   // the most recent spells: all of them, for most printers
// The lines that are not of the program's form (or in a calendar that cannot be converted) are named by number up to
// this many, and counted all.
inline constexpr std::size_t kLinesNamed = 200;

struct StatusTime {
    std::int64_t seconds = 0;
    std::uint64_t spells = 0;
};

// What the record holds of one printer: what grows is one element a status and a day pictured, never the lines or
// the spells.
struct PrinterRecord {
    Moment first;
    Moment last;
    std::uint64_t entries = 0;
    std::uint64_t spells = 0;  // "not recorded" ones included
    std::uint64_t notReadySpells = 0;
    std::int64_t recordedSeconds = 0;
    StatusTable<StatusTime> byStatus;
    std::vector<Spell> longest;  // a heap; LongestSpells() gives them in order
    std::vector<Spell> recent;   // a ring; RecentSpells() gives them in order
    std::size_t nextRecent = 0;
    std::map<std::int64_t, DayBar> days;  // the newest days with entries

    std::vector<Spell> LongestSpells() const;  // longest first
    std::vector<Spell> RecentSpells() const;   // in the order they ended
};

// The record, once read.
struct GlanceRecord {
    GlanceNames names;
    std::vector<PrinterRecord> printers;  // by the printer's number in names
    std::uint64_t entries = 0;
    std::uint64_t spells = 0;
    std::uint64_t unreadableLines = 0;
    std::vector<std::uint64_t> unreadableLineNumbers;  // the first kLinesNamed of them
    std::uint64_t unconvertedLines = 0;                // dated in a calendar this PC cannot turn into Gregorian
    std::vector<std::uint64_t> unconvertedLineNumbers;
};

// Keeps in a GlanceRecord what the page shows of the entries and spells, and hands each on to next (the CSV file).
class RecordKeeper final : public SpellSink {
public:
    RecordKeeper(GlanceRecord& record, LocalToUtc& clock, SpellSink* next)
        : record_(record), clock_(clock), next_(next) {}
    void SpellEnded(const Spell& spell) override;

private:
    PrinterRecord& PrinterOf(std::uint32_t printer);
    void Picture(PrinterRecord& printer, std::int64_t day, const Spell& spell);

    GlanceRecord& record_;
    LocalToUtc& clock_;
    SpellSink* next_;
};

} // namespace ambervale
