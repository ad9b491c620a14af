#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/ForeignText.h"

namespace ambervale {

// The printer's own words as they came over the network, whatever they hold, made safe to show in a tip, a
// notification and the Event Log:
// - control characters dropped: a tab or a line break becomes a blank, runs of blanks one, none at either end;
// - in UTF-8 (IPP's text, and SNMP's where the printer names it), invalid bytes become U+FFFD, and the C1 controls,
//   the byte-order mark and the marks that reorder text (bidirectional overrides) are dropped too;
// - in the ANSI code page when characterSet names the printer's set and text can read it, else ASCII with '?' for
//   every other byte (the supplies' descriptions' rule);
// - at most kPrinterAlertTextLimit bytes: a longer text is cut after a whole character, with "..." after it.
// Only the first few hundred bytes are looked at, however many came. Empty when nothing printable is left.
std::string AlertText(std::string_view bytes, std::optional<std::uint32_t> characterSet, ForeignText* text);

} // namespace ambervale
