#pragma once
#include <windows.h>

#include <string>

namespace ambervale::win {

// Windows' own libraries and programs are taken from Windows' folders alone. The program's folder (a Downloads
// folder, say) and the current folder come first in Windows' usual search, and a file planted there under a system
// name would run as the program.

// From now on every library that this process loads by name, Windows' own loads on its behalf included, comes from
// the system folder. Called first in WinMain, before anything is loaded.
void LoadLibrariesFromSystemFolderOnly();

// The library of that file name from the system folder; null, with the thread's last error, when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// The full path (UTF-8, as the program keeps paths) of a file in the system folder or in the Windows folder; empty,
// with the thread's last error, when Windows does not give the folder.
std::string SystemFolderFile(const char* fileName);
std::string WindowsFolderFile(const char* fileName);

} // namespace ambervale::win
