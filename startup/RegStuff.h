#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ambervale {

enum class RegistryHive : std::uint32_t {
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

// The Run key, spelled as it has always been written, trailing backslash included.
inline constexpr std::string_view kRunKeyPath = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";
// KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK.
inline constexpr std::uint32_t kRunKeyAccess = 0x3F;
inline constexpr std::uint32_t kRegSz = 1;

// One registry read, write or delete per call: open the key, act on one value, close the key.
// Failures are not reported as errors; the result only says whether the value was read, written or removed.
class Registry {
public:
    virtual ~Registry() = default;
    // The text of a string value; nothing when the key or the value is absent or unreadable, or holds no text.
    virtual std::optional<std::string> ReadKeyValue(RegistryHive hive, const std::string& keyPath,
                                                    const std::string& valueName) = 0;
    virtual bool SetKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                             const std::string& text, std::uint32_t valueType) = 0;
    virtual bool DeleteKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName) = 0;
};

// The Run value's data: the executable's full path in double quotes, so that a folder with blanks
// cannot make Windows start a different program.
std::string RunValueData(const std::string& folder, const std::string& fileName);

// True when two paths name the same file as Windows compares them: letter case does not count.
bool SameWindowsPath(std::string_view a, std::string_view b);

// True when a Run value's data starts exactly the program at exePath: the path in double quotes, as the program
// writes it, or bare, as older builds wrote it. Letter case does not count, as in Windows paths.
bool RunValueStartsProgram(std::string_view data, std::string_view exePath);

// Writes the Run value named fileName for all users; where the machine-wide key cannot be written
// (no administrator rights) the same value goes to the current user's Run key instead.
void SetRunValue(Registry& registry, const std::string& folder, const std::string& fileName);

// Deletes the Run value named fileName from both the machine-wide and the current user's Run key.
void DeleteRunValue(Registry& registry, const std::string& fileName);

} // namespace ambervale
