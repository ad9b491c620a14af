#include "base/WinRegistryKey.h"

namespace ambervale::win {

UniqueRegKey OpenRegistryKey(HKEY root, const std::string& path, REGSAM access, LONG* status) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(root, path.c_str(), 0, access, &opened);
    if (status) *status = result;
    return UniqueRegKey(result == ERROR_SUCCESS ? opened : nullptr);
}

} // namespace ambervale::win
