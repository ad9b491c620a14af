#pragma once
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "logging/DateTimeText.h"
#include "logging/EntryWorker.h"
#include "logging/LogEntry.h"
#include "printer/Spooler.h"
#include "printer/StatusSource.h"

namespace ambervale {

// What became of a call for an entry.
enum class EntryOutcome {
    Made,     // made and handed to the outputs
    Busy,     // another entry was being made: it stands for this one, and no second one was started
    Closing,  // the program is closing: nothing was logged, and nothing more will be
};

// Makes one log entry of the default printer's status. Throws AppError when the entry cannot be made or an output
// failed to take it.
class StatusLogger {
public:
    virtual ~StatusLogger() = default;
    virtual EntryOutcome LogStatusNow() = 0;
    // True while an entry is being made: the spooler or the printer is still being asked.
    virtual bool EntryPending() const = 0;
    // Automatic logging was switched on or off, or another interval chosen while on; intervalCaption is the chosen
    // interval row's caption, empty for none. Never throws.
    virtual void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept = 0;
};

// The program's logger: each entry is made once, from the spooler's report with the status of every source, and
// handed to every output in the order they were added. The spooler and the sources are asked through the worker;
// the date-time text and the outputs stay on the caller's thread.
class EntryLogger final : public StatusLogger {
public:
    // Asks the spooler and the sources on the calling thread.
    EntryLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText);
    // A spooler and sources given by reference must outlive every entry's work, one a close left running included.
    EntryLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText, EntryWorker& worker);
    // Each entry's work shares the spooler and the sources with the logger: a close may leave it running, blocked in
    // the spooler or the network, while the program's objects go in any order.
    EntryLogger(std::shared_ptr<Spooler> spooler, Clock& clock, DateTimeText& dateTimeText, EntryWorker& worker);
    EntryLogger(const EntryLogger&) = delete;
    EntryLogger& operator=(const EntryLogger&) = delete;

    // A source of status bits besides the spooler's own three, asked after them.
    void AddStatusSource(StatusSource& source) { sources_.emplace_back(std::shared_ptr<void>(), &source); }
    void AddStatusSource(std::shared_ptr<StatusSource> source) { sources_.push_back(std::move(source)); }
    void AddOutput(LogOutput& output) { outputs_.push_back(&output); }

    // The entry of this moment; nullopt when the program began to close while it was being made. A missing default
    // printer throws before anything is made; every other spooler failure gives an entry with an empty report.
    std::optional<LogEntry> MakeEntry();

    // Makes the entry and hands it to every output. An output that fails loses the entry, the others still take it,
    // and the first failure then reaches the caller. An entry that cannot be made (no default printer) is told to
    // every output's EntryFailed and reaches the caller. While one entry is being made, no second one starts.
    EntryOutcome LogStatusNow() override;
    bool EntryPending() const override { return pending_; }
    // Tells every output, in order. When this switches automatic logging on, the printer is asked at once (through
    // the worker, as for an entry) and the answer handed to each output's StatusAtStart; no list row or history line
    // is made of it.
    void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept override;
    // While held, a start of logging asks the printer only when the hold ends: the program's load switches logging
    // on before its window shows, and the window must not wait for a printer that is slow to answer. Never throws.
    void HoldStartQuestion(bool hold) noexcept;

private:
    // The entry of this moment, marked as pending or not while it is being made; nullopt when the program is closing.
    std::optional<LogEntry> AskNow(bool markPending);
    void AskAtStart() noexcept;

    InlineEntryWorker inlineWorker_;
    bool loggingOn_ = false;
    bool startQuestionHeld_ = false;
    bool startQuestionDue_ = false;
    EntryWorker& worker_;
    bool pending_ = false;
    std::shared_ptr<Spooler> spooler_;
    Clock& clock_;
    DateTimeText& dateTimeText_;
    std::vector<std::shared_ptr<StatusSource>> sources_;
    std::vector<LogOutput*> outputs_;
};

} // namespace ambervale
