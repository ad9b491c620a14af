// How the main window's messages become its handlers.
#include <windows.h>

#include <commctrl.h>

#include <new>

#include "mainwindow/WinForm1.h"

namespace ambervale::win {
namespace {

bool IsPushButton(int id) {
    switch (id) {
    case kPushButton1: case kPushButton2: case kPushButton5:
    case kPushButton6: case kPushButton11: case kPushButton12:
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT CALLBACK Form1Window::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<Form1Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY && self) self->hwnd_ = nullptr;  // gone: the owner has nothing left to destroy
    if (!self || !self->events_) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != 0 && msg == startedAgainMessage_) {
        events_->Form_StartedAgain();
        return kBroughtToFront;
    }
    if (msg != 0 && msg == closeMessage_) {
        OnClose();
        return 0;
    }
    if (OnGlanceMessage(msg, wParam, lParam)) return 0;
    switch (msg) {
    case kSyncLogRowsMessage:
        SyncLogRowCount();
        return 0;
    // Once the close has begun, a tick or a click still waiting in the queue starts nothing: nothing is logged after
    // the close, and no box opens over a window that is going.
    case WM_TIMER:
        if (wParam == kTimer1Id && timerRunning_ && !closing_) events_->Timer1_Timer();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam && !closing_) OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SIZE:
        events_->Form_Resize();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), HIWORD(lParam))) return TRUE;
        break;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, background_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Frames and check boxes take the window's colour so they blend into it.
        HDC dc = reinterpret_cast<HDC>(wParam);
        LOGBRUSH lb{};
        GetObjectA(background_.get(), sizeof lb, &lb);
        SetBkColor(dc, lb.lbColor);
        return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOMMAND:
        // The border is fixed: no maximising, not even by a double click on the title bar.
        if ((wParam & 0xFFF0) == SC_MAXIMIZE) return 0;
        break;
    case WM_SETTINGCHANGE:
        // Once the close has begun, a policy change may no longer switch logging on.
        if (lParam != 0 && lstrcmpiA(reinterpret_cast<const char*>(lParam), "Policy") == 0 && policyChanged_ &&
            !closing_) {
            policyChanged_();
        }
        break;
    case WM_QUERYENDSESSION:
        // Never refused: neither the end of the session nor the Restart Manager, which asks with ENDSESSION_CLOSEAPP
        // so that an installer can replace the program. WM_ENDSESSION then runs the close sequence.
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) OnClose();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

void Form1Window::OnClose() {
    if (closing_) return;
    closing_ = true;
    events_->Form_QueryUnload();
    // The unload: nothing of the window's runs any more, and the message loop ends the program.
    events_ = nullptr;
    DestroyWindow(hwnd_);
}

void Form1Window::OnCommand(int id) {
    switch (id) {
    case kPushButton1: events_->PushButton1_Click(); break;
    case kPushButton2: events_->PushButton2_Click(); break;
    case kPushButton5: events_->PushButton5_Click(); break;
    case kPushButton6: events_->PushButton6_Click(); break;
    case kPushButton11: events_->PushButton11_Click(); break;
    case kPushButton12: events_->PushButton12_Click(); break;
    case kCheck4: events_->Check4_Click(); break;
    case kCheck8: events_->Check8_Click(); break;
    default: break;
    }
}

LRESULT Form1Window::OnNotify(const NMHDR& header) {
    const int id = static_cast<int>(header.idFrom);
    if (id == kListView1 && (header.code == LVN_GETDISPINFOA || header.code == LVN_GETDISPINFOW)) {
        if (header.code == LVN_GETDISPINFOA) {
            auto& info = const_cast<NMLVDISPINFOA&>(reinterpret_cast<const NMLVDISPINFOA&>(header));
            if ((info.item.mask & LVIF_TEXT) && info.item.iItem >= 0 &&
                static_cast<std::size_t>(info.item.iItem) < rows_.Size()) {
                // The list reads the text where we point it, so a row longer than its own buffer is not cut.
                // Out of memory, the row shows empty rather than an exception crossing the list's code.
                try {
                    rows_.Render(static_cast<std::size_t>(info.item.iItem), shownRow_);
                    info.item.pszText = shownRow_.data();
                } catch (const std::bad_alloc&) {
                    if (info.item.pszText && info.item.cchTextMax > 0) info.item.pszText[0] = '\0';
                }
            }
        }
        return 0;
    }
    if (id == kListView2 && header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool nowSelected = (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
                                 !(change.uOldState & LVIS_SELECTED);
        if (nowSelected && !selectingByCode_) {
            // A row chosen with the keyboard counts as a click on it, so the stored choice always matches.
            clickHandledBySelection_ = true;
            events_->ListView2_Click();
        }
        return 0;
    }
    if (id == kListView2 && header.code == NM_CLICK) {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (clickHandledBySelection_) {
            clickHandledBySelection_ = false;
        } else if (click.iItem >= 0) {
            events_->ListView2_Click();
        }
        return 0;
    }
    return 0;
}

bool Form1Window::OnSetCursor(HWND over, UINT mouseMessage) {
    if (mouseMessage == WM_MOUSEMOVE) {
        const int id = over == hwnd_ ? 0 : GetDlgCtrlID(over);
        if (IsPushButton(id)) {
            events_->PushButton_MouseMove();
        } else if (over == hwnd_ || id == kFrame1 || id == kFrame2 || id == kListView1 || id == kListView2) {
            events_->Background_MouseMove();
        }
    }
    switch (pointer_) {
    case PointerKind::Hourglass:
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return true;
    case PointerKind::Custom:
        // Without the cursor file the system's own hand stands in.
        SetCursor(handCursor_ ? handCursor_.get() : LoadCursor(nullptr, IDC_HAND));
        return true;
    case PointerKind::Default:
        break;
    }
    return false;
}

} // namespace ambervale::win
