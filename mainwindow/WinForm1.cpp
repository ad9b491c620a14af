#include "mainwindow/WinForm1.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "base/AppError.h"
#include "base/WinDpi.h"
#include "base/WinMessageFilter.h"
#include "base/WinText.h"

namespace ambervale::win {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

HMENU MenuId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// Both lists have one column, whose width is set on its own afterwards.
void AddReportColumn(HWND list, std::string_view header, const char* failure) {
    std::string text(header);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = 100;
    if (SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)) < 0) throw AppError(failure);
}

} // namespace

Form1Window::Form1Window(HINSTANCE instance, std::size_t logRowLimit) : instance_(instance), rows_(logRowLimit) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Form1Window::WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconResource));
    wc.lpszClassName = kForm1ClassName;
    RegisterClassExA(&wc);  // fails harmlessly when a second window of the class is made in one process
    TextProgressBar::RegisterClass(instance);
    background_.reset(CreateSolidBrush(RGB(255, 255, 255)));
}

Form1Window::~Form1Window() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void Form1Window::Create() {
    // The stored caption; start-up gives the window its real one.
    hwnd_ = CreateWindowExA(kWindowExStyle, kForm1ClassName, "Form1", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                            nullptr, nullptr, instance_, this);
    if (!hwnd_) throw AppError("The main window could not be created");
    dpi_ = WindowDpi(hwnd_);
    fonts_ = MakeFonts(dpi_);
    CreateControls();
    LayOut();
    // The uninstaller closes a copy that runs from the folder it removes with this message; an elevated copy hears
    // it too.
    closeMessage_ = RegisterWindowMessageA(kCloseMessageName);
    if (closeMessage_ != 0) AcceptMessageFromAnyProcess(hwnd_, closeMessage_);
}

void Form1Window::AnswerStartedAgain(UINT message) {
    startedAgainMessage_ = message;
    // A second copy, elevated or not, may ask this one to come to the front.
    if (message != 0) AcceptMessageFromAnyProcess(hwnd_, message);
}

void Form1Window::AnswerGlance(std::function<void()> requested, std::function<void(int, bool)> progress) {
    glanceRequested_ = std::move(requested);
    glanceProgress_ = std::move(progress);
    // The title bar's menu keeps the window's layout and buttons as they are.
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (menu) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kGlanceMenuCommand, "History at a Glance...");
    }
}

bool Form1Window::OnGlanceMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == kGlanceMenuCommand) {
        if (glanceRequested_ && !closing_) glanceRequested_();
        return true;
    }
    if (msg == kGlanceProgressMessage) {
        if (glanceProgress_) glanceProgress_(static_cast<int>(wParam), lParam != 0);
        return true;
    }
    return false;
}

Form1Window::Fonts Form1Window::MakeFonts(int dpi) {
    auto arial = [](int height, int weight) {
        return UniqueFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    };
    return Fonts{arial(FontHeightPixels(ControlFont::Regular, dpi), FW_BOLD),
                 arial(FontHeightPixels(ControlFont::Button, dpi), FW_BOLD),
                 arial(FontHeightPixels(ControlFont::Regular, dpi), FW_NORMAL)};
}

void Form1Window::OnDpiChanged(int dpi, const RECT& suggested) {
    Fonts fonts = MakeFonts(dpi);
    // Without all three new fonts the window stays as it is: at its old size it is still whole and readable.
    if (!fonts.regular || !fonts.button || !fonts.window) return;
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::swap(fonts_, fonts);
    LayOut();
    // The controls draw with the new fonts from here on, so the old ones, now in `fonts`, may go.
}

void Form1Window::CreateControls() {
    for (const ControlLayout& c : kForm1Controls) {
        const std::string caption(c.caption);
        HWND hwnd = nullptr;
        switch (c.kind) {
        case ControlKind::Frame:
            hwnd = CreateWindowExA(0, WC_BUTTONA, caption.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 0,
                                   hwnd_, MenuId(c.id), instance_, nullptr);
            break;
        case ControlKind::ProgressBar: {
            RECT r{0, 0, 0, 0};
            hwnd = progressBar_.Create(hwnd_, c.id, r);
            progressBar_.SetText(caption);
            break;
        }
        case ControlKind::ListView: {
            DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
            if (c.id == kListView1) style |= LVS_OWNERDATA;
            hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, 0, 0, 0, 0, hwnd_, MenuId(c.id),
                                   instance_, nullptr);
            SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
            break;
        }
        case ControlKind::CheckBox:
            hwnd = CreateWindowExA(0, WC_BUTTONA, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                   0, 0, 0, 0, hwnd_, MenuId(c.id), instance_, nullptr);
            break;
        case ControlKind::PushButton:
            hwnd = CreateWindowExA(0, WC_BUTTONA, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                   0, 0, 0, 0, hwnd_, MenuId(c.id), instance_, nullptr);
            break;
        }
        if (!hwnd) throw AppError("A control of the main window could not be created");
        controls_[c.id - kFrame1] = hwnd;
    }
}

