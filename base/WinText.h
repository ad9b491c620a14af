#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "base/ForeignText.h"

namespace ambervale::win {

// The one converter between the program's ANSI text (the system's ANSI code page) and Windows' UTF-16. A character
// the code page lacks becomes the code page's default ('?'). Never throws but for memory.
std::wstring WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(std::wstring_view wide);
// Paths are kept as UTF-8 inside the program, which spells every user's folder whatever the ANSI code page; the
// Windows adapters hand them to the wide calls.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
// Bytes in a Windows code page (CP_UTF8, 28591 for Latin-1, ...) as UTF-16; invalid sequences become U+FFFD.
std::wstring WideFromCodePage(std::string_view bytes, UINT codePage);

// A device's text by the character set it names, through the code page Windows has for that set.
class WinForeignText final : public ForeignText {
public:
    std::optional<std::string> ToAnsi(std::string_view bytes, std::uint32_t mibEnum) override;
    std::size_t AnsiCharacterBytes(unsigned char first) override;
};

} // namespace ambervale::win
