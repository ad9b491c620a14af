#include "base/WinProcess.h"

#include <windows.h>

#include <vector>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinLastError.h"
#include "base/WinSystemFiles.h"

namespace ambervale {

std::string SystemProgramPath(SystemProgram program) {
    return program == SystemProgram::TextEditor ? win::SystemFolderFile("notepad.exe")
                                                : win::WindowsFolderFile("explorer.exe");
}

void WinProcessStarter::Start(SystemProgram program, const std::string& arguments, StartWindow window) {
    const std::string path = locate_(program);
    if (path.empty()) ThrowLastError();
    // Named as the application, the program is not searched for; the command line still starts with its name, as
    // programs expect, quoted because a Windows folder may hold blanks. CreateProcessA may write into the line.
    const std::string commandLine = "\"" + path + "\" " + arguments;
    std::vector<char> writableLine(commandLine.begin(), commandLine.end());
    writableLine.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = window == StartWindow::MinimizedFocus ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(path.c_str(), writableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        ThrowLastError();
    }
    // The program runs on its own: nothing here waits for it or holds on to it.
    win::UniqueKernelObject process(started.hProcess);
    win::UniqueKernelObject thread(started.hThread);
    lastProcessId_ = started.dwProcessId;
}

} // namespace ambervale
