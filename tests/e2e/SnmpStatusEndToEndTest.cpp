// The printer's own word: the default printer put on a Standard TCP/IP port whose printer is the test world's SNMP
// agent (snmpsim, on a loopback address of the world's own), one that drops every request, or none at all.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "e2e/EventCapture.h"
#include "e2e/LoggingEverySecond.h"
#include "e2e/WindowWatch.h"
#include "fakes/WinTestTcpIpPort.h"

namespace ambervale::e2e {
namespace {

std::string AgentAddress() {
    const char* agent = std::getenv("AMBERVALE_SNMP_AGENT");
    return agent ? agent : "";
}

// Another address of the world's own, where nothing listens.
std::string QuietAddress() {
    const std::string agent = AgentAddress();
    const int last = std::atoi(agent.substr(agent.rfind('.') + 1).c_str());
    return agent.substr(0, agent.rfind('.') + 1) + std::to_string(last % 254 + 1);
}

// How many requests the agent had for the printer of that community, by its log (each request names its data file).
// The test cannot listen on port 161 itself: under Wine a socket bound to one loopback address takes the port on
// every address, which the agent already holds.
int AgentRequests(const std::string& community) {
    const char* world = std::getenv("AMBERVALE_ENV_DIR");
    if (world == nullptr) return -1;
    std::ifstream log(std::string("Z:") + world + "/snmp/agent.log");
    const std::string mark = "Using " + std::string(world) + "/snmp/data/" + community + ".snmprec controller";
    int count = 0;
    for (std::string line; std::getline(log, line);) count += Holds(line, mark) ? 1 : 0;
    return count;
}

// The processes of Ambervale.exe that run now.
int RunningCopies() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        count += lstrcmpiA(entry.szExeFile, "Ambervale.exe") == 0 ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

class SnmpStatus : public LoggingEverySecond {
protected:
    void SetUp() override {
        ASSERT_FALSE(AgentAddress().empty()) << "needs the world with the SNMP agent (testenv.sh --snmp)";
        LoggingEverySecond::SetUp();
    }

    // The default printer on port IP_<address>, whose key says where the printer is and whether to ask it.
    void PutPrinterAt(const std::string& address, const std::string& community, bool snmpEnabled) {
        portName_ = "IP_" + address;
        printerPort_.reset();
        port_.reset();  // before the next one: it removes the key of its name
        port_ = std::make_unique<ambervale::testing::WithTcpIpPort>(portName_);
        ASSERT_TRUE(port_->SetSnmpPort(address, community, snmpEnabled));
        printerPort_ = std::make_unique<ambervale::testing::WithDefaultPrinterPort>(portName_);
        ASSERT_TRUE(printerPort_->Set()) << "the spooler refused the port";
    }
    // Waits for count lines in the history file and checks that each one shows the status and the port, and never
    // the community; so does the list's first row.
    void ExpectLines(std::size_t count, const std::string& status, const std::string& community) {
        ASSERT_TRUE(WaitFor([&] { return Lines().size() >= count && RowCount() > 0; }, kBound));
        for (const std::string& line : Lines()) {
            EXPECT_TRUE(Holds(line, " Printer Status = " + status + "; Printer Name = ")) << line;
            EXPECT_TRUE(Holds(line, "; Printer Port Name = " + portName_ + "; ")) << line;
            EXPECT_FALSE(Holds(line, community)) << line;
        }
        EXPECT_TRUE(Holds(Rows().front(), " Printer Status = " + status + "; "));
    }

    // Waits for that many more rows than the list has now.
    bool WaitForRowsAfter(int more) const {
        const int count = RowCount() + more;
        return WaitFor([&] { return RowCount() >= count; }, kBound);
    }

