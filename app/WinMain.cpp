#include <windows.h>

#include <commctrl.h>

#include "app/WinApp.h"
#include "app/WinSingleInstance.h"
#include "base/AppError.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything else: a second copy must leave the window, the settings and the history alone. The claim
    // is held until the program ends.
    ambervale::win::WinInstanceServices oneInstance;
    if (ambervale::ChooseStart(oneInstance) == ambervale::StartChoice::LeaveToRunningInstance) return 0;

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
    try {
        ambervale::win::App app(instance);
        return app.Run();
    } catch (const std::exception& e) {
        // Only a window that cannot be made at all ends up here; there is nothing to run without it.
        MessageBoxA(nullptr, e.what(), "Ambervale", MB_OK | MB_ICONERROR);
        return 1;
    }
}
