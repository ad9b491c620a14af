// The MSI package as an administrator deploys it: silent install, the installed program at work, silent upgrade,
// a refused downgrade, a silent uninstall while the program runs and one that fails and is rolled back, in a Wine
// prefix of its own.
#include <windows.h>

#include <msi.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/WinText.h"
#include "installer/WinRemovalRecord.h"
#include "mainwindow/Form1Layout.h"
#include "startup/RegStuff.h"
#include "e2e/AppProcess.h"
#include "e2e/E2ePaths.h"
#include "eventlog/WinEventLog.h"
#include "fakes/WinTestRegistry.h"
#include "installer/InstallerProbe.h"

namespace ambervale::e2e {
namespace {

// Given by the build: the project's version, and the one after it that the upgrade test installs.
constexpr char kVersion[] = AMBERVALE_TEST_VERSION;
constexpr char kNextVersion[] = AMBERVALE_TEST_NEXT_VERSION;

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

// The package of the build, the next version's, and a second build of the same version.
std::string Package() { return FullPath(BuildFolder() + "\\installer\\Ambervale-" + kVersion + ".msi"); }
std::string NextPackage() { return FullPath(ModuleFolder() + "\\next\\Ambervale-" + kNextVersion + ".msi"); }
std::string RebuiltPackage() { return FullPath(ModuleFolder() + "\\rebuilt\\Ambervale-" + kVersion + ".msi"); }
// The package whose uninstall fails right after the Run values are removed, when AMBERVALE_TEST_FAIL_UNINSTALL is set.
std::string FailingUninstallPackage() {
    return FullPath(ModuleFolder() + "\\failing-uninstall\\Ambervale-" + kVersion + ".msi");
}

DWORD Install(const std::string& msi) { return Msiexec("/i \"" + msi + "\" /qn"); }
DWORD Uninstall(const std::string& productCode) { return Msiexec("/x " + productCode + " /qn"); }

std::string TestQueue() {
    char queue[256] = {};
    return GetEnvironmentVariableA("AMBERVALE_TEST_QUEUE", queue, sizeof queue) ? queue : "Ambervale_Test";
}

bool LogHasLine(const std::string& logFile, const std::string& text) {
    const std::vector<std::string> lines = ReadLines(logFile);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// The machine-wide value that starts the program at logon for the policy StartWithWindows.
constexpr wchar_t kPolicyRunValue[] = L"Ambervale (policy)";
const std::wstring kRunKeyWide(kRunKeyPath.begin(), kRunKeyPath.end());

// A folder of an administrator's choosing whose name the ANSI code page (1252) cannot spell, given as deployment
// scripts give it, with a trailing backslash.
constexpr wchar_t kToolsFolder[] = L"C:\\Tools";
constexpr wchar_t kChosenFolder[] = L"C:\\Tools\\Ambervale \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\\";

bool RemovalRecordsExist() { return testing::KeyExists(HKEY_LOCAL_MACHINE, kRemovalRecordsKey, KEY_WOW64_32KEY); }

// A value of the program's event source key: its text, or "<absent>".
std::string EventSourceText(const char* name) {
    return testing::TextValue(HKEY_LOCAL_MACHINE, win::kEventSourceKey, name);
}

bool WaitForLines(const std::string& historyFile, std::size_t count, DWORD maxWaitMs) {
    return WaitFor([&] { return ReadLines(historyFile).size() >= count; }, maxWaitMs);
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        RemoveEverything();
    }
    void TearDown() override {
        RemoveEverything();
        CoUninitialize();
    }
    // A run that failed half-way leaves its installation in the prefix, which outlives the run.
    static void RemoveEverything() {
        for (const std::string& code : InstalledAmbervales()) Uninstall(code);
        DeleteRunValue(HKEY_LOCAL_MACHINE);
        DeleteRunValue(HKEY_CURRENT_USER);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kEventSourceKey);
        DeleteAllSettings();
        RemoveDirectoryW(kChosenFolder);
        RemoveDirectoryW(kToolsFolder);
    }
};

TEST_F(Installer, SilentInstallGivesAWorkingProgramWithItsShortcutAndAppsEntry) {
    ASSERT_EQ(Install(Package()), 0u);

    const auto products = InstalledAmbervales();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), kVersion);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_PUBLISHER), "Corvatek");
    EXPECT_TRUE(Exists(ProductInfo(products[0], INSTALLPROPERTY_PRODUCTICON))) << "the icon of the Apps entry";
    EXPECT_EQ(UninstallEntryText(products[0], "DisplayName"), "Ambervale");
    EXPECT_EQ(UninstallEntryText(products[0], "DisplayVersion"), kVersion);
    EXPECT_EQ(UninstallEntryText(products[0], "Publisher"), "Corvatek");

    const std::string exe = InstalledExe();
    EXPECT_EQ(FixedFileVersion(exe), std::string(kVersion) + ".0");
    EXPECT_EQ(VersionText(exe, "ProductVersion"), kVersion);
    EXPECT_EQ(VersionText(exe, "ProductName"), "Ambervale");
    EXPECT_EQ(VersionText(exe, "CompanyName"), "Corvatek");

    const std::string lnk = FindShortcut();
    ASSERT_FALSE(lnk.empty()) << "no Start-menu shortcut";
    const ShortcutInfo shortcut = ReadShortcut(lnk);
    EXPECT_TRUE(SamePath(shortcut.target, exe)) << shortcut.target;
    EXPECT_TRUE(Exists(shortcut.iconFile)) << "the shortcut shows the program's icon: " << shortcut.iconFile;

    EXPECT_TRUE(SamePath(EventSourceText("EventMessageFile"), exe)) << EventSourceText("EventMessageFile");
    EXPECT_EQ(testing::NumberValue(HKEY_LOCAL_MACHINE, win::kEventSourceKey, "TypesSupported"), 7u);
    EXPECT_EQ(MachineText(kRunKeyWide, kPolicyRunValue), L"\"" + win::WideFromAnsi(exe) + L"\" /atlogon");

    const std::string temp = FreshTempFolder("installed");
    AppProcess app(exe, temp);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr) << "the installed program did not show its window";
    SendMessageA(GetDlgItem(form, kPushButton6), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForLines(temp + "\\Ambervale.txt", 1, 15000));
    const std::string line = ReadLines(temp + "\\Ambervale.txt")[0];
    EXPECT_NE(line.find("Printer Name = " + TestQueue() + ";"), std::string::npos) << line;
    PostMessageA(form, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(10000));
}

