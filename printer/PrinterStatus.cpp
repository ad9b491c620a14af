#include "printer/PrinterStatus.h"

#include <array>
#include <string_view>

namespace ambervale {
namespace {

struct StatusWord {
    std::uint32_t bit;
    std::string_view text;
};

// Users read the words in this order, which is not the order of the bits; each text keeps its
// two trailing blanks, and the spellings ("Off Line", "Page Problem") are the ones users know.
constexpr std::array<StatusWord, 23> kStatusWords{{
    {0x200, "Busy  "},
    {0x400000, "Printer Door Open  "},
    {0x2, "Printer Error  "},
    {0x8000, "Initializing  "},
    {0x100, "I/O Active  "},
    {0x20, "Manual Feed  "},
    {0x40000, "No Toner  "},
    {0x1000, "Not Available  "},
    {0x80, "Off Line  "},
    {0x200000, "Out of Memory  "},
    {0x800, "Output Bin Full  "},
    {0x80000, "Page Punt  "},
    {0x8, "Paper Jam  "},
    {0x10, "Paper Out  "},
    {0x40, "Page Problem  "},
    {0x1, "Paused  "},
    {0x4, "Pending Deletion  "},
    {0x400, "Printing  "},
    {0x4000, "Processing  "},
    {0x20000, "Toner Low  "},
    {0x100000, "User Intervention  "},
    {0x2000, "Waiting  "},
    {0x10000, "Warming Up  "},
}};

} // namespace

std::string PrinterStatusText(std::uint32_t status) {
    std::string line(kStatusLinePrefix);
    if (status == 0) {
        line += "Ready\r\n";
        return line;
    }
    bool anyWord = false;
    for (const StatusWord& word : kStatusWords) {
        if ((status & word.bit) != 0) {
            line += word.text;
            anyWord = true;
        }
    }
    if (!anyWord) {
        // Only bits without a word are set: show the raw word as the spooler's signed 32-bit value.
        line += "Unknown Status of ";
        line += std::to_string(static_cast<std::int32_t>(status));
    }
    line += "\r\n";
    return line;
}

} // namespace ambervale
