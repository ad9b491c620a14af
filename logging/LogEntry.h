#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "printer/PrinterRecord.h"

namespace ambervale {

// One log entry, made once and handed to every output: the moment it was made, in the user's general date form, and
// the printer's report on one line.
struct LogEntry {
    std::string dateTimeText;
    std::string reportLine;               // empty when the spooler did not answer
    std::optional<PrinterFields> printer;  // what the report was made from; nullopt when the spooler did not answer
};

// One place the entries go: the log list, the history file... Each output takes every entry, in the order the
// outputs were wired. Write throws AppError when it cannot take the entry; the outputs after it still take it.
class LogOutput {
public:
    virtual ~LogOutput() = default;
    virtual void Write(const LogEntry& entry) = 0;
    // An entry could not be made at all (no default printer...): description is the text the error box shows.
    // Most outputs have nothing to write then. Never throws.
    virtual void EntryFailed(const std::string& description) noexcept { static_cast<void>(description); }
    // Automatic logging was switched on or off, or another interval chosen while on (intervalCaption: the chosen
    // interval row's caption, empty for none). Most outputs take every entry alike and have nothing to do. Never
    // throws.
    virtual void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept {
        static_cast<void>(on);
        static_cast<void>(intervalCaption);
    }
    // Automatic logging has just been switched on, and the printer was asked at once so that the start can tell its
    // status of that moment, however long the interval: the entry made of that answer, which no list or file shows.
    // Never throws.
    virtual void StatusAtStart(const LogEntry& entry) noexcept { static_cast<void>(entry); }
    // ... or why that entry could not be made (the text an error box would show). Never throws.
    virtual void StatusAtStartFailed(const std::string& description) noexcept { static_cast<void>(description); }
};

// The main window's log list: each row is one log line, added after the rows already there. The row's text is the
// date-time text, one blank and the report line; given apart, so the list never has to find where the time ends.
class LogList {
public:
    virtual ~LogList() = default;
    virtual void AddRow(std::string_view dateTimeText, std::string_view reportLine) = 0;
};

// The log list as an output: one row an entry.
class LogListOutput final : public LogOutput {
public:
    explicit LogListOutput(LogList& list) : list_(list) {}
    void Write(const LogEntry& entry) override { list_.AddRow(entry.dateTimeText, entry.reportLine); }

private:
    LogList& list_;
};

// The report on one line: every CR LF becomes "; ".
std::string JoinReportLines(std::string_view report);

// The date-time text, a blank, and the report on one line.
std::string ComposeLogLine(std::string_view dateTimeText, std::string_view report);

} // namespace ambervale
