// The installer's custom actions, built into AmbervaleSetup.dll and stored in the MSI package.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

#include "installer/RunValueCleanup.h"
#include "installer/WinRemovalRecord.h"
#include "installer/WinRunKeys.h"
#include "installer/WinRunningCopies.h"
#include "base/WinHandles.h"
#include "base/WinText.h"

namespace ambervale {
namespace {

// How long the uninstall waits for the running copies it asked to close. Their close sequence takes a moment (the
// icon leaves the notification area); one that is still there after this is hung, and the installer's own handling
// of files in use takes over.
constexpr DWORD kCloseWaitMs = 10000;
// The program's file in INSTALLDIR, as the package installs it.
constexpr char kInstalledExeName[] = "Ambervale.exe";

struct MsiHandleTraits {
    using Handle = MSIHANDLE;
    static Handle Invalid() { return 0; }
    static void Close(Handle h) { MsiCloseHandle(h); }
};
using UniqueMsiHandle = win::UniqueHandle<MsiHandleTraits>;

// A property's text as UTF-8, read as UTF-16: the folder an administrator chose may hold letters that the ANSI code
// page lacks.
std::string Property(MSIHANDLE install, const wchar_t* name) {
    wchar_t probe[1] = L"";
    DWORD length = 0;
    if (MsiGetPropertyW(install, name, probe, &length) != ERROR_MORE_DATA) return {};
    std::wstring text(length + 1, L'\0');
    length = static_cast<DWORD>(text.size());
    if (MsiGetPropertyW(install, name, text.data(), &length) != ERROR_SUCCESS) return {};
    text.resize(length);
    return win::Utf8FromWide(text);
}

// A line in the installer's log, for the administrator who reads it.
void Log(MSIHANDLE install, const std::string& line) {
    const UniqueMsiHandle record(MsiCreateRecord(0));
    if (!record) return;
    MsiRecordSetStringW(record.get(), 0, win::WideFromUtf8("Ambervale: " + line).c_str());
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record.get());
}

void LogRemoval(MSIHANDLE install, RunValueRemoval removal, const std::string& exePath, const std::string& location) {
    const std::string value = "the Run value of " + exePath;
    switch (removal) {
    case RunValueRemoval::NotTheProgramsOwn: return;
    case RunValueRemoval::Removed: Log(install, "removed " + value + " from " + location); return;
    case RunValueRemoval::NotRecorded:
        Log(install, "kept " + value + " in " + location + ": it could not be recorded to be put back on a rollback");
        return;
    case RunValueRemoval::NotDeleted: Log(install, "could not remove " + value + " from " + location); return;
    }
}

// Keeps nothing: for the removal while rollback is disabled, when the installer runs neither rollback nor commit
// actions, and a record would stay behind for good.
class NoRecord : public RemovalRecord {
public:
    bool Add(const RemovedRunValue&) override { return true; }
    std::vector<RemovedRunValue> Values() override { return {}; }
    void Remove(const std::string&) override {}
    void Clear() override {}
};

void RemoveRunValuesRecordingIn(MSIHANDLE install, RemovalRecord& record) {
    const std::string exePath = Property(install, L"CustomActionData");
    if (exePath.empty()) return;
    RemoveOwnRunValues(ForEachRunKey, exePath, record, [&](RunValueRemoval removal, const std::string& location) {
        LogRemoval(install, removal, exePath, location);
    });
}

} // namespace
} // namespace ambervale

// The Run value actions below see only their CustomActionData, the installed exe's full path, and the product code,
// which names the record of what was removed. They never fail the uninstall.

// Deferred, in the installer's elevated context, when the product is removed for good (not when an upgrade
// replaces it): deletes the Run values that the installed program wrote for itself, each recorded first.
extern "C" UINT __stdcall RemoveRunValues(MSIHANDLE install) {
    using namespace ambervale;
    WinRemovalRecord record(Property(install, L"ProductCode"));
    RemoveRunValuesRecordingIn(install, record);
    return ERROR_SUCCESS;
}

// RemoveRunValues while rollback is disabled (by policy or DISABLEROLLBACK): the same removal, recording nothing.
extern "C" UINT __stdcall RemoveRunValuesForGood(MSIHANDLE install) {
    ambervale::Log(install, "rollback is disabled: the Run values go without a record to put them back from");
    ambervale::NoRecord none;
    ambervale::RemoveRunValuesRecordingIn(install, none);
    return ERROR_SUCCESS;
}

// Rollback of RemoveRunValues: when the uninstall fails after it, puts back every value it removed, as it was.
extern "C" UINT __stdcall RestoreRunValues(MSIHANDLE install) {
    using namespace ambervale;
    const std::string exePath = Property(install, L"CustomActionData");
    WinRemovalRecord record(Property(install, L"ProductCode"));
    WinRunKeys keys;
    const RunValueRestore restore = RestoreRemovedRunValues(keys, record, exePath);
    for (const RemovedRunValue& value : restore.restored) {
        Log(install, "put back the Run value of " + exePath + " in " + value.location);
    }
    for (const RemovedRunValue& value : restore.lost) {
        Log(install, "could not put back the Run value of " + exePath + " in " + value.location + " (" + value.text +
                         "); it is kept under HKEY_LOCAL_MACHINE\\" + kRemovalRecordsKey + " (32-bit view)");
    }
    return ERROR_SUCCESS;
}

// Commit of RemoveRunValues: the uninstall is through, and its record goes.
extern "C" UINT __stdcall ForgetRemovedRunValues(MSIHANDLE install) {
    ambervale::WinRemovalRecord(ambervale::Property(install, L"ProductCode")).Clear();
    return ERROR_SUCCESS;
}

// Immediate, in the installing user's session, before the installer checks which files are in use: asks the copies
// of the installed program that run on this desktop to close, as their close button does, and waits for them to
// end, so that the uninstall removes the exe and its folder instead of leaving them behind.
extern "C" UINT __stdcall CloseRunningProgram(MSIHANDLE install) {
    using namespace ambervale;
    const std::string folder = Property(install, L"INSTALLDIR");
    if (folder.empty()) return ERROR_SUCCESS;
    const std::string exePath = folder + kInstalledExeName;
    const CloseOutcome outcome = CloseRunningCopies(exePath, kCloseWaitMs);
    if (outcome.asked > 0) {
        Log(install, "asked " + std::to_string(outcome.asked) + " running copies of " + exePath + " to close; " +
                         std::to_string(outcome.stillRunning) + " still running");
    }
    return ERROR_SUCCESS;
}
