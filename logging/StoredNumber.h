#pragma once
#include <cstdint>
#include <string_view>

namespace ambervale {

// Error descriptions in the words the program's error boxes have always used.
inline constexpr std::string_view kErrTypeMismatch = "Type mismatch";
inline constexpr std::string_view kErrOverflow = "Overflow";

// A stored number as a 16-bit integer. Blanks (spaces, tabs) around it and one leading sign are
// accepted, as settings edited by hand often carry them; any other text throws AppError
// "Type mismatch", a number outside -32768 to 32767 (however long) throws AppError "Overflow".
std::int16_t StoredTextToInt16(std::string_view text);

} // namespace ambervale
