#include "app/SingleInstance.h"

namespace ambervale {

StartChoice ChooseStart(InstanceServices& services) {
    switch (services.ClaimInstance()) {
    case InstanceClaim::Claimed: return StartChoice::RunHere;
    case InstanceClaim::NamesHeldByAnotherAccount: return StartChoice::NamesHeldByAnotherAccount;
    case InstanceClaim::HeldByAnotherCopy: break;
    }
    const std::int64_t start = services.NowMilliseconds();
    for (;;) {
        if (services.BringRunningInstanceToFront()) return StartChoice::LeaveToRunningInstance;
        if (services.TakeOverFromEndedInstance()) return StartChoice::RunHere;
        // A copy that shows no window for this long is left alone all the same: a second one is never wanted.
        if (services.NowMilliseconds() - start >= kRunningInstanceWaitMilliseconds) {
            return StartChoice::RunningInstanceDidNotAnswer;
        }
        services.Sleep(kRunningInstancePollMilliseconds);
    }
}

} // namespace ambervale
