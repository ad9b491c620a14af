#include "installer/WinRunningCopies.h"

#include <optional>
#include <vector>

#include "base/Globals.h"
#include "base/WinHandles.h"
#include "base/WinText.h"
#include "installer/InstalledProgram.h"

namespace ambervale {
namespace {

// As UTF-8: in ANSI, two folders whose letters the code page lacks would both read as '?' and look the same.
std::optional<std::string> ExeOf(HANDLE process) {
    std::wstring path(32768, L'\0');  // the longest path Windows has
    DWORD length = static_cast<DWORD>(path.size());
    if (!process || !QueryFullProcessImageNameW(process, 0, path.data(), &length)) return std::nullopt;
    path.resize(length);
    return win::Utf8FromWide(path);
}

win::UniqueKernelObject OpenToWatch(DWORD processId) {
    // Without the right to read its exe, a copy is not known to be the installed one, and is left alone.
    return win::UniqueKernelObject(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
}

} // namespace

CloseOutcome CloseRunningCopies(const std::string& installedExe, DWORD maxWaitMs) {
    CloseOutcome outcome;
    const UINT closeMessage = RegisterWindowMessageA(kCloseMessageName);
    if (closeMessage == 0) return outcome;
    std::vector<win::UniqueKernelObject> closing;
    for (HWND window = FindWindowExA(nullptr, nullptr, kForm1ClassName, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, kForm1ClassName, nullptr)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == 0 || processId == GetCurrentProcessId()) continue;
        win::UniqueKernelObject process = OpenToWatch(processId);
        if (!ClosesBeforeUninstall(ExeOf(process.get()), installedExe)) continue;
        // Posted, not sent: a copy busy in a modal box still takes it from its queue, and the uninstall never waits
        // on a copy that does not answer.
        if (!PostMessageA(window, closeMessage, 0, 0)) continue;
        ++outcome.asked;
        if (process) closing.push_back(std::move(process));
    }
    const ULONGLONG deadline = GetTickCount64() + maxWaitMs;
    for (const win::UniqueKernelObject& process : closing) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process.get(), left) != WAIT_OBJECT_0) ++outcome.stillRunning;
    }
    return outcome;
}

} // namespace ambervale
