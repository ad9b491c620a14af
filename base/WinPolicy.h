#pragma once
#include <windows.h>

namespace ambervale::win {

// Where Group Policy puts the program's policy values (DWORDs), in HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
inline constexpr char kPolicyKey[] = "Software\\Policies\\Corvatek\\Ambervale";

// Whether the policy value of that name lets a thing happen, by the rule of PolicyAllows: the machine's value, else
// the user's. Read from the 64-bit view, where policy lives on 64-bit Windows; 32-bit Windows ignores the flag.
bool PolicyValueAllows(const char* valueName) noexcept;

} // namespace ambervale::win
