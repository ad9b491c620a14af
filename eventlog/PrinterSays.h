#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "printer/PrinterOwnReport.h"

namespace ambervale {

// How the printer's own words are introduced wherever the program shows them.
inline constexpr std::string_view kPrinterSaysPrefix = "The printer says: ";

// The printer's own words that explain the status an entry has earned, or none: for a status of the Error level its
// first (most severe) alert, for one of the Warning level its first warning, for a status without a problem word
// none at all. An alert explains an alarm; it never raises one by itself (a sleeping printer's "fuser under
// temperature" is no reason to worry anybody).
const PrinterAlert* ExplainingAlert(std::uint32_t status, std::span<const PrinterAlert> alerts);

} // namespace ambervale
