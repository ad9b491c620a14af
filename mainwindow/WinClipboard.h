#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "mainwindow/HistoryCommandsServices.h"
#include "base/WinHandles.h"

namespace ambervale {

// The copy buffer on the real clipboard. The file is read straight into the block that becomes the
// CF_TEXT data, and the CF_UNICODETEXT data is converted from it (ANSI code page), so a copy holds
// the text three times over (once as bytes, once as UTF-16) besides what the clipboard held before.
// Positions count bytes of the ANSI text.
class WinClipboardBuffer final : public CopyBuffer {
public:
    // The clipboard's owner window while the data is set; 0 is allowed.
    explicit WinClipboardBuffer(HWND owner) : owner_(owner) {}

    void LoadTextFile(const std::string& path) override;
    std::size_t TextLength() override { return length_; }
    void SetSelectionStart(std::size_t start) override;
    void SetSelectionLength(std::size_t length) override;
    void CopySelection() override;

private:
    void Clear();
    void MoveSelectionToFront();
    static win::UniqueGlobal ConvertToUnicode(HGLOBAL ansiText, std::size_t length);

    HWND owner_;
    win::UniqueGlobal text_;  // the ANSI text and its terminating zero
    std::size_t length_ = 0;
    std::size_t selectionStart_ = 0;
    std::size_t selectionLength_ = 0;
};

} // namespace ambervale
