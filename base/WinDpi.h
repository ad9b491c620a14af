#pragma once
#include <windows.h>

namespace ambervale::win {

// The DPI functions of newer Windows, looked up at run time so the program still starts on older ones,
// where the system DPI serves instead.
int WindowDpi(HWND hwnd);
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
int SystemMetricForDpi(int metric, int dpi);

} // namespace ambervale::win
