#include "mainwindow/WinClipboard.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/AppError.h"
#include "base/WinLastError.h"

namespace ambervale {

using win::GlobalLockGuard;
using win::UniqueFile;
using win::UniqueGlobal;

namespace {

constexpr char kOutOfMemory[] = "Out of memory";
constexpr DWORD kReadChunkBytes = 16u << 20;

// Another program may hold the clipboard open for a moment.
constexpr int kOpenClipboardAttempts = 10;
constexpr DWORD kOpenClipboardPauseMs = 20;

class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        for (int attempt = 0; attempt < kOpenClipboardAttempts; ++attempt) {
            if (OpenClipboard(owner)) return;
            Sleep(kOpenClipboardPauseMs);
        }
        throw AppError("Can't open Clipboard");
    }
    ~ClipboardSession() { CloseClipboard(); }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
};

UniqueGlobal AllocateMovable(std::size_t bytes) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block) throw AppError(kOutOfMemory);
    return block;
}

// Hands the block to the clipboard; on failure the block stays ours and is freed.
void SetClipboardBlock(UINT format, UniqueGlobal& block) {
    if (SetClipboardData(format, block.get()) == nullptr) throw AppError("Can't set Clipboard data");
    block.release();
}

} // namespace

void WinClipboardBuffer::Clear() {
    text_.reset();
    length_ = 0;
    selectionStart_ = 0;
    selectionLength_ = 0;
}

void WinClipboardBuffer::LoadTextFile(const std::string& path) {
    Clear();
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) ThrowLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) ThrowLastError();
    // The text's length must fit the conversion's int count, with room for the terminating zero.
    if (size.QuadPart >= INT_MAX) throw AppError(kOutOfMemory);
    const auto expected = static_cast<std::size_t>(size.QuadPart);

    UniqueGlobal block = AllocateMovable(expected + 1);
    std::size_t total = 0;
    {
        GlobalLockGuard lock(block.get());
        auto* bytes = static_cast<char*>(lock.Data());
        if (bytes == nullptr) throw AppError(kOutOfMemory);
        while (total < expected) {
            const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(expected - total, kReadChunkBytes));
            DWORD got = 0;
            if (!ReadFile(file.get(), bytes + total, wanted, &got, nullptr)) ThrowLastError();
            if (got == 0) break;  // the file was shortened since its size was read
            total += got;
        }
        bytes[total] = '\0';
    }
    text_ = std::move(block);
    length_ = total;
}

void WinClipboardBuffer::SetSelectionStart(std::size_t start) {
    selectionStart_ = std::min(start, length_);
    selectionLength_ = 0;
}

void WinClipboardBuffer::SetSelectionLength(std::size_t length) {
    selectionLength_ = std::min(length, length_ - selectionStart_);
}

// The block goes to the clipboard as it is, so a partial selection is moved to its front in place.
void WinClipboardBuffer::MoveSelectionToFront() {
    GlobalLockGuard lock(text_.get());
    auto* bytes = static_cast<char*>(lock.Data());
    if (bytes == nullptr) throw AppError(kOutOfMemory);
    if (selectionStart_ > 0) std::memmove(bytes, bytes + selectionStart_, selectionLength_);
    bytes[selectionLength_] = '\0';
    length_ = selectionLength_;
    selectionStart_ = 0;
}

UniqueGlobal WinClipboardBuffer::ConvertToUnicode(HGLOBAL ansiText, std::size_t length) {
    GlobalLockGuard source(ansiText);
    const auto* bytes = static_cast<const char*>(source.Data());
    if (bytes == nullptr) throw AppError(kOutOfMemory);
    const int count = static_cast<int>(length);
    const int wideCount = MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0);
    if (wideCount <= 0) ThrowLastError();

    UniqueGlobal wide = AllocateMovable((static_cast<std::size_t>(wideCount) + 1) * sizeof(wchar_t));
    GlobalLockGuard target(wide.get());
    auto* chars = static_cast<wchar_t*>(target.Data());
    if (chars == nullptr) throw AppError(kOutOfMemory);
    if (MultiByteToWideChar(CP_ACP, 0, bytes, count, chars, wideCount) != wideCount) ThrowLastError();
    chars[wideCount] = L'\0';
    return wide;
}

void WinClipboardBuffer::CopySelection() {
    if (selectionLength_ == 0 || text_.get() == nullptr) return;
    if (selectionStart_ > 0 || selectionLength_ < length_) MoveSelectionToFront();
    const std::size_t length = selectionLength_;

    ClipboardSession clipboard(owner_);
    // Emptying first lets go of the previous clipboard data before the UTF-16 block is made: that
    // data may still live in this process, and a repeated copy would otherwise hold it twice.
    if (!EmptyClipboard()) throw AppError("Can't empty Clipboard");
    // The ANSI text goes first, so that a conversion that runs out of memory still leaves the
    // whole text on the clipboard (Windows then converts it on request). The block stays
    // readable until the clipboard is closed.
    const HGLOBAL ansiText = text_.get();
    SetClipboardBlock(CF_TEXT, text_);
    Clear();
    UniqueGlobal wide = ConvertToUnicode(ansiText, length);
    SetClipboardBlock(CF_UNICODETEXT, wide);
}

} // namespace ambervale
