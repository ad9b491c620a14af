#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ambervale::win {

// No text the program stores or reads comes near this; a larger value is damage, and reading it would only waste
// memory.
inline constexpr std::size_t kMaxRegistryTextBytes = 64 * 1024;

// The text of a REG_SZ value of an open key, or nullopt when it is absent, of another type, larger than maxBytes or
// unreadable. A string stored without its terminating zero, or with bytes after an embedded one, reads up to the
// first zero. Reading changes nothing.
std::optional<std::string> ReadRegistryText(HKEY key, const std::string& valueName,
                                            std::size_t maxBytes = kMaxRegistryTextBytes);

// The same for a value read as UTF-16, for text that the ANSI code page may not spell (a path).
std::optional<std::wstring> ReadRegistryWideText(HKEY key, const std::wstring& valueName,
                                                 std::size_t maxBytes = kMaxRegistryTextBytes);

// The number of a REG_DWORD value of an open key, or nullopt when it is absent, of another type or of another size.
std::optional<std::uint32_t> ReadRegistryNumber(HKEY key, const std::string& valueName);

} // namespace ambervale::win
