#include "tray/WinSysTray.h"

#include <shellapi.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "base/AppError.h"
#include "base/WinMessageFilter.h"

namespace ambervale {
namespace {

// The Shell 5.0 record (no guidItem): 488 bytes in a 32-bit process, the same fields with 8-byte handles in a
// 64-bit one.
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 504, "Shell 5.0 record of a 64-bit process");
#else
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "Shell 5.0 record of a 32-bit process");
#endif
static_assert(sizeof(NOTIFYICONDATAA::szTip) == kTipChars);
static_assert(sizeof(NOTIFYICONDATAA::szInfo) == kInfoChars);
static_assert(sizeof(NOTIFYICONDATAA::szInfoTitle) == kInfoTitleChars);
static_assert(NIM_ADD == 0 && NIM_MODIFY == 1 && NIM_DELETE == 2);
static_assert(NIF_MESSAGE == kNifMessage && NIF_ICON == kNifIcon && NIF_TIP == kNifTip && NIF_INFO == kNifInfo);

constexpr char kTrayWindowClass[] = "AmbervaleTrayWindow";

template <std::size_t N>
void CopyField(CHAR (&target)[N], const std::array<char, N>& source) {
    std::memcpy(target, source.data(), N);
}

ATOM RegisterTrayWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTrayWindowClass;
    return RegisterClassExA(&windowClass);
}

} // namespace

bool WinTrayShell::NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = ToHwnd(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.hIcon);
    CopyField(data.szTip, record.szTip);
    data.dwState = record.dwState;
    data.dwStateMask = record.dwStateMask;
    CopyField(data.szInfo, record.szInfo);
    data.uTimeout = record.uTimeout;
    CopyField(data.szInfoTitle, record.szInfoTitle);
    data.dwInfoFlags = record.dwInfoFlags;
    return Shell_NotifyIconA(static_cast<DWORD>(message), &data) != FALSE;
}

bool WinTrayMessageWait::DispatchMessagesFor(std::int64_t maxWaitMilliseconds) {
    const DWORD wait = maxWaitMilliseconds <= 0 ? 0
                       : maxWaitMilliseconds >= INFINITE ? INFINITE - 1
                                                         : static_cast<DWORD>(maxWaitMilliseconds);
    // Either a message arrived or the time is up; both are handled below.
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The main loop must still see the quit request to end the program.
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

std::shared_ptr<const TrayPicture> LoadTrayIconResource(HINSTANCE instance, int resourceId) {
    auto* icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR));
    if (icon == nullptr) return nullptr;
    return std::make_shared<WinIconPicture>(win::UniqueIcon(icon));
}

win::UniqueWindow CreateTrayWindow(HWND owner, HINSTANCE instance) {
    if (RegisterTrayWindowClass(instance) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw AppError("Cannot register the tray window class");
    }
    win::UniqueWindow window(CreateWindowExA(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, owner,
                                             nullptr, instance, nullptr));
    if (!window) throw AppError("Cannot create the tray window");
    win::AcceptMessageFromAnyProcess(window.get(), TaskbarCreatedMessage());
    return window;
}

WinSysTray::WinSysTray(HWND host, HINSTANCE instance)
    : window_(CreateTrayWindow(host, instance)),
      control_(FromHwnd(window_.get()), TrayServices{shell_, procedure_, clock_, wait_}) {}

} // namespace ambervale
