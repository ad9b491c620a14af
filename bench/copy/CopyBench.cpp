// Times the history copy (the file read into the clipboard block, handed to the clipboard with its
// locale) beside reading the same file alone and beside handing a ready block of that size to the
// clipboard (the floor that no copy can go under), for histories of 1, 10 and 100 MB; with the copy's
// peak memory and what the process keeps once the copy is done. Every measurement runs in a child
// process of its own, so one size's figures do not hide the next; peaks and what is kept are growth
// over the child's own start, over repeated copies.
// Usage: ambervale_bench_copy [sizes in MB...]     (default: 1 10 100)
//        ambervale_bench_copy --largest            the largest history one copy takes, and a repeated
//                                                  copy (the previous one still on the clipboard)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/WinHandles.h"
#include "history/WinClipboard.h"

namespace {

using ambervale::win::UniqueFile;
using ambervale::win::UniqueGlobal;
using ambervale::win::UniqueKernelObject;

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
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < bytes; done += chunk.size()) {
        DWORD written = 0;
        ok = WriteFile(file.get(), chunk.data(), static_cast<DWORD>(std::min(chunk.size(), bytes - done)), &written,
                       nullptr) != 0;
    }
    return ok;
}

// A file of that size at once, without writing it (its bytes read as zeros): for the size limits only.
bool WriteSparseHistory(const std::string& path, std::size_t bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes);
    return file && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
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
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

// True when the clipboard holds the whole text of that many bytes, with a locale.
bool ClipboardHoldsWholeText(std::size_t bytes) {
    if (!OpenClipboard(nullptr)) return false;
    bool whole = false;
    if (HANDLE text = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(text))) {
            whole = GlobalSize(text) > bytes && std::strlen(chars) == bytes;
            GlobalUnlock(text);
        }
    }
    const bool locale = GetClipboardData(CF_LOCALE) != nullptr;
    CloseClipboard();
    return whole && locale;
}

