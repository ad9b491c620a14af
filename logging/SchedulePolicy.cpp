// The schedule under policy: what an administrator's LogInterval and AutomaticLog change while the window runs.
#include <utility>

#include "logging/IntervalTable.h"
#include "logging/Schedule.h"
#include "logging/ScheduleText.h"
#include "logging/StoredNumber.h"

namespace ambervale {
namespace {

// Nothing here has an error box: a control that fails keeps what it showed, and the rest still follows.
template <class Action>
void PassOverFailure(Action&& action) noexcept {
    try {
        action();
    } catch (...) {
    }
}

} // namespace

void Schedule::PolicyChanged(const SchedulePolicy& policy) noexcept {
    const SchedulePolicy before = std::exchange(policy_, policy);
    if (policy.intervalSeconds != before.intervalSeconds) FollowIntervalPolicy();
    if (policy.automaticLog != before.automaticLog) FollowAutomaticLogPolicy();
}

void Schedule::FollowIntervalPolicy() noexcept {
    PassOverFailure([&] {
        // Without the policy the user's row comes back from the store, which the policy never touched; a stored
        // value that is no row leaves the list as it is.
        const int position =
            policy_.intervalSeconds
                ? PositionOfSeconds(*policy_.intervalSeconds)
                : StoredTextToInt16(services_.settings.Read(kSettingOftenIndex, kDefaultOftenIndex));
        SelectRestoredRow(position);
    });
    std::int32_t seconds = 0;
    PassOverFailure([&] { seconds = GetIntervalSeconds(); });
    if (seconds == intervalSeconds_) return;
    // Another interval: the countdown starts again from it, as after a click in the list.
    intervalSeconds_ = seconds;
    elapsedSeconds_ = 0;
    bool on = false;
    PassOverFailure([&] { on = controls_.pushButton5.Caption() == kButtonTurnOff; });
    if (on) TellLogger(true);
}

void Schedule::FollowAutomaticLogPolicy() noexcept {
    bool on = false;
    if (policy_.automaticLog) {
        on = *policy_.automaticLog;
    } else {
        // The user's own state, as a start would show it: anything but "On" shows off.
        PassOverFailure([&] {
            on = services_.settings.Read(kSettingStartStopState, kDefaultStartStopState) == kOn;
        });
    }
    bool wasOn = false;
    PassOverFailure([&] { wasOn = controls_.pushButton5.Caption() == kButtonTurnOff; });
    if (on == wasOn) return;
    if (on) {
        PassOverFailure([&] { controls_.pushButton5.SetCaption(kButtonTurnOff); });
        PassOverFailure([&] { controls_.timer1.SetPeriod(kTickMilliseconds); });
    } else {
        PassOverFailure([&] { controls_.pushButton5.SetCaption(kButtonTurnOn); });
        PassOverFailure([&] { controls_.frame1.SetCaption(kFrameTurnedOff); });
        PassOverFailure([&] { controls_.timer1.SetPeriod(kTimerStopped); });
    }
    TellLogger(on);
}

} // namespace ambervale
