#include "base/WinProcess.h"

#include <windows.h>

#include <vector>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinLastError.h"
#include "base/WinSystemFiles.h"
#include "base/WinText.h"

namespace ambervale {

std::string SystemProgramPath(SystemProgram program) {
    return program == SystemProgram::TextEditor ? win::SystemFolderFile("notepad.exe")
                                                : win::WindowsFolderFile("explorer.exe");
}

void WinProcessStarter::Start(SystemProgram program, const std::string& arguments, StartWindow window) {
    const std::string path = locate_(program);
    if (path.empty()) ThrowLastError();
    // Named as the application, the program is not searched for; the command line still starts with its name, as
    // programs expect, quoted because a Windows folder may hold blanks. CreateProcessW may write into the line.
    const std::wstring commandLine = win::WideFromUtf8("\"" + path + "\" " + arguments);
    std::vector<wchar_t> writableLine(commandLine.begin(), commandLine.end());
    writableLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = window == StartWindow::MinimizedFocus ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(win::WideFromUtf8(path).c_str(), writableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        ThrowLastError();
    }
    // The program runs on its own: nothing here waits for it or holds on to it.
    win::UniqueKernelObject process(started.hProcess);
    win::UniqueKernelObject thread(started.hThread);
    lastProcessId_ = started.dwProcessId;
}

} // namespace ambervale
