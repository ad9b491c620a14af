#include "logging/StoredNumber.h"

#include <string>

#include "base/AppError.h"
#include "base/Text.h"

namespace ambervale {

std::int16_t StoredTextToInt16(std::string_view text) {
    text = TrimBlanks(text, " \t");
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) throw AppError(std::string(kErrTypeMismatch));
    for (char c : text) {
        if (!IsAsciiDigit(c)) throw AppError(std::string(kErrTypeMismatch));
    }
    // Every character is a digit: only the magnitude can still be wrong. It is capped as it is
    // read, so a number of any length stays within the accumulator.
    const std::int32_t limit = negative ? 32768 : 32767;
    std::int32_t magnitude = 0;
    for (char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) throw AppError(std::string(kErrOverflow));
    }
    return static_cast<std::int16_t>(negative ? -magnitude : magnitude);
}

} // namespace ambervale
