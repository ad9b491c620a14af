// A program of a system name (notepad.exe) planted beside the program: starting it leaves a marker.
#include "e2e/planted/PlantedMarker.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ambervale::e2e::LeaveMarker(nullptr);
    return 0;
}
