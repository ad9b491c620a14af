#pragma once
#include <windows.h>

#include "base/MessageBoxes.h"

namespace ambervale::win {

// Modal message boxes owned by the main window (they keep dispatching its messages while open).
class WinMessageBoxes : public MessageBoxes {
public:
    explicit WinMessageBoxes(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    BoxAnswer Show(const BoxRequest& request) override;

private:
    HWND owner_;
};

// Dispatches the messages waiting in this thread's queue, once, those of dialogWindow through IsDialogMessage (its
// keyboard navigation). False when the quit message came, which is left in the queue for the main loop.
bool DispatchWaitingMessages(HWND dialogWindow);

// Dispatches the messages waiting in this thread's queue, once, and returns.
class WinMessagePump : public MessagePump {
public:
    explicit WinMessagePump(HWND dialogWindow = nullptr) : dialogWindow_(dialogWindow) {}
    void SetDialogWindow(HWND hwnd) { dialogWindow_ = hwnd; }
    void DoEvents() override;

private:
    HWND dialogWindow_;
};

} // namespace ambervale::win