TEST_F(Installer, SilentUninstallRemovesProgramShortcutEntryAndItsRunValuesButKeepsTheUsersData) {
    ASSERT_EQ(Install(Package()), 0u);
    const std::string code = InstalledAmbervales().at(0);
    const std::string exe = InstalledExe();
    const std::string lnk = FindShortcut();
    ASSERT_FALSE(lnk.empty());

    const std::string temp = FreshTempFolder("uninstalled");
    AppProcess app(exe, temp);
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    SendMessageA(GetDlgItem(form, kPushButton6), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForLines(temp + "\\Ambervale.txt", 1, 15000));
    SendMessageA(GetDlgItem(form, kCheck4), BM_CLICK, 0, 0);
    EXPECT_TRUE(SamePath(RunValue(HKEY_LOCAL_MACHINE), "\"" + exe + "\""))
        << "the program registers itself: " << RunValue(HKEY_LOCAL_MACHINE);
    // The program stays, hidden in the notification area: the uninstall closes it before it removes the files.
    PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntilVisible(form, false, 5000));
    // The form an older build left for a user without administrator rights: bare, in other letter case.
    std::string upperCase = exe;
    CharUpperA(upperCase.data());
    SetRunValue(HKEY_CURRENT_USER, upperCase);

    ASSERT_EQ(Uninstall(code), 0u);

    EXPECT_TRUE(app.WaitForExit(0)) << "the uninstall closed the program";
    EXPECT_EQ(app.ExitCode(), 0u) << "as its close button does, not killed";
    EXPECT_TRUE(InstalledAmbervales().empty());
    EXPECT_EQ(MsiQueryProductStateA(code.c_str()), INSTALLSTATE_UNKNOWN);
    EXPECT_EQ(UninstallEntryText(code, "DisplayName"), "<absent>");
    EXPECT_FALSE(Exists(InstalledFolder()));
    EXPECT_FALSE(Exists(lnk));
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "<absent>");
    EXPECT_EQ(MachineText(kRunKeyWide, kPolicyRunValue), L"<absent>");
    EXPECT_FALSE(testing::KeyExists(HKEY_LOCAL_MACHINE, win::kEventSourceKey)) << "the event source goes with it";
    EXPECT_FALSE(RemovalRecordsExist()) << "what the uninstall recorded to put back went once it was through";
    EXPECT_FALSE(ReadLines(temp + "\\Ambervale.txt").empty()) << "the history file is the user's";
    EXPECT_EQ(GetSetting("Windows Startup"), "On") << "so are the settings";
}

