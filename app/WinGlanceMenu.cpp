#include "app/WinGlanceMenu.h"

#include "base/AppError.h"
#include "base/Globals.h"
#include "history/HistoryCommands.h"
#include "history/WinFiles.h"
#include "mainwindow/Main.h"

namespace ambervale::win {

GlanceFromMenu::GlanceFromMenu(Form1Window& window, const std::string& historyPath, MessageBoxes& boxes)
    : window_(window), historyPath_(historyPath), boxes_(boxes), worker_(window.Handle(), kGlanceProgressMessage) {
    window_.AnswerGlance([this] { Requested(); }, [this](int hundredths, bool done) { Progress(hundredths, done); });
}

GlanceFromMenu::~GlanceFromMenu() { EndProgress(); }

void GlanceFromMenu::Requested() {
    if (worker_.Busy()) return;  // the report under way is the one asked for
    if (!FileExists(historyPath_)) {
        Tell(std::string(kNoHistoryToViewText), BoxIcon::None);
        return;
    }
    if (!worker_.Start(historyPath_, GlanceReportPath(historyPath_))) return;
    // The taskbar button's progress (Windows 7 and later); without it the caption alone shows it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(com);
    ITaskbarList3* taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                   reinterpret_cast<void**>(&taskbar)))) {
        taskbar_.reset(taskbar);
        if (FAILED(taskbar_->HrInit())) taskbar_.reset();
    }
    ShowProgress(0);
}

void GlanceFromMenu::Progress(int hundredths, bool done) {
    if (!worker_.Busy()) return;
    if (!done) {
        ShowProgress(hundredths);
        return;
    }
    const auto outcome = worker_.Finish();
    EndProgress();
    try {
        if (outcome.failure) throw AppError(*outcome.failure);
        OpenGlanceReport(outcome.reportPath, window_.Handle());
    } catch (const std::exception& e) {
        Tell(std::string("The history at a glance could not be made.\r\n") + e.what(), BoxIcon::Exclamation);
    }
}

void GlanceFromMenu::ShowProgress(int hundredths) {
    window_.SetCaption(std::string(kProductName) + " - History at a Glance " + std::to_string(hundredths) + "%");
    if (taskbar_) {
        taskbar_->SetProgressState(window_.Handle(), TBPF_NORMAL);
        taskbar_->SetProgressValue(window_.Handle(), static_cast<ULONGLONG>(hundredths), 100);
    }
}

void GlanceFromMenu::EndProgress() {
    if (taskbar_) {
        taskbar_->SetProgressState(window_.Handle(), TBPF_NOPROGRESS);
        taskbar_.reset();
    }
    if (comStarted_) CoUninitialize();
    comStarted_ = false;
    if (window_.Handle()) window_.SetCaption(kProductName);
}

void GlanceFromMenu::Tell(const std::string& text, BoxIcon icon) {
    try {
        boxes_.Show({text, AppTitleOf(kProductName), icon, BoxButtons::Ok});
    } catch (const std::exception&) {
        // No box could be shown: there is nobody else to tell.
    }
}

} // namespace ambervale::win
