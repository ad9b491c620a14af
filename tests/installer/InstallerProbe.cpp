#include "installer/InstallerProbe.h"

#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <memory>

#include "base/WinHandles.h"
#include "base/WinText.h"
#include "fakes/WinTestRegistry.h"
#include "startup/RegStuff.h"

namespace ambervale::e2e {
namespace {

constexpr char kUpgradeCode[] = "{5B0C3F52-8E5A-4B8E-9C1D-2A7E4F6B9D10}";
constexpr char kValueName[] = "Ambervale.exe";
constexpr DWORD kMsiexecMaxWaitMs = 120000;

REGSAM RunKeyView(HKEY hive) { return hive == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0; }
const std::string kRunKey(kRunKeyPath);

std::string FolderPath(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// The exe's whole version resource, or nothing when it has none.
std::string VersionBlock(const std::string& exePath) {
    DWORD ignored = 0;
    std::string block(GetFileVersionInfoSizeA(exePath.c_str(), &ignored), '\0');
    if (!block.empty() && !GetFileVersionInfoA(exePath.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
        block.clear();
    }
    return block;
}

struct MsiHandleTraits {
    using Handle = MSIHANDLE;
    static Handle Invalid() { return 0; }
    static void Close(Handle h) { MsiCloseHandle(h); }
};
using UniqueMsiHandle = win::UniqueHandle<MsiHandleTraits>;

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};

} // namespace

DWORD Msiexec(const std::string& arguments) { return Msiexec(win::WideFromAnsi(arguments)); }

DWORD Msiexec(const std::wstring& arguments) {
    std::wstring commandLine = L"msiexec " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return GetLastError();
    }
    const win::UniqueKernelObject process(info.hProcess);
    const win::UniqueKernelObject thread(info.hThread);
    if (WaitForSingleObject(process.get(), kMsiexecMaxWaitMs) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

std::vector<std::string> InstalledAmbervales() {
    std::vector<std::string> codes;
    char code[39] = {};
    for (DWORD index = 0; MsiEnumRelatedProductsA(kUpgradeCode, 0, index, code) == ERROR_SUCCESS; ++index) {
        codes.emplace_back(code);
    }
    return codes;
}

std::string ProductInfo(const std::string& productCode, const char* property) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (MsiGetProductInfoA(productCode.c_str(), property, value, &size) != ERROR_SUCCESS) return "<absent>";
    return value;
}

std::string InstalledFolder() { return FolderPath(CSIDL_PROGRAM_FILESX86) + "\\Ambervale"; }
std::string InstalledExe() { return InstalledFolder() + "\\Ambervale.exe"; }

std::string FixedFileVersion(const std::string& exePath) {
    std::string block = VersionBlock(exePath);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed) {
        return "<none>";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned{HIWORD(fixed->dwFileVersionMS)},
                  unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                  unsigned{LOWORD(fixed->dwFileVersionLS)});
    return text;
}

std::string VersionText(const std::string& exePath, const char* name) {
    std::string block = VersionBlock(exePath);
    const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
    char* text = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) {
        return "<none>";
    }
    return text;
}

std::string FindShortcut() {
    // Windows puts a per-machine package's shortcut in the common Start menu; Wine 8 puts it in the user's.
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        const std::string lnk = FolderPath(csidl) + "\\Ambervale.lnk";
        if (Exists(lnk)) return lnk;
    }
    return {};
}

ShortcutInfo ReadShortcut(const std::string& lnkPath) {
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink)))) {
        return {};
    }
    const std::unique_ptr<IShellLinkA, ComRelease> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return {};
    const std::unique_ptr<IPersistFile, ComRelease> file(rawFile);
    wchar_t widePath[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, lnkPath.c_str(), -1, widePath, MAX_PATH) ||
        FAILED(file->Load(widePath, STGM_READ))) {
        return {};
    }
    ShortcutInfo info;
    char text[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) info.target = text;
    int iconIndex = 0;
    char icon[MAX_PATH] = {};
    if (SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) info.iconFile = icon;
    return info;
}

std::string UninstallEntryText(const std::string& productCode, const char* name) {
    // Windows Installer (a 64-bit service) writes the entry in the 64-bit view; Wine 8's 32-bit msiexec, which
    // installs in its own process, in the 32-bit view.
    const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        if (testing::KeyExists(HKEY_LOCAL_MACHINE, path, view)) {
            return testing::TextValue(HKEY_LOCAL_MACHINE, path, name, view);
        }
    }
    return "<absent>";
}

std::string LaunchConditionMessage(const std::string& msiPath) {
    MSIHANDLE database = 0;
    if (MsiOpenDatabaseA(msiPath.c_str(), MSIDBOPEN_READONLY, &database) != ERROR_SUCCESS) return {};
    const UniqueMsiHandle ownedDatabase(database);
    MSIHANDLE view = 0;
    if (MsiDatabaseOpenViewA(database, "SELECT `Description` FROM `LaunchCondition`", &view) != ERROR_SUCCESS ||
        MsiViewExecute(view, 0) != ERROR_SUCCESS) {
        return {};
    }
    const UniqueMsiHandle ownedView(view);
    MSIHANDLE record = 0;
    if (MsiViewFetch(view, &record) != ERROR_SUCCESS) return {};
    const UniqueMsiHandle ownedRecord(record);
    char text[512] = {};
    DWORD size = sizeof text;
    return MsiRecordGetStringA(record, 1, text, &size) == ERROR_SUCCESS ? text : std::string();
}

std::string RunValue(HKEY hive) { return testing::TextValue(hive, kRunKey, kValueName, RunKeyView(hive)); }

void SetRunValue(HKEY hive, const std::string& data) {
    testing::SetText(testing::CreateKey(hive, kRunKey, RunKeyView(hive)), kValueName, data);
}

void DeleteRunValue(HKEY hive) { testing::DeleteValue(hive, kRunKey, kValueName, RunKeyView(hive)); }

std::wstring MachineText(const std::wstring& key, const wchar_t* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &opened) != ERROR_SUCCESS) {
        return L"<absent>";
    }
    const win::UniqueRegKey owned(opened);
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(opened, nullptr, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return L"<absent>";
    return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

} // namespace ambervale::e2e
