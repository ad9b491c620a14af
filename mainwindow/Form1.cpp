#include "mainwindow/Form1.h"

#include <utility>

#include "base/ErrorReport.h"
#include "base/Globals.h"
#include "history/HistoryPath.h"
#include "mainwindow/Main.h"

namespace ambervale {

void Form1::Form_Load() {
    GuardedSteps steps(parts_.boxes, "Form_Load");
    steps.Run(100, [&] { ApplySkin(); });
    steps.Run(104, [&] { isLoading_ = true; });
    // What the administrator holds stands in for the stored choices in the steps that restore them.
    policies_ = ReadPolicies(parts_.policySource);
    parts_.schedule.HoldByPolicy({policies_.logIntervalSeconds, policies_.automaticLog});
    steps.Run(106, [&] {
        parts_.view.SetCaption(kProductName);
        parts_.view.SetProgramIcon();
        SetAppTitle();
    });
    steps.Run(108, [&] { OpenHomePageByChance(); });
    std::string cursorPath;
    if (steps.Test(128, [&] {
            cursorPath = parts_.environment.ProgramFolder() + std::string(kHandCursorFile);
            return parts_.files.FileExists(cursorPath);
        })) {
        steps.Run(130, [&] { parts_.view.LoadHandCursor(cursorPath); });
    }
    parts_.schedule.FillIntervalList(steps);
    steps.Run(160, [&] { parts_.view.AddLogListColumn(kLogListHeader); });
    steps.Run(162, [&] { parts_.view.SetLogListColumnWidth(kLogListColumnTwips); });
    parts_.schedule.RestoreInterval(steps);
    parts_.schedule.RestoreStartStopState(steps);
    parts_.tray.RunLoadSteps(steps, [&] {
        return RestoreWindowsStartup(parts_.startup, values_.executablePath, policies_.startWithWindows);
    });
    ShowHeldControls();
    steps.Run(200, [&] { values_.historyFilePath = ComposeHistoryFilePath(parts_.environment.TempFolder()); });
    steps.Run(202, [&] { isLoading_ = false; });
    // A change announced while a load's error box was open counts now, against what the load showed.
    if (std::exchange(policyChangedWhileLoading_, false)) Form_PolicyChanged();
}

void Form1::Form_PolicyChanged() {
    if (isLoading_) {
        policyChangedWhileLoading_ = true;
        return;
    }
    const Policies next = ReadPolicies(parts_.policySource);
    parts_.schedule.PolicyChanged({next.logIntervalSeconds, next.automaticLog});
    if (next.startWithWindows != policies_.startWithWindows) {
        settingByPolicy_ = true;
        Check4_PolicyChanged(parts_.startup, values_.executablePath, next.startWithWindows);
        settingByPolicy_ = false;
    }
    policies_ = next;
    ShowHeldControls();
}

void Form1::ShowHeldControls() noexcept {
    const std::pair<HeldControl, bool> controls[] = {
        {HeldControl::ListView2, policies_.logIntervalSeconds.has_value()},
        {HeldControl::PushButton5, policies_.automaticLog.has_value()},
        {HeldControl::Check4, policies_.startWithWindows.has_value()},
    };
    for (const auto& [control, held] : controls) {
        try {
            parts_.held.SetHeld(control, held);
        } catch (...) {
            // Not shown as held, the control still changes nothing: its handler follows the policy.
        }
    }
}

void Form1::Form_QueryUnload() {
    GuardedSteps steps(parts_.boxes, "Form_QueryUnload");
    steps.Run(100, [&] { parts_.timer1.SetEnabled(false); });
    parts_.schedule.CloseLogging();
    parts_.tray.RunCloseSteps(steps);
    steps.Run(104, [&] { parts_.pump.DoEvents(); });
}

void Form1::Timer1_Timer() {
    // Step 182 starts the timer before loading ends, and an error box of a later step lets its ticks through. An
    // entry then would find no history path yet (step 200 composes it) and open a second box: the tick waits, and
    // the count starts once loading is done.
    if (isLoading_) return;
    parts_.schedule.Timer1_Timer();
}

void Form1::Form_StartedAgain() {
    // A start-up error box lets messages through while loading. Shown then, the window would be half loaded, and a
    // start in the notification area would hide it again at once.
    if (!started_) {
        startedAgainEarly_ = true;
        return;
    }
    parts_.tray.BringBack();
}

void Form1::FinishStart() {
    started_ = true;
    if (std::exchange(startedAgainEarly_, false)) parts_.tray.BringBack();
}

void Form1::PushButton11_Click() {
    GuardedSteps steps(parts_.boxes, "PushButton11_Click");
    steps.Run(100, [&] {
        parts_.boxes.Show({std::string(kHelpText) + std::string(kContactPageUrl), values_.appTitle, BoxIcon::None,
                           BoxButtons::Ok});
    });
}

void Form1::PushButton_MouseMove() {
    if (parts_.pointer.Pointer() != PointerKind::Hourglass) parts_.pointer.SetPointer(PointerKind::Custom);
}

void Form1::Background_MouseMove() {
    if (parts_.pointer.Pointer() != PointerKind::Hourglass) parts_.pointer.SetPointer(PointerKind::Default);
}

void Form1::ApplySkin() {
    const std::string skinPath = parts_.environment.ProgramFolder() + std::string(kSkinFile);
    if (!parts_.environment.FileListed(skinPath)) return;
    // There is no skin engine in this build: the skin shows as the button-face colours alone.
    parts_.view.UseButtonFaceColours();
}

void Form1::SetAppTitle() { values_.appTitle = AppTitleOf(kProductName); }

void Form1::OpenHomePageByChance() {
    parts_.random.SeedFromTimeOfDay();
    if (DrawOneToHundred(parts_.random.NextFraction()) != kHomePageWinningNumber) return;
    parts_.processes.Start(SystemProgram::FileManager, "\"" + std::string(kHomePageUrl) + "\"",
                           StartWindow::MinimizedFocus);
}

} // namespace ambervale
