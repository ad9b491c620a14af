// The custom action of the tests' package whose uninstall fails: it fails the installation it runs in, so that the
// installer rolls back what the uninstall did before it.
#include <windows.h>

#include <msi.h>

extern "C" UINT __stdcall FailUninstall(MSIHANDLE) { return ERROR_INSTALL_FAILURE; }
