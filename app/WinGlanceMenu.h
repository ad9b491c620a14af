#pragma once
#include <windows.h>

#include <shobjidl.h>

#include <memory>
#include <string>

#include "base/MessageBoxes.h"
#include "glance/WinGlance.h"
#include "mainwindow/WinForm1.h"

namespace ambervale::win {

// "History at a Glance..." from the main window's system menu: the report of the history file is made on a thread
// of its own while the window goes on logging; the caption and, where Windows has one, the taskbar button show how
// far it has read; then the page opens in the user's browser. A second choice while one is under way starts nothing.
class GlanceFromMenu {
public:
    // historyPath: the program's history path, which start-up composes; read at each choice.
    GlanceFromMenu(Form1Window& window, const std::string& historyPath, MessageBoxes& boxes);
    ~GlanceFromMenu();
    GlanceFromMenu(const GlanceFromMenu&) = delete;
    GlanceFromMenu& operator=(const GlanceFromMenu&) = delete;

private:
    void Requested();
    void Progress(int hundredths, bool done);
    void ShowProgress(int hundredths);
    void EndProgress();
    void Tell(const std::string& text, BoxIcon icon);

    Form1Window& window_;
    const std::string& historyPath_;
    MessageBoxes& boxes_;
    WinGlanceWorker worker_;
    struct Release {
        void operator()(IUnknown* object) const { object->Release(); }
    };
    std::unique_ptr<ITaskbarList3, Release> taskbar_;  // while a report is made, where Windows has one
    bool comStarted_ = false;
};

} // namespace ambervale::win
