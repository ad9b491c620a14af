#include "printer/PrinterStatus.h"

#include <array>
#include <string_view>

#include "printer/StatusBits.h"

namespace ambervale {
namespace {

struct StatusWord {
    std::uint32_t bit;
    std::string_view text;
};

// Users read the words in this order, which is not the order of the bits; each text keeps its
// two trailing blanks, and the spellings ("Off Line", "Page Problem") are the ones users know.
constexpr std::array<StatusWord, 23> kStatusWords{{
    {status_bit::kBusy, "Busy  "},
    {status_bit::kDoorOpen, "Printer Door Open  "},
    {status_bit::kError, "Printer Error  "},
    {status_bit::kInitializing, "Initializing  "},
    {status_bit::kIoActive, "I/O Active  "},
    {status_bit::kManualFeed, "Manual Feed  "},
    {status_bit::kNoToner, "No Toner  "},
    {status_bit::kNotAvailable, "Not Available  "},
    {status_bit::kOffline, "Off Line  "},
    {status_bit::kOutOfMemory, "Out of Memory  "},
    {status_bit::kOutputBinFull, "Output Bin Full  "},
    {status_bit::kPagePunt, "Page Punt  "},
    {status_bit::kPaperJam, "Paper Jam  "},
    {status_bit::kPaperOut, "Paper Out  "},
    {status_bit::kPaperProblem, "Page Problem  "},
    {status_bit::kPaused, "Paused  "},
    {status_bit::kPendingDeletion, "Pending Deletion  "},
    {status_bit::kPrinting, "Printing  "},
    {status_bit::kProcessing, "Processing  "},
    {status_bit::kTonerLow, "Toner Low  "},
    {status_bit::kUserIntervention, "User Intervention  "},
    {status_bit::kWaiting, "Waiting  "},
    {status_bit::kWarmingUp, "Warming Up  "},
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
