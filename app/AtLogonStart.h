#pragma once
#include <string>
#include <string_view>

#include "app/SingleInstance.h"
#include "base/Policy.h"
#include "startup/RegStuff.h"

namespace ambervale {

// A start at logon that the StartWithWindows policy decides. The installer writes the machine-wide Run value
// kPolicyRunValueName = "<folder>\Ambervale.exe" /atlogon for every user of the PC; the program alone knows the
// policy, so the value is always there and the program decides at each logon whether it runs.
inline constexpr std::string_view kAtLogonArgument = "/atlogon";
inline constexpr std::string_view kPolicyRunValueName = "Ambervale (policy)";

// True when the arguments (the command line without the program's own name) hold /atlogon, in any letter case,
// quoted or not. Other arguments are no concern of this one.
bool HasAtLogonArgument(std::string_view arguments);

// Whether a start at logon goes on: only while the policy says 1, and not when the program's own Run value starts it
// at the same logon (two starts would race, and the plain one would bring the other's window out of the tray).
// Reads only; nothing is claimed, shown or logged before it says yes.
bool LogonStartWanted(PolicySource& policies, Registry& registry, const std::string& executablePath);

// The one-instance rule for a start at logon: a copy that already runs is left alone quietly, as nobody asked for a
// window. A claim held by another account is told as at any start.
StartChoice ChooseLogonStart(InstanceServices& services);

} // namespace ambervale
