#pragma once
#include <atomic>
#include <cstddef>

// The heap that operator new holds now, and the most it has held since heapPeak was last set.
extern std::atomic<std::size_t> heapNow;
extern std::atomic<std::size_t> heapPeak;
