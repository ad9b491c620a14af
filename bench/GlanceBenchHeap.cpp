// Every operator new and delete of the benchmark counted, in a file of its own so that no caller inlines them.
#include "GlanceBenchHeap.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

std::atomic<std::size_t> heapNow{0};
std::atomic<std::size_t> heapPeak{0};

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    const std::size_t now = heapNow += malloc_usable_size(block);
    std::size_t peak = heapPeak;
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block) heapNow -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
