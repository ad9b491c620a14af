#include "app/WinSingleInstance.h"

#include <sddl.h>

#include <optional>

#include "base/WinSizedCall.h"

namespace ambervale::win {
namespace {

constexpr char kInstanceMutexPrefix[] = "Local\\Corvatek.Ambervale.";
constexpr char kStartedAgainPrefix[] = "Corvatek.Ambervale.StartedAgain.";
// A running copy busy in a long spooler call answers later; one that is hung is not waited for at all.
constexpr UINT kAnswerWaitMilliseconds = 5000;

const std::string& CachedUserIdentity() {
    static const std::string identity = UserIdentity();
    return identity;
}

} // namespace

std::string UserIdentity() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
    const UniqueKernelObject token(rawToken);
    // new[] aligns the buffer for TOKEN_USER.
    const auto buffer = AskSizeThenFill<unsigned char>([&](unsigned char* data, std::size_t size) -> std::optional<std::size_t> {
        DWORD needed = 0;
        if (GetTokenInformation(token.get(), TokenUser, data, static_cast<DWORD>(size), &needed)) return needed;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size) return std::nullopt;
        return needed;
    });
    if (!buffer || buffer->empty()) return {};
    char* text = nullptr;
    if (!ConvertSidToStringSidA(reinterpret_cast<const TOKEN_USER*>(buffer->data())->User.Sid, &text)) return {};
    const UniqueLocalMemory owned(text);
    return text;
}

std::string InstanceMutexName() { return kInstanceMutexPrefix + CachedUserIdentity(); }

UINT StartedAgainMessage() {
    static const UINT message = RegisterWindowMessageA((kStartedAgainPrefix + CachedUserIdentity()).c_str());
    return message;
}

bool WinInstanceServices::ClaimInstance() {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, InstanceMutexName().c_str());
    const DWORD error = GetLastError();  // read before anything else can change it
    mutex_.reset(mutex);
    if (!mutex_) {
        // A copy of higher integrity (an elevated one) holds a mutex that this copy may not open; anything else
        // that keeps the mutex from being made is no reason to refuse the user a start.
        return error != ERROR_ACCESS_DENIED;
    }
    return error != ERROR_ALREADY_EXISTS;
}

bool WinInstanceServices::TakeOverFromEndedInstance() {
    if (!mutex_) return false;
    const DWORD result = WaitForSingleObject(mutex_.get(), 0);
    return result == WAIT_ABANDONED || result == WAIT_OBJECT_0;
}

bool WinInstanceServices::BringRunningInstanceToFront() {
    const UINT message = StartedAgainMessage();
    if (message == 0) return false;
    for (HWND window = FindWindowExA(nullptr, nullptr, kForm1ClassName, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, kForm1ClassName, nullptr)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == GetCurrentProcessId()) continue;
        // The user started this copy, so it may take the foreground; it hands that right to the running copy.
        AllowSetForegroundWindow(processId);
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, kAnswerWaitMilliseconds, &answer) != 0 &&
            answer == static_cast<DWORD_PTR>(kBroughtToFront)) {
            return true;
        }
    }
    return false;
}

std::int64_t WinInstanceServices::NowMilliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

void WinInstanceServices::Sleep(std::int64_t milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

} // namespace ambervale::win
