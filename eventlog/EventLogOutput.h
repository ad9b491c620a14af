#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "eventlog/ChangeTracker.h"
#include "eventlog/Event.h"
#include "logging/LogEntry.h"

namespace ambervale {

// The failure of an entry whose report is empty: the default printer has a name, but the spooler said nothing
// about it (stopped, or unreachable). No error box shows it; for the Event Log it is an outage like any other.
inline constexpr std::string_view kSpoolerSilent = "The print spooler did not report on the default printer";

// Seconds from a fixed moment; never goes back, and counts on while the machine sleeps.
class SecondsClock {
public:
    virtual ~SecondsClock() = default;
    virtual std::int64_t Seconds() = 0;
};

// The Windows Event Log. Writes the events in order, or none at all when it is not to be written (the program's
// source is not registered, or policy turns it off). Throws AppError when the Event Log refuses an event; the
// events after it are still written.
class EventWriter {
public:
    virtual ~EventWriter() = default;
    virtual void Write(std::span<const Event> events) = 0;
};

// The Event Log as an output of the log: the changes that the entries show, as events. An entry that changes
// nothing costs a comparison and reaches no Event Log at all.
class EventLogOutput final : public LogOutput {
public:
    EventLogOutput(EventWriter& writer, SecondsClock& clock) : writer_(writer), clock_(clock) {}
    void Write(const LogEntry& entry) override;
    void EntryFailed(const std::string& description) noexcept override;
    void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept override;
    void StatusAtStart(const LogEntry& entry) noexcept override;
    void StatusAtStartFailed(const std::string& description) noexcept override;

private:
    // For the calls that cannot report: the entry's own error box already tells of a failed entry, and a start
    // or stop has no box at all.
    void WriteQuietly(const ChangeTracker::Events& events) noexcept;

    EventWriter& writer_;
    SecondsClock& clock_;
    ChangeTracker tracker_;
};

} // namespace ambervale
