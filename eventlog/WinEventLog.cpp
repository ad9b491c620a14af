#include "eventlog/WinEventLog.h"

#include <optional>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinLastError.h"
#include "base/WinPolicy.h"
#include "base/WinRegistryKey.h"
#include "base/WinRegistryText.h"
#include "base/WinText.h"

namespace ambervale::win {
namespace {

// The most characters the Event Log takes in one insertion string.
constexpr std::size_t kMaxInsertionChars = 31839;

WORD EventType(EventLevel level) {
    switch (level) {
    case EventLevel::Error: return EVENTLOG_ERROR_TYPE;
    case EventLevel::Warning: return EVENTLOG_WARNING_TYPE;
    case EventLevel::Information: break;
    }
    return EVENTLOG_INFORMATION_TYPE;
}

// The program's texts are ANSI; the Event Log keeps UTF-16.
std::wstring Wide(const std::string& text) {
    std::wstring wide = WideFromAnsi(text);
    if (wide.size() > kMaxInsertionChars) wide.resize(kMaxInsertionChars);
    return wide;
}

// The error box says which output failed: the entry itself reached the list and the history file.
[[noreturn]] void ThrowEventLogError(DWORD code) {
    throw AppError("Cannot write the Event Log: " + SystemErrorText(code));
}

bool Report(HANDLE source, const Event& event) {
    std::vector<std::wstring> strings;
    strings.reserve(event.strings.size());
    for (const std::string& text : event.strings) strings.push_back(Wide(text));
    std::vector<LPCWSTR> pointers;
    pointers.reserve(strings.size());
    for (const std::wstring& text : strings) pointers.push_back(text.c_str());
    return ReportEventW(source, EventType(event.level), 0, static_cast<DWORD>(event.id), nullptr,
                        static_cast<WORD>(pointers.size()), 0, pointers.empty() ? nullptr : pointers.data(),
                        nullptr) != FALSE;
}

} // namespace

bool EventSourceRegistered() {
    return static_cast<bool>(OpenRegistryKey(HKEY_LOCAL_MACHINE, kEventSourceKey, KEY_QUERY_VALUE));
}

void WinEventLog::ReadPolicy() noexcept {
    policyAllows_ = PolicyValueAllows(kEventLogPolicyValue);
}

void WinEventLog::Write(std::span<const Event> events) {
    if (events.empty() || !policyAllows_ || !EventSourceRegistered()) return;
    const UniqueEventSource source(RegisterEventSourceW(nullptr, kEventSourceName));
    if (!source) ThrowEventLogError(GetLastError());
    std::optional<DWORD> firstFailure;
    for (const Event& event : events) {
        if (!Report(source.get(), event) && !firstFailure) firstFailure = GetLastError();
    }
    if (firstFailure) ThrowEventLogError(*firstFailure);
}

} // namespace ambervale::win