// The floor of any copy: handing a ready CF_TEXT block of this size and its locale to the clipboard.
// Only the clipboard calls are timed.
double SetReadyBlock(HWND owner, std::size_t bytes) {
    UniqueGlobal text(GlobalAlloc(GMEM_MOVEABLE, bytes + 1));
    UniqueGlobal locale(GlobalAlloc(GMEM_MOVEABLE, sizeof(LCID)));
    if (!text || !locale) return -1.0;
    auto* chars = static_cast<char*>(GlobalLock(text.get()));
    std::memset(chars, 'a', bytes);
    chars[bytes] = '\0';
    GlobalUnlock(text.get());
    *static_cast<LCID*>(GlobalLock(locale.get())) = GetUserDefaultLCID();
    GlobalUnlock(locale.get());
    return Timed([&] {
        if (!OpenClipboard(owner)) return false;
        EmptyClipboard();
        const bool ok = SetClipboardData(CF_TEXT, text.get()) != nullptr;
        if (ok) text.release();
        if (SetClipboardData(CF_LOCALE, locale.get()) != nullptr) locale.release();
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

// Child: runs one operation `repeats` times and prints
// "median_ms peak_working_set_growth kept_working_set kept_private", growth in bytes over its start.
// Mode "limit" copies a sparse file and only says whether every copy went through.
int RunChild(const char* mode, int megabytes, int repeats) {
    const std::string path = BenchFilePath(megabytes);
    const std::size_t bytes = static_cast<std::size_t>(megabytes) * kMegabyte;
    HWND owner = CreateWindowExA(0, "STATIC", "copy bench", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ambervale::WinClipboardBuffer buffer(owner);
    const PROCESS_MEMORY_COUNTERS before = Memory();
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        double ms = -1.0;
        if (std::strcmp(mode, "read") == 0) {
            ms = Timed([&] { return ReadAlone(path); });
        } else if (std::strcmp(mode, "set") == 0) {
            ms = SetReadyBlock(owner, bytes);
        } else {
            ms = Timed([&] { return Copy(buffer, path); });
        }
        if (ms < 0) return 1;
        times.push_back(ms);
    }
    if (std::strcmp(mode, "copy") == 0 && !ClipboardHoldsWholeText(bytes)) {
        std::fprintf(stderr, "the clipboard does not hold the whole %d MB text\n", megabytes);
        return 2;
    }
    const PROCESS_MEMORY_COUNTERS after = Memory();
    std::sort(times.begin(), times.end());
    std::printf("%.3f %lld %lld %lld\n", times[times.size() / 2],
                static_cast<long long>(after.PeakWorkingSetSize) - static_cast<long long>(before.WorkingSetSize),
                static_cast<long long>(after.WorkingSetSize) - static_cast<long long>(before.WorkingSetSize),
                static_cast<long long>(after.PagefileUsage) - static_cast<long long>(before.PagefileUsage));
    std::fflush(stdout);
    DestroyWindow(owner);
    return 0;
}

struct ChildResult {
    double medianMs = 0;
    double peakWorkingSetMb = 0;
    double keptWorkingSetMb = 0;
    double keptPrivateMb = 0;
};

// Runs this program as a child in that mode; false when it failed.
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
    UniqueKernelObject readEnd(rawRead);
    UniqueKernelObject writeEnd(rawWrite);
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
    UniqueKernelObject process(child.hProcess);
    UniqueKernelObject thread(child.hThread);
    writeEnd.reset();  // the child holds the only write end now, so its exit ends the reading
    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
    WaitForSingleObject(process.get(), INFINITE);
    long long peak = 0;
    long long keptWorkingSet = 0;
    long long keptPrivate = 0;
    if (std::sscanf(output.c_str(), "%lf %lld %lld %lld", &result.medianMs, &peak, &keptWorkingSet, &keptPrivate) !=
        4) {
        return false;
    }
    result.peakWorkingSetMb = static_cast<double>(peak) / kMegabyte;
    result.keptWorkingSetMb = static_cast<double>(keptWorkingSet) / kMegabyte;
    result.keptPrivateMb = static_cast<double>(keptPrivate) / kMegabyte;
    return true;
}

int MeasureSizes(const std::vector<int>& sizes) {
    std::printf("%6s %8s %8s %8s %6s %8s %9s %7s %12s %12s\n", "size", "read ms", "set ms", "copy ms", "ratio",
                "own part", "peak MB", "peak/f", "kept WS MB", "kept priv MB");
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
        // Once unmeasured, so all start from a file in the system's cache.
        ReadAlone(path);
        if (!RunInChild("read", megabytes, repeats, read) || !RunInChild("set", megabytes, repeats, set) ||
            !RunInChild("copy", megabytes, repeats, copy)) {
            std::fprintf(stderr, "the %d MB measurement failed\n", megabytes);
            status = 1;
        } else {
            // The own part: what the copy takes beyond the clipboard's floor, against the read alone.
            std::printf("%4d MB %8.1f %8.1f %8.1f %6.2f %8.2f %9.1f %7.2f %5.1f (%4.1f) %5.1f (%4.1f)\n", megabytes,
                        read.medianMs, set.medianMs, copy.medianMs, copy.medianMs / read.medianMs,
                        (copy.medianMs - set.medianMs) / read.medianMs, copy.peakWorkingSetMb,
                        copy.peakWorkingSetMb / megabytes, copy.keptWorkingSetMb, set.keptWorkingSetMb,
                        copy.keptPrivateMb, set.keptPrivateMb);
        }
        DeleteFileA(path.c_str());
    }
    std::printf("ratio: copy / read; own part: (copy - set) / read; peak: working set growth during the copies;\n"
                "kept: growth after the last copy, with the floor's (a ready block handed over) in brackets\n");
    return status;
}

// The largest size in megabytes, in 16 MB steps between the two bounds, for which `copies` copies in
// a row of a sparse history go through.
int LargestCopied(int copies, int low, int high) {
    while (high - low > 16) {
        const int middle = (low + high) / 2;
        const std::string path = BenchFilePath(middle);
        ChildResult ignored;
        const bool ok = WriteSparseHistory(path, static_cast<std::size_t>(middle) * kMegabyte) &&
                        RunInChild("limit", middle, copies, ignored);
        DeleteFileA(path.c_str());
        (ok ? low : high) = middle;
    }
    return low;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0) {
        return RunChild(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    }
    if (argc == 2 && std::strcmp(argv[1], "--largest") == 0) {
        std::printf("largest history copied: %d MB once, %d MB twice in a row (to 16 MB)\n",
                    LargestCopied(1, 0, 2048), LargestCopied(2, 0, 2048));
        return 0;
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1, 10, 100};
    return MeasureSizes(sizes);
}
