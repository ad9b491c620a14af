#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace ambervale {

struct CloseOutcome {
    std::size_t asked = 0;         // copies sent the program's close message
    std::size_t stillRunning = 0;  // of those, copies that had not ended when the wait was over
};

// Sends the program's close message to each of its main windows on this desktop whose process runs installedExe (a
// UTF-8 path), and waits up to maxWaitMs in all for those processes to end. A copy that does not end is left running.
CloseOutcome CloseRunningCopies(const std::string& installedExe, DWORD maxWaitMs);

} // namespace ambervale
