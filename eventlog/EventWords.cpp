#include "eventlog/EventWords.h"

#include <array>
#include <string_view>

#include "base/Text.h"
#include "printer/PrinterStatus.h"
#include "printer/StatusBits.h"

namespace ambervale {
namespace {

// Each word of the status line ends with two blanks; a word's own blanks come one at a time.
constexpr std::string_view kWordEnd = "  ";

// The printer cannot print until someone acts.
constexpr std::uint32_t kErrorBits = status_bit::kDoorOpen | status_bit::kError | status_bit::kNoToner |
                                     status_bit::kNotAvailable | status_bit::kOffline | status_bit::kOutOfMemory |
                                     status_bit::kOutputBinFull | status_bit::kPagePunt | status_bit::kPaperJam |
                                     status_bit::kPaperOut | status_bit::kPaperProblem |
                                     status_bit::kUserIntervention;
// It prints, or will once someone acts, but needs attention.
constexpr std::uint32_t kWarningBits =
    status_bit::kTonerLow | status_bit::kPaused | status_bit::kManualFeed | status_bit::kPendingDeletion;

struct Unit {
    std::int64_t seconds;
    std::string_view name;
};
constexpr std::array<Unit, 4> kUnits{{{86400, "d"}, {3600, "h"}, {60, "min"}, {1, "s"}}};

} // namespace

std::string EventStatusText(std::uint32_t status) {
    const std::string line = PrinterStatusText(status);
    std::string_view words = line;
    if (words.starts_with(kStatusLinePrefix)) words.remove_prefix(kStatusLinePrefix.size());
    if (words.ends_with("\r\n")) words.remove_suffix(2);
    std::string text;
    for (;;) {
        const auto end = words.find(kWordEnd);
        const std::string_view word = TrimBlanks(words.substr(0, end));
        if (!word.empty()) {
            if (!text.empty()) text += ", ";
            text += word;
        }
        if (end == std::string_view::npos) break;
        words.remove_prefix(end + kWordEnd.size());
    }
    return text.empty() ? "Ready" : text;
}

EventLevel StatusLevel(std::uint32_t status) {
    if ((status & kErrorBits) != 0) return EventLevel::Error;
    if (status != 0 && (status & status_bit::kAllWithWords) == 0) return EventLevel::Error;
    if ((status & kWarningBits) != 0) return EventLevel::Warning;
    return EventLevel::Information;
}

std::string DurationText(std::int64_t seconds) {
    if (seconds <= 0) return "0 s";
    for (std::size_t i = 0; i < kUnits.size(); ++i) {
        const Unit& unit = kUnits[i];
        if (seconds < unit.seconds) continue;
        std::string text = std::to_string(seconds / unit.seconds) + ' ' + std::string(unit.name);
        if (i + 1 < kUnits.size()) {
            const Unit& next = kUnits[i + 1];
            const std::int64_t rest = seconds % unit.seconds / next.seconds;
            if (rest != 0) text += ' ' + std::to_string(rest) + ' ' + std::string(next.name);
        }
        return text;
    }
    return "0 s";
}

} // namespace ambervale
