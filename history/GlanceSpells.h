#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "history/GlanceLine.h"

namespace ambervale {

// A stretch of time with one status of one printer: from its first entry to the next entry that differs (or to its
// last entry, before a gap or at the end of the record).
struct Spell {
    std::uint32_t printer = 0;  // index into GlanceRecord::printers
    std::uint32_t status = 0;   // index into GlanceRecord::statuses; kNotRecorded for a gap in the record
    LocalSeconds start = 0;
    LocalSeconds end = 0;
};

inline constexpr std::uint32_t kNotRecorded = 0;
inline constexpr std::string_view kNotRecordedWords = "not recorded";
// An entry whose report is empty: the spooler did not answer. It counts for the printer named last.
inline constexpr std::string_view kNoReportWords = "No report from the spooler";
// The lines that are not of the program's form are named by number up to this many, and counted all.
inline constexpr std::size_t kUnreadableLinesNamed = 200;

struct GlancePrinter {
    std::string name;  // as the record has it (ANSI text, anything the spooler gave)
    LocalSeconds firstEntry = 0;
    LocalSeconds lastEntry = 0;
    std::uint64_t entries = 0;
};

// What the record holds, once read: what grows is one element a printer, a status and a spell.
struct GlanceRecord {
    std::vector<GlancePrinter> printers;
    std::vector<std::string> statuses{std::string(kNotRecordedWords)};  // the status words, "Ready" for none
    std::vector<Spell> spells;                                          // in the record's order
    std::uint64_t entries = 0;
    std::uint64_t unreadableLines = 0;
    std::vector<std::uint64_t> unreadableLineNumbers;  // the first kUnreadableLinesNamed of them
};

// Turns the record's lines, in order, into spells. A gap (no entry for more than twice the usual spacing, and at
// least a minute) ends the spell at its last entry and is a spell of its own, "not recorded"; the usual spacing is
// the median of the last few, so it follows a change of the interval within a few entries. A clock set back ends
// the spell too, without a gap.
class SpellBuilder {
public:
    void Add(const HistoryLine& line) {
        // Most lines go on with the spell of the line before, an entry's spacing later: counted, and nothing more.
        const LocalSeconds spacing = line.when - lastSeen_;
        if (line.sameReport && open_ && spacing >= 0 && spacing < kShortestGap && lastPrinter_ == current_.printer &&
            lastStatus_ == current_.status && !record_.printers.empty()) {
            Count(lastPrinter_, line.when);
            NoteSpacing(spacing);
            lastSeen_ = line.when;
        } else {
            AddAny(line);
        }
    }
    void AddUnreadable(std::uint64_t lineNumber);
    // Ends the last spell; the record is whole after it.
    GlanceRecord& Finish();

private:
    static constexpr LocalSeconds kShortestGap = 60;

    void AddAny(const HistoryLine& line);
    void Count(std::uint32_t printer, LocalSeconds when) {
        GlancePrinter& seen = record_.printers[printer];
        seen.firstEntry = seen.entries == 0 ? when : std::min(seen.firstEntry, when);
        seen.lastEntry = seen.entries == 0 ? when : std::max(seen.lastEntry, when);
        ++seen.entries;
        ++record_.entries;
    }
    void NoteSpacing(LocalSeconds spacing) {
        spacings_[nextSpacing_] = spacing;
        nextSpacing_ = nextSpacing_ + 1 == spacings_.size() ? 0 : nextSpacing_ + 1;
        ++spacingCount_;
    }
    std::uint32_t PrinterOf(const HistoryLine& line);
    std::uint32_t StatusOf(const HistoryLine& line);
    void Close(LocalSeconds end);
    LocalSeconds UsualSpacing() const;

    GlanceRecord record_;
    std::unordered_map<std::string, std::uint32_t> printerIndex_;
    std::unordered_map<std::string, std::uint32_t> statusIndex_;
    std::string lastPrinterText_;
    std::string lastStatusText_;
    std::uint32_t lastPrinter_ = 0;
    std::uint32_t lastStatus_ = 0;
    bool open_ = false;
    Spell current_;
    LocalSeconds lastSeen_ = 0;
    std::array<LocalSeconds, 7> spacings_{};
    std::size_t spacingCount_ = 0;
    std::size_t nextSpacing_ = 0;  // where the next spacing goes in spacings_, the oldest one's place
};

} // namespace ambervale
