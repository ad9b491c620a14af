#pragma once
#include <string>

#include "base/ProcessStarter.h"

namespace ambervale {

// The full path of the program: notepad.exe in the system folder, explorer.exe in the Windows folder. Empty when
// Windows does not say where its folder is.
std::string SystemProgramPath(SystemProgram program);

// Starts programs with CreateProcessW by their full path, which the command line also starts with, in quotes; never
// waits for them. The path and the arguments are UTF-8, so that they can name a file in any user's folder.
class WinProcessStarter final : public ProcessStarter {
public:
    using Locate = std::string (*)(SystemProgram);
    explicit WinProcessStarter(Locate locate = SystemProgramPath) : locate_(locate) {}

    void Start(SystemProgram program, const std::string& arguments, StartWindow window) override;

    // The id of the process started last (0 before the first); the handles are long closed.
    unsigned long LastProcessId() const { return lastProcessId_; }

private:
    Locate locate_;
    unsigned long lastProcessId_ = 0;
};

} // namespace ambervale
