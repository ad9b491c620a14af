#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace ambervale {

// Whether a byte is the first of a two-byte character in the system's ANSI code page (the Japanese, Chinese and
// Korean ones have such characters); a cut must never fall between the two.
using LeadByteTest = bool (*)(unsigned char);
inline bool NoLeadBytes(unsigned char) { return false; }

// The text, or when it is longer than `most` bytes as much of it as fits with "..." after it: cut after the last
// whole word that fits, or within a word that alone is too long, never inside a character.
std::string CutText(std::string_view text, std::size_t most, LeadByteTest leadByte);

} // namespace ambervale
