#include "asking/AlertText.h"

#include <algorithm>

#include "printer/PrinterOwnReport.h"

namespace ambervale {
namespace {

constexpr std::string_view kCutMark = "...";
// No character of any set the program reads takes more than four bytes: this much always shows whether the text
// is longer than the limit.
constexpr std::size_t kLookedAt = kPrinterAlertTextLimit * 4 + 4;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool IsBlankControl(char32_t c) { return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Characters that would show as nothing, a box, or turn the text around them: C0 and C1 controls, the byte-order
// mark, and the marks and overrides of bidirectional text.
bool IsDropped(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

// The length of the well-formed UTF-8 character at the start of bytes (not empty), with its code point; 0 when the
// bytes there are no character (a stray continuation byte, a cut, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t Utf8Character(std::string_view bytes, char32_t& code) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 1;
    char32_t least = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((at(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (at(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Builds text a character at a time: blanks collapse, none leads, and nothing is added past kLookedAt.
class Collector {
public:
    void Blank() { blankDue_ = !text_.empty(); }
    void Add(std::string_view character) {
        if (Full()) return;
        if (blankDue_) text_ += ' ';
        blankDue_ = false;
        text_ += character;
    }
    bool Full() const { return text_.size() >= kLookedAt; }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
    bool blankDue_ = false;
};

// The bytes without control characters, read as UTF-8 or byte by byte. A control byte is never part of a character of
// the multi-byte sets the program reads (Shift_JIS, GBK, Big5, EUC), so dropping it byte by byte splits none.
std::string WithoutControls(std::string_view bytes, bool utf8) {
    Collector out;
    while (!bytes.empty() && !out.Full()) {
        char32_t code = static_cast<unsigned char>(bytes.front());
        std::size_t length = 1;
        if (utf8) {
            length = Utf8Character(bytes, code);
            if (length == 0) {
                out.Add(kReplacement);
                bytes.remove_prefix(1);
                continue;
            }
        } else if (code >= 0x80) {
            code = 'x';  // a byte of the printer's set: kept as it is
        }
        if (code == ' ' || IsBlankControl(code)) {
            out.Blank();
        } else if (!IsDropped(code)) {
            out.Add(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return out.Take();
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// At most kPrinterAlertTextLimit bytes, cut after a whole character as characterBytes counts them.
template <typename CharacterBytes>
std::string Cut(std::string text, CharacterBytes characterBytes) {
    if (text.size() <= kPrinterAlertTextLimit) return text;
    const std::size_t room = kPrinterAlertTextLimit - kCutMark.size();
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + std::max<std::size_t>(1, characterBytes(static_cast<unsigned char>(text[end])));
        if (next > room) break;
        end = next;
    }
    while (end > 0 && text[end - 1] == ' ') --end;
    text.resize(end);
    return text + std::string(kCutMark);
}

} // namespace

std::string AlertText(std::string_view bytes, std::optional<std::uint32_t> characterSet, ForeignText* text) {
    const std::string clean = WithoutControls(bytes, characterSet == charset::kUtf8);
    const auto oneByte = [](unsigned char) { return std::size_t{1}; };
    if (IsAscii(clean)) return Cut(clean, oneByte);
    if (characterSet && text) {
        if (const std::optional<std::string> ansi = text->ToAnsi(clean, *characterSet)) {
            return Cut(WithoutControls(*ansi, false), [text](unsigned char first) {
                return text->AnsiCharacterBytes(first);
            });
        }
    }
    std::string ascii = clean;
    std::replace_if(ascii.begin(), ascii.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }, '?');
    return Cut(std::move(ascii), oneByte);
}

} // namespace ambervale
