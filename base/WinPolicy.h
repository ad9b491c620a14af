#pragma once
#include <windows.h>

#include "base/Policy.h"

namespace ambervale::win {

// Where Group Policy puts the program's policy values (DWORDs), in HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
inline constexpr char kPolicyKey[] = "Software\\Policies\\Corvatek\\Ambervale";
static_assert(std::string_view(kPolicyKey) == kPolicyKeyPath);

// The policy values as Windows holds them: read from the 64-bit view, where policy lives on 64-bit Windows (32-bit
// Windows ignores the flag). Each read opens and closes the key.
class WinPolicySource final : public PolicySource {
public:
    std::optional<PolicyData> Machine(std::string_view name) override;
    std::optional<PolicyData> User(std::string_view name) override;
};

// Whether the policy value of that name lets a thing happen, by the rule of PolicyAllows: the machine's value, else
// the user's.
bool PolicyValueAllows(const char* valueName) noexcept;

} // namespace ambervale::win
