#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "eventlog/Event.h"
#include "eventlog/FlappingRule.h"
#include "eventlog/SupplyTracker.h"
#include "printer/PrinterOwnReport.h"
#include "printer/Supplies.h"

namespace ambervale {

// What one entry saw of the default printer.
struct PrinterSighting {
    std::string_view printer;
    std::uint32_t status = 0;
    std::string_view driver;
    std::string_view port;
    std::string_view dateTimeText;  // the entry's
    // What the printer itself said, when a source asked it: its supplies, its page count, or that this PC could not
    // ask it (the reason).
    std::span<const Supply> supplies{};
    std::optional<std::uint64_t> pages{};
    std::optional<std::string_view> notAsked{};
    // What the printer says is wrong, in its own words, most severe first.
    std::span<const PrinterAlert> alerts{};
};
// A status that holds this long is told again, once each such period.
inline constexpr std::int64_t kHeartbeatSeconds = 86400;

// The printer of an event when no entry of the period has named one yet.
inline constexpr std::string_view kUnknownPrinter = "(unknown)";
// The heartbeat's page count when the printer gives none.
inline constexpr std::string_view kUnknownPages = "unknown";
// The interval of a start when no interval row is chosen.
inline constexpr std::string_view kNoInterval = "no interval chosen";

// Follows the default printer's state through the entries of automatic logging and says which events the Event Log
// gets: the changes only, none at all for an entry that changes nothing. Fed with each entry's sighting, or its
// failure, and a monotonic time in seconds, so durations come from the clock whatever the interval; returns the
// events to write, in order. It follows only while automatic logging is on: switching it off forgets the state, and
// each period of logging starts afresh.
class ChangeTracker {
public:
    using Events = std::vector<Event>;

    // Logging switched on or off, or a new interval chosen while on. The start is written with the next sighting (the
    // question asked at once when logging starts, or else the first entry), which knows the status of that moment; a
    // period that ends before either writes neither start nor stop.
    Events LoggingSwitched(bool on, std::string_view intervalCaption);
    Events Saw(const PrinterSighting& sighting, std::int64_t now);
    // The entry could not be made: description is the text its error box shows. One event an outage.
    Events Failed(std::string_view description, std::int64_t now);

    bool Logging() const { return logging_; }
    // Logging is on and its start not yet written.
    bool StartPending() const { return startPending_; }

private:
    struct Tracked {
        std::string printer;
        std::uint32_t statusWord = 0;
        std::string status;
        std::string driver;
        std::string port;
        std::int64_t since = 0;
        std::string sinceText;
        std::int64_t heartbeatFrom = 0;  // since, or the last heartbeat
        // The change that led to this status: what an event about it says came before.
        std::string before;
        std::int64_t beforeLasted = 0;
        // The supplies and the page count of the last entry, for the heartbeat.
        std::string supplies;
        std::string pages;
    };
    struct Outage {
        std::int64_t since = 0;
        std::string description;
    };

    void Begin(const PrinterSighting& sighting, std::int64_t now);
    void StatusChanged(std::string status, const PrinterSighting& sighting, std::int64_t stateEnd, std::int64_t now,
                       Events& events);
    Event ChangeEvent(const PrinterSighting& sighting) const;
    std::string PrinterNow() const;
    Event Started(std::string printer, std::string status) const;
    void HeardFromPrinter(const PrinterSighting& sighting, Events& events);

    bool logging_ = false;
    bool startPending_ = false;
    std::string interval_;
    std::optional<Tracked> tracked_;
    std::optional<Outage> outage_;
    FlappingRule flapping_;
    SupplyTracker supplies_;
    bool printerNotAsked_ = false;
};

} // namespace ambervale
