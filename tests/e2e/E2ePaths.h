#pragma once
#include <windows.h>

#include <string>

namespace ambervale::e2e {

inline std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/"));
}

// The tests sit in <build>\tests\e2e, the program in <build>\app.
inline std::string AmbervaleExe() { return ModuleFolder() + "\\..\\..\\app\\Ambervale.exe"; }
inline std::string BuildFolder() { return ModuleFolder() + "\\..\\.."; }

// A TEMP folder of the test's own, without a history file in it.
inline std::string FreshTempFolder(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "ambervale-e2e-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\Ambervale.txt").c_str());
    return folder;
}

} // namespace ambervale::e2e
