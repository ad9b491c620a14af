#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ambervale {

// The level an event has in the Event Log.
enum class EventLevel { Information, Warning, Error };

// The events' identifiers, as Event Viewer shows them and as the message table in Ambervale.exe numbers their texts.
enum class EventId : std::uint16_t {
    LoggingStarted = 100,   // printer, status now, the interval's caption
    LoggingStopped = 101,   // printer, status now
    StatusProblem = 200,    // printer, status now, status before, seconds it lasted, the same as text, driver, port,
                            // and the printer's own words as a line of their own, or nothing
    StatusFine = 201,       // as StatusProblem
    PrinterChanged = 202,   // new printer, its status, the printer before
    Flapping = 203,         // printer, changes counted
    PrinterNotAsked = 204,  // printer, the reason this PC could not ask the printer itself
    PrinterAskedAgain = 205, // printer
    SupplyLow = 210,        // printer, supply, percent, the supply's kind as a word, port
    SupplyEmpty = 211,      // as SupplyLow
    SupplyReplaced = 212,   // as SupplyLow
    EntriesFail = 300,      // the error text the box shows
    EntriesWorkAgain = 301, // printer, status, seconds the failure lasted, the same as text
    Heartbeat = 400,        // printer, status, since (the date-time text of the entry that first saw it), the supplies
                            // with their percents, the pages printed
};

// One event to write: its identifier, level and insertion strings (%1, %2, ... of its message), in ANSI text.
struct Event {
    EventId id;
    EventLevel level;
    std::vector<std::string> strings;

    bool operator==(const Event&) const = default;
};

} // namespace ambervale
