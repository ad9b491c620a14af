#pragma once
#include <string>

namespace ambervale {

enum class StartWindow { NormalFocus, MinimizedFocus };

// Starts a program and does not wait for it; throws AppError when it cannot be started.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    virtual void Start(const std::string& commandLine, StartWindow window) = 0;
};

} // namespace ambervale
