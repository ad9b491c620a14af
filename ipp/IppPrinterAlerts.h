#pragma once
#include <vector>

#include "base/ForeignText.h"
#include "ipp/IppMessage.h"
#include "printer/PrinterOwnReport.h"

namespace ambervale {

// What the printer says is wrong, in its own words, from the answer to the question:
// - its printer-state-message, while its state names a condition: critical when it is stopped or a reason ends in
//   -error, a warning for any other condition (-warning, or no suffix); none while every reason is a report, or
//   names no problem (none, fuser-under-temp while it warms, identify-printer-requested);
// - each printer-alert-description whose printer-alert (the same place in its 1setOf) is of severity critical or
//   warning, and whose code and group name a problem (asking/PrinterAlerts' rule);
// made safe to show from UTF-8, most severe first (the message before the alerts of its severity), at most
// kPrinterAlertLimit.
std::vector<PrinterAlert> IppAlerts(const IppResponse& response, ForeignText& text);

} // namespace ambervale
