#pragma once
#include <windows.h>

namespace ambervale::win {

// A user32 function of a newer Windows, looked up at run time so the program still starts on older ones; null
// where this Windows has none.
template <class Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return nullptr;
    // Cast through a generic function pointer: the exported address has the type documented for it.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

} // namespace ambervale::win
