#include "tray/TrayLook.h"

#include "base/Globals.h"
#include "eventlog/EventWords.h"

namespace ambervale {
namespace {

constexpr std::string_view kLineBreak = "\n";
constexpr std::string_view kSince = " since ";
constexpr std::string_view kSaysSeparator = " - ";
// Fewer characters than this of the printer's words would tell nothing.
constexpr std::size_t kLeastWordsShown = 16;

std::string FirstLine() { return std::string(kProductName) + std::string(kLineBreak); }

} // namespace

TrayLook TrayLookOf(std::uint32_t status) {
    switch (StatusLevel(status)) {
    case EventLevel::Error: return TrayLook::PersonNow;
    case EventLevel::Warning: return TrayLook::Attention;
    case EventLevel::Information: break;
    }
    return TrayLook::Ready;
}

std::string TrayTipText(std::string_view printer, std::string_view status, std::string_view since,
                        const PrinterAlert* says, LeadByteTest leadByte) {
    std::string tip = FirstLine();
    const std::size_t room = kTrayTipMost - tip.size();
    const std::string when = ": " + std::string(status) + std::string(kSince) + std::string(since);
    if (when.size() + kLeastWordsShown > room) {
        // A status of many words: it is the line, cut like any text.
        return tip + CutText(std::string(printer) + when, room, leadByte);
    }
    std::string line = CutText(printer, room - when.size(), leadByte) + when;
    if (says != nullptr && line.size() + kSaysSeparator.size() + kLeastWordsShown <= room) {
        line += std::string(kSaysSeparator) +
                CutText(says->text, room - line.size() - kSaysSeparator.size(), leadByte);
    }
    return tip + line;
}

std::string TrayFailureTipText(std::string_view description, LeadByteTest leadByte) {
    std::string tip = FirstLine();
    return tip + CutText(description, kTrayTipMost - tip.size(), leadByte);
}

} // namespace ambervale
