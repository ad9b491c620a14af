#include "logging/StatusLogger.h"

#include <exception>
#include <memory>
#include <utility>

#include "base/ErrorReport.h"
#include "printer/PrinterReport.h"

namespace ambervale {

namespace {

// Marks an entry as being made for as long as it lives.
class PendingEntry {
public:
    explicit PendingEntry(bool& pending) : pending_(pending) { pending_ = true; }
    ~PendingEntry() { pending_ = false; }
    PendingEntry(const PendingEntry&) = delete;
    PendingEntry& operator=(const PendingEntry&) = delete;

private:
    bool& pending_;
};

} // namespace

EntryLogger::EntryLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText)
    : EntryLogger(spooler, clock, dateTimeText, inlineWorker_) {}

EntryLogger::EntryLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText, EntryWorker& worker)
    : EntryLogger(std::shared_ptr<Spooler>(std::shared_ptr<void>(), &spooler), clock, dateTimeText, worker) {}

EntryLogger::EntryLogger(std::shared_ptr<Spooler> spooler, Clock& clock, DateTimeText& dateTimeText,
                         EntryWorker& worker)
    : worker_(worker), spooler_(std::move(spooler)), clock_(clock), dateTimeText_(dateTimeText) {
    // The spooler's own sources keep no state and live as long as the program.
    for (StatusSource* source : SpoolerStatusSources()) sources_.emplace_back(std::shared_ptr<void>(), source);
}

std::optional<LogEntry> EntryLogger::MakeEntry() { return AskNow(true); }

std::optional<LogEntry> EntryLogger::AskNow(bool markPending) {
    // The answer belongs to the work as much as to this call: a close may end the wait while the spooler or the
    // printer is still being asked, and the work then writes its answer into a place that is still there.
    auto answer = std::make_shared<std::optional<PrinterFields>>();
    {
        bool unmarked = false;
        const PendingEntry pending(markPending ? pending_ : unmarked);
        const bool finished = worker_.RunAndWait([answer, spooler = spooler_, sources = sources_] {
            std::vector<StatusSource*> asked;
            asked.reserve(sources.size());
            for (const auto& source : sources) asked.push_back(source.get());
            *answer = QueryDefaultPrinter(*spooler, asked);
        });
        if (!finished) return std::nullopt;
    }
    LogEntry entry;
    entry.printer = std::move(*answer);
    if (entry.printer) entry.reportLine = JoinReportLines(RenderPrinterReport(*entry.printer));
    entry.dateTimeText = GeneralDateText(dateTimeText_, clock_.Now());
    return entry;
}

EntryOutcome EntryLogger::LogStatusNow() {
    if (pending_) return EntryOutcome::Busy;
    std::optional<LogEntry> entry;
    try {
        entry = MakeEntry();
    } catch (...) {
        const std::string description = CurrentErrorDescription();
        for (LogOutput* output : outputs_) output->EntryFailed(description);
        throw;
    }
    if (!entry) return EntryOutcome::Closing;
    std::exception_ptr firstFailure;
    for (LogOutput* output : outputs_) {
        try {
            output->Write(*entry);
        } catch (...) {
            if (!firstFailure) firstFailure = std::current_exception();
        }
    }
    if (firstFailure) std::rethrow_exception(firstFailure);
    return EntryOutcome::Made;
}

void EntryLogger::LoggingSwitched(bool on, std::string_view intervalCaption) noexcept {
    const bool starting = on && !loggingOn_;
    loggingOn_ = on;
    for (LogOutput* output : outputs_) output->LoggingSwitched(on, intervalCaption);
    startQuestionDue_ = starting || (on && startQuestionDue_);
    if (!startQuestionHeld_) AskAtStart();
}

void EntryLogger::HoldStartQuestion(bool hold) noexcept {
    startQuestionHeld_ = hold;
    if (!hold) AskAtStart();
}

// Not marked as pending: a tick or a click meanwhile still makes its own entry, with its line. While an entry is
// under way, that entry brings the start.
void EntryLogger::AskAtStart() noexcept {
    if (!std::exchange(startQuestionDue_, false) || pending_) return;
    try {
        std::optional<LogEntry> entry;
        try {
            entry = AskNow(false);
        } catch (...) {
            const std::string description = CurrentErrorDescription();
            for (LogOutput* output : outputs_) output->StatusAtStartFailed(description);
            return;
        }
        if (!entry) return;
        for (LogOutput* output : outputs_) output->StatusAtStart(*entry);
    } catch (...) {
        // Out of memory for the description: the start is told with the next entry instead.
    }
}

} // namespace ambervale
