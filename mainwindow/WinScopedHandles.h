#pragma once
#include <windows.h>

#include "mainwindow/WinHandles.h"

namespace ambervale {

using OwnedFile = win::UniqueFile;
using OwnedKernelObject = win::UniqueKernelObject;
using OwnedGlobal = win::UniqueGlobal;

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
