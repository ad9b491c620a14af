#include "mainwindow/Main.h"

#include <algorithm>
#include <cmath>

namespace ambervale {

std::string AppTitleOf(std::string_view productName) {
    std::string title(productName);
    constexpr std::size_t kMaxTitle = 40;
    bool cut = false;
    while (!cut || title.size() > kMaxTitle) {
        const auto blank = title.rfind(' ');
        if (blank == std::string::npos) break;
        title.erase(blank);
        cut = true;
    }
    return title;
}

int DrawOneToHundred(double fraction) {
    // A fraction outside [0, 1) from a faulty source still draws a number in range.
    const double clamped = std::clamp(fraction, 0.0, 0.99999999);
    return static_cast<int>(std::floor(clamped * 100.0)) + 1;
}

} // namespace ambervale
