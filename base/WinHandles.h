#pragma once
#include <windows.h>

#include <utility>

namespace ambervale::win {

// One owner for one handle: closed exactly once, when the owner goes; moving hands it on, copying is impossible.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = h;
    }

private:
    Handle handle_ = Traits::Invalid();
};

// Most handles are null when there are none and are closed by one call. A failed close leaves nothing to repair:
// the handle is gone from this process either way.
template <class H, auto close>
struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { static_cast<void>(close(h)); }
};
// CreateFileA and FindFirstFileA report failure as INVALID_HANDLE_VALUE instead.
template <auto close>
struct InvalidValueTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { static_cast<void>(close(h)); }
};

// A window of this program's own; one that its owner window has already taken down with it is left alone.
inline BOOL DestroyOwnWindow(HWND hwnd) { return IsWindow(hwnd) && DestroyWindow(hwnd); }

using UniqueFind = UniqueHandle<InvalidValueTraits<&FindClose>>;
using UniqueFile = UniqueHandle<InvalidValueTraits<&CloseHandle>>;
// A process or thread: null when there is none.
using UniqueKernelObject = UniqueHandle<NullHandleTraits<HANDLE, &CloseHandle>>;
// A global memory block, owned until release() hands it to its next owner (the clipboard).
using UniqueGlobal = UniqueHandle<NullHandleTraits<HGLOBAL, &GlobalFree>>;
using UniqueRegKey = UniqueHandle<NullHandleTraits<HKEY, &RegCloseKey>>;
// The program's event source, from RegisterEventSourceW.
using UniqueEventSource = UniqueHandle<NullHandleTraits<HANDLE, &DeregisterEventSource>>;
// Memory that a system call allocated with LocalAlloc for the caller to free.
using UniqueLocalMemory = UniqueHandle<NullHandleTraits<HLOCAL, &LocalFree>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, &DeleteObject>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, &DeleteObject>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, &DeleteObject>>;
using UniqueCursor = UniqueHandle<NullHandleTraits<HCURSOR, &DestroyCursor>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, &DestroyIcon>>;
using UniqueMemoryDc = UniqueHandle<NullHandleTraits<HDC, &DeleteDC>>;
using UniqueWindow = UniqueHandle<NullHandleTraits<HWND, &DestroyOwnWindow>>;

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

// Puts a GDI object into a device context for one scope and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace ambervale::win
