#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ambervale::e2e {

// The debug channels that show what ReportEventW was given: Wine keeps no log, but names the event ID and type
// on its advapi fixme line and writes each insertion string on the eventlog channel (trace for Information, warn
// for Warning, err for Error). loaddll shows that the program's output was caught at all.
inline constexpr char kEventLogDebugChannels[] = "-all,+eventlog,fixme+advapi,+loaddll";

struct LoggedEvent {
    DWORD id = 0;
    WORD type = 0;                     // EVENTLOG_INFORMATION_TYPE, ...
    std::string channelClass;          // "trace", "warn" or "err": what the insertion strings were written as
    std::vector<std::string> strings;  // as Wine quotes them (plain ASCII comes through unchanged)
};

// The events that the debug output shows, in order.
std::vector<LoggedEvent> LoggedEvents(const std::string& output);

// The file this test process's output goes to (tools/wine-exec.sh names it), as a Windows path, or "" outside it.
// The programs it starts write their debug channels there too: Wine gives a new process the Unix standard error of
// the process that started it, whatever standard handles it is given.
std::string OwnOutputFile();

// The file's text from byte `from` on.
std::string TextFrom(const std::string& path, std::size_t from);

// The program's event source, as the installer writes it, and its removal.
void RegisterProgramEventSource();
void RemoveProgramEventSource();

} // namespace ambervale::e2e
