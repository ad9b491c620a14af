#pragma once
#include <string>
#include <string_view>

#include "logging/DateTimeText.h"
#include "printer/Spooler.h"

namespace ambervale {

// The main window's log list: each row is one log line, added after the rows already there. The row's text is the
// date-time text, one blank and the report line; given apart, so the list never has to find where the time ends.
class LogList {
public:
    virtual ~LogList() = default;
    virtual void AddRow(std::string_view dateTimeText, std::string_view reportLine) = 0;
};

// Appends bytes to the file at path, creating it when missing; holds the file open only for
// the one write. Throws AppError when the file cannot be opened or written.
class HistoryWriter {
public:
    virtual ~HistoryWriter() = default;
    virtual void Append(const std::string& path, std::string_view bytes) = 0;
};

// What one log entry talks to; the main window holds it for the whole run.
struct LogEntryServices {
    Spooler& spooler;
    Clock& clock;
    DateTimeText& dateTimeText;
    LogList& logList;
    HistoryWriter& historyWriter;
};

// The report on one line: every CR LF becomes "; ".
std::string JoinReportLines(std::string_view report);

// The date-time text, a blank, and the report on one line.
std::string ComposeLogLine(std::string_view dateTimeText, std::string_view report);

// Appends the line and CR LF to the history file in one write.
void AppendToHistory(HistoryWriter& writer, const std::string& historyFilePath, std::string_view line);

// Makes one log entry: a row in the log list and a line in the history file. A missing default
// printer stops it before anything is made; a failed append loses the line but keeps the row.
// Either failure reaches the caller as AppError.
void LogStatusNow(LogEntryServices& services, const std::string& historyFilePath);

} // namespace ambervale
