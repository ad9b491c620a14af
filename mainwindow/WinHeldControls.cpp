// Controls that a policy holds: disabled, with a tip that says who set them.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "mainwindow/WinForm1.h"

namespace ambervale::win {
namespace {

constexpr ControlId kHeldControlIds[] = {kListView2, kPushButton5, kCheck4};

// A disabled control hears no mouse: its parent does. So the tip belongs to the window, over the control's place.
TTTOOLINFOA ToolOver(HWND window, HWND control, ControlId id, char* text) {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = static_cast<UINT_PTR>(id);
    tool.lpszText = text;
    GetWindowRect(control, &tool.rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tool.rect), 2);
    return tool;
}

} // namespace

void Form1Window::SetHeld(HeldControl control, bool held) {
    const auto index = static_cast<std::size_t>(control);
    const ControlId id = kHeldControlIds[index];
    // A control that is disabled with the keyboard focus takes it with it: the log list has it instead.
    if (held && GetFocus() == Control(id)) ::SetFocus(Control(kListView1));
    EnableWindow(Control(id), held ? FALSE : TRUE);
    if (held_[index] == held) return;
    if (held && !heldTips_) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        heldTips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
        if (!heldTips_) return;  // held all the same, without its tip
    }
    std::string text(kHeldByPolicyTip);
    TTTOOLINFOA tool = ToolOver(hwnd_, Control(id), id, text.data());
    if (heldTips_) SendMessageA(heldTips_, held ? TTM_ADDTOOLA : TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    held_[index] = held;
}

bool Form1Window::HeldTip(HeldControl control, std::string& text) const {
    text.clear();
    const ControlId id = kHeldControlIds[static_cast<std::size_t>(control)];
    if (!heldTips_) return false;
    char buffer[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = static_cast<UINT_PTR>(id);
    tool.lpszText = buffer;
    if (!SendMessageA(heldTips_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) return false;
    text = buffer;
    return true;
}

void Form1Window::PlaceHeldTips() {
    if (!heldTips_) return;
    for (std::size_t index = 0; index < held_.size(); ++index) {
        if (!held_[index]) continue;
        const ControlId id = kHeldControlIds[index];
        TTTOOLINFOA tool = ToolOver(hwnd_, Control(id), id, nullptr);
        SendMessageA(heldTips_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

} // namespace ambervale::win
