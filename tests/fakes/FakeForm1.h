#pragma once
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeHistoryServices.h"
#include "fakes/FakePolicy.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeScheduleRig.h"
#include "fakes/FakeTrayHostWindow.h"
#include "fakes/FakeTrayPlatform.h"
#include "mainwindow/Form1.h"

namespace ambervale::testing {

class FakeForm1View : public Form1View {
public:
    void SetCaption(std::string_view text) override { caption.assign(text); }
    void SetProgramIcon() override { ++programIconSet; }
    void LoadHandCursor(const std::string& path) override {
        if (corruptCursor) throw AppError("Invalid picture");
        handCursor = path;
    }
    void UseButtonFaceColours() override { buttonFace = true; }
    void AddLogListColumn(std::string_view header) override { logColumn.assign(header); }
    void SetLogListColumnWidth(int twips) override { logColumnTwips = twips; }

    std::string caption = "Form1";
    int programIconSet = 0;
    std::optional<std::string> handCursor;
    bool corruptCursor = false;
    bool buttonFace = false;
    std::string logColumn;
    int logColumnTwips = 0;
};

class FakeEnvironment : public Form1Environment {
public:
    std::string ProgramFolder() override { return folder; }
    std::optional<std::string> TempFolder() override { return temp; }
    bool FileListed(const std::string& path) override { return listed.count(path) != 0; }

    std::string folder = "C:\\Program Files\\Ambervale";
    std::optional<std::string> temp = "C:\\Users\\pat\\AppData\\Local\\Temp";
    std::set<std::string> listed;
};

class FakeRandom : public RandomSource {
public:
    void SeedFromTimeOfDay() override { ++seeded; }
    double NextFraction() override { return fraction; }
    int seeded = 0;
    double fraction = 0.5;
};

// A whole main window's worth of fakes around the real handlers, wired as the program wires them.
struct FakeForm1Rig : FakeScheduleRig {
    FakeForm1Rig() {
        window.check8Visible = true;
        window.onCheck4Click = [this] { form.Check4_Click(); };
        window.onCheck8Click = [this] { form.Check8_Click(); };
    }

    FakeForm1View view;
    FakeEnvironment environment;
    FakeRandom random;
    FakeHistoryFiles files;
    FakeProcessStarter processes;
    FakeCopyBuffer copyBuffer{files};
    FakeLogListRows logRows;
    FakeTrayHostWindow window;
    FakeTrayPlatform trayPlatform;
    FakeRegistry registry;
    FakePolicySource policySource;
    FakeHeldControls held;
    ProgramValues values{"", "", "C:\\Program Files\\Ambervale\\Ambervale.exe"};
    cSysTray tray{42, trayPlatform.Services()};
    HistoryCommands history{HistoryServices{boxes, pump, files, processes, copyBuffer, logRows}};
    MinimiseToTray minimise{window, tray, settings};
    StartupServices startup{window, settings, registry, boxes};
    Form1 form{Form1Parts{view, environment, random, files, processes, boxes, pump, timer, pointer, schedule, history,
                          minimise, startup, policySource, held},
               values};
};

} // namespace ambervale::testing
