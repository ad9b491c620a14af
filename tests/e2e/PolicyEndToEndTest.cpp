// The administrator's policy values, set in the registry before a start, and taken away again while the program runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "base/WinPolicy.h"
#include "e2e/LoggingEverySecond.h"
#include "fakes/WinTestRegistry.h"

namespace ambervale::e2e {
namespace {

void SetPolicy(HKEY hive, const char* name, DWORD value) {
    ASSERT_TRUE(testing::SetNumber(testing::CreateKey(hive, win::kPolicyKey, KEY_WOW64_64KEY), name, value));
}
void ClearPolicies() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegDeleteKeyExA(root, win::kPolicyKey, KEY_WOW64_64KEY, 0);
    }
}
// As Group Policy announces it once it has applied policy; returns once every window has answered.
void AnnouncePolicyChange() {
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Policy"), SMTO_ABORTIFHUNG,
                        5000, nullptr);
}

// The seconds of the day in a log row's time ("... 7:40:05 PM ...").
int SecondOfDay(const std::string& row) {
    std::smatch m;
    if (!std::regex_search(row, m, std::regex("(\\d{1,2}):(\\d\\d):(\\d\\d)"))) return -1;
    return std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stoi(m[3]);
}

class Policies : public LoggingEverySecond {
protected:
    void SetUp() override {
        LoggingEverySecond::SetUp();
        ClearPolicies();
    }
    void TearDown() override {
        LoggingEverySecond::TearDown();
        ClearPolicies();
    }
};

TEST_F(Policies, IntervalAndLoggingHeldAtStartAndTheUsersChoicesBackAtOnceWhenTheyGo) {
    SetSetting("StartStopState", "Off");
    SetPolicy(HKEY_LOCAL_MACHINE, "LogInterval", 5);
    SetPolicy(HKEY_CURRENT_USER, "LogInterval", 60);
    SetPolicy(HKEY_CURRENT_USER, "AutomaticLog", 1);
    ASSERT_NO_FATAL_FAILURE(Start("policy-held"));
    HWND intervals = GetDlgItem(form_, kListView2);
    HWND button = GetDlgItem(form_, kPushButton5);
    EXPECT_EQ(ListViewSelected(intervals), 1) << "Log every 5 seconds";
    EXPECT_FALSE(IsWindowEnabled(intervals));
    EXPECT_FALSE(IsWindowEnabled(button));
    EXPECT_EQ(ControlText(button), "Turn Off Automatic Log");

    ASSERT_TRUE(WaitFor([&] { return RowCount() >= 3; }, kBound));
    const std::vector<std::string> rows = Rows();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const int apart = (SecondOfDay(rows[i]) - SecondOfDay(rows[i - 1]) + 86400) % 86400;
        EXPECT_GE(apart, 4) << rows[i - 1] << " / " << rows[i];
        EXPECT_LE(apart, 10) << rows[i - 1] << " / " << rows[i];
    }

    // A click on the held button, and the click's command sent straight to the window: nothing changes.
    SendMessageA(button, BM_CLICK, 0, 0);
    SendMessageA(form_, WM_COMMAND, MAKEWPARAM(kPushButton5, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(ControlText(button), "Turn Off Automatic Log");
    EXPECT_EQ(GetSetting("StartStopState"), "Off");
    EXPECT_EQ(GetSetting("OftenIndex"), "1");

    ClearPolicies();
    AnnouncePolicyChange();
    EXPECT_EQ(ListViewSelected(intervals), 0) << "Log every 1 second, the user's";
    EXPECT_TRUE(IsWindowEnabled(intervals));
    EXPECT_TRUE(IsWindowEnabled(button));
    EXPECT_EQ(ControlText(button), "Turn On Automatic Log") << "the user's Off";
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(GetSetting("StartStopState"), "On") << "the button is the user's again";
    ASSERT_NO_FATAL_FAILURE(Close());
}

// Starts the program with /atlogon; true when it ended within the wait (else it is ended), with its exit code.
bool LogonStartEnds(DWORD& exitCode, DWORD maxWaitMs) {
    std::string commandLine = "\"" + AmbervaleExe() + "\" /atlogon";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    const bool ended = WaitForSingleObject(info.hProcess, maxWaitMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(info.hProcess, 99);
    GetExitCodeProcess(info.hProcess, &exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ended;
}

TEST_F(Policies, TheLogonStartEndsAtOnceWithoutPolicyOneAndLeavesARunningCopyAlone) {
    DWORD exitCode = 1;
    ASSERT_TRUE(LogonStartEnds(exitCode, 10000)) << "no policy: the logon start ends at once";
    EXPECT_EQ(exitCode, 0u);
    SetPolicy(HKEY_LOCAL_MACHINE, "StartWithWindows", 1);
    ASSERT_NO_FATAL_FAILURE(Start("policy-startup"));
    EXPECT_EQ(SendMessageA(GetDlgItem(form_, kCheck4), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form_, kCheck4)));
    PostMessageA(form_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntilVisible(form_, false, 8000)) << "in the tray";
    ASSERT_TRUE(LogonStartEnds(exitCode, 15000));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(IsWindowVisible(form_)) << "not brought forward";
    ASSERT_NO_FATAL_FAILURE(Close());
}

} // namespace
} // namespace ambervale::e2e
