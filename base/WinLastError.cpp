#include "base/WinLastError.h"

#include <windows.h>

#include "base/AppError.h"

namespace ambervale {

std::string SystemErrorText(unsigned long code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, text, sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' ')) {
        result.pop_back();
    }
    if (result.empty()) result = "Error " + std::to_string(code);
    return result;
}

void ThrowLastError() {
    throw AppError(SystemErrorText(GetLastError()));
}

} // namespace ambervale
