#pragma once
// Entries of several kinds timed in interleaved batches: the wall time per entry of each batch, and this process's
// CPU time over all of them (Wine gives the CPU time of the calling process only, so the entries are made here).
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace ambervale::bench {

inline double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User and kernel time of a process, in seconds.
inline double CpuSeconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto value = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct EntryTimes {
    const char* what;
    std::function<void()> prepare;  // sets the world up for this kind
    std::function<void()> entry;
    int perBatch;
    std::vector<double> microseconds;
    double cpuSeconds = 0;
    int entries = 0;
    std::function<void()> after = nullptr;  // puts the world back, where the kind changed more than the next one sets
};

inline void RunBatch(EntryTimes& kind) {
    kind.prepare();
    const double cpuStart = CpuSeconds(GetCurrentProcess());
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kind.perBatch; ++i) kind.entry();
    QueryPerformanceCounter(&end);
    kind.cpuSeconds += CpuSeconds(GetCurrentProcess()) - cpuStart;
    kind.entries += kind.perBatch;
    kind.microseconds.push_back(Seconds(start, end) * 1e6 / kind.perBatch);
    if (kind.after) kind.after();
}

// Forgets the figures of a warming batch.
inline void ForgetFigures(std::vector<EntryTimes>& kinds) {
    for (EntryTimes& kind : kinds) {
        kind.microseconds.clear();
        kind.cpuSeconds = 0;
        kind.entries = 0;
    }
}

} // namespace ambervale::bench
