#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "logging/ScheduleControls.h"
#include "logging/StatusLogger.h"
#include "base/ErrorReport.h"
#include "base/MessageBoxes.h"
#include "base/SettingsStore.h"

namespace ambervale {

// The main window's controls that the schedule drives.
struct ScheduleControls {
    IntervalList& listView2;
    CaptionControl& frame1;
    ProgressBarControl& progressBar1;
    CaptionControl& pushButton5;
    MousePointerControl& mousePointer;
    TimerControl& timer1;
};

// What the schedule reaches outside its controls.
struct ScheduleServices {
    SettingsStore& settings;
    StatusLogger& logger;
    MessagePump& pump;
    MessageBoxes& boxes;
};

// What policy decides of the schedule: the interval's seconds (one of the list's) and automatic logging on or off.
// Nothing leaves that choice to the user.
struct SchedulePolicy {
    std::optional<std::int32_t> intervalSeconds;
    std::optional<bool> automaticLog;
};

// The logging schedule of the main window: the one-second countdown towards the chosen interval,
// the on/off switch, the log-now button and the interval list. The window owns one for its whole
// life and turns its events into the handlers below; none of them throws.
class Schedule {
public:
    Schedule(const ScheduleControls& controls, const ScheduleServices& services);
    Schedule(const Schedule&) = delete;
    Schedule& operator=(const Schedule&) = delete;

    // Before the load's steps: what policy holds, which the restore steps show instead of the stored choices.
    void HoldByPolicy(const SchedulePolicy& policy) { policy_ = policy; }
    // Policy changed while the window runs: the list and the on/off state follow at once. The stored choices are
    // never written, so the user's own come back (from the store) when the policy goes.
    void PolicyChanged(const SchedulePolicy& policy) noexcept;
    const SchedulePolicy& Policy() const { return policy_; }

    // The load handler's steps, in this order, reported under the load handler's own numbers:
    void FillIntervalList(GuardedSteps& steps);      // 132 to 158
    void RestoreInterval(GuardedSteps& steps);       // 164 and 166
    void RestoreStartStopState(GuardedSteps& steps); // 168 to 182

    void Timer1_Timer();
    void PushButton5_Click();
    void PushButton6_Click();
    // The window calls this on every change of the selected interval row, by mouse or by key,
    // so the count and the stored index always follow the list.
    void ListView2_Click() noexcept;
    // The program closes: automatic logging ends with it.
    void CloseLogging() noexcept { TellLogger(false); }

    // The seconds of the selected interval row; 0 when no row is selected or its text is no interval.
    std::int32_t GetIntervalSeconds();

    std::int32_t IntervalSeconds() const { return intervalSeconds_; }
    std::int32_t ElapsedSeconds() const { return elapsedSeconds_; }

private:
    void SelectRestoredRow(int position);
    void ShowLoggingOff(GuardedSteps& steps);
    void ShowCountdown();
    bool LoggingSwitchedOff();
    void FollowIntervalPolicy() noexcept;
    void FollowAutomaticLogPolicy() noexcept;
    // Tells the logger that automatic logging is on or off now, with the chosen interval's caption.
    void TellLogger(bool on) noexcept;

    ScheduleControls controls_;
    ScheduleServices services_;
    SchedulePolicy policy_;
    std::int32_t intervalSeconds_ = 0;
    std::int32_t elapsedSeconds_ = 0;
    // Reused by every tick, which then allocates nothing: the row text read from the list, and
    // the countdown caption, whose last characters are rewritten in place.
    std::string selectedText_;
    std::string caption_;
};

} // namespace ambervale
