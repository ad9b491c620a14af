#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "printer/Supplies.h"

namespace ambervale {

// What the printer says is wrong, in its own words: a row of its alert table, its state message. Text from the
// network, made safe to show: control characters dropped, at most kPrinterAlertTextLimit bytes, in the ANSI code
// page. It only ever explains a status the entry has earned; it never adds a word to the line by itself.
struct PrinterAlert {
    enum class Severity { Critical, Warning };
    Severity severity = Severity::Warning;
    std::string text;

    bool operator==(const PrinterAlert&) const = default;
};
// At most this many alerts are kept of one answer, most severe first, each at most this long.
inline constexpr std::size_t kPrinterAlertLimit = 4;
inline constexpr std::size_t kPrinterAlertTextLimit = 160;

// What the printer itself reported beyond its status bits, when a source asked it: what the Event Log gets.
struct PrinterOwnReport {
    std::vector<Supply> supplies;         // in the printer's own order
    std::optional<std::uint64_t> pages;   // the pages it has printed in its life
    std::vector<PrinterAlert> alerts;     // what it says is wrong, most severe first
    // The printer could not be asked because of a failure on this PC (no network stack, no socket, no memory): not
    // the printer's silence. The reason, as text.
    std::optional<std::string> notAsked;

    bool operator==(const PrinterOwnReport&) const = default;
};

} // namespace ambervale
