#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace ambervale {

inline constexpr std::size_t kCountdownLength = 8; // "hh:mm:ss"

// The seconds as a time of day, "hh:mm:ss" (hours 00 to 23: a whole day wraps to 00:00:00).
// A negative count is shown as 00:00:00: a countdown never shows time past its end.
std::string FormatCountdown(std::int32_t seconds);

// The same text written over the kCountdownLength characters at `out`; lets the tick update
// its caption in place, once a second for as long as the program runs.
void WriteCountdown(char* out, std::int32_t seconds);

} // namespace ambervale
