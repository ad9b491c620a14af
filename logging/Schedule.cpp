#include "logging/Schedule.h"

#include <limits>
#include <string_view>

#include "logging/Countdown.h"
#include "logging/IntervalTable.h"
#include "logging/ScheduleText.h"

namespace ambervale {

Schedule::Schedule(const ScheduleControls& controls, const ScheduleServices& services)
    : controls_(controls), services_(services), caption_(kFrameCountdownPrefix) {
    selectedText_.reserve(32);
    caption_.append(kCountdownLength, '0');
}

std::int32_t Schedule::GetIntervalSeconds() {
    // Whatever row the list shows or the store says: the administrator's interval.
    if (policy_.intervalSeconds) return *policy_.intervalSeconds;
    int position = 0;
    if (!controls_.listView2.SelectedRow(selectedText_, position)) return 0;
    // The row at a position normally carries that position's caption: try it before the whole
    // table (the captions are unique, so the answer is the same).
    if (position >= 1 && position <= static_cast<int>(kIntervalTable.size())) {
        const IntervalChoice& row = kIntervalTable[static_cast<std::size_t>(position - 1)];
        if (row.caption == selectedText_) return row.seconds;
    }
    return IntervalSecondsOfCaption(selectedText_);
}

bool Schedule::LoggingSwitchedOff() { return controls_.pushButton5.Caption() == kButtonTurnOn; }

void Schedule::TellLogger(bool on) noexcept {
    std::string caption;
    try {
        int position = 0;
        if (!controls_.listView2.SelectedRow(caption, position)) caption.clear();
    } catch (...) {
        caption.clear();  // no interval to name; the switch is told all the same
    }
    services_.logger.LoggingSwitched(on, caption);
}

void Schedule::ShowCountdown() {
    if (intervalSeconds_ <= 0) {
        controls_.frame1.SetCaption(kFrameNoInterval);
        return;
    }
    // Never less than 0: the entry is due once the count has reached the interval.
    const std::int32_t left = elapsedSeconds_ < intervalSeconds_ ? intervalSeconds_ - elapsedSeconds_ : 0;
    WriteCountdown(caption_.data() + kFrameCountdownPrefix.size(), left);
    controls_.frame1.SetCaption(caption_);
}

// Timer1_Timer steps:
//   100 timer stopped?  102 "is Off" caption, end of the tick
//   104 IntervalSeconds  106 count one tick  108 bar maximum  110 count within the interval?
//   112 bar position  114 countdown caption  116 DoEvents
//   118 entry due?  120 period 0  122 disable  124 DoEvents  126 LogStatusNow  128 DoEvents
//   130 count 0  132 bar position 0  134 still switched on?  136 period 1000  138 enable
void Schedule::Timer1_Timer() {
    GuardedSteps steps(services_.boxes, "Timer1");
    if (steps.Test(100, [&] { return controls_.timer1.Period() == kTimerStopped; })) {
        steps.Run(102, [&] { controls_.frame1.SetCaption(kFrameLogIsOff); });
        return;
    }
    steps.Run(104, [&] { intervalSeconds_ = GetIntervalSeconds(); });
    steps.Run(106, [&] {
        if (elapsedSeconds_ < std::numeric_limits<std::int32_t>::max()) ++elapsedSeconds_;
    });
    steps.Run(108, [&] { controls_.progressBar1.SetMaximum(intervalSeconds_); });
    if (steps.Test(110, [&] { return elapsedSeconds_ <= intervalSeconds_; })) {
        steps.Run(112, [&] { controls_.progressBar1.SetPosition(elapsedSeconds_); });
    }
    steps.Run(114, [&] { ShowCountdown(); });
    steps.Run(116, [&] { services_.pump.DoEvents(); });

    // Due once the count has reached the interval, not only on equality: a shorter interval chosen
    // while counting must not let the count run past it for good.
    if (!steps.Test(118, [&] { return intervalSeconds_ > 0 && elapsedSeconds_ >= intervalSeconds_; })) return;
    // The timer rests while the entry is made, so ticks never nest.
    steps.Run(120, [&] { controls_.timer1.SetPeriod(kTimerStopped); });
    steps.Run(122, [&] { controls_.timer1.SetEnabled(false); });
    steps.Run(124, [&] { services_.pump.DoEvents(); });
    EntryOutcome entry = EntryOutcome::Made;
    steps.Run(126, [&] { entry = services_.logger.LogStatusNow(); });
    // The window closed while the entry was being made: the tick has nothing left to do, and the timer stays still.
    if (entry == EntryOutcome::Closing) return;
    steps.Run(128, [&] { services_.pump.DoEvents(); });
    steps.Run(130, [&] { elapsedSeconds_ = 0; });
    steps.Run(132, [&] { controls_.progressBar1.SetPosition(0); });
    // A click during the entry may have switched logging off; then it stays off. The timer is
    // enabled either way (at period 0 it stays still), so the next switch-on starts it again.
    if (steps.Test(134, [&] { return !LoggingSwitchedOff(); })) {
        steps.Run(136, [&] { controls_.timer1.SetPeriod(kTickMilliseconds); });
    }
    steps.Run(138, [&] { controls_.timer1.SetEnabled(true); });
}

// PushButton5_Click steps:
//   100 switched off?  102 caption "Turn Off..."  104 period 1000  106 store "On"
//   108 switched on?   110 caption "Turn On..."   112 period 0     114 store "Off"
// The count, the bar and the frame stay as they are: switching on again resumes the countdown.
void Schedule::PushButton5_Click() {
    // Held by policy, the button only shows the state: a click (from the keyboard, or sent) changes nothing.
    if (policy_.automaticLog) return;
    GuardedSteps steps(services_.boxes, "PushButton5_Click");
    if (steps.Test(100, [&] { return controls_.pushButton5.Caption() == kButtonTurnOn; })) {
        steps.Run(102, [&] { controls_.pushButton5.SetCaption(kButtonTurnOff); });
        steps.Run(104, [&] { controls_.timer1.SetPeriod(kTickMilliseconds); });
        steps.Run(106, [&] { services_.settings.Write(kSettingStartStopState, kOn); });
        TellLogger(true);
    } else if (steps.Test(108, [&] { return controls_.pushButton5.Caption() == kButtonTurnOff; })) {
        steps.Run(110, [&] { controls_.pushButton5.SetCaption(kButtonTurnOn); });
        steps.Run(112, [&] { controls_.timer1.SetPeriod(kTimerStopped); });
        steps.Run(114, [&] { services_.settings.Write(kSettingStartStopState, kOff); });
        TellLogger(false);
    }
}

// PushButton6_Click steps:
//   100 DoEvents  102 hourglass  104 LogStatusNow  106 default pointer  108 bar position 0  110 bar text
// The count goes on untouched; the bar returns to it at the next tick. A click while an entry is being made (the
// window keeps answering meanwhile) does nothing: that entry, under way, is the one it asks for.
void Schedule::PushButton6_Click() {
    if (services_.logger.EntryPending()) return;
    GuardedSteps steps(services_.boxes, "PushButton6_Click");
    steps.Run(100, [&] { services_.pump.DoEvents(); });
    steps.Run(102, [&] { controls_.mousePointer.SetPointer(PointerKind::Hourglass); });
    EntryOutcome entry = EntryOutcome::Made;
    steps.Run(104, [&] { entry = services_.logger.LogStatusNow(); });
    if (entry == EntryOutcome::Closing) return;
    steps.Run(106, [&] { controls_.mousePointer.SetPointer(PointerKind::Default); });
    steps.Run(108, [&] { controls_.progressBar1.SetPosition(0); });
    steps.Run(110, [&] { controls_.progressBar1.SetText(kProgressBarText); });
}

void Schedule::ListView2_Click() noexcept {
    if (policy_.intervalSeconds) {
        // Held by policy: the administrator's row stays selected, and the user's stored choice stays as it was.
        try {
            controls_.listView2.SelectRow(PositionOfSeconds(*policy_.intervalSeconds));
        } catch (...) {
        }
        return;
    }
    // This handler has no error box: whatever fails, the interval in use still follows the list.
    int position = 0;
    bool selected = false;
    try {
        selected = controls_.listView2.SelectedRow(selectedText_, position);
    } catch (...) {
        selected = false;
    }
    if (selected) {
        try {
            services_.settings.Write(kSettingOftenIndex, std::to_string(position));
        } catch (...) {
            // Not remembered for the next start, but this run uses the new interval all the same.
        }
    }
    // With no row selected the interval is 0 and no entry comes until a row is chosen again; the
    // stored index keeps the last row the user chose.
    intervalSeconds_ = selected ? IntervalSecondsOfCaption(selectedText_) : 0;
    elapsedSeconds_ = 0;
    bool on = false;
    try {
        on = controls_.pushButton5.Caption() == kButtonTurnOff;
    } catch (...) {
        on = false;  // the button cannot say: the logger keeps the interval it was told last
    }
    if (on) TellLogger(true);
}

} // namespace ambervale
