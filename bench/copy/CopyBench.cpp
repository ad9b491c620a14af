// Times the history copy (load into the clipboard block, convert, set the clipboard) beside reading
// the same file alone and beside handing ready blocks of that size to the clipboard (the floor that
// no copy can go under), for histories of 1, 10 and 100 MB, with the copy's peak memory. Every
// measurement runs in a child process of its own, so one size's peak does not hide the next; the
// peaks are growth over the child's own start and cover repeated copies.
// Usage: ambervale_bench_copy [sizes in MB...]        (default: 1 10 100)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/WinClipboard.h"
#include "base/WinHandles.h"

namespace {

constexpr std::size_t kMegabyte = 1u << 20;

std::string BenchFilePath(int megabytes) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "AmbervaleCopyBench-" + std::to_string(megabytes) + "MB.txt";
}

// Log lines as the program writes them, some with bytes outside ASCII.
bool WriteHistory(const std::string& path, std::size_t bytes) {
    const std::string lines = "12/6/2026 8:15:04 PM Printer Status = Ready; Printer Name = Caf\xE9 Printer; "
                              "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; \r\n"
                              "12/6/2026 8:15:09 PM Printer Status = Paused  ; Printer Name = Front Desk; "
                              "Printer Driver Name = Generic Laser; Printer Port Name = LPT1:; \r\n";
    std::string chunk;
    while (chunk.size() < kMegabyte) chunk += lines;
    chunk.resize(kMegabyte);
    ambervale::win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes; done += chunk.size()) {
        DWORD written = 0;
        ok = WriteFile(file.get(), chunk.data(), static_cast<DWORD>(std::min(chunk.size(), bytes - done)), &written,
                       nullptr) != 0;
    }
    return ok;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Runs an operation and returns its time in milliseconds, or a negative number when it failed.
template <class Operation>
double Timed(Operation&& operation) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    const bool ok = operation();
    QueryPerformanceCounter(&end);
    return ok ? Milliseconds(start, end) : -1.0;
}

// The reference: open the file and read it whole into a fresh block, as the copy's load does.
bool ReadAlone(const std::string& path) {
    ambervale::win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    const auto expected = static_cast<std::size_t>(size.QuadPart);
    std::unique_ptr<char[]> bytes(new char[expected + 1]);
    std::size_t total = 0;
    DWORD got = 0;
    while (total < expected &&
           ReadFile(file.get(), bytes.get() + total, static_cast<DWORD>(std::min<std::size_t>(expected - total, 16u << 20)),
                    &got, nullptr) &&
           got > 0) {
        total += got;
    }
    bytes[total] = '\0';
    return total == expected;
}

// The copy command's steps 102 to 108 on the real clipboard.
bool Copy(ambervale::WinClipboardBuffer& buffer, const std::string& path) {
    try {
        buffer.LoadTextFile(path);
        buffer.SetSelectionStart(0);
        buffer.SetSelectionLength(buffer.TextLength());
        buffer.CopySelection();
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "copy failed: %s\n", e.what());
        return false;
    }
}

