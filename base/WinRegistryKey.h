#pragma once
#include <windows.h>

#include <string>

#include "base/WinHandles.h"

namespace ambervale::win {

// The one way the program opens a registry key: root\path with that access (a view flag included). The key is
// empty when it cannot be opened; status, when asked for, says why (ERROR_FILE_NOT_FOUND for a missing key).
UniqueRegKey OpenRegistryKey(HKEY root, const std::string& path, REGSAM access, LONG* status = nullptr);

} // namespace ambervale::win
