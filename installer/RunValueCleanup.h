#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "startup/RegStuff.h"  // RunValueStartsProgram

namespace ambervale {

// One Run key (the machine's or one user's) as the uninstaller's cleanup sees it.
class RunKey {
public:
    virtual ~RunKey() = default;
    // The text of a string value; nothing when the value is absent or holds no string.
    virtual std::optional<std::string> ReadText(const std::string& valueName) = 0;
    virtual bool DeleteValue(const std::string& valueName) = 0;
};

// Deletes the value that the program writes for itself (named after its file name) from this Run key when it
// starts the program at exePath, so that Windows does not look for a removed program at every logon. A value
// that names a copy of the program elsewhere stays. True when a value was deleted.
bool RemoveOwnRunValue(RunKey& key, const std::string& exePath);

} // namespace ambervale
