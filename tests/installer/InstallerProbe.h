#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What an administrator would look at after deploying the MSI package: msiexec's result, the installed products,
// the files, the Start-menu shortcut, the "Apps & features" entry and the Run values.
namespace ambervale::e2e {

// Runs "msiexec <arguments>" and waits for it; its exit code (0 for success, 1603 for a refused install).
DWORD Msiexec(const std::string& arguments);
// The same by the wide calls, for a folder whose name the ANSI code page cannot spell.
DWORD Msiexec(const std::wstring& arguments);

// The product codes installed under Ambervale's upgrade code.
std::vector<std::string> InstalledAmbervales();
std::string ProductInfo(const std::string& productCode, const char* property);

// Where the package puts the program: Program Files (x86)\Ambervale\Ambervale.exe.
std::string InstalledFolder();
std::string InstalledExe();

// The exe's version resource: the fixed file version as "a.b.c.d", and one of its English texts.
std::string FixedFileVersion(const std::string& exePath);
std::string VersionText(const std::string& exePath, const char* name);

// The Start-menu shortcut "Ambervale.lnk", or "" when there is none.
std::string FindShortcut();
struct ShortcutInfo {
    std::string target;
    std::string iconFile;
};
ShortcutInfo ReadShortcut(const std::string& lnkPath);

// A text of the product's "Apps & features" entry (the Uninstall key), or "<absent>".
std::string UninstallEntryText(const std::string& productCode, const char* name);

// The message of the package's launch condition: what a refused install reports.
std::string LaunchConditionMessage(const std::string& msiPath);

// The program's Run value "Ambervale.exe" under HKEY_LOCAL_MACHINE (32-bit view) or HKEY_CURRENT_USER.
std::string RunValue(HKEY hive);
void SetRunValue(HKEY hive, const std::string& data);
void DeleteRunValue(HKEY hive);

// A string value under HKEY_LOCAL_MACHINE in the 32-bit view, where the package writes, read as UTF-16; "<absent>"
// when there is none.
std::wstring MachineText(const std::wstring& key, const wchar_t* name);

bool Exists(const std::string& path);
bool Exists(const std::wstring& path);
bool SamePath(const std::string& a, const std::string& b);

} // namespace ambervale::e2e
