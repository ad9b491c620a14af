#pragma once
#include <string>

#include "base/Policy.h"
#include "history/HistoryCommands.h"
#include "logging/Schedule.h"
#include "mainwindow/Form1View.h"
#include "startup/StartupCheckBox.h"
#include "tray/MinimiseToTray.h"

namespace ambervale {

// Values that live for the whole run.
struct ProgramValues {
    std::string appTitle;
    std::string historyFilePath;  // empty until the end of start-up
    std::string executablePath;   // the running program, registered to start with Windows
};

// Everything the main window's handlers reach.
struct Form1Parts {
    Form1View& view;
    Form1Environment& environment;
    RandomSource& random;
    HistoryFiles& files;
    ProcessStarter& processes;
    MessageBoxes& boxes;
    MessagePump& pump;
    TimerControl& timer1;
    MousePointerControl& pointer;
    Schedule& schedule;
    HistoryCommands& history;
    MinimiseToTray& tray;
    const StartupServices& startup;
    PolicySource& policySource;
    PolicyHeldControls& held;
};

// The main window's handlers: the start-up and close sequences, Help and the pointer feedback here, the rest
// handed to the part of the program that owns it.
class Form1 : public Form1Events {
public:
    Form1(const Form1Parts& parts, ProgramValues& values) : parts_(parts), values_(values) {}

    void Form_Load() override;
    void Form_QueryUnload() override;
    void Form_Resize() override { parts_.tray.Form_Resize(); }
    void Form_BackInMainLoop() override { parts_.tray.ShowDueBalloon(); }
    void Timer1_Timer() override;
    void PushButton1_Click() override { parts_.history.PushButton1_Click(Target()); }
    void PushButton2_Click() override { parts_.history.PushButton2_Click(Target()); }
    void PushButton5_Click() override { parts_.schedule.PushButton5_Click(); }
    void PushButton6_Click() override { parts_.schedule.PushButton6_Click(); }
    void PushButton11_Click() override;
    void PushButton12_Click() override { parts_.history.PushButton12_Click(Target()); }
    void ListView2_Click() override { parts_.schedule.ListView2_Click(); }
    void Check4_Click() override {
        // Set by the program, or held by policy: the click neither registers nor stores anything.
        const bool notTheUsers = isLoading_ || settingByPolicy_ || policies_.startWithWindows.has_value();
        ambervale::Check4_Click(notTheUsers, parts_.startup, values_.executablePath, values_.appTitle);
    }
    void Check8_Click() override { parts_.tray.Check8_Click(); }
    void Form_StartedAgain() override;
    void PushButton_MouseMove() override;
    void Background_MouseMove() override;

    // Windows says policy has changed: the held controls follow the policies read now, with no restart.
    void Form_PolicyChanged();

    bool IsLoading() const { return isLoading_; }
    // Once loading has given the window its first place (shown, or in the tray): a start of a second copy that
    // came while a start-up error box was open is answered now.
    void FinishStart();

    // Start-up's helpers, each failing as a whole into the load's error box.
    void ApplySkin();
    void SetAppTitle();
    void OpenHomePageByChance();

private:
    HistoryTarget Target() const { return {values_.historyFilePath, values_.appTitle}; }
    void ShowHeldControls() noexcept;

    Form1Parts parts_;
    ProgramValues& values_;
    bool isLoading_ = false;
    bool started_ = false;
    bool startedAgainEarly_ = false;
    Policies policies_;
    bool settingByPolicy_ = false;
    bool policyChangedWhileLoading_ = false;
};

inline constexpr std::string_view kSkinFile = "\\x\\o.cjs";
inline constexpr std::string_view kHandCursorFile = "\\HAND-M.CUR";
inline constexpr std::string_view kLogListHeader = " Printer Status";
inline constexpr int kLogListColumnTwips = 20000;
inline constexpr std::string_view kHelpText = "Questions? Please contact Team Corvatek at ";

} // namespace ambervale
