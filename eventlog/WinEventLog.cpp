#include "eventlog/WinEventLog.h"

#include <optional>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/WinHandles.h"
#include "base/WinLastError.h"
#include "base/WinRegistryText.h"

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
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    if (wide.size() > kMaxInsertionChars) wide.resize(kMaxInsertionChars);
    return wide;
}

// The policy value under one root; nullopt when that root has none. The 64-bit view, where policy lives for
// 64-bit Windows; 32-bit Windows ignores the flag.
std::optional<std::uint32_t> PolicyValue(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kEventLogPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const UniqueRegKey owned(key);
    return ReadRegistryNumber(owned.get(), kEventLogPolicyValue);
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
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEventSourceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    const UniqueRegKey owned(key);
    return true;
}

void WinEventLog::ReadPolicy() noexcept {
    policyAllows_ = EventLogAllowed(PolicyValue(HKEY_LOCAL_MACHINE), PolicyValue(HKEY_CURRENT_USER));
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
