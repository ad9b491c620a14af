#pragma once
#include <string>
#include <string_view>

#include "logging/DateTimeText.h"
#include "logging/LogEntry.h"

namespace ambervale {

// Appends bytes to the file at path, creating it when missing; holds the file open only for
// the one write. Throws AppError when the file cannot be opened or written.
class HistoryWriter {
public:
    virtual ~HistoryWriter() = default;
    virtual void Append(const std::string& path, std::string_view bytes) = 0;
};

// Appends the line and CR LF to the history file in one write.
void AppendToHistory(HistoryWriter& writer, const std::string& historyFilePath, std::string_view line);

// The history file as an output of the log: one line an entry, appended to the file at the program's history path.
// The line reads the clock again, so it may be a second later than the entry's row in the list. A line that cannot
// be written is lost (AppError); the next entry tries the file again.
class HistoryFileOutput final : public LogOutput {
public:
    // path: the program's history path, which start-up composes; read at each entry.
    HistoryFileOutput(HistoryWriter& writer, const std::string& path, Clock& clock, DateTimeText& dateTimeText)
        : writer_(writer), path_(path), clock_(clock), dateTimeText_(dateTimeText) {}
    void Write(const LogEntry& entry) override;

private:
    HistoryWriter& writer_;
    const std::string& path_;
    Clock& clock_;
    DateTimeText& dateTimeText_;
};

} // namespace ambervale
