#include "app/WinSingleInstance.h"

#include <aclapi.h>
#include <sddl.h>

#include <optional>
#include <utility>

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

namespace {

// The claim's object belongs to this user: its owner and the one account its access list lets in.
class OwnSecurity {
public:
    explicit OwnSecurity(const std::string& identity) {
        if (identity.empty()) return;
        const std::string sddl = "O:" + identity + "D:P(A;;GA;;;" + identity + ")";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                                  nullptr)) {
            return;
        }
        descriptor_.reset(descriptor);
        attributes_ = {sizeof attributes_, descriptor, FALSE};
    }
    // Null when there is no descriptor: the object then gets Windows' default one.
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ ? &attributes_ : nullptr; }

private:
    UniqueLocalMemory descriptor_;
    SECURITY_ATTRIBUTES attributes_{};
};

bool OwnedBy(HANDLE object, const std::string& identity) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueLocalMemory ownedDescriptor(descriptor);
    char* text = nullptr;
    if (owner == nullptr || !ConvertSidToStringSidA(owner, &text)) return false;
    const UniqueLocalMemory ownedText(text);
    return identity == text;
}

} // namespace

std::string InstanceMutexName(int attempt) {
    std::string name = kInstanceMutexPrefix + CachedUserIdentity();
    if (attempt > 0) name += "." + std::to_string(attempt);
    return name;
}

UINT StartedAgainMessage() {
    static const UINT message = RegisterWindowMessageA((kStartedAgainPrefix + CachedUserIdentity()).c_str());
    return message;
}

InstanceClaim WinInstanceServices::ClaimInstance() {
    const std::string& identity = CachedUserIdentity();
    OwnSecurity security(identity);
    for (int attempt = 0; attempt < kInstanceClaimNames; ++attempt) {
        const std::string name = InstanceMutexName(attempt);
        HANDLE created = CreateMutexA(security.Attributes(), TRUE, name.c_str());
        const DWORD error = GetLastError();  // read before anything else can change it
        if (created != nullptr && error != ERROR_ALREADY_EXISTS) {
            mutex_.reset(created);
            return InstanceClaim::Claimed;
        }
        // An object of that name exists. An elevated copy's may be opened for no more than waiting on it and
        // reading its owner; whose it is, the owner says, which no other account can have set to this user.
        UniqueKernelObject existing(created != nullptr ? created
                                                       : OpenMutexA(SYNCHRONIZE | READ_CONTROL, FALSE, name.c_str()));
        if (existing && (identity.empty() || OwnedBy(existing.get(), identity))) {
            mutex_ = std::move(existing);
            return InstanceClaim::HeldByAnotherCopy;
        }
        // Another account's object, or one of another kind: a name taken first must not keep this user's program
        // from starting. Every copy of this user passes over the same names, so they meet at the next one.
    }
    return InstanceClaim::NamesHeldByAnotherAccount;
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
