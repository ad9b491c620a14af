#pragma once
#include <string>

namespace ambervale {

enum class StartWindow { NormalFocus, MinimizedFocus };

// The programs of Windows that the program starts: each is found in its Windows folder, never by the search path,
// which looks in the program's own folder first.
enum class SystemProgram {
    TextEditor,   // notepad.exe, in the system folder
    FileManager,  // explorer.exe, in the Windows folder
};

// Starts a program of Windows with the arguments and does not wait for it; throws AppError when it cannot be
// started.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    virtual void Start(SystemProgram program, const std::string& arguments, StartWindow window) = 0;
};

} // namespace ambervale
