#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/WinEnvironment.h"
#include "app/WinGlanceMenu.h"
#include "asking/RequestIds.h"
#include "asking/WinStandardTcpIpPorts.h"
#include "base/WinMessageBoxes.h"
#include "base/WinPolicy.h"
#include "base/WinProcess.h"
#include "base/WinRegistrySettings.h"
#include "base/WinText.h"
#include "eventlog/EventLogOutput.h"
#include "eventlog/WinEventLog.h"
#include "history/HistoryFile.h"
#include "history/WinClipboard.h"
#include "history/WinFiles.h"
#include "history/WinHistoryFile.h"
#include "ipp/IppStatusSource.h"
#include "ipp/WinHttpTransport.h"
#include "logging/StatusLogger.h"
#include "logging/WinDateTime.h"
#include "logging/WinEntryWorker.h"
#include "mainwindow/Form1.h"
#include "mainwindow/WinForm1.h"
#include "base/WinText.h"
#include "printer/AskPrintersGate.h"
#include "printer/WinAskPrintersPolicy.h"
#include "printer/WinSpooler.h"
#include "snmp/SnmpStatusSource.h"
#include "snmp/WinUdpTransport.h"
#include "startup/WinRegistry.h"
#include "tray/WinSysTray.h"
#include "tray/WinTrayStatus.h"

namespace ambervale::win {

// Everything one run of the program owns, wired together: the main window, its handlers and the Windows
// services they reach. Built when the program starts, gone when it ends.
class App {
public:
    explicit App(HINSTANCE instance);
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Loads the main window, shows it and runs until it is closed; returns the exit code.
    int Run();
    // True when the close left an entry's question behind, still inside the spooler's or the network's calls.
    bool EntryLeftRunning() const { return entryWorker_.Busy(); }

    Form1Window& Window() { return window_; }

private:
    HINSTANCE instance_;
    Form1Window window_;
    WinMessageBoxes boxes_;
    WinMessagePump pump_;
    WinRegistrySettings settings_;
    // The spooler and the printer's own word belong to each entry's work as well: a close may leave that work
    // running while this run's objects go.
    std::shared_ptr<WinSpooler> spooler_ = std::make_shared<WinSpooler>();
    WinClock clock_;
    WinDateTimeText dateTimeText_;
    WinHistoryWriter historyWriter_;
    WinFiles files_;
    WinProcessStarter processes_;
    WinRegistry registry_;
    WinEnvironment environment_;
    WinRandom random_;
    WinEventLog eventLog_;
    WinPolicySource policySource_;
    WinSecondsClock secondsClock_;
    ProgramValues values_;
    // Asking the printer itself: over SNMP for a printer on a Standard TCP/IP port with SNMP on, over IPP for one on
    // a URL port or a TCP/IP port without SNMP; neither while policy says AskPrinters = 0. Owned with the work of the
    // entries too, which a close may leave running while the program's other objects go.
    struct PrinterAsking {
        WinAskPrintersPolicy askPrinters;
        WinStandardTcpIpPorts tcpIpPorts;
        RandomRequestIds requestIds;
        // Text the printers send, in the character set they name, as the program's ANSI text.
        WinForeignText foreignText;
        WinUdpTransport snmpTransport;
        SnmpStatusSource snmp{tcpIpPorts, snmpTransport, requestIds, &foreignText};
        WinHttpTransport ippTransport;
        IppStatusSource ipp{tcpIpPorts, ippTransport, requestIds, foreignText};
        // The protocols, in the order they are asked, each behind the policy; each asks only the printers it is for.
        std::vector<AskPrintersGate> protocols{AskPrintersGate{snmp, askPrinters.Allowed()},
                                               AskPrintersGate{ipp, askPrinters.Allowed()}};
    };
    std::shared_ptr<PrinterAsking> printerAsking_ = std::make_shared<PrinterAsking>();
    // Each entry's question (the spooler, the printer) runs away from the window, which goes on meanwhile.
    WinEntryWorker entryWorker_;
    // Each entry is made once and goes to these outputs, in this order: the list keeps its row even when the
    // history file refuses the line, and the Event Log comes last, with the changes only.
    EntryLogger logger_{spooler_, clock_, dateTimeText_, entryWorker_};
    LogListOutput listOutput_{window_.ListView1()};
    HistoryFileOutput historyOutput_{historyWriter_, values_.historyFilePath, clock_, dateTimeText_};
    EventLogOutput eventLogOutput_{eventLog_, secondsClock_};
    std::unique_ptr<WinClipboardBuffer> copyBuffer_;
    std::unique_ptr<WinSysTray> tray_;
    // The tray icon as the printer's state, its notifications and its menu.
    WinUserAttention userAttention_;
    NotifyChoice notifyChoice_{settings_, policySource_, userAttention_};
    WinSinceText sinceText_;
    std::unique_ptr<TrayStatusOutput> trayOutput_;
    std::unique_ptr<WinTrayMenuView> trayMenuView_;
    std::unique_ptr<TrayMenu> trayMenu_;
    std::unique_ptr<Schedule> schedule_;
    std::unique_ptr<HistoryCommands> history_;
    std::unique_ptr<MinimiseToTray> minimiseToTray_;
    std::unique_ptr<StartupServices> startup_;
    std::unique_ptr<Form1> form1_;
    // Last: a report under way is stopped and its thread waited for before anything else goes.
    std::unique_ptr<GlanceFromMenu> glance_;
};

} // namespace ambervale::win
