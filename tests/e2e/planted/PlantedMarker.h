#pragma once
#include <windows.h>

namespace ambervale::e2e {

// What a planted file does when Windows loads or starts it: it leaves a file named after itself in its own folder,
// "<its file name>.ran", for the test to find.
inline void LeaveMarker(HMODULE self) {
    char path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    lstrcatA(path, ".ran");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

} // namespace ambervale::e2e