TEST_F(Installer, AFolderChosenAtInstallIsKeptByUpgradesAndEmptiedByAnUninstallThatNamesNone) {
    ASSERT_EQ(GetACP(), 1252u) << "runs on a system whose ANSI code page has no Greek letters";
    const std::wstring folder = kChosenFolder;
    const std::wstring exe = folder + L"Ambervale.exe";
    ASSERT_EQ(Msiexec(L"/i \"" + win::WideFromAnsi(Package()) + L"\" /qn INSTALLDIR=\"" + folder + L"\""), 0u);
    EXPECT_TRUE(Exists(exe));
    EXPECT_EQ(MachineText(L"SOFTWARE\\Corvatek\\Ambervale", L"InstallDir"), folder) << "remembered";

    // An upgrade that names no folder goes where the installed version is.
    ASSERT_EQ(Install(NextPackage()), 0u);
    const std::vector<std::string> products = InstalledAmbervales();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), kNextVersion);
    EXPECT_FALSE(Exists(InstalledFolder()));
    EXPECT_EQ(MachineText(kRunKeyWide, kPolicyRunValue), L"\"" + exe + L"\" /atlogon");

    const std::string temp = FreshTempFolder("chosen-folder");
    AppProcess app(exe, win::WideFromAnsi(temp));
    HWND form = app.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr) << "the program did not start from the chosen folder";
    SendMessageA(GetDlgItem(form, kCheck4), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return MachineText(kRunKeyWide, L"Ambervale.exe") == L"\"" + exe + L"\""; }, 10000))
        << "the program registers itself, in UTF-16";

    ASSERT_EQ(Uninstall(products[0]), 0u);
    EXPECT_TRUE(app.WaitForExit(0)) << "the uninstall closed the program";
    EXPECT_TRUE(InstalledAmbervales().empty());
    EXPECT_FALSE(Exists(folder)) << "the exe and its folder went";
    EXPECT_EQ(MachineText(kRunKeyWide, L"Ambervale.exe"), L"<absent>");
    EXPECT_EQ(MachineText(kRunKeyWide, kPolicyRunValue), L"<absent>");
    EXPECT_EQ(MachineText(L"SOFTWARE\\Corvatek\\Ambervale", L"InstallDir"), L"<absent>");
    EXPECT_FALSE(RemovalRecordsExist());
}

TEST_F(Installer, AnUninstallThatFailsAfterRemovingTheRunValuesPutsThemBackAsTheyWere) {
    ASSERT_EQ(Install(FailingUninstallPackage()), 0u);
    const std::string code = InstalledAmbervales().at(0);
    const std::string exe = InstalledExe();
    const std::string machineValue = "\"" + exe + "\"";
    std::string userValue = exe;  // as an older build wrote it for a user without administrator rights
    CharUpperA(userValue.data());
    SetRunValue(HKEY_LOCAL_MACHINE, machineValue);
    SetRunValue(HKEY_CURRENT_USER, userValue);
    const std::string log = FreshTempFolder("rollback") + "\\uninstall.log";
    DeleteFileA(log.c_str());

    EXPECT_EQ(Msiexec("/x " + code + " /qn AMBERVALE_TEST_FAIL_UNINSTALL=1 /l*v \"" + log + "\""),
              static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    EXPECT_TRUE(LogHasLine(log, "Ambervale: removed the Run value of " + exe + " from HKEY_LOCAL_MACHINE"))
        << "the values were removed before the uninstall failed";
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), machineValue);
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), userValue);
    EXPECT_FALSE(RemovalRecordsExist()) << "the record went once the values were back";
    EXPECT_EQ(InstalledAmbervales(), std::vector<std::string>{code}) << "the product stays installed";
    EXPECT_TRUE(Exists(exe));

    // The rollback left a whole installation: the next uninstall goes through and takes the files.
    ASSERT_EQ(Uninstall(code), 0u);
    EXPECT_FALSE(Exists(InstalledFolder()));
}

