#include "base/WinMessageBoxes.h"

#include "base/AppError.h"

namespace ambervale::win {

BoxAnswer WinMessageBoxes::Show(const BoxRequest& request) {
    UINT type = request.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
    if (request.icon == BoxIcon::Exclamation) type |= MB_ICONEXCLAMATION;
    const int answer = MessageBoxA(owner_, request.text.c_str(), request.caption.c_str(), type);
    switch (answer) {
    case IDYES:
        return BoxAnswer::Yes;
    case IDNO:
        return BoxAnswer::No;
    case 0:
        throw AppError("The message box could not be shown");
    default:
        return BoxAnswer::Ok;
    }
}

bool DispatchWaitingMessages(HWND dialogWindow) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (dialogWindow && IsDialogMessageA(dialogWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void WinMessagePump::DoEvents() { DispatchWaitingMessages(dialogWindow_); }

} // namespace ambervale::win
