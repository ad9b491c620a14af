#pragma once
#include <cstdint>
#include <string_view>

namespace ambervale {

enum class InstanceClaim {
    Claimed,
    HeldByAnotherCopy,         // a copy of this user holds it
    NamesHeldByAnotherAccount, // every name it may take is another account's: it cannot be told who runs
};

// What choosing, at program start, between running and handing over to a copy that already runs needs of the
// system. There is one instance for each user in a session.
class InstanceServices {
public:
    virtual ~InstanceServices() = default;
    // Claims the one instance for this run.
    virtual InstanceClaim ClaimInstance() = 0;
    // Takes over the claim of the copy that held it if that copy has ended meanwhile; false while it still runs.
    virtual bool TakeOverFromEndedInstance() = 0;
    // Asks the running copy's main window to come to the front; false while that copy has no window that answers.
    virtual bool BringRunningInstanceToFront() = 0;
    virtual std::int64_t NowMilliseconds() = 0;
    virtual void Sleep(std::int64_t milliseconds) = 0;
};

enum class StartChoice {
    RunHere,
    LeaveToRunningInstance,
    // A copy holds the claim but no window of it answered within the wait: hung, or stuck before its window exists.
    RunningInstanceDidNotAnswer,
    // Another account holds every name of the claim: this copy could not tell a second one of its own, and two
    // copies would write every line twice.
    NamesHeldByAnotherAccount,
};

// How long a second copy waits for the running copy's window, which a copy still starting up may not have yet.
inline constexpr std::int64_t kRunningInstanceWaitMilliseconds = 10000;
inline constexpr std::int64_t kRunningInstancePollMilliseconds = 100;

// The first copy runs. A second one brings the running copy's window to the front and leaves, touching nothing:
// two copies would show two icons and write every entry twice into the same history file. It runs after all only
// when the other copy has ended in the meantime, so that a start is never lost.
StartChoice ChooseStart(InstanceServices& services);

// What a second start says when the running copy did not answer: it leaves all the same, and the user knows why.
inline constexpr std::string_view kRunningInstanceSilentText =
    "Ambervale is already running, but it does not respond.\r\n\r\n"
    "Try again in a moment. If this keeps happening, end Ambervale in Task Manager, then start it again.";

// What a start says when another account holds the names of the claim: it leaves, and the user knows why.
inline constexpr std::string_view kNamesHeldByAnotherAccountText =
    "Ambervale cannot start: another account holds the name Ambervale uses to run only once for each user.\r\n\r\n"
    "Sign out and in again, or ask an administrator to end the other account's program that holds it.";

} // namespace ambervale
