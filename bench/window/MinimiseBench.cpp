// The first minimise after a start, from outside, as a user does it: how long the window's thread stays blocked (the
// longest WM_NULL round trip while it happens) and the longest gap between two lines of the one-second log
// around it; beside it, what each tray call costs in this process (Wine waits for a taskbar it does not have), those
// a change of the printer's state makes (the icon's look and tip) among them.
//   ambervale_bench_minimise.exe [runs, default 8; 0 for the calls alone] [exe, "" for the build's] [silent]
// With "silent" (in a world with an SNMP agent, testenv.sh --snmp) the printer is an agent that never answers, so each
// entry takes a second and a half and most minimises land while an entry is being made.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "e2e/AppProcess.h"
#include "e2e/WindowWatch.h"
#include "fakes/WinTestPrinter.h"
#include "fakes/WinTestTcpIpPort.h"

namespace {

using ambervale::e2e::AppProcess;

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Folder(int run) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ambervale-bench-minimise-" + std::to_string(run);
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\Ambervale.txt").c_str());
    return folder;
}

// One tray call of each kind on an icon of this process's own, timed.
void TimeTrayCalls() {
    HWND window = CreateWindowA("STATIC", "probe", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = 7;
    const auto timed = [&](const char* what, DWORD message, UINT flags) {
        data.uFlags = flags;
        const double start = NowMs();
        const BOOL ok = Shell_NotifyIconA(message, &data);
        std::printf("tray call %-30s %7.1f ms (%s)\n", what, NowMs() - start, ok ? "done" : "refused");
    };
    data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    lstrcpynA(data.szTip, "probe", sizeof data.szTip);
    timed("add", NIM_ADD, NIF_ICON | NIF_TIP);
    // What a change of the printer's state costs the icon: another look, another tip.
    data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32515));  // IDI_WARNING
    timed("modify: another look (icon)", NIM_MODIFY, NIF_ICON);
    lstrcpynA(data.szTip, "Ambervale\nFront Desk: Paper Jam since 10:42", sizeof data.szTip);
    timed("modify: another tip", NIM_MODIFY, NIF_TIP);
    lstrcpynA(data.szInfoTitle, "probe", sizeof data.szInfoTitle);
    lstrcpynA(data.szInfo, "balloon", sizeof data.szInfo);
    data.uTimeout = 5000;
    timed("modify: show a balloon", NIM_MODIFY, NIF_INFO);
    data.szInfoTitle[0] = data.szInfo[0] = '\0';
    timed("modify: hide the balloon", NIM_MODIFY, NIF_INFO);
    timed("delete", NIM_DELETE, 0);
    DestroyWindow(window);
}

// What the program's minimise does to its window, on a plain window of this process's own, timed.
void TimeHiding() {
    HWND window = CreateWindowA("STATIC", "plain", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    const auto timed = [&](const char* what, int show) {
        const double start = NowMs();
        ShowWindow(window, show);
        std::printf("window %-33s %7.1f ms\n", what, NowMs() - start);
    };
    timed("minimise", SW_MINIMIZE);
    timed("hide (out to the tray)", SW_HIDE);
    timed("restore while hidden", SW_RESTORE);
    timed("hide again", SW_HIDE);
    DestroyWindow(window);
}

std::size_t LineCount(const std::string& path) { return ambervale::e2e::ReadLines(path).size(); }

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(0, std::atoi(argv[1])) : 8;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe(self);
    exe = exe.substr(0, exe.find_last_of('\\')) + "\\..\\..\\app\\Ambervale.exe";
    if (argc > 2 && argv[2][0] != '\0') exe = argv[2];
    const char* agent = std::getenv("AMBERVALE_SNMP_AGENT");
    const bool silent = argc > 3 && std::string(argv[3]) == "silent" && agent != nullptr;
    std::unique_ptr<ambervale::testing::WithTcpIpPort> port;
    std::unique_ptr<ambervale::testing::WithDefaultPrinterPort> printerPort;
    if (silent) {
        port = std::make_unique<ambervale::testing::WithTcpIpPort>(std::string("IP_") + agent);
        port->SetSnmpPort(agent, "silent", true);
        printerPort = std::make_unique<ambervale::testing::WithDefaultPrinterPort>(std::string("IP_") + agent);
    }
    std::printf("%s, printer %s\n", exe.c_str(), silent ? "silent (an entry takes 1.5 s)" : "the spooler's alone");
    TimeTrayCalls();
    TimeHiding();
    for (int run = 1; run <= runs; ++run) {
        ambervale::e2e::DeleteAllSettings();
        ambervale::e2e::SetSetting("OftenIndex", "1");
        ambervale::e2e::SetSetting("StartStopState", "On");
        const std::string folder = Folder(run);
        const std::string history = folder + "\\Ambervale.txt";
        AppProcess app(exe, folder);
        const HWND form = app.WaitForMainWindow(30000);
        if (!form) {
            std::printf("run %d: no window\n", run);
            continue;
        }
        // Into the logging, at another moment of its cycle each run: a second of counting, then the entry (a second
        // and a half more with a silent printer).
        while (LineCount(history) < 2) Sleep(20);
        Sleep(static_cast<DWORD>((silent ? 2500 : 1000) * (run - 1) / runs));
        std::vector<double> lines;  // when each new line was seen
        std::size_t seen = LineCount(history);
        const double minimised = NowMs();
        // WM_NULL again and again from a thread of its own: a sent message goes before the posted minimise, so one
        // round trip alone would say nothing.
        ambervale::e2e::WindowWatch watch(form, 20000);
        PostMessageA(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        double previous = minimised;
        double longestGap = 0;
        while (NowMs() - minimised < 15000) {
            const std::size_t count = LineCount(history);
            if (count > seen) {
                longestGap = std::max(longestGap, NowMs() - previous);
                previous = NowMs();
                seen = count;
            }
            Sleep(20);
        }
        longestGap = std::max(longestGap, NowMs() - previous);
        watch.Stop();
        std::printf("run %d: WM_NULL round trips around the minimise: longest %7.1f ms (%d asked); longest time "
                    "without a new line %4.1f s (%zu lines in 15 s)\n",
                    run, watch.LongestMs(), watch.Asked(), longestGap / 1000.0, seen);
        std::fflush(stdout);
        PostMessageA(form, WM_CLOSE, 0, 0);
        app.WaitForExit(30000);
    }
    ambervale::e2e::DeleteAllSettings();
    return 0;
}
