#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/AtLogonStart.h"
#include "app/WinApp.h"
#include "app/WinEnvironment.h"
#include "app/WinGlanceCommand.h"
#include "app/WinSingleInstance.h"
#include "base/AppError.h"
#include "base/Globals.h"
#include "base/WinPolicy.h"
#include "base/WinSystemFiles.h"
#include "startup/WinRegistry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // Before any library is loaded by name: none may come from the program's folder.
    ambervale::win::LoadLibrariesFromSystemFolderOnly();
    // "/glance": the history at a glance, without a window, a claim on the one instance or a log entry.
    if (const auto glance = ambervale::win::RunGlanceCommandLine()) return *glance;
    // The installer's Run value starts every user's copy at logon; unless policy wants it, it ends here at once.
    const bool atLogon = ambervale::HasAtLogonArgument(arguments ? arguments : "");
    if (atLogon) {
        ambervale::win::WinPolicySource policies;
        ambervale::WinRegistry registry;
        if (!ambervale::LogonStartWanted(policies, registry, ambervale::win::ExecutablePath())) return 0;
    }
    // Then: a second copy must leave the window, the settings and the history alone. The claim is held until the
    // program ends.
    ambervale::win::WinInstanceServices oneInstance;
    switch (atLogon ? ambervale::ChooseLogonStart(oneInstance) : ambervale::ChooseStart(oneInstance)) {
    case ambervale::StartChoice::RunHere:
        break;
    case ambervale::StartChoice::LeaveToRunningInstance:
        return 0;
    case ambervale::StartChoice::RunningInstanceDidNotAnswer:
        MessageBoxA(nullptr, std::string(ambervale::kRunningInstanceSilentText).c_str(),
                    std::string(ambervale::kProductName).c_str(), MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        return 1;
    case ambervale::StartChoice::NamesHeldByAnotherAccount:
        MessageBoxA(nullptr, std::string(ambervale::kNamesHeldByAnotherAccountText).c_str(),
                    std::string(ambervale::kProductName).c_str(), MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
        return 1;
    }
    // An installer that closes this copy through the Restart Manager to replace its files starts it again after,
    // as the user started it: no arguments. Not after a crash or a hang, which a restart would only repeat, and not
    // after a reboot for an update, when starting with Windows is the user's choice alone. The result is not
    // examined: where it fails, the program is simply not brought back.
    RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    try {
        int exitCode = 0;
        bool entryLeftRunning = false;
        {
            ambervale::win::App app(instance);
            exitCode = app.Run();
            entryLeftRunning = app.EntryLeftRunning();
        }
        // Every output is done and this run's objects are gone; an entry's question that a close left behind owns
        // what it uses and may stay blocked in the spooler or the network for long. The usual end would run the
        // libraries' detach code with that thread killed inside their calls, holding their locks: this end runs
        // none, and is taken only then.
        if (entryLeftRunning) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
        return exitCode;
    } catch (const std::exception& e) {
        // Only a window that cannot be made at all ends up here; there is nothing to run without it.
        MessageBoxA(nullptr, e.what(), "Ambervale", MB_OK | MB_ICONERROR);
        return 1;
    }
}
