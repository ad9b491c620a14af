#include <optional>

#include "logging/IntervalTable.h"
#include "logging/Schedule.h"
#include "logging/ScheduleText.h"
#include "logging/StoredNumber.h"
#include "base/AppError.h"

namespace ambervale {

// Steps 132 (column), 134 (its width), then one step per row: 136, 138, ... 158.
void Schedule::FillIntervalList(GuardedSteps& steps) {
    steps.Run(132, [&] { controls_.listView2.AddColumn(kIntervalListHeader); });
    steps.Run(134, [&] { controls_.listView2.SetColumnWidth(kIntervalColumnTwips); });
    int step = 136;
    for (const IntervalChoice& row : kIntervalTable) {
        steps.Run(step, [&] { controls_.listView2.AddRow(row.caption); });
        step += 2;
    }
}

void Schedule::SelectRestoredRow(int position) {
    if (position < 1 || position > static_cast<int>(kIntervalTable.size())) {
        throw AppError(std::string(kErrInvalidPropertyValue));
    }
    controls_.listView2.SelectRow(position);
}

// Step 164 reads "OftenIndex" as a 16-bit number, step 166 selects that row. A bad value leaves
// no row selected (so no entry comes until the user picks one) and the stored text untouched.
// Held by policy, step 166 selects the administrator's row and "OftenIndex" is not even read.
void Schedule::RestoreInterval(GuardedSteps& steps) {
    if (policy_.intervalSeconds) {
        steps.Run(166, [&] { SelectRestoredRow(PositionOfSeconds(*policy_.intervalSeconds)); });
        return;
    }
    std::optional<int> position;
    steps.Run(164, [&] {
        position = StoredTextToInt16(services_.settings.Read(kSettingOftenIndex, kDefaultOftenIndex));
    });
    // A value that is no number was reported at 164: one fault, one box.
    if (!position) return;
    steps.Run(166, [&] { SelectRestoredRow(*position); });
}

// Steps 172 to 176; also the display of a stored state that is neither "On" nor "Off", so
// that one click on the button turns logging on.
void Schedule::ShowLoggingOff(GuardedSteps& steps) {
    steps.Run(172, [&] { controls_.pushButton5.SetCaption(kButtonTurnOn); });
    steps.Run(174, [&] { controls_.frame1.SetCaption(kFrameTurnedOff); });
    steps.Run(176, [&] { controls_.timer1.SetPeriod(kTimerStopped); });
}

// 168 read "StartStopState"  170 "Off"? (172 to 176)  178 "On"? 180 caption  182 period 1000.
// Compared exactly; the stored text is never rewritten here. Held by policy, the policy's state stands in for it.
void Schedule::RestoreStartStopState(GuardedSteps& steps) {
    std::string state;
    steps.Run(168, [&] {
        state = policy_.automaticLog ? std::string(*policy_.automaticLog ? kOn : kOff)
                                     : services_.settings.Read(kSettingStartStopState, kDefaultStartStopState);
    });
    if (steps.Test(170, [&] { return state == kOff; })) {
        ShowLoggingOff(steps);
    } else if (steps.Test(178, [&] { return state == kOn; })) {
        steps.Run(180, [&] { controls_.pushButton5.SetCaption(kButtonTurnOff); });
        steps.Run(182, [&] { controls_.timer1.SetPeriod(kTickMilliseconds); });
        TellLogger(true);
    } else {
        ShowLoggingOff(steps);
    }
}

} // namespace ambervale
