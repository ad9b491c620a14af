#include "app/WinApp.h"

#include "app/WinSingleInstance.h"

namespace ambervale::win {

App::App(HINSTANCE instance) : instance_(instance), window_(instance) {
    window_.Create();
    window_.AnswerStartedAgain(StartedAgainMessage());
    HWND hwnd = window_.Handle();
    boxes_.SetOwner(hwnd);
    pump_.SetDialogWindow(hwnd);
    values_.executablePath = ExecutablePath();

    copyBuffer_ = std::make_unique<WinClipboardBuffer>(hwnd);
    entryWorker_.SetWindow(hwnd);
    for (AskPrintersGate& protocol : printerAsking_->protocols) {
        logger_.AddStatusSource(std::shared_ptr<StatusSource>(printerAsking_, &protocol));
    }
    logger_.AddOutput(listOutput_);
    logger_.AddOutput(historyOutput_);
    logger_.AddOutput(eventLogOutput_);
    window_.AnswerPolicyChange([this] {
        eventLog_.ReadPolicy();
        printerAsking_->askPrinters.Read();
        if (form1_) form1_->Form_PolicyChanged();
    });
    tray_ = std::make_unique<WinSysTray>(hwnd, instance);
    // The tray control starts as the window's design stored it: out of the tray, no tip, the blue 'C' icon.
    tray_->Control().ReadProperties({false, LoadTrayIconResource(instance, kTrayIconResource), ""});
    trayOutput_ = std::make_unique<TrayStatusOutput>(
        tray_->Control(), LoadTrayLookIcons(instance),
        TrayStatusServices{clock_, sinceText_, secondsClock_, notifyChoice_, &AnsiLeadByte});
    logger_.AddOutput(*trayOutput_);
    trayMenuView_ = std::make_unique<WinTrayMenuView>(hwnd);
    trayMenu_ = std::make_unique<TrayMenu>(*trayMenuView_, notifyChoice_);

    schedule_ = std::make_unique<Schedule>(
        ScheduleControls{window_.ListView2(), window_.Frame1(), window_, window_.PushButton5(), window_, window_},
        ScheduleServices{settings_, logger_, pump_, boxes_});
    history_ = std::make_unique<HistoryCommands>(
        HistoryServices{boxes_, pump_, files_, processes_, *copyBuffer_, window_.ListView1Rows()});
    minimiseToTray_ = std::make_unique<MinimiseToTray>(window_, tray_->Control(), settings_);
    minimiseToTray_->SetMenu(trayMenu_.get());
    startup_.reset(new StartupServices{window_, settings_, registry_, boxes_});
    form1_ = std::make_unique<Form1>(Form1Parts{window_, environment_, random_, files_, processes_, boxes_, pump_,
                                                window_, window_, *schedule_, *history_, *minimiseToTray_, *startup_,
                                                policySource_, window_},
                                     values_);
    window_.Attach(*form1_);
    glance_ = std::make_unique<GlanceFromMenu>(window_, values_.historyFilePath, boxes_);
}

int App::Run() {
    logger_.HoldStartQuestion(true);
    form1_->Form_Load();
    window_.ShowAfterLoad();
    form1_->FinishStart();
    logger_.HoldStartQuestion(false);
    return window_.Run();
}

} // namespace ambervale::win
