#pragma once
#include <string>

#include "base/ProcessStarter.h"

namespace ambervale {

// Starts programs with CreateProcessA, found by the system's search path; never waits for them.
class WinProcessStarter final : public ProcessStarter {
public:
    void Start(const std::string& commandLine, StartWindow window) override;

    // The id of the process started last (0 before the first); the handles are long closed.
    unsigned long LastProcessId() const { return lastProcessId_; }

private:
    unsigned long lastProcessId_ = 0;
};

} // namespace ambervale
