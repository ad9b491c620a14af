#include "tray/cSysTray.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "base/AppError.h"

namespace ambervale {
namespace {

// Mouse notifications (the callback's lParam).
constexpr std::uint32_t kMouseMove = 0x200;
constexpr std::uint32_t kLeftButtonDown = 0x201;
constexpr std::uint32_t kLeftButtonUp = 0x202;
constexpr std::uint32_t kLeftButtonDoubleClick = 0x203;
constexpr std::uint32_t kRightButtonDown = 0x204;
constexpr std::uint32_t kRightButtonUp = 0x205;
constexpr std::uint32_t kRightButtonDoubleClick = 0x206;
// Balloon notifications: hidden, timed out, clicked.
constexpr std::uint32_t kBalloonHide = 0x403;
constexpr std::uint32_t kBalloonTimeout = 0x404;
constexpr std::uint32_t kBalloonUserClick = 0x405;

template <std::size_t N>
void CopyCut(std::array<char, N>& field, std::string_view text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.data(), length, field.data());
    field[length] = '\0';
}

} // namespace

cSysTray::cSysTray(WindowHandle trayHwnd, const TrayServices& services)
    : trayHwnd_(trayHwnd), services_(services) {}

cSysTray::~cSysTray() {
    for (WaitFrame* frame = innermostWait_; frame != nullptr; frame = frame->outer) frame->controlGone = true;
    try {
        SetInTray(false);
    } catch (...) {
        // A destructor has nobody to report to; the shell drops the icon of a window that is gone.
    }
}

void cSysTray::SetInTray(bool value) {
    if (value == inTray_) return;
    if (value) {
        // The procedure goes in first so that no callback of the new icon is missed.
        services_.windowProcedure.Install(trayHwnd_, *this);
        AddTrayIcon();
        iconAdded_ = true;
    } else if (iconAdded_) {
        DeleteTrayIcon();
        services_.windowProcedure.Restore(trayHwnd_);
        iconAdded_ = false;
    }
    inTray_ = value;
}

void cSysTray::SetTrayIcon(std::shared_ptr<const TrayPicture> picture) {
    if (!picture || picture->Kind() != PictureKind::Icon) return;
    if (iconAdded_) {
        NotifyIconRecord record = NewRecord();
        record.uFlags = kNifIcon;
        record.hIcon = picture->Handle();
        Notify(NotifyIconMessage::Modify, record);
    }
    icon_ = std::move(picture);
}

void cSysTray::SetTrayTip(std::string tip) {
    if (iconAdded_) {
        NotifyIconRecord record = NewRecord();
        record.uFlags = kNifTip;
        CopyCut(record.szTip, tip);
        Notify(NotifyIconMessage::Modify, record);
    }
    tip_ = std::move(tip);
}

void cSysTray::ShowBalloon(std::string_view balloonText, std::string_view balloonTitle, std::int32_t timeoutSeconds,
                           bool showOnce) {
    if (showOnce && balloonShowOnceCount_ >= 1) return;

    NotifyIconRecord record = NewRecord();
    record.uFlags = kNifInfo;
    CopyCut(record.szInfoTitle, balloonTitle);
    CopyCut(record.szInfo, balloonText);
    std::int64_t timeoutMilliseconds = 0;
    if (timeoutSeconds > 0) {
        timeoutMilliseconds = std::int64_t{timeoutSeconds} * 1000;
        if (timeoutMilliseconds > std::numeric_limits<std::int32_t>::max()) throw AppError("Overflow");
        record.uTimeout = static_cast<std::uint32_t>(timeoutMilliseconds);
    }
    Notify(NotifyIconMessage::Modify, record);

    balloonVisible_ = true;
    notificationShown_ = false;
    if (showOnce) ++balloonShowOnceCount_;

    if (timeoutSeconds > 0 && balloonVisible_) {
        if (!WaitForBalloon(timeoutMilliseconds)) return;
        // The shell may keep a balloon up longer than asked; take it down at the promised time.
        if (balloonVisible_) {
            NotifyIconRecord hide = NewRecord();
            hide.uFlags = kNifInfo;
            Notify(NotifyIconMessage::Modify, hide);
        }
    }
}

