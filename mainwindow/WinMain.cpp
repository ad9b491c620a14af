#include <windows.h>

#include <commctrl.h>

#include "base/AppError.h"
#include "mainwindow/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
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
