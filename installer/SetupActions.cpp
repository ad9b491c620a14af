// The installer's custom action, built into AmbervaleSetup.dll and stored in the MSI package.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

#include "installer/RunValueCleanup.h"
#include "installer/WinRunKeys.h"
#include "base/WinHandles.h"

namespace ambervale {
namespace {

struct MsiHandleTraits {
    using Handle = MSIHANDLE;
    static Handle Invalid() { return 0; }
    static void Close(Handle h) { MsiCloseHandle(h); }
};
using UniqueMsiHandle = win::UniqueHandle<MsiHandleTraits>;

std::string Property(MSIHANDLE install, const char* name) {
    char probe[1] = "";
    DWORD length = 0;
    if (MsiGetPropertyA(install, name, probe, &length) != ERROR_MORE_DATA) return {};
    std::string text(length + 1, '\0');
    length = static_cast<DWORD>(text.size());
    if (MsiGetPropertyA(install, name, text.data(), &length) != ERROR_SUCCESS) return {};
    text.resize(length);
    return text;
}

// A line in the installer's log, for the administrator who reads it.
void Log(MSIHANDLE install, const std::string& line) {
    const UniqueMsiHandle record(MsiCreateRecord(0));
    if (!record) return;
    MsiRecordSetStringA(record.get(), 0, line.c_str());
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record.get());
}

} // namespace
} // namespace ambervale

// Deferred, in the installer's elevated context, when the product is removed for good (not when an upgrade
// replaces it): deletes the Run values that the installed program wrote for itself. The installed exe's full path
// arrives as CustomActionData. Leaving a value behind never fails the uninstall, so this always reports success.
extern "C" UINT __stdcall RemoveRunValues(MSIHANDLE install) {
    using namespace ambervale;
    const std::string exePath = Property(install, "CustomActionData");
    if (exePath.empty()) return ERROR_SUCCESS;
    ForEachRunKey([&](RunKey& key, const std::string& where) {
        if (RemoveOwnRunValue(key, exePath)) {
            Log(install, "Ambervale: removed the Run value of " + exePath + " from " + where);
        }
    });
    return ERROR_SUCCESS;
}
