#include "history/WinFiles.h"

#include <windows.h>

#include "base/WinText.h"

namespace ambervale {

using win::WideFromUtf8;

bool FileExists(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

bool WinFiles::DeletePlain(const std::string& path) {
    return DeleteFileW(WideFromUtf8(path).c_str()) != 0;
}

void WinFiles::DeleteForced(const std::string& utf8Path) {
    const std::wstring path = WideFromUtf8(utf8Path);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    const bool wasReadOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (wasReadOnly) {
        DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        if (writable == 0) writable = FILE_ATTRIBUTE_NORMAL;
        // A refusal here shows up as a failed delete below.
        SetFileAttributesW(path.c_str(), writable);
    }
    if (DeleteFileW(path.c_str()) == 0 && wasReadOnly) {
        // The file stays (in use, no right to delete): leave it as protected as it was.
        SetFileAttributesW(path.c_str(), attributes);
    }
}

} // namespace ambervale
