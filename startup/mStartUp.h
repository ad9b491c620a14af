#pragma once
#include <string>

#include "startup/RegStuff.h"

namespace ambervale {

// The running program's executable, split into its folder (no trailing backslash) and file name.
struct ExecutableLocation {
    std::string folder;
    std::string fileName;
};

// Splits a full module path at its last backslash; an empty file name means there is none.
ExecutableLocation SplitExecutablePath(const std::string& executablePath);

// Registers the running executable (its full module path) to start with Windows, under a value
// named after its file name. A path without a folder registers nothing.
void RegisterStartup(Registry& registry, const std::string& executablePath);

// True when a Run value of the name RegisterStartup writes, machine-wide or the current user's, starts this
// executable. Reads only.
bool IsRegisteredToStart(Registry& registry, const std::string& executablePath);

// Removes what RegisterStartup wrote for this executable's file name.
void UnregisterStartup(Registry& registry, const std::string& executablePath);

} // namespace ambervale
