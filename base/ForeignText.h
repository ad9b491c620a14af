#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambervale {

// Character sets by their IANA number (MIBenum), as the Printer MIB names them; IPP's text is UTF-8.
namespace charset {
inline constexpr std::uint32_t kUsAscii = 3;
inline constexpr std::uint32_t kLatin1 = 4;
inline constexpr std::uint32_t kUtf8 = 106;
} // namespace charset

// Text that a device sent in a character set it named, turned into the program's ANSI text (the system's ANSI code
// page): characters the code page lacks become '?'.
class ForeignText {
public:
    virtual ~ForeignText() = default;
    // nullopt when the character set is not one this PC can read.
    virtual std::optional<std::string> ToAnsi(std::string_view bytes, std::uint32_t mibEnum) = 0;
    // How many bytes the character of the program's ANSI text that starts with this byte has: 2 for the first of a
    // two-byte character (the Japanese, Chinese and Korean code pages), up to 4 where the code page is UTF-8, else 1.
    // Text is never cut inside a character.
    virtual std::size_t AnsiCharacterBytes(unsigned char /*first*/) { return 1; }
};

} // namespace ambervale
