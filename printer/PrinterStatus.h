#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace ambervale {

// How the status line begins, before its words.
inline constexpr std::string_view kStatusLinePrefix = "Printer Status = ";

// The report's first line for the spooler's printer status word: "Printer Status = " and one word
// per known status bit in a fixed order, or "Ready" for 0; always ends with CR LF.
std::string PrinterStatusText(std::uint32_t status);

} // namespace ambervale
