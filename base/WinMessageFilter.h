#pragma once
#include <windows.h>

namespace ambervale::win {

// Lets `message` reach `window` from processes of a lower integrity level: an elevated copy of the program would
// otherwise never hear the shell's taskbar (which runs unelevated) or a copy started without elevation. Windows
// before Vista filter nothing, and Vista filters per process only; both are handled.
void AcceptMessageFromAnyProcess(HWND window, UINT message);

} // namespace ambervale::win