    std::string portName_;
    std::unique_ptr<ambervale::testing::WithTcpIpPort> port_;
    std::unique_ptr<ambervale::testing::WithDefaultPrinterPort> printerPort_;
};

TEST_F(SnmpStatus, EachAnswerOfTheAgentGivesItsWordsInTheTablesOrder) {
    const struct {
        const char* community;
        const char* status;
    } cases[] = {
        {"jammed", "Paper Jam  "},
        {"door-open-no-toner", "Printer Door Open  No Toner  "},
        {"ready", "Ready"},
        // Its error bits say nothing; its supplies table has four inks at 1%, or a toner at 4%.
        {"inks-at-1", "No Toner  "},
        {"toner-at-4", "Toner Low  "},
        // offline and serviceRequested set while the device says it is running: power-save's, not trusted.
        {"power-save", "Ready"},
        // Asleep with a low toner: warning, offline and lowToner, the toner at 4%. The toner explains the warning.
        {"asleep-toner-low", "Toner Low  "},
        // genErr to every question: the printer is up, its state unknown.
        {"gen-err", "Ready"},
        // A warning device with a one-octet error state, no hrPrinterStatus, a supply of no level or description.
        {"real-shapes", "Printer Door Open  "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.community);
        ASSERT_NO_FATAL_FAILURE(PutPrinterAt(AgentAddress(), c.community, true));
        ASSERT_NO_FATAL_FAILURE(Start(c.community));
        ASSERT_NO_FATAL_FAILURE(ExpectLines(2, c.status, c.community));
        Close();
    }
}

TEST_F(SnmpStatus, ATonerThatRunsLowAndIsReplacedIsToldOnceEachInTheEventLog) {
    const std::string output = OwnOutputFile();
    ASSERT_FALSE(output.empty()) << "run through tools/wine-exec.sh, which names the output file";
    RegisterProgramEventSource();
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(AgentAddress(), "toner-full", true));
    const std::size_t from = TextFrom(output, 0).size();
    SetEnvironmentVariableA("WINEDEBUG", kEventLogDebugChannels);
    ASSERT_NO_FATAL_FAILURE(Start("supply-events"));
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    // The same toner at 80%, 4%, then 80% again: each community is a printer of the agent's, read afresh.
    for (const char* community : {"toner-at-4", "toner-full", "toner-full"}) {
        ASSERT_TRUE(WaitForRowsAfter(2));
        ASSERT_TRUE(port_->SetSnmpPort(AgentAddress(), community, true));
    }
    Close();
    RemoveProgramEventSource();
    const std::string queue = ambervale::testing::DefaultTestQueue().value_or("Ambervale_Test");
    std::vector<LoggedEvent> supplyEvents;
    for (const LoggedEvent& event : LoggedEvents(TextFrom(output, from))) {
        if (event.id >= 210 && event.id <= 212) supplyEvents.push_back(event);
    }
    ASSERT_EQ(supplyEvents.size(), 2u) << "once each, however many entries saw the toner low";
    EXPECT_EQ(supplyEvents[0].id, 210u);
    EXPECT_EQ(supplyEvents[0].strings, (std::vector<std::string>{queue, "Black Toner", "4", "toner", portName_}));
    EXPECT_EQ(supplyEvents[1].id, 212u);
    EXPECT_EQ(supplyEvents[1].strings, (std::vector<std::string>{queue, "Black Toner", "80", "toner", portName_}));
}

// The proofs of a minute or more run in a world of their own, on the shipping build alone.
class SnmpLongRun : public SnmpStatus {};

// A laser that reports two toner rows of one name, one at 3% and one at 80% (as Brother's do): entries every second
// past the minute at which the supplies' levels are read again tell the low toner once, and by its place.
TEST_F(SnmpLongRun, TwoTonersOfOneNameAtThreeAndEightyPercentGiveOneLowEventWhenTheirLevelsAreReadAgain) {
    const std::string output = OwnOutputFile();
    ASSERT_FALSE(output.empty()) << "run through tools/wine-exec.sh, which names the output file";
    RegisterProgramEventSource();
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(AgentAddress(), "twin-toners", true));
    const std::size_t from = TextFrom(output, 0).size();
    SetEnvironmentVariableA("WINEDEBUG", kEventLogDebugChannels);
    ASSERT_NO_FATAL_FAILURE(Start("twin-toners"));
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    ASSERT_TRUE(WaitFor([&] { return RowCount() >= 75; }, 120000));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(75, "Toner Low  ", "twin-toners"));
    Close();
    RemoveProgramEventSource();
    std::vector<LoggedEvent> supplyEvents;
    for (const LoggedEvent& event : LoggedEvents(TextFrom(output, from))) {
        if (event.id >= 210 && event.id <= 212) supplyEvents.push_back(event);
    }
    const std::string queue = ambervale::testing::DefaultTestQueue().value_or("Ambervale_Test");
    ASSERT_EQ(supplyEvents.size(), 1u) << "one low toner, one event";
    EXPECT_EQ(supplyEvents[0].id, 210u);
    EXPECT_EQ(supplyEvents[0].strings,
              (std::vector<std::string>{queue, "Black Toner Cartridge (1)", "3", "toner", portName_}));
}

