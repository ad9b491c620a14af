#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>

// The platform services the tray control needs, in portable terms. The Windows layer implements
// them with Shell_NotifyIconA, the window-long calls and a nested message loop.
namespace ambervale {

class cSysTray;

// Window and icon handles travel as integers so that this side needs no Windows type.
using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;

enum class NotifyIconMessage : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

inline constexpr std::uint32_t kNifMessage = 0x01;
inline constexpr std::uint32_t kNifIcon = 0x02;
inline constexpr std::uint32_t kNifTip = 0x04;
inline constexpr std::uint32_t kNifInfo = 0x10;
// A notification that the shell holds back while the user does not want to be disturbed (Windows 7 and later).
inline constexpr std::uint32_t kNiifRespectQuietTime = 0x80;

// The shell sends this to the control's window for every mouse or balloon event on its icon.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x465;  // WM_USER + 101

inline constexpr std::size_t kTipChars = 128;
inline constexpr std::size_t kInfoChars = 256;
inline constexpr std::size_t kInfoTitleChars = 64;

// NOTIFYICONDATAA field for field, but for its size: the Windows layer hands the shell the Shell 5.0 record of
// its own pointer width (488 bytes in a 32-bit process). Each text holds at most its size less one characters and
// always ends with a zero.
struct NotifyIconRecord {
    WindowHandle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    IconHandle hIcon = 0;
    std::array<char, kTipChars> szTip{};
    std::uint32_t dwState = 0;
    std::uint32_t dwStateMask = 0;
    std::array<char, kInfoChars> szInfo{};
    std::uint32_t uTimeout = 0;
    std::array<char, kInfoTitleChars> szInfoTitle{};
    std::uint32_t dwInfoFlags = 0;
};

// Shell_NotifyIconA. Returns the shell's answer, which the control deliberately ignores.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    virtual bool NotifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) = 0;
};

// Replaces the window procedure of the control's window with TrayWndProc (keeping the previous
// one) and stores the control in the window's user data; Restore puts the previous one back.
class TrayWindowProcedure {
public:
    virtual ~TrayWindowProcedure() = default;
    virtual void Install(WindowHandle window, cSysTray& control) = 0;
    virtual void Restore(WindowHandle window) = 0;
};

// A monotonic clock for the balloon wait.
class TrayClock {
public:
    virtual ~TrayClock() = default;
    virtual std::int64_t NowMilliseconds() = 0;
};

class SteadyTrayClock : public TrayClock {
public:
    std::int64_t NowMilliseconds() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

// One turn of a nested message loop: waits until window messages arrive or maxWaitMilliseconds
// pass, then dispatches every waiting message. Returns false when the application is quitting
// (the quit request is left in the queue for the main loop).
class TrayMessageWait {
public:
    virtual ~TrayMessageWait() = default;
    virtual bool DispatchMessagesFor(std::int64_t maxWaitMilliseconds) = 0;
};

// A picture offered as the tray icon. Only pictures of kind Icon are accepted.
enum class PictureKind { Empty, Bitmap, Metafile, Icon };

class TrayPicture {
public:
    virtual ~TrayPicture() = default;
    virtual PictureKind Kind() const = 0;
    virtual IconHandle Handle() const = 0;
};

} // namespace ambervale
