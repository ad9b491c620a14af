// The Event Log of the running program: its message table, and the events that a queue set to Work Offline and
// back gives, written only while the source is registered and policy allows it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/EventCapture.h"
#include "e2e/LoggingEverySecond.h"
#include "eventlog/WinEventLog.h"
#include "fakes/WinTestRegistry.h"

namespace ambervale::e2e {
namespace {

// The message of one event ID in the built program, its insertion strings "<1>", "<2>", ...
std::string RenderedMessage(HMODULE program, DWORD id) {
    const wchar_t* arguments[] = {L"<1>", L"<2>", L"<3>", L"<4>", L"<5>", L"<6>", L"<7>", L"<8>", L"<9>"};
    wchar_t text[1024] = {};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, program, id,
                       MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, 1024,
                       reinterpret_cast<va_list*>(const_cast<wchar_t**>(arguments)));
    return length == 0 ? "<none>" : std::string(text, text + length);
}

TEST(EventMessages, EveryEventRendersFromTheProgramWithItsInsertionStrings) {
    const HMODULE program = LoadLibraryExA(AmbervaleExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << AmbervaleExe();
    const struct {
        DWORD id;
        const char* text;
    } cases[] = {
        {100, "Ambervale started logging the status of printer \"<1>\" (<3>). Status now: <2>."},
        {101, "Ambervale stopped logging the status of printer \"<1>\". Status now: <2>."},
        {200, "Ambervale: the status of printer \"<1>\" changed to <2>, a problem. Before, it was <3> for <5> "
              "(<4> seconds). Driver: <6>. Port: <7>.<8>"},
        {201, "Ambervale: the status of printer \"<1>\" changed to <2>. Before, it was <3> for <5> (<4> seconds). "
              "Driver: <6>. Port: <7>.<8>"},
        {202, "Ambervale: the default printer is now \"<1>\", with the status <2>. Before, it was \"<3>\"."},
        {203, "Ambervale: the status of printer \"<1>\" changed <2> times within 10 minutes. Further changes are "
              "reported once the status has held for 10 minutes."},
        {204, "Ambervale could not ask printer \"<1>\" for its own status because of a failure on this computer, not "
              "of the printer: <2>. The log shows the print spooler's status alone until the printer can be asked "
              "again."},
        {205, "Ambervale can ask printer \"<1>\" for its own status again."},
        {210, "Ambervale: supply \"<2>\" (<4>) of printer \"<1>\" is low: <3>% remains. Port: <5>."},
        {211, "Ambervale: supply \"<2>\" (<4>) of printer \"<1>\" is empty or nearly so: <3>% remains. Port: <5>."},
        {212, "Ambervale: supply \"<2>\" (<4>) of printer \"<1>\" has been replaced or refilled: <3>% remains. "
              "Port: <5>."},
        {300, "Ambervale could not log the status of the default printer. Further failures are not reported until "
              "logging works again. Reason: <1>"},
        {301, "Ambervale can log the status of the default printer again: printer \"<1>\", status <2>. It could not "
              "for <4> (<3> seconds)."},
        {400, "Ambervale: the status of printer \"<1>\" has been <2> since <3>. Supplies: <4>. Pages printed: <5>."},
    };
    for (const auto& c : cases) EXPECT_EQ(RenderedMessage(program, c.id), c.text) << c.id;
    EXPECT_EQ(RenderedMessage(program, 102), "<none>");
    FreeLibrary(program);
}

// The user's policy value EventLog: 0, which turns the Event Log off, or none at all.
void TurnOffByUserPolicy() {
    testing::SetNumber(testing::CreateKey(HKEY_CURRENT_USER, win::kEventLogPolicyKey), win::kEventLogPolicyValue, 0);
}
void ClearUserPolicy() { RegDeleteKeyA(HKEY_CURRENT_USER, win::kEventLogPolicyKey); }

class EventLogEvents : public LoggingEverySecond {
protected:
    void SetUp() override {
        LoggingEverySecond::SetUp();
        ClearUserPolicy();
        RegisterProgramEventSource();
        queue_ = ambervale::testing::DefaultTestQueue().value_or("Ambervale_Test");
        output_ = OwnOutputFile();
    }
    void TearDown() override {
        LoggingEverySecond::TearDown();
        RemoveProgramEventSource();
        ClearUserPolicy();
    }

    // Starts the program with the debug channels that show its events; they go to this test's own output.
    void StartShowingEvents(const char* name) {
        ASSERT_FALSE(output_.empty()) << "run through tools/wine-exec.sh, which names the output file";
        outputFrom_ = TextFrom(output_, 0).size();
        SetEnvironmentVariableA("WINEDEBUG", kEventLogDebugChannels);
        Start(name);
        SetEnvironmentVariableA("WINEDEBUG", "-all");
    }
    // What the program has written to the output since it started.
    std::string Output() const { return TextFrom(output_, outputFrom_); }
    bool WaitForRows(int count) const { return WaitFor([&] { return RowCount() >= count; }, kBound); }
    // Work Offline on until `entries` entries have shown it, then off until an entry shows Ready again.
    void WorkOfflineFor(int entries) {
        ambervale::testing::WithWorkOffline offline;
        ASSERT_TRUE(offline.Set());
        ASSERT_TRUE(WaitFor([&] { return LastRow().find("Status = Off Line") != std::string::npos; }, kBound));
        ASSERT_TRUE(WaitForRows(RowCount() + entries - 1));
        ASSERT_TRUE(offline.Clear());
        ASSERT_TRUE(WaitFor([&] { return LastRow().find("Status = Ready") != std::string::npos; }, kBound));
    }

    std::string queue_;
    std::string output_;
    std::size_t outputFrom_ = 0;
};

TEST_F(EventLogEvents, WorkOfflineForFiveSecondsGivesOneProblemEventThenOneWithReady) {
    ASSERT_NO_FATAL_FAILURE(StartShowingEvents("eventlog-offline"));
    ASSERT_TRUE(WaitForRows(2));
    ASSERT_NO_FATAL_FAILURE(WorkOfflineFor(5));
    ASSERT_TRUE(WaitForRows(RowCount() + 2));
    ASSERT_NO_FATAL_FAILURE(Close());

    std::vector<LoggedEvent> events = LoggedEvents(Output());
    ASSERT_EQ(events.size(), 4u) << "start, the problem, Ready again, stop";
    const std::string driver = ambervale::testing::DefaultPrinterDriverName();
    const std::string port = "CUPS:" + queue_;
    ASSERT_EQ(events[2].strings.size(), 8u);
    // Five entries saw Off Line, a second or more apart: it lasted at least four seconds by the clock.
    EXPECT_GE(std::stoi(events[2].strings[3]), 4) << events[2].strings[3];
    const struct {
        DWORD id;
        WORD type;
        const char* channelClass;
        std::vector<std::string> strings;  // "*": a duration, which the clock decides
    } expected[] = {
        {100, EVENTLOG_INFORMATION_TYPE, "trace", {queue_, "Ready", "Log every 1 second"}},
        // The spooler's queue says nothing in its own words: no line of them.
        {200, EVENTLOG_ERROR_TYPE, "err", {queue_, "Off Line", "Ready", "*", "*", driver, port, ""}},
        {201, EVENTLOG_INFORMATION_TYPE, "trace", {queue_, "Ready", "Off Line", "*", "*", driver, port, ""}},
        {101, EVENTLOG_INFORMATION_TYPE, "trace", {queue_, "Ready"}},
    };
    for (std::size_t i = 0; i < events.size(); ++i) {
        LoggedEvent& event = events[i];
        for (std::size_t s = 0; s < event.strings.size() && s < expected[i].strings.size(); ++s) {
            if (expected[i].strings[s] == "*") event.strings[s] = "*";
        }
        EXPECT_EQ(event.id, expected[i].id) << i;
        EXPECT_EQ(event.type, expected[i].type) << i;
        EXPECT_EQ(event.channelClass, expected[i].channelClass) << i;
        EXPECT_EQ(event.strings, expected[i].strings) << i;
    }
}

TEST_F(EventLogEvents, WithEntriesADayApartTheStartIsWrittenAtOnceWithoutALine) {
    SetSetting("OftenIndex", "12");  // "Log every 24 hours"
    ASSERT_NO_FATAL_FAILURE(StartShowingEvents("eventlog-daily"));
    ASSERT_TRUE(WaitFor([&] { return !LoggedEvents(Output()).empty(); }, kBound));
    EXPECT_EQ(RowCount(), 0);
    ASSERT_NO_FATAL_FAILURE(Close());
    const std::vector<LoggedEvent> events = LoggedEvents(Output());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, 100u);
    EXPECT_EQ(events[0].strings, (std::vector<std::string>{queue_, "Ready", "Log every 24 hours"}));
    EXPECT_EQ(events[1].id, 101u);
}

TEST_F(EventLogEvents, NoEventWithPolicyZeroOrWithoutTheSource) {
    TurnOffByUserPolicy();
    for (const char* run : {"eventlog-policy-off", "eventlog-unregistered"}) {
        SCOPED_TRACE(run);
        ASSERT_NO_FATAL_FAILURE(StartShowingEvents(run));
        ASSERT_NO_FATAL_FAILURE(WorkOfflineFor(2));
        ASSERT_NO_FATAL_FAILURE(Close());
        ASSERT_NE(Output().find(":loaddll:"), std::string::npos) << "the program's output was not caught";
        EXPECT_TRUE(LoggedEvents(Output()).empty());
        // The portable copy: no policy, but no source registered either.
        ClearUserPolicy();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kEventSourceKey);
    }
}

TEST_F(EventLogEvents, APolicyChangeTakesEffectWhenWindowsAnnouncesIt) {
    ASSERT_NO_FATAL_FAILURE(StartShowingEvents("eventlog-policy-change"));
    ASSERT_TRUE(WaitForRows(2));
    TurnOffByUserPolicy();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Policy"), SMTO_ABORTIFHUNG,
                        kBound, &ignored);
    ASSERT_NO_FATAL_FAILURE(WorkOfflineFor(2));
    ASSERT_NO_FATAL_FAILURE(Close());
    const std::vector<LoggedEvent> events = LoggedEvents(Output());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, 100u) << "written before the policy changed";
}

} // namespace
} // namespace ambervale::e2e
