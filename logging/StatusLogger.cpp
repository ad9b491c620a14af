#include "logging/StatusLogger.h"

#include <exception>

#include "base/ErrorReport.h"
#include "printer/PrinterReport.h"

namespace ambervale {

EntryLogger::EntryLogger(Spooler& spooler, Clock& clock, DateTimeText& dateTimeText)
    : spooler_(spooler), clock_(clock), dateTimeText_(dateTimeText) {
    const auto spoolerSources = SpoolerStatusSources();
    sources_.assign(spoolerSources.begin(), spoolerSources.end());
}

LogEntry EntryLogger::MakeEntry() {
    LogEntry entry;
    entry.printer = QueryDefaultPrinter(spooler_, sources_);
    if (entry.printer) entry.reportLine = JoinReportLines(RenderPrinterReport(*entry.printer));
    entry.dateTimeText = GeneralDateText(dateTimeText_, clock_.Now());
    return entry;
}

void EntryLogger::LogStatusNow() {
    LogEntry entry;
    try {
        entry = MakeEntry();
    } catch (...) {
        const std::string description = CurrentErrorDescription();
        for (LogOutput* output : outputs_) output->EntryFailed(description);
        throw;
    }
    std::exception_ptr firstFailure;
    for (LogOutput* output : outputs_) {
        try {
            output->Write(entry);
        } catch (...) {
            if (!firstFailure) firstFailure = std::current_exception();
        }
    }
    if (firstFailure) std::rethrow_exception(firstFailure);
}

void EntryLogger::LoggingSwitched(bool on, std::string_view intervalCaption) noexcept {
    for (LogOutput* output : outputs_) output->LoggingSwitched(on, intervalCaption);
}

} // namespace ambervale
