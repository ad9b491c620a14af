#include "base/WinProcess.h"

#include <windows.h>

#include <vector>

#include "base/WinHandles.h"
#include "base/WinLastError.h"

namespace ambervale {

void WinProcessStarter::Start(const std::string& commandLine, StartWindow window) {
    // CreateProcessA may write into the command line it is given.
    std::vector<char> writableLine(commandLine.begin(), commandLine.end());
    writableLine.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = window == StartWindow::MinimizedFocus ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, writableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        ThrowLastError();
    }
    // The program runs on its own: nothing here waits for it or holds on to it.
    win::UniqueKernelObject process(started.hProcess);
    win::UniqueKernelObject thread(started.hThread);
    lastProcessId_ = started.dwProcessId;
}

} // namespace ambervale
