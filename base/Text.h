#pragma once
#include <string_view>

namespace ambervale {

// The text without any of `blanks` at either end; all of it blank gives the empty text.
constexpr std::string_view TrimBlanks(std::string_view text, std::string_view blanks = " ") {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// One of the ten digits 0 to 9, whatever the locale says.
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace ambervale
