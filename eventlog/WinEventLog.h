#pragma once
#include <windows.h>

#include "base/WinPolicy.h"
#include "eventlog/EventLogOutput.h"

namespace ambervale::win {

// The event source in the Application log; the installer registers it with Ambervale.exe as its message file.
inline constexpr wchar_t kEventSourceName[] = L"Ambervale";
inline constexpr char kEventSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Ambervale";
// The policy value (DWORD) under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER: 0 turns the Event Log off.
inline constexpr const char* kEventLogPolicyKey = kPolicyKey;
inline constexpr char kEventLogPolicyValue[] = "EventLog";

// The Windows Event Log, written only while the event source is registered (an installed copy; a portable one
// writes nothing) and policy allows it. The source is opened for each batch of events and closed after it: events
// are rare, and an uninstall while the program runs stops them at once.
class WinEventLog final : public EventWriter {
public:
    WinEventLog() { ReadPolicy(); }
    // Reads the machine's and the user's policy again: at start, and each time Windows says policy has changed.
    void ReadPolicy() noexcept;
    bool PolicyAllows() const { return policyAllows_; }
    void Write(std::span<const Event> events) override;

private:
    bool policyAllows_ = true;
};

// Seconds since Windows started, sleep included.
class WinSecondsClock final : public SecondsClock {
public:
    std::int64_t Seconds() override { return static_cast<std::int64_t>(GetTickCount64() / 1000); }
};

// True when the Application log has the program's event source.
bool EventSourceRegistered();

} // namespace ambervale::win
