#pragma once
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakeScheduleControls.h"
#include "fakes/FakeSettingsStore.h"
#include "logging/Schedule.h"
#include "base/ErrorReport.h"

namespace ambervale::testing {

// A main window's worth of fakes around one Schedule, wired the way the window wires it: every
// change of the selected interval row calls ListView2_Click.
struct FakeScheduleRig {
    FakeScheduleRig() {
        list.onSelectionChanged = [this] { schedule.ListView2_Click(); };
    }

    // The three start-up steps, in order, under the load handler's location.
    void Load() {
        GuardedSteps steps(boxes, "Form_Load");
        schedule.FillIntervalList(steps);
        schedule.RestoreInterval(steps);
        schedule.RestoreStartStopState(steps);
    }

    // One tick, delivered only when the timer would deliver it.
    void Tick() {
        if (timer.Running()) schedule.Timer1_Timer();
    }

    FakeIntervalList list;
    FakeCaptionControl frame{"Next log will occur in"};
    FakeProgressBar bar;
    FakeCaptionControl button{"Turn On Automatic Logging"};
    FakeMousePointer pointer;
    FakeTimer timer;
    FakeSettingsStore settings;
    FakeStatusLogger logger;
    FakeMessagePump pump;
    FakeMessageBoxes boxes;
    Schedule schedule{ScheduleControls{list, frame, bar, button, pointer, timer},
                      ScheduleServices{settings, logger, pump, boxes}};
};

} // namespace ambervale::testing
