#pragma once
#include <cstdint>
#include <string>

#include "eventlog/Event.h"

namespace ambervale {

// The status as events name it: the words of the report's status line, each without its blanks, joined by ", ";
// "Ready" when there are none.
std::string EventStatusText(std::uint32_t status);

// The level of the status's worst word: Error for a word that means the printer cannot print (and for an unknown
// status), Warning for one that needs attention soon, Information when no word is a problem.
EventLevel StatusLevel(std::uint32_t status);

// Seconds as people read a duration: its two largest units, the smaller left out when 0 ("45 s", "12 min",
// "2 h 13 min", "3 d 4 h"). A negative count reads as 0 s.
std::string DurationText(std::int64_t seconds);

} // namespace ambervale
