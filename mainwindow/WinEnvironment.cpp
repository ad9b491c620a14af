#include "mainwindow/WinEnvironment.h"

#include <windows.h>

#include <vector>

#include "logging/WinHistoryFile.h"
#include "base/WinHandles.h"

namespace ambervale::win {

std::string ExecutablePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);  // a long path was cut: ask again with more room
    }
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
    WIN32_FIND_DATAA data;
    UniqueFind find(FindFirstFileA(path.c_str(), &data));
    if (!find) return false;
    const DWORD notListed = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    do {
        if (!(data.dwFileAttributes & notListed)) return true;
    } while (FindNextFileA(find.get(), &data));
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