void cSysTray::ShowNotification(std::string_view text, std::string_view title, NotificationIcon icon) {
    NotifyIconRecord record = NewRecord();
    record.uFlags = kNifInfo;
    CopyCut(record.szInfoTitle, title);
    CopyCut(record.szInfo, text);
    record.dwInfoFlags = static_cast<std::uint32_t>(icon) | kNiifRespectQuietTime;
    Notify(NotifyIconMessage::Modify, record);
    // A balloon still up is gone: its wait ends, and its hiding must not take this one down.
    balloonVisible_ = false;
    notificationShown_ = true;
}

bool cSysTray::WaitForBalloon(std::int64_t timeoutMilliseconds) {
    WaitFrame frame{false, innermostWait_};
    innermostWait_ = &frame;
    struct Unlink {
        WaitFrame& frame;
        WaitFrame*& innermost;
        ~Unlink() {
            if (!frame.controlGone) innermost = frame.outer;
        }
    } unlink{frame, innermostWait_};

    const std::int64_t start = services_.clock.NowMilliseconds();
    while (balloonVisible_) {
        const std::int64_t elapsed = services_.clock.NowMilliseconds() - start;
        if (elapsed >= timeoutMilliseconds) break;
        const bool goOn = services_.messageWait.DispatchMessagesFor(timeoutMilliseconds - elapsed);
        if (frame.controlGone) return false;
        if (!goOn) break;
    }
    return true;
}

void cSysTray::ReadProperties(const TrayProperties& stored) {
    SetInTray(stored.inTray);
    SetTrayIcon(stored.trayIcon);
    SetTrayTip(stored.trayTip);
}

void cSysTray::TaskbarCreated() {
    if (iconAdded_) AddTrayIcon();
}

void cSysTray::HandleTrayMessage(std::uint32_t notification, std::uint32_t id) {
    const auto iconId = static_cast<std::int32_t>(id);
    switch (notification) {
    case kBalloonHide:
    case kBalloonTimeout:
        balloonVisible_ = false;
        return;
    case kBalloonUserClick:
        balloonVisible_ = false;
        if (notificationShown_ && events_ != nullptr) events_->NotificationClick();
        return;
    default:
        break;
    }
    if (events_ == nullptr) return;
    switch (notification) {
    case kMouseMove: events_->MouseMove(iconId); break;
    case kLeftButtonDown: events_->MouseDown(kLeftButton, iconId); break;
    case kLeftButtonUp: events_->MouseUp(kLeftButton, iconId); break;
    case kLeftButtonDoubleClick: events_->MouseDblClick(kLeftButton, iconId); break;
    case kRightButtonDown: events_->MouseDown(kRightButton, iconId); break;
    case kRightButtonUp: events_->MouseUp(kRightButton, iconId); break;
    case kRightButtonDoubleClick: events_->MouseDblClick(kRightButton, iconId); break;
    default: break;  // middle button, balloon shown and the rest: no event
    }
}

NotifyIconRecord cSysTray::NewRecord() const {
    NotifyIconRecord record;
    record.hWnd = trayHwnd_;
    record.uID = kTrayId;
    return record;
}

void cSysTray::AddTrayIcon() {
    NotifyIconRecord record = NewRecord();
    if (icon_) {
        record.hIcon = icon_->Handle();
        record.uFlags |= kNifIcon;
    }
    if (!tip_.empty()) {
        CopyCut(record.szTip, tip_);
        record.uFlags |= kNifTip;
    }
    record.uCallbackMessage = kTrayCallbackMessage;
    record.uFlags |= kNifMessage;
    Notify(NotifyIconMessage::Add, record);
}

void cSysTray::DeleteTrayIcon() { Notify(NotifyIconMessage::Delete, NewRecord()); }

void cSysTray::Notify(NotifyIconMessage message, const NotifyIconRecord& record) {
    // Not examined: a failed add, modify or delete leaves the control as if it had worked, and
    // the next change of InTray tries again.
    static_cast<void>(services_.shell.NotifyIcon(message, record));
}

} // namespace ambervale
