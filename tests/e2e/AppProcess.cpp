#include "e2e/AppProcess.h"

#include <commctrl.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>

#include "fakes/WinTestRegistry.h"

namespace ambervale::e2e {
namespace {

constexpr char kSettingsKey[] = "Software\\Corvatek\\Ambervale";

} // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD maxWaitMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= maxWaitMs) return false;
        Sleep(50);
    }
    return true;
}

std::vector<HWND> ErrorBoxes(DWORD processId, const char* caption) {
    return TopLevelWindows(processId, [&](HWND hwnd) {
        return ClassNameOf(hwnd) == "#32770" && ControlText(hwnd) == caption && IsWindowVisible(hwnd);
    });
}

bool WaitUntilVisible(HWND hwnd, bool visible, DWORD maxWaitMs) {
    return WaitFor([&] { return (IsWindowVisible(hwnd) != FALSE) == visible; }, maxWaitMs);
}

bool TrayIconPresent(HWND trayWindow) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = trayWindow;
    data.uID = 0;
    data.uFlags = NIF_TIP;
    lstrcpynA(data.szTip, "Ambervale", sizeof data.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

HWND WindowOfClass(DWORD processId, const char* className, DWORD maxWaitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const auto found = TopLevelWindows(processId, [&](HWND hwnd) { return ClassNameOf(hwnd) == className; });
        if (!found.empty()) return found.front();
        if (GetTickCount() - start >= maxWaitMs) return nullptr;
        Sleep(50);
    }
}


HWND WaitForErrorBox(DWORD processId, DWORD maxWaitMs, const char* caption) {
    HWND box = nullptr;
    WaitFor([&] { return (box = LastOf(ErrorBoxes(processId, caption))) != nullptr; }, maxWaitMs);
    return box;
}

AppProcess::AppProcess(const std::string& exePath, const std::string& tempFolder) {
    SetEnvironmentVariableA("TEMP", tempFolder.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
        info_ = {};
    }
}

AppProcess::AppProcess(const std::wstring& exePath, const std::wstring& tempFolder) {
    SetEnvironmentVariableW(L"TEMP", tempFolder.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
        info_ = {};
    }
}

AppProcess::~AppProcess() {
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
}

HWND AppProcess::WaitForMainWindow(DWORD maxWaitMs) {
    if (!info_.hProcess) return nullptr;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < maxWaitMs) {
        HWND form = WindowOfClass(info_.dwProcessId, "AmbervaleForm1");
        if (form && IsWindowVisible(form) && ControlText(form) == "Ambervale") return form;
        if (WaitForSingleObject(info_.hProcess, 100) != WAIT_TIMEOUT) return nullptr;
    }
    return nullptr;
}

bool AppProcess::WaitForExit(DWORD maxWaitMs) {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, maxWaitMs) == WAIT_OBJECT_0;
}

DWORD AppProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

int ListViewCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewSelected(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string RemoteListViewText(HANDLE process, HWND list, int row) {
    // The list writes into memory of its own process: lend it a block there and read the text back.
    constexpr SIZE_T kTextSize = 2048;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return {};
    auto* remoteText = static_cast<char*>(remote) + sizeof(LVITEMA);
    LVITEMA item{};
    item.iSubItem = 0;
    item.cchTextMax = kTextSize;
    item.pszText = remoteText;
    std::string text;
    SIZE_T moved = 0;
    if (WriteProcessMemory(process, remote, &item, sizeof item, &moved)) {
        const LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        std::string buffer(kTextSize, '\0');
        if (length > 0 && ReadProcessMemory(process, remoteText, buffer.data(), kTextSize, &moved)) {
            text.assign(buffer.c_str());
        }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    if (!in) return lines;
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));  // a line without its CR LF shows up too
    return lines;
}

void SetSetting(const char* name, const char* value) {
    testing::SetText(testing::CreateKey(HKEY_CURRENT_USER, kSettingsKey), name, value);
}

std::string GetSetting(const char* name) { return testing::TextValue(HKEY_CURRENT_USER, kSettingsKey, name); }

void DeleteAllSettings() { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }

bool SaveWindowBitmap(HWND hwnd, const std::string& path) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return false;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD rowBytes = ((width * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<std::size_t>(rowBytes) * height, '\0');
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

} // namespace ambervale::e2e
