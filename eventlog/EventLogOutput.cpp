#include "eventlog/EventLogOutput.h"

namespace ambervale {

bool EventLogAllowed(std::optional<std::uint32_t> machinePolicy, std::optional<std::uint32_t> userPolicy) {
    if (machinePolicy) return *machinePolicy != 0;
    if (userPolicy) return *userPolicy != 0;
    return true;
}

void EventLogOutput::Write(const LogEntry& entry) {
    if (!tracker_.Logging()) return;
    const std::int64_t now = clock_.Seconds();
    const ChangeTracker::Events events =
        entry.printer ? tracker_.Saw({entry.printer->printerName, entry.printer->status, entry.printer->driverName,
                                      entry.printer->portName, entry.dateTimeText},
                                     now)
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

void EventLogOutput::WriteQuietly(const ChangeTracker::Events& events) noexcept {
    if (events.empty()) return;
    try {
        writer_.Write(events);
    } catch (...) {
        // Lost: there is no box to tell it in.
    }
}

} // namespace ambervale
