#pragma once
#include <windows.h>

#include <sddl.h>

#include <string>

#include "app/WinSingleInstance.h"
#include "base/WinHandles.h"

namespace ambervale::testing {

// Another account's mutex under a name of the one-instance claim, made first and owned by that account, with an
// access list that shuts everybody out ("D:") or lets everybody in ("D:(A;;GA;;;WD)"). Wine lets a test name another
// owner, as Windows lets an administrator; null when it cannot be made.
inline win::UniqueKernelObject SquatClaimName(int attempt, const char* accessList) {
    const std::string sddl = std::string("O:S-1-5-21-1004336348-1177238915-682003330-1001") + accessList;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        return {};
    }
    const win::UniqueLocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    return win::UniqueKernelObject(CreateMutexA(&attributes, TRUE, win::InstanceMutexName(attempt).c_str()));
}

} // namespace ambervale::testing