TEST_F(SnmpStatus, ANameWhoseFirstAddressHasNoAgentIsAnsweredByTheNext) {
    const char* dual = std::getenv("AMBERVALE_SNMP_DUAL_HOST");
    ASSERT_NE(dual, nullptr) << "needs the world's hosts file (testenv.sh --snmp)";
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(dual, "jammed", true));
    ASSERT_NO_FATAL_FAILURE(Start("dual-host"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(3, "Paper Jam  ", "jammed"));
    Close();
}

TEST_F(SnmpStatus, NoAnswerReadsOffLineWhileTheWindowKeepsAnswering) {
    const struct {
        const char* what;
        std::string address;
        const char* community;
    } cases[] = {
        {"an agent that answers nothing", AgentAddress(), "silent"},
        {"no agent at that address", QuietAddress(), "public"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(PutPrinterAt(c.address, c.community, true));
        ASSERT_NO_FATAL_FAILURE(Start(c.community));
        {
            const WindowWatch watch(form_, 300);
            ASSERT_NO_FATAL_FAILURE(ExpectLines(2, "Off Line  ", c.community));
            EXPECT_GT(watch.Asked(), 0);
            EXPECT_EQ(watch.Missed(), 0) << "longest answer " << watch.LongestMs() << " ms";
        }
        Close();
    }
    EXPECT_GE(AgentRequests("silent"), 6) << "three requests for each entry";
}

// The world's lossy agent loses the first request of every question and answers the others noSuchName: a minute of
// entries every second, none of them Off Line.
TEST_F(SnmpLongRun, AnAgentThatLosesTheFirstRequestAndAnswersNoSuchNameIsNeverOffLine) {
    ASSERT_NE(std::getenv("AMBERVALE_SNMP_LOSSY_AGENT"), nullptr) << "needs the world's lossy agent (--snmp)";
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(std::getenv("AMBERVALE_SNMP_LOSSY_AGENT"), "public", true));
    ASSERT_NO_FATAL_FAILURE(Start("lossy-no-such-name"));
    Sleep(60000);
    ASSERT_NO_FATAL_FAILURE(ExpectLines(20, "Ready", "public"));
    Close();
}

TEST_F(SnmpStatus, WithSnmpOffNotOneSnmpRequestIsSentAndNoIppPrinterAnswersTheLineIsTheSpoolersOwn) {
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(AgentAddress(), "never-asked", false));
    ASSERT_NO_FATAL_FAILURE(Start("snmp-off"));
    ASSERT_NO_FATAL_FAILURE(ExpectLines(3, "Ready", "never-asked"));
    Close();
    EXPECT_EQ(AgentRequests("never-asked"), 0);
}

// The question a close leaves behind owns what it uses; the program ends without waiting for it. The 2 s are the
// close's bound: the question alone may take a second and a half.
TEST_F(SnmpStatus, FiftyClosesWhileThePrinterIsSilentEachEndTheProgramAndLogNothingMore) {
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(AgentAddress(), "silent", true));
    for (int close = 1; close <= 50; ++close) {
        SCOPED_TRACE("close " + std::to_string(close));
        const int requestsBefore = AgentRequests("silent");
        ASSERT_NO_FATAL_FAILURE(Start("close-while-silent"));
        // A request has reached the printer: an entry is pending, and would be for up to a second and a half.
        ASSERT_TRUE(WaitFor([&] { return AgentRequests("silent") > requestsBefore; }, kBound));
        const std::size_t linesAtClose = Lines().size();
        PostMessageA(form_, WM_CLOSE, 0, 0);
        ASSERT_TRUE(app_->WaitForExit(2000)) << "the program ended within 2 s of the close";
        EXPECT_EQ(app_->ExitCode(), 0u);
        EXPECT_EQ(Lines().size(), linesAtClose) << "nothing logged after the close";
    }
    EXPECT_EQ(RunningCopies(), 0) << "no process left";
}

TEST_F(SnmpStatus, ALogNowClickQueuedJustBeforeACloseLogsNothing) {
    SetSetting("StartStopState", "Off");
    ASSERT_NO_FATAL_FAILURE(PutPrinterAt(AgentAddress(), "ready", true));
    ASSERT_NO_FATAL_FAILURE(Start("click-then-close"));
    PostMessageA(GetDlgItem(form_, kPushButton6), BM_CLICK, 0, 0);
    Close();
    EXPECT_TRUE(Lines().empty());
}

} // namespace
} // namespace ambervale::e2e
