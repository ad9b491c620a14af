#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "printer/PrinterOwnReport.h"

namespace ambervale {

// The Printer MIB's alert severities (PrtAlertSeverityLevelTC); IPP's printer-alert spells them by these names.
namespace alert_severity {
inline constexpr std::int32_t kOther = 1;
inline constexpr std::int32_t kCritical = 3;
inline constexpr std::int32_t kWarning = 4;
inline constexpr std::int32_t kWarningBinaryChangeEvent = 5;
} // namespace alert_severity

// The alert groups the program tells apart (PrtAlertGroupTC).
namespace alert_group {
inline constexpr std::int32_t kAlert = 18;  // the alert table itself
} // namespace alert_group

// What a severity of the MIB means for the user: critical, a warning, or none at all (other, and values it lacks).
std::optional<PrinterAlert::Severity> AlertSeverityOf(std::int32_t mibSeverity);
// The same, by the name printer-alert gives it ("critical", "warning", "warningBinaryChangeEvent"); any other name
// (other, report, informational...) is none.
std::optional<PrinterAlert::Severity> AlertSeverityNamed(std::string_view name);

// Whether an alert of that group and code (PrtAlertCodeTC, RFC 3805 and RFC 1759's codes) names a problem. By the
// MIB's numbers, never by the alert's words: a code that tells of power saving, warming up, a cover closed, a unit
// added, a reset or a printer ready to print names none, whatever the severity the printer gave it; nor does a row of
// the alert table's own group. Any code the MIB leaves to the maker, or that is unknown, is taken at its severity.
bool NamesAProblem(PrinterAlert::Severity severity, std::optional<std::int32_t> group,
                   std::optional<std::int32_t> code);
// A code's and a group's numbers by their names in the MIB, as printer-alert's code= and group= spell them
// ("subunitPowerSaver", "alert"), case aside; a decimal number is taken as it is. nullopt for a name the rule of
// NamesAProblem does not need.
std::optional<std::int32_t> AlertCodeNamed(std::string_view name);
std::optional<std::int32_t> AlertGroupNamed(std::string_view name);

// What is kept of one answer's alerts: those with words, each text once, the critical ones before the warnings, each
// severity in the printer's own order; at most kPrinterAlertLimit.
std::vector<PrinterAlert> KeptAlerts(std::vector<PrinterAlert> alerts);

} // namespace ambervale
