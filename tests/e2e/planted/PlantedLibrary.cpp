// A library of a system name (winspool.drv) planted beside the program: loading it leaves a marker.
#include "e2e/planted/PlantedMarker.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ambervale::e2e::LeaveMarker(self);
    return TRUE;
}