// The floor of any copy: handing ready CF_TEXT and CF_UNICODETEXT blocks of this size to the
// clipboard. Only the clipboard calls are timed.
double SetReadyBlocks(HWND owner, std::size_t bytes) {
    HGLOBAL ansi = GlobalAlloc(GMEM_MOVEABLE, bytes + 1);
    HGLOBAL wide = GlobalAlloc(GMEM_MOVEABLE, (bytes + 1) * sizeof(wchar_t));
    if (ansi == nullptr || wide == nullptr) return -1.0;
    auto* text = static_cast<char*>(GlobalLock(ansi));
    std::memset(text, 'a', bytes);
    text[bytes] = '\0';
    GlobalUnlock(ansi);
    auto* chars = static_cast<wchar_t*>(GlobalLock(wide));
    std::fill(chars, chars + bytes, L'a');
    chars[bytes] = L'\0';
    GlobalUnlock(wide);
    return Timed([&] {
        if (!OpenClipboard(owner)) return false;
        EmptyClipboard();
        const bool ok = SetClipboardData(CF_TEXT, ansi) != nullptr && SetClipboardData(CF_UNICODETEXT, wide) != nullptr;
        CloseClipboard();
        return ok;
    });
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

// Child: runs one operation `repeats` times and prints "median_ms peak_ws_growth peak_pagefile_growth".
int RunChild(const char* mode, int megabytes, int repeats) {
    const std::string path = BenchFilePath(megabytes);
    HWND owner = CreateWindowExA(0, "STATIC", "copy bench", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ambervale::WinClipboardBuffer buffer(owner);
    const PROCESS_MEMORY_COUNTERS before = Memory();
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        double ms = -1.0;
        if (std::strcmp(mode, "copy") == 0) {
            ms = Timed([&] { return Copy(buffer, path); });
        } else if (std::strcmp(mode, "read") == 0) {
            ms = Timed([&] { return ReadAlone(path); });
        } else {
            ms = SetReadyBlocks(owner, static_cast<std::size_t>(megabytes) * kMegabyte);
        }
        if (ms < 0) return 1;
        times.push_back(ms);
    }
    const PROCESS_MEMORY_COUNTERS after = Memory();
    std::sort(times.begin(), times.end());
    std::printf("%.3f %zu %zu\n", times[times.size() / 2],
                static_cast<std::size_t>(after.PeakWorkingSetSize - before.WorkingSetSize),
                static_cast<std::size_t>(after.PeakPagefileUsage - before.PagefileUsage));
    std::fflush(stdout);
    DestroyWindow(owner);
    return 0;
}

struct ChildResult {
    double medianMs = 0;
    double peakWorkingSetMb = 0;
    double peakPagefileMb = 0;
};

bool RunInChild(const char* mode, int megabytes, int repeats, ChildResult& result) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine;
    commandLine.append("\"").append(self).append("\" --child ").append(mode);
    commandLine.append(" ").append(std::to_string(megabytes)).append(" ").append(std::to_string(repeats));
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE rawRead = nullptr;
    HANDLE rawWrite = nullptr;
    if (!CreatePipe(&rawRead, &rawWrite, &inheritable, 0)) return false;
    ambervale::win::UniqueKernelObject readEnd(rawRead);
    ambervale::win::UniqueKernelObject writeEnd(rawWrite);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION child{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
        return false;
    }
    ambervale::win::UniqueKernelObject process(child.hProcess);
    ambervale::win::UniqueKernelObject thread(child.hThread);
    writeEnd.reset();  // the child holds the only write end now, so its exit ends the reading
    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
    WaitForSingleObject(process.get(), INFINITE);
    unsigned long long workingSet = 0;
    unsigned long long pagefile = 0;
    if (std::sscanf(output.c_str(), "%lf %llu %llu", &result.medianMs, &workingSet, &pagefile) != 3) {
        return false;
    }
    result.peakWorkingSetMb = static_cast<double>(workingSet) / kMegabyte;
    result.peakPagefileMb = static_cast<double>(pagefile) / kMegabyte;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0) {
        return RunChild(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1, 10, 100};

    std::printf("%6s %9s %9s %9s %7s %11s %11s %8s %8s\n", "size", "read ms", "set ms", "copy ms", "ratio",
                "peak WS MB", "peak PF MB", "WS/file", "PF/file");
    int status = 0;
    for (int megabytes : sizes) {
        const std::string path = BenchFilePath(megabytes);
        if (!WriteHistory(path, static_cast<std::size_t>(megabytes) * kMegabyte)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        const int repeats = megabytes >= 100 ? 5 : megabytes >= 10 ? 9 : 21;
        ChildResult read;
        ChildResult set;
        ChildResult copy;
        // Once unmeasured, so both start from a file in the system's cache.
        ReadAlone(path);
        if (!RunInChild("read", megabytes, repeats, read) || !RunInChild("set", megabytes, repeats, set) ||
            !RunInChild("copy", megabytes, repeats, copy)) {
            std::fprintf(stderr, "the %d MB measurement failed\n", megabytes);
            status = 1;
        } else {
            std::printf("%4d MB %9.2f %9.2f %9.2f %7.2f %11.1f %11.1f %8.2f %8.2f\n", megabytes, read.medianMs,
                        set.medianMs, copy.medianMs, copy.medianMs / read.medianMs, copy.peakWorkingSetMb,
                        copy.peakPagefileMb, copy.peakWorkingSetMb / megabytes, copy.peakPagefileMb / megabytes);
            std::printf("        (read alone: peak WS %.1f MB, peak PF %.1f MB)\n", read.peakWorkingSetMb,
                        read.peakPagefileMb);
        }
        DeleteFileA(path.c_str());
    }
    return status;
}
