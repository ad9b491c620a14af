#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "printer/PrinterOwnReport.h"
#include "tray/TrayText.h"

namespace ambervale {

// What the tray icon shows of the default printer, by the Event Log's levels of its status words: ready or printing
// (no problem word, or nothing known yet), needs attention (a warning word: Toner Low, Paused, ...), needs a person
// now (an error word: Off Line, Paper Jam, ..., or no entry could be made).
enum class TrayLook { Ready, Attention, PersonNow };

TrayLook TrayLookOf(std::uint32_t status);

// The tip's most characters (the shell's field holds one more, its terminating zero).
inline constexpr std::size_t kTrayTipMost = 127;

// The tip while the program follows the printer: the product name, then on a line of its own the printer, its status
// and since when ("Front Desk: Paper Jam since 10:42"), and the printer's own words where they explain the status.
// Within kTrayTipMost: the printer's words are cut first, then the printer's name; the status and its time stay.
std::string TrayTipText(std::string_view printer, std::string_view status, std::string_view since,
                        const PrinterAlert* says, LeadByteTest leadByte);

// The tip when the entry could not be made: the product name and, on its own line, why.
std::string TrayFailureTipText(std::string_view description, LeadByteTest leadByte);

} // namespace ambervale
