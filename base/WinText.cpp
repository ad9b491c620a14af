#include "base/WinText.h"

#include <algorithm>
#include <climits>

namespace ambervale::win {
namespace {

// The code page of an IANA character set (MIBenum); 0 for one without.
UINT CodePageOf(std::uint32_t mibEnum) {
    switch (mibEnum) {
    case charset::kUsAscii: return 20127;
    case charset::kLatin1: return 28591;
    case charset::kUtf8: return CP_UTF8;
    case 5: return 28592;     // ISO-8859-2
    case 8: return 28595;     // ISO-8859-5
    case 10: return 28597;    // ISO-8859-7
    case 12: return 28599;    // ISO-8859-9
    case 17: return 932;      // Shift_JIS
    case 18: return 51932;    // EUC-JP
    case 38: return 51949;    // EUC-KR
    case 111: return 28605;   // ISO-8859-15
    case 113: return 936;     // GBK
    case 114: return 54936;   // GB18030
    case 2025: return 936;    // GB2312
    case 2026: return 950;    // Big5
    case 2084: return 20866;  // KOI8-R
    default: break;
    }
    // windows-1250 to windows-1258 are 2250 to 2258.
    if (mibEnum >= 2250 && mibEnum <= 2258) return 1250 + (mibEnum - 2250);
    return 0;
}

// Windows' counts are ints: a longer text is cut, which no text of the program comes near.
int CountOf(std::size_t size) { return static_cast<int>(std::min<std::size_t>(size, INT_MAX / 4)); }

std::string CodePageFromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    const int count = CountOf(wide.size());
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), count, text.data(), size, nullptr, nullptr);
    return text;
}

} // namespace

std::wstring WideFromCodePage(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int count = CountOf(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), count, wide.data(), length);
    return wide;
}

std::wstring WideFromAnsi(std::string_view ansi) { return WideFromCodePage(ansi, CP_ACP); }

std::string AnsiFromWide(std::wstring_view wide) { return CodePageFromWide(wide, CP_ACP); }

std::wstring WideFromUtf8(std::string_view utf8) { return WideFromCodePage(utf8, CP_UTF8); }

std::string Utf8FromWide(std::wstring_view wide) { return CodePageFromWide(wide, CP_UTF8); }

std::optional<std::string> WinForeignText::ToAnsi(std::string_view bytes, std::uint32_t mibEnum) {
    const UINT codePage = CodePageOf(mibEnum);
    CPINFO info;
    if (codePage == 0 || !GetCPInfo(codePage, &info)) return std::nullopt;
    return AnsiFromWide(WideFromCodePage(bytes, codePage));
}

std::size_t WinForeignText::AnsiCharacterBytes(unsigned char first) {
    if (GetACP() == CP_UTF8) {
        // Windows 10's "Use Unicode UTF-8 for worldwide language support": the ANSI text is UTF-8.
        if (first >= 0xF0) return 4;
        if (first >= 0xE0) return 3;
        return first >= 0xC0 ? 2 : 1;
    }
    return IsDBCSLeadByte(first) ? 2 : 1;
}

} // namespace ambervale::win