void Form1Window::LayOut() {
    const int dpi = Dpi();
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
    AdjustWindowRectForDpi(frame, kWindowStyle, kWindowExStyle, dpi);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.window.get()), FALSE);
    for (const ControlLayout& c : kForm1Controls) {
        const PixelRect r = ClientRectOf(c, dpi);
        HWND hwnd = Control(c.id);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = c.font == ControlFont::Button ? fonts_.button.get() : fonts_.regular.get();
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (logColumnTwips_) SetLogListColumnWidth(logColumnTwips_);
    if (intervalColumnTwips_) listView2_.SetColumnWidth(intervalColumnTwips_);
    PlaceHeldTips();
}

void Form1Window::ShowAfterLoad() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(monitor, &mi);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const RECT& area = mi.rcWork;
    SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (startMinimised_) {
        startMinimised_ = false;
        // Loading asked for a start in the notification area: the resize handler hides the window at once.
        ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
        return;
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    ::SetFocus(Control(kListView1));
}

int Form1Window::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!hwnd_ || !IsDialogMessageA(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (events_ && !closing_) {
            try {
                events_->Form_BackInMainLoop();
            } catch (...) {
                // What runs here has no error report, and nothing may end the main loop.
            }
        }
    }
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

// --- Form1View ---

void Form1Window::SetCaption(std::string_view caption) { SetWindowTextA(hwnd_, std::string(caption).c_str()); }

