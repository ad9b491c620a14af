#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace ambervale::win {

// A progress bar that also shows a line of text over the bar, which the common control cannot. Like the system's
// controls it draws with the font its parent gives it by WM_SETFONT (the parent keeps the font alive), answers
// WM_GETFONT, and paints into a given device context on WM_PRINTCLIENT.
class TextProgressBar {
public:
    static void RegisterClass(HINSTANCE instance);
    HWND Create(HWND parent, int id, const RECT& rect);

    void SetMaximum(std::int32_t maximum);
    void SetPosition(std::int32_t position);
    void SetText(const std::string& text);
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, const RECT& client) const;

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::int32_t maximum_ = 100;
    std::int32_t position_ = 0;
    std::string text_;
};

} // namespace ambervale::win
