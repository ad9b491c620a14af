#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ambervale::e2e {

// The top-level windows of that process (of any process for 0) which `match` accepts, in the order Windows lists
// them.
std::vector<HWND> TopLevelWindows(DWORD processId, const std::function<bool(HWND)>& match);

// A window's text (its caption) and its class name.
std::string ControlText(HWND control);
std::string ClassNameOf(HWND hwnd);

} // namespace ambervale::e2e
