#include "app/WinEnvironment.h"

#include <windows.h>

#include <optional>

#include "base/WinHandles.h"
#include "base/WinSizedCall.h"
#include "base/WinText.h"
#include "history/WinHistoryFile.h"

namespace ambervale::win {

std::string ExecutablePath() {
    const auto path = AskSizeThenFill<wchar_t>(
        [](wchar_t* buffer, std::size_t size) -> std::optional<std::size_t> {
            const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
            if (length == 0) return std::nullopt;
            // A path that fills the whole buffer was cut, and the call does not say how long it is.
            return length < size ? length : size * 2;
        },
        MAX_PATH, 8);
    return path ? Utf8FromWide(std::wstring_view(path->data(), path->size())) : std::string();
}

std::string WinEnvironment::ProgramFolder() {
    std::string path = ExecutablePath();
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return {};
    path.erase(slash);
    return path;
}

std::optional<std::string> WinEnvironment::TempFolder() { return ReadTempVariable(); }

bool WinEnvironment::FileListed(const std::string& path) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(WideFromUtf8(path).c_str(), &data));
    if (!find) return false;
    const DWORD notListed = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    do {
        if (!(data.dwFileAttributes & notListed)) return true;
    } while (FindNextFileW(find.get(), &data));
    return false;
}

void WinRandom::SeedFromTimeOfDay() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const unsigned seed = ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
    engine_.seed(seed + 1);  // the engine's seed must not be 0
}

double WinRandom::NextFraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

} // namespace ambervale::win
