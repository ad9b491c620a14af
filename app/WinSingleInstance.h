#pragma once
#include <windows.h>

#include <string>

#include "app/SingleInstance.h"
#include "base/WinHandles.h"
#include "mainwindow/WinForm1.h"

namespace ambervale::win {

// The string form of the SID of the user running this process, or empty when it cannot be read. Two users can
// share one session (one started the program as the other), each with settings and history of their own, so each
// has an instance of their own.
std::string UserIdentity();

// The name of the claim's mutex at that attempt: in the session's namespace, with the user's identity in it; the
// first attempt's name has no number.
std::string InstanceMutexName(int attempt = 0);

// Sent by a second copy to the running copy's main window; registered per user, so that only the copy of the same
// user answers it, with kBroughtToFront.
UINT StartedAgainMessage();

// The claim is a mutex in the session's namespace, owned by the starting thread for the whole run: when a copy
// ends, the mutex is abandoned and a copy waiting for its window can take it over. The mutex belongs to the user
// (owner and access list): one of that name whose owner is another account was made to squat the name and is passed
// over for the next name (Windows lets nobody but an administrator make another account the owner), up to
// kInstanceClaimNames names.
inline constexpr int kInstanceClaimNames = 8;
class WinInstanceServices : public InstanceServices {
public:
    InstanceClaim ClaimInstance() override;
    bool TakeOverFromEndedInstance() override;
    bool BringRunningInstanceToFront() override;
    std::int64_t NowMilliseconds() override;
    void Sleep(std::int64_t milliseconds) override;

private:
    UniqueKernelObject mutex_;
};

} // namespace ambervale::win
