#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ambervale {

// Drops the name's last blank-separated word when it equals word exactly (any last word when
// word is empty), trimming blanks from what is left; any other name comes back unchanged.
std::string RemoveSuffixWord(std::string_view name, std::string_view word);

// Removes the characters that cannot or should not appear in a file name.
std::string StripFileNameChars(std::string_view name);

// The history file's full path: TEMP, a backslash, the product's file name and ".txt". With TEMP
// unset the file lands in the root of the current drive.
std::string ComposeHistoryFilePath(const std::optional<std::string>& temp);

} // namespace ambervale
