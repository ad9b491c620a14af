#pragma once
#include <windows.h>

#include "mainwindow/WinHandles.h"

namespace ambervale {

// An open file: CreateFileA reports failure as INVALID_HANDLE_VALUE.
struct OpenFileTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
// A process or thread handle: null when there is none.
struct KernelObjectTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseHandle(h); }
};
// A global memory block, owned until release() hands it to its next owner (the clipboard).
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { GlobalFree(h); }
};

using OwnedFile = win::UniqueHandle<OpenFileTraits>;
using OwnedKernelObject = win::UniqueHandle<KernelObjectTraits>;
using OwnedGlobal = win::UniqueHandle<GlobalMemoryTraits>;

// Keeps a movable global block locked for as long as its address is in use.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~GlobalLockGuard() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    void* Data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

} // namespace ambervale
