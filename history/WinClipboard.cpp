#include "history/WinClipboard.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/AppError.h"
#include "base/WinLastError.h"
#include "base/WinText.h"

namespace ambervale {

using win::GlobalLockGuard;
using win::UniqueFile;
using win::UniqueGlobal;

namespace {

constexpr char kOutOfMemory[] = "Out of memory";
constexpr DWORD kReadChunkBytes = 16u << 20;

// The longest text a copy takes, in bytes. No build goes past 2 GB: a pasting program gets the text converted by
// MultiByteToWideChar, whose counts are ints, so a longer one could be set but never pasted whole. The 32-bit
// build keeps to a quarter of its 4 GB address space: the program must go on logging beside the text, the
// clipboard's data may stay in the process while the program owns the clipboard (it does on Wine), and the next
// copy needs a block of its own beside it.
constexpr std::size_t kLongestText = sizeof(void*) == 4 ? (std::size_t{1} << 30) - 1 : INT_MAX - 1;

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

// Zero-filled, so that no byte of the process's earlier memory can follow the text onto the clipboard,
// whatever the block's real size.
UniqueGlobal AllocateZeroed(std::size_t bytes) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!block) throw AppError(kOutOfMemory);
    return block;
}

// The locale the system converts the ANSI text by when a program asks for the Unicode text: the one whose code page
// the text is in, the system's (the spooler's names and the date and time are all in the ANSI code page), not the
// user's, which may have another.
UniqueGlobal AnsiCodePageLocaleBlock() {
    UniqueGlobal block = AllocateZeroed(sizeof(LCID));
    GlobalLockGuard lock(block.get());
    if (lock.Data() == nullptr) throw AppError(kOutOfMemory);
    const LCID locale = GetSystemDefaultLCID();
    std::memcpy(lock.Data(), &locale, sizeof locale);
    return block;
}

} // namespace

void WinClipboardBuffer::Clear() {
    text_.reset();
    length_ = 0;
    selectionLength_ = 0;
}

void WinClipboardBuffer::LoadTextFile(const std::string& path) {
    Clear();
    UniqueFile file(CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) ThrowLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) ThrowLastError();
    if (static_cast<unsigned long long>(size.QuadPart) > kLongestText) throw AppError(kOutOfMemory);
    const auto expected = static_cast<std::size_t>(size.QuadPart);

    UniqueGlobal block = AllocateZeroed(expected + 1);
    std::size_t total = 0;
    {
        GlobalLockGuard lock(block.get());
        auto* bytes = static_cast<char*>(lock.Data());
        if (bytes == nullptr) throw AppError(kOutOfMemory);
        while (total < expected) {
            const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(expected - total, kReadChunkBytes));
            DWORD got = 0;
            if (!ReadFile(file.get(), bytes + total, wanted, &got, nullptr)) ThrowLastError();
            if (got == 0) break;  // the file was shortened since its size was read; the rest stays zero
            total += got;
        }
    }
    text_ = std::move(block);
    length_ = total;
}

// Only the whole text is ever selected from its start, which lets the loaded block itself go to the
// clipboard.
void WinClipboardBuffer::SetSelectionStart(std::size_t start) {
    if (start != 0) throw AppError("Invalid property value");
    selectionLength_ = 0;
}

void WinClipboardBuffer::SetSelectionLength(std::size_t length) { selectionLength_ = std::min(length, length_); }

void WinClipboardBuffer::CopySelection() {
    if (selectionLength_ == 0 || !text_) return;
    // The block leaves the buffer now: whatever happens below, the process keeps no copy of the text
    // beyond what the clipboard takes.
    UniqueGlobal text = std::move(text_);
    const std::size_t end = selectionLength_;
    const std::size_t length = length_;
    Clear();
    {
        // The clipboard takes the whole block, so nothing past the selection may follow its end.
        GlobalLockGuard lock(text.get());
        auto* bytes = static_cast<char*>(lock.Data());
        if (bytes == nullptr) throw AppError(kOutOfMemory);
        std::memset(bytes + end, 0, length - end);
    }
    // Everything that can run out happens before the clipboard is emptied, so a failure leaves the
    // clipboard as it was.
    UniqueGlobal locale = AnsiCodePageLocaleBlock();
    ClipboardSession clipboard(owner_);
    if (!EmptyClipboard()) throw AppError("Can't empty Clipboard");
    if (SetClipboardData(CF_TEXT, text.get()) == nullptr) throw AppError("Can't set Clipboard data");
    text.release();
    // The text is whole on the clipboard now. Without its locale the system takes the user's input
    // language instead, so a locale that could not be set is no failure of the copy.
    if (SetClipboardData(CF_LOCALE, locale.get()) != nullptr) locale.release();
}

} // namespace ambervale