TEST_F(Installer, WhileRollbackIsDisabledTheUninstallRemovesTheRunValuesWithoutARecord) {
    ASSERT_EQ(Install(Package()), 0u);
    const std::string code = InstalledAmbervales().at(0);
    SetRunValue(HKEY_LOCAL_MACHINE, RunValueData(InstalledFolder(), "Ambervale.exe"));
    const std::string log = FreshTempFolder("no-rollback") + "\\uninstall.log";
    DeleteFileA(log.c_str());

    // Neither rollback nor commit actions run then: a record would stay behind for good.
    ASSERT_EQ(Msiexec("/x " + code + " /qn DISABLEROLLBACK=1 /l*v \"" + log + "\""), 0u);
    EXPECT_TRUE(LogHasLine(log, "Ambervale: rollback is disabled: the Run values go without a record"));
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_FALSE(RemovalRecordsExist());
}

TEST_F(Installer, NewerVersionReplacesTheOlderInPlaceAndAnOlderOneIsRefused) {
    ASSERT_EQ(Install(Package()), 0u);
    const std::string older = InstalledAmbervales().at(0);
    const std::string exe = InstalledExe();
    EXPECT_EQ(FixedFileVersion(exe), std::string(kVersion) + ".0");
    const std::string copyElsewhere = "\"C:\\Tools\\Ambervale.exe\"";
    SetRunValue(HKEY_CURRENT_USER, copyElsewhere);

    ASSERT_EQ(Install(NextPackage()), 0u);
    auto products = InstalledAmbervales();
    ASSERT_EQ(products.size(), 1u) << "one entry in Apps & features";
    EXPECT_NE(products[0], older);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), kNextVersion);
    EXPECT_EQ(FixedFileVersion(exe), std::string(kNextVersion) + ".0") << "the exe was replaced";
    EXPECT_TRUE(SamePath(EventSourceText("EventMessageFile"), exe)) << "the upgrade keeps the event source";

    // Refused by the launch condition, whose message a silent install writes to the log (Windows) or nowhere
    // (Wine 8); it shows in a message box when there is a user interface.
    EXPECT_EQ(Install(Package()), static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    EXPECT_EQ(LaunchConditionMessage(Package()).rfind("A newer version of Ambervale is already installed.", 0), 0u);
    products = InstalledAmbervales();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(ProductInfo(products[0], INSTALLPROPERTY_VERSIONSTRING), kNextVersion);
    EXPECT_EQ(FixedFileVersion(exe), std::string(kNextVersion) + ".0");

    SetRunValue(HKEY_LOCAL_MACHINE, RunValueData(InstalledFolder(), "Ambervale.exe"));
    AppProcess portable(AmbervaleExe(), FreshTempFolder("portable"));
    HWND form = portable.WaitForMainWindow(30000);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(Uninstall(products[0]), 0u);
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), copyElsewhere) << "a copy elsewhere keeps its own value";
    EXPECT_FALSE(portable.WaitForExit(0)) << "and keeps running: it is none of the uninstall's business";
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(portable.WaitForExit(10000));
}

TEST_F(Installer, TheRemovalOfTheOlderVersionInAnUpgradeKeepsStartUpOn) {
    ASSERT_EQ(Install(Package()), 0u);
    const std::string code = InstalledAmbervales().at(0);
    const std::string registered = RunValueData(InstalledFolder(), "Ambervale.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, registered);

    // The removal as Windows' RemoveExistingProducts runs it, naming the product that replaces this one. (Wine 8's
    // leaves the name out, so under Wine an upgrade turns start-up off; on Windows it stays on.)
    ASSERT_EQ(Msiexec("/x " + code + " /qn UPGRADINGPRODUCTCODE={00000000-0000-0000-0000-000000000001}"), 0u);
    EXPECT_TRUE(InstalledAmbervales().empty());
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), registered) << "the newer version is installed at the same place";
}

TEST_F(Installer, AnotherBuildOfTheSameVersionReplacesTheInstalledOne) {
    ASSERT_EQ(Install(Package()), 0u);
    const std::string first = InstalledAmbervales().at(0);

    ASSERT_EQ(Install(RebuiltPackage()), 0u);
    const auto products = InstalledAmbervales();
    ASSERT_EQ(products.size(), 1u);
    EXPECT_NE(products[0], first);
    EXPECT_TRUE(Exists(InstalledExe()));
}

} // namespace
} // namespace ambervale::e2e
