#include "logging/Countdown.h"

namespace ambervale {
namespace {

constexpr std::int32_t kSecondsPerDay = 86400;

void PutTwoDigits(char* out, std::int32_t value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
}

} // namespace

void WriteCountdown(char* out, std::int32_t seconds) {
    const std::int32_t ofDay = seconds > 0 ? seconds % kSecondsPerDay : 0;
    PutTwoDigits(out, ofDay / 3600);
    out[2] = ':';
    PutTwoDigits(out + 3, ofDay / 60 % 60);
    out[5] = ':';
    PutTwoDigits(out + 6, ofDay % 60);
}

std::string FormatCountdown(std::int32_t seconds) {
    std::string text(kCountdownLength, '0');
    WriteCountdown(text.data(), seconds);
    return text;
}

} // namespace ambervale
