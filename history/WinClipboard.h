#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "base/WinHandles.h"
#include "history/HistoryCommandsServices.h"

namespace ambervale {

// The copy buffer on the real clipboard. The file is read straight into the block that becomes the
// clipboard's CF_TEXT data, together with CF_LOCALE; the system makes the Unicode text from them for
// whoever asks, so the copy holds the text once. Positions count bytes of the ANSI text.
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

    HWND owner_;
    win::UniqueGlobal text_;  // the ANSI text and its terminating zero
    std::size_t length_ = 0;
    std::size_t selectionLength_ = 0;
};

} // namespace ambervale
