#include "mainwindow/WinProgressBar.h"

#include <algorithm>

#include "base/WinHandles.h"

namespace ambervale::win {
namespace {
constexpr char kClassName[] = "AmbervaleProgressBar";
}

void TextProgressBar::RegisterClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &TextProgressBar::WndProc;
    wc.hInstance = instance;
    wc.hCursor = nullptr;  // the main window decides the pointer
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);  // a second registration in the same process fails harmlessly
}

HWND TextProgressBar::Create(HWND parent, int id, const RECT& r) {
    hwnd_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), this);
    return hwnd_;
}

void TextProgressBar::SetMaximum(std::int32_t maximum) {
    if (maximum_ == maximum) return;
    maximum_ = maximum;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextProgressBar::SetPosition(std::int32_t position) {
    if (position_ == position) return;
    position_ = position;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextProgressBar::SetText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextProgressBar::Paint(HDC dc, const RECT& client) const {
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    if (maximum_ > 0 && position_ > 0) {
        RECT bar = client;
        InflateRect(&bar, -1, -1);
        const long long filled = static_cast<long long>(bar.right - bar.left) * std::min(position_, maximum_) / maximum_;
        bar.right = bar.left + static_cast<int>(filled);
        UniqueBrush brush(CreateSolidBrush(RGB(7, 162, 254)));
        FillRect(dc, &bar, brush.get());
    }
    FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    SelectedObject font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT textRect = client;
    DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CALLBACK TextProgressBar::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TextProgressBar*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_SETFONT:
        if (self) self->font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return self ? reinterpret_cast<LRESULT>(self->font_) : 0;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(hwnd, &client);
        if (self) self->Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // all drawing happens off screen in WM_PAINT, so nothing flickers at each tick
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        if (self && memory && bitmap) {
            SelectedObject selected(memory.get(), bitmap.get());
            self->Paint(memory.get(), client);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace ambervale::win