void Form1Window::SetProgramIcon() {
    const int dpi = Dpi();
    auto load = [&](int metric) {
        const int size = SystemMetricForDpi(metric, dpi);
        return UniqueIcon(static_cast<HICON>(
            LoadImageA(instance_, MAKEINTRESOURCEA(kProgramIconResource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    UniqueIcon big = load(SM_CXICON);
    UniqueIcon small = load(SM_CXSMICON);
    if (!big || !small) throw AppError("The program icon could not be loaded");
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window keeps using the icons it was given, so the old ones may go only now.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void Form1Window::LoadHandCursor(const std::string& path) {
    UniqueCursor cursor(LoadCursorFromFileW(WideFromUtf8(path).c_str()));
    if (!cursor) throw AppError("Invalid picture");
    handCursor_ = std::move(cursor);
}

void Form1Window::UseButtonFaceColours() {
    background_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1Window::AddLogListColumn(std::string_view header) {
    AddReportColumn(Control(kListView1), header, "The log list's column could not be added");
}

void Form1Window::SetLogListColumnWidth(int twips) {
    logColumnTwips_ = twips;
    SendMessageA(Control(kListView1), LVM_SETCOLUMNWIDTH, 0, TwipsToPixels(twips, Dpi()));
}

// --- ListView1 ---

void Form1Window::LogListView::AddRow(std::string_view dateTimeText, std::string_view reportLine) {
    // A row past the list's limit is not kept: the list shows the rows it has, the entry goes on to the file.
    if (!form_.rows_.Append(dateTimeText, reportLine)) return;
    // The list control learns the new count once per turn of the message loop, however many rows came in it:
    // telling it costs far more than keeping the row, and the row is shown at that turn all the same.
    if (!form_.rowCountPosted_) {
        form_.rowCountPosted_ = PostMessageA(form_.hwnd_, kSyncLogRowsMessage, 0, 0) != FALSE;
        if (!form_.rowCountPosted_) form_.SyncLogRowCount();
    }
}

void Form1Window::LogListView::RemoveAllRows() {
    SendMessageA(form_.Control(kListView1), LVM_SETITEMCOUNT, 0, 0);
    form_.rows_.Clear();
}

void Form1Window::SyncLogRowCount() {
    rowCountPosted_ = false;
    // The count changes without a scroll and without repainting the rows already shown.
    SendMessageA(Control(kListView1), LVM_SETITEMCOUNT, rows_.Size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

// --- ListView2 ---

void Form1Window::IntervalListView::AddColumn(std::string_view header) {
    AddReportColumn(form_.Control(kListView2), header, "The interval list's column could not be added");
}

void Form1Window::IntervalListView::SetColumnWidth(int twips) {
    form_.intervalColumnTwips_ = twips;
    SendMessageA(form_.Control(kListView2), LVM_SETCOLUMNWIDTH, 0, TwipsToPixels(twips, form_.Dpi()));
}

void Form1Window::IntervalListView::AddRow(std::string_view text) {
    HWND list = form_.Control(kListView2);
    std::string copy(text);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = copy.data();
    if (SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
        throw AppError("The interval list's row could not be added");
    }
}

void Form1Window::IntervalListView::SelectRow(int position) {
    HWND list = form_.Control(kListView2);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    if (position < 1 || position > count) throw AppError(std::string(kErrInvalidPropertyValue));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    form_.selectingByCode_ = true;
    SendMessageA(list, LVM_SETITEMSTATE, position - 1, reinterpret_cast<LPARAM>(&item));
    form_.selectingByCode_ = false;
    SendMessageA(list, LVM_ENSUREVISIBLE, position - 1, FALSE);
}

bool Form1Window::IntervalListView::SelectedRow(std::string& text, int& position) {
    HWND list = form_.Control(kListView2);
    const int index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index < 0) return false;
    char buffer[256];
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    const int length = static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)));
    text.assign(buffer, static_cast<std::size_t>(std::max(0, length)));
    position = index + 1;
    return true;
}

// --- pointer and timer ---

void Form1Window::SetPointer(PointerKind kind) {
    pointer_ = kind;
    POINT p;
    GetCursorPos(&p);
    // Show the change at once when the mouse is over the window, as the next WM_SETCURSOR would.
    if (WindowFromPoint(p) == hwnd_ || IsChild(hwnd_, WindowFromPoint(p))) {
        SendMessageA(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, 0));
    }
}

void Form1Window::SetPeriod(int milliseconds) {
    timerPeriod_ = milliseconds;
    ApplyTimer();
}

void Form1Window::SetEnabled(bool enabled) {
    timerEnabled_ = enabled;
    ApplyTimer();
}

void Form1Window::ApplyTimer() {
    // A handler that goes on after the close (one that was waiting for its entry) cannot start the timer again.
    const bool run = timerEnabled_ && timerPeriod_ > 0 && !closing_;
    if (run) {
        // Setting the timer again restarts its period, as a change of interval does.
        timerRunning_ = SetTimer(hwnd_, kTimer1Id, static_cast<UINT>(timerPeriod_), nullptr) != 0;
    } else if (timerRunning_) {
        KillTimer(hwnd_, kTimer1Id);
        timerRunning_ = false;
    }
}

// --- TrayHostWindow ---

WindowState Form1Window::State() {
    if (!IsWindowVisible(hwnd_)) {
        // Hidden, the window is in the state it will show again in.
        if (startMinimised_) return WindowState::Minimized;
        if (IsIconic(hwnd_) && !restoreOnShow_) return WindowState::Minimized;
        return WindowState::Normal;
    }
    return IsIconic(hwnd_) ? WindowState::Minimized : WindowState::Normal;
}

void Form1Window::SetState(WindowState state) {
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    if (state == WindowState::Minimized) {
        if (visible) {
            ShowWindow(hwnd_, SW_MINIMIZE);
        } else {
            startMinimised_ = true;  // taken up when the window is first shown
        }
        return;
    }
    // The window cannot be maximised: any other state is the normal one.
    startMinimised_ = false;
    if (visible) {
        if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    } else {
        restoreOnShow_ = true;  // it stays hidden, and comes back in its normal size
    }
}

void Form1Window::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void Form1Window::Show() {
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    restoreOnShow_ = false;
}

void Form1Window::SetFocus() {
    SetForegroundWindow(hwnd_);
    ::SetFocus(hwnd_);
}

int Form1Window::CheckValue(ControlId id) const {
    return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? kChecked : kUnchecked;
}

// A value set from code raises the box's click when it changes, as a user's click does.
void Form1Window::SetCheckValue(ControlId id, int value) {
    if (CheckValue(id) == value) return;
    SendMessageA(Control(id), BM_SETCHECK, value == kChecked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (events_) OnCommand(id);
}

void Form1Window::SetCheck8Visible(bool visible) { ShowWindow(Control(kCheck8), visible ? SW_SHOW : SW_HIDE); }

// --- captions ---

std::string Form1Window::CaptionOf::Caption() {
    const int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, got)));
    return text;
}

void Form1Window::CaptionOf::SetCaption(std::string_view caption) {
    const std::string text(caption);
    if (Caption() == text) return;  // an unchanged caption is not repainted, so the countdown does not flicker
    SetWindowTextA(hwnd_, text.c_str());
    // A group box does not erase its old caption behind the new one.
    HWND parent = GetParent(hwnd_);
    RECT r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
}

} // namespace ambervale::win
