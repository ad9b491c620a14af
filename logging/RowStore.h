#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/ChunkedArray.h"
#include "base/TextArena.h"
#include "logging/LogEntry.h"

namespace ambervale {

// The log list's rows, kept for as long as the program runs: 12 bytes a row while the report repeats, so a year of
// entries every second fits in a 32-bit process.
//
// From one entry to the next only the date and time change, and of the date-time text only its digits. What is left
// (the date-time text with each digit marked, a blank and the report line) is a pattern, kept once; a row is its
// pattern's number and the digits of its date-time text, four bits each. A row that does not fit that form (more
// digits than a row holds, or a text that holds the byte that marks a digit) is kept whole, as a pattern of its own.
// Either way a row reads back exactly as it was logged, whatever the regional format was at that moment.
class RowStore final : public LogList {
public:
    // The most items a virtual list view can hold.
    static constexpr std::size_t kListViewMaxRows = 100'000'000;
    // The usual short date and long time write 14 digits at most (a four-digit year, seconds); a row with more than
    // this is kept whole.
    static constexpr std::size_t kDigitsPerRow = 16;

    explicit RowStore(std::size_t maxRows = kListViewMaxRows);

    // Keeps the row, unless the store is full or memory has run out; true when it was kept. Never throws.
    bool Append(std::string_view dateTimeText, std::string_view reportLine);
    void AddRow(std::string_view dateTimeText, std::string_view reportLine) override {
        Append(dateTimeText, reportLine);
    }
    std::size_t Size() const { return rows_.Size(); }
    std::size_t MaxRows() const { return maxRows_; }
    // The row's text as it was logged: the date-time text, a blank and the report line.
    void Render(std::size_t i, std::string& text) const;
    // Empties the store and gives its memory back.
    void Clear();
    std::size_t BytesHeld() const;

private:
    struct Row {
        std::uint32_t pattern;
        std::array<std::uint8_t, kDigitsPerRow / 2> digits;
    };
    static_assert(sizeof(Row) == 12);
    struct Pattern {
        std::string_view text;
        bool whole;  // the row's text as it stands, with no digits to put in
    };

    std::uint32_t Intern(std::string_view marked);
    std::uint32_t AddPattern(std::string_view text, bool whole);

    std::size_t maxRows_;
    // Chunks of 768 KiB: each comes from the system and goes back to it when the rows are cleared.
    ChunkedArray<Row, 65536> rows_;
    ChunkedArray<Pattern, 1024> patterns_;
    TextArena texts_;
    std::unordered_map<std::string_view, std::uint32_t> interned_;
    std::string marked_;  // the pattern of the row being added
};

} // namespace ambervale
