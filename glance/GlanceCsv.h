#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "glance/GlanceOutput.h"
#include "glance/GlanceSpells.h"

namespace ambervale {

// Every spell of the record, in full, for scripts and spreadsheets: RFC 4180 (CR LF, every text in quotes), UTF-8
// with a byte-order mark so that Excel reads it as UTF-8. Columns: printer, status, start and end (local time,
// "2026-12-06 08:15:04"), seconds (real time). A text that a spreadsheet would take for a formula (one beginning
// with = + - @, a tab or a carriage return: printer names come from the spooler and may hold anything) is written
// after an apostrophe, so that it shows as text and is never evaluated.
class GlanceCsv final : public SpellSink {
public:
    // toUtf8: the record's text (the ANSI code page) as UTF-8; none: taken as it is.
    GlanceCsv(const GlanceNames& names, ByteSink& sink, GlanceProgress* progress,
              std::function<std::string(std::string_view)> toUtf8);
    void SpellEnded(const Spell& spell) override;
    // Writes what is left; after the last spell.
    void Finish() { out_.Flush(); }

private:
    const std::string& Cell(std::vector<std::string>& cells, std::uint32_t number,
                            const std::vector<std::string>& texts);
    static constexpr std::size_t kTimeText = 19;  // "2026-12-06 08:15:04"
    void WriteTime(LocalSeconds when, char* text);

    const GlanceNames& names_;
    GlanceOut out_;
    std::function<std::string(std::string_view)> toUtf8_;
    std::vector<std::string> printerCells_;  // each name as its quoted cell, made once
    std::vector<std::string> statusCells_;
    LocalSeconds dayStart_ = 0;
    std::array<char, 11> date_{};  // the text of the day from dayStart_, and a blank; none yet while it starts with 0
};

// A text as one CSV cell: quoted, its quotes doubled, and after an apostrophe when a spreadsheet would evaluate it.
std::string CsvCell(std::string_view utf8);

} // namespace ambervale
