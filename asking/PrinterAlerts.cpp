#include "asking/PrinterAlerts.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace ambervale {
namespace {

// The codes of PrtAlertCodeTC that name no problem, by number and by the MIB's name. A printer puts them in its table
// as it goes to sleep, wakes, is switched on, has a cover closed or a unit added, is reset or is ready again; makers
// give some of them the severity warning. Under temperature is how a sleeping printer's cooled fuser reads (a
// Kyocera asleep says "fuser under temperature" as a warning all night): as a warning it is warming up, as a critical
// alert a fuser that fails to heat.
struct QuietCode {
    std::int32_t code;
    std::string_view name;
    bool evenIfCritical;
};
constexpr QuietCode kQuietCodes[] = {
    {4, "coverClosed", true},
    {6, "interlockClosed", true},
    {7, "configurationChange", true},
    {19, "subunitClosed", true},
    {20, "subunitTurnedOn", true},
    {23, "subunitPowerSaver", true},
    {24, "subunitWarmingUp", true},
    {25, "subunitAdded", true},
    {27, "subunitResourceAdded", true},
    {35, "subunitUnderTemperature", false},
    {502, "doorClosed", true},
    {503, "powerUp", true},
    {505, "printerNMSReset", true},
    {506, "printerManualReset", true},
    {507, "printerReadyToPrint", true},
    {1001, "markerFuserUnderTemperature", false},
    {1005, "markerAdjustingPrintQuality", true},
    {1501, "interpreterMemoryIncrease", true},
    {1503, "interpreterCartridgeAdded", true},
    {1505, "interpreterResourceAdded", true},
    {1801, "alertRemovalOfBinaryChangeEntry", true},
};

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A whole decimal number of at most nine digits, with an optional minus.
std::optional<std::int32_t> Number(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 9) return std::nullopt;
    std::int32_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return negative ? -number : number;
}

} // namespace

std::optional<PrinterAlert::Severity> AlertSeverityOf(std::int32_t mibSeverity) {
    switch (mibSeverity) {
    case alert_severity::kCritical:
        return PrinterAlert::Severity::Critical;
    case alert_severity::kWarning:
    case alert_severity::kWarningBinaryChangeEvent:
        return PrinterAlert::Severity::Warning;
    default:
        return std::nullopt;
    }
}

std::optional<PrinterAlert::Severity> AlertSeverityNamed(std::string_view name) {
    if (SameName(name, "critical")) return PrinterAlert::Severity::Critical;
    if (SameName(name, "warning") || SameName(name, "warningBinaryChangeEvent")) return PrinterAlert::Severity::Warning;
    return std::nullopt;
}

bool NamesAProblem(PrinterAlert::Severity severity, std::optional<std::int32_t> group,
                   std::optional<std::int32_t> code) {
    if (group == alert_group::kAlert) return false;
    const auto quiet = std::find_if(std::begin(kQuietCodes), std::end(kQuietCodes),
                                    [&](const QuietCode& q) { return q.code == code; });
    if (quiet == std::end(kQuietCodes)) return true;
    return severity == PrinterAlert::Severity::Critical && !quiet->evenIfCritical;
}

std::optional<std::int32_t> AlertCodeNamed(std::string_view name) {
    if (const auto number = Number(name)) return number;
    for (const QuietCode& quiet : kQuietCodes) {
        if (SameName(name, quiet.name)) return quiet.code;
    }
    return std::nullopt;
}

std::optional<std::int32_t> AlertGroupNamed(std::string_view name) {
    if (const auto number = Number(name)) return number;
    if (SameName(name, "alert")) return alert_group::kAlert;
    return std::nullopt;
}

std::vector<PrinterAlert> KeptAlerts(std::vector<PrinterAlert> alerts) {
    std::stable_partition(alerts.begin(), alerts.end(),
                          [](const PrinterAlert& a) { return a.severity == PrinterAlert::Severity::Critical; });
    std::vector<PrinterAlert> kept;
    for (PrinterAlert& alert : alerts) {
        if (kept.size() == kPrinterAlertLimit) break;
        const bool told =
            std::any_of(kept.begin(), kept.end(), [&](const PrinterAlert& k) { return k.text == alert.text; });
        if (!alert.text.empty() && !told) kept.push_back(std::move(alert));
    }
    return kept;
}

} // namespace ambervale
