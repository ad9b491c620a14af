#pragma once
#include <string_view>
#include <vector>

#include "logging/DateTimeText.h"
#include "logging/LogEntry.h"
#include "printer/Spooler.h"
#include "printer/StatusSource.h"

namespace ambervale {

// Makes one log entry of the default printer's status. Throws AppError when the entry cannot be made.
class StatusLogger {
public:
    virtual ~StatusLogger() = default;
    virtual void LogStatusNow() = 0;
    // Automatic logging was switched on or off, or another interval chosen while on; intervalCaption is the chosen
    // interval row's caption, empty for none. Never throws.
    virtual void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept = 0;
};

// The program's logger: each entry is made once, from the spooler's report with the status of every source, and
// handed to every output in the order they were added.
class EntryLogger final : public StatusLogger {
public:
    EntryLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText);
    EntryLogger(const EntryLogger&) = delete;
    EntryLogger& operator=(const EntryLogger&) = delete;

    // A source of status bits besides the spooler's own three, asked after them.
    void AddStatusSource(StatusSource& source) { sources_.push_back(&source); }
    void AddOutput(LogOutput& output) { outputs_.push_back(&output); }

    // The entry of this moment. A missing default printer throws before anything is made; every other spooler
    // failure gives an entry with an empty report.
    LogEntry MakeEntry();

    // Makes the entry and hands it to every output. An output that fails loses the entry, the others still take it,
    // and the first failure then reaches the caller. An entry that cannot be made (no default printer) is told to
    // every output's EntryFailed and reaches the caller.
    void LogStatusNow() override;
    // Tells every output, in order.
    void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept override;

private:
    Spooler& spooler_;
    Clock& clock_;
    DateTimeText& dateTimeText_;
    std::vector<StatusSource*> sources_;
    std::vector<LogOutput*> outputs_;
};

} // namespace ambervale
