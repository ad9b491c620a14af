#include "tray/TrayText.h"

namespace ambervale {
namespace {

constexpr std::string_view kEllipsis = "...";

// The longest start of the text of at most `most` bytes that ends between two characters.
std::size_t WholeCharacters(std::string_view text, std::size_t most, LeadByteTest leadByte) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + (leadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > most || next > text.size()) break;
        end = next;
    }
    return end;
}

bool IsBlankOrMark(char c) { return c == ' ' || c == ',' || c == ';' || c == ':' || c == '-' || c == '.'; }

} // namespace

std::string CutText(std::string_view text, std::size_t most, LeadByteTest leadByte) {
    if (text.size() <= most) return std::string(text);
    if (most < kEllipsis.size()) return std::string(text.substr(0, WholeCharacters(text, most, leadByte)));
    std::size_t end = WholeCharacters(text, most - kEllipsis.size(), leadByte);
    // A blank is never the second byte of a character: cutting there splits none.
    const std::size_t blank = text.substr(0, end + 1).find_last_of(' ');
    if (blank != std::string_view::npos && blank >= end / 2) end = blank;
    while (end > 0 && IsBlankOrMark(text[end - 1])) --end;
    return std::string(text.substr(0, end)) + std::string(kEllipsis);
}

} // namespace ambervale
