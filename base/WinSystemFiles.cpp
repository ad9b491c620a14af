#include "base/WinSystemFiles.h"

#include <optional>

#include "base/WinSizedCall.h"
#include "base/WinText.h"

namespace ambervale::win {
namespace {

// Windows 7 has these only with its 2011 loader update (KB2533623); asked for by name, so the program still starts
// without it.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

template <class Function>
Function Kernel32Function(const char* name) {
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (!kernel32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)));
}

// GetSystemDirectoryW and GetSystemWindowsDirectoryW: the length without the zero when the folder fits, the room
// it needs with the zero when it does not.
template <class Wide>
std::wstring FolderOf(Wide getFolder) {
    const auto folder = AskSizeThenFill<wchar_t>(
        [&](wchar_t* buffer, std::size_t size) -> std::optional<std::size_t> {
            const UINT length = getFolder(buffer, static_cast<UINT>(size));
            if (length == 0) return std::nullopt;
            return length;
        },
        MAX_PATH);
    return folder ? std::wstring(folder->begin(), folder->end()) : std::wstring();
}

std::string FileIn(const std::wstring& folder, const char* fileName) {
    if (folder.empty()) return {};
    std::string path = Utf8FromWide(folder);
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return {};
    }
    if (path.back() != '\\') path += '\\';
    return path + fileName;
}

} // namespace

void LoadLibrariesFromSystemFolderOnly() {
    if (const auto setDefault = Kernel32Function<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories")) {
        // Result not examined: it fails only for flags it does not know, and these are the documented ones.
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
        return;
    }
    // Without the loader update the current folder at least leaves the search; each library of ours is loaded by its
    // full path (LoadSystemLibrary).
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    if (HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    // A Windows 7 without the loader update knows no search flags: the full path names the file itself, and the
    // library's own imports are looked for beside it first.
    const std::wstring folder = FolderOf(GetSystemDirectoryW);
    if (folder.empty()) return nullptr;
    return LoadLibraryExW((folder + L"\\" + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

std::string SystemFolderFile(const char* fileName) { return FileIn(FolderOf(GetSystemDirectoryW), fileName); }

// The system's Windows folder, not a user's own one that a program unaware of Terminal Services would be given.
std::string WindowsFolderFile(const char* fileName) { return FileIn(FolderOf(GetSystemWindowsDirectoryW), fileName); }

} // namespace ambervale::win
