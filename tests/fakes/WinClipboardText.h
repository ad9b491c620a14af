#pragma once
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>

namespace ambervale::testing {

// The clipboard's data in one format as a string of Char (CF_TEXT as char, CF_UNICODETEXT as wchar_t), up to its
// terminating zero; none when the clipboard has no such format or cannot be opened.
template <class Char>
std::optional<std::basic_string<Char>> ClipboardText(UINT format) {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::basic_string<Char>> text;
    if (HANDLE data = GetClipboardData(format)) {
        if (const auto* chars = static_cast<const Char*>(GlobalLock(data))) {
            text = std::basic_string<Char>(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Replaces the clipboard's content with this text as CF_TEXT, as another program would; false when it could not.
inline bool PutTextOnClipboard(const std::string& text, HWND owner = nullptr) {
    if (!OpenClipboard(owner)) return false;
    bool done = false;
    if (EmptyClipboard()) {
        if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
            std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
            GlobalUnlock(block);
            done = SetClipboardData(CF_TEXT, block) != nullptr;
            if (!done) GlobalFree(block);
        }
    }
    CloseClipboard();
    return done;
}

} // namespace ambervale::testing
