#include "eventlog/EventLogOutput.h"

namespace ambervale {
namespace {

PrinterSighting SightingOf(const LogEntry& entry) {
    const PrinterFields& printer = *entry.printer;
    PrinterSighting sighting{printer.printerName, printer.status, printer.driverName, printer.portName,
                             entry.dateTimeText, printer.ownReport.supplies, printer.ownReport.pages, std::nullopt,
                             printer.ownReport.alerts};
    if (printer.ownReport.notAsked) sighting.notAsked = *printer.ownReport.notAsked;
    return sighting;
}

} // namespace

void EventLogOutput::Write(const LogEntry& entry) {
    if (!tracker_.Logging()) return;
    const std::int64_t now = clock_.Seconds();
    const ChangeTracker::Events events = entry.printer ? tracker_.Saw(SightingOf(entry), now)
                                                       : tracker_.Failed(kSpoolerSilent, now);
    if (!events.empty()) writer_.Write(events);
}

void EventLogOutput::EntryFailed(const std::string& description) noexcept {
    try {
        if (tracker_.Logging()) WriteQuietly(tracker_.Failed(description, clock_.Seconds()));
    } catch (...) {
        // Out of memory for the event: the entry's own error box is shown all the same.
    }
}

void EventLogOutput::LoggingSwitched(bool on, std::string_view intervalCaption) noexcept {
    try {
        WriteQuietly(tracker_.LoggingSwitched(on, intervalCaption));
    } catch (...) {
        // Out of memory for the event: logging is switched all the same.
    }
}

// An entry made in the meantime (a tick, a click) may already have told the start: then this answer is older news.
void EventLogOutput::StatusAtStart(const LogEntry& entry) noexcept {
    try {
        if (!tracker_.StartPending()) return;
        const std::int64_t now = clock_.Seconds();
        WriteQuietly(entry.printer ? tracker_.Saw(SightingOf(entry), now) : tracker_.Failed(kSpoolerSilent, now));
    } catch (...) {
        // Out of memory for the event: the next entry tells the start instead.
    }
}

void EventLogOutput::StatusAtStartFailed(const std::string& description) noexcept {
    try {
        if (tracker_.StartPending()) WriteQuietly(tracker_.Failed(description, clock_.Seconds()));
    } catch (...) {
        // As above.
    }
}

void EventLogOutput::WriteQuietly(const ChangeTracker::Events& events) noexcept {
    if (events.empty()) return;
    try {
        writer_.Write(events);
    } catch (...) {
        // Lost: there is no box to tell it in.
    }
}

} // namespace ambervale
