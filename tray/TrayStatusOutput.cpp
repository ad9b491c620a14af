#include "tray/TrayStatusOutput.h"

#include <utility>

#include "base/Globals.h"
#include "eventlog/EventWords.h"
#include "eventlog/PrinterSays.h"

namespace ambervale {
namespace {

// The shell's fields hold one character fewer than their size: the terminating zero.
constexpr std::size_t kTitleMost = kInfoTitleChars - 1;
constexpr std::size_t kTextMost = kInfoChars - 1;

bool SameDay(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

} // namespace

TrayStatusOutput::TrayStatusOutput(cSysTray& tray, TrayLookIcons icons, const TrayStatusServices& services)
    : tray_(tray), icons_(std::move(icons)), services_(services) {}

void TrayStatusOutput::Write(const LogEntry& entry) { Saw(entry); }

void TrayStatusOutput::StatusAtStart(const LogEntry& entry) noexcept { Saw(entry); }

void TrayStatusOutput::EntryFailed(const std::string& description) noexcept { Failed(description); }

void TrayStatusOutput::StatusAtStartFailed(const std::string& description) noexcept { Failed(description); }

void TrayStatusOutput::LoggingSwitched(bool on, std::string_view /*intervalCaption*/) noexcept {
    if (on == logging_) return;
    logging_ = on;
    if (on) return;
    // No longer followed, the printer's last state would only grow stale on the icon.
    try {
        notices_.Forget();
        shown_.reset();
        inError_ = false;
        ShowLook(TrayLook::Ready);
        tray_.SetTrayTip(std::string(kProductName));
    } catch (...) {
        // Out of memory for the tip: the icon keeps what it showed.
    }
}

void TrayStatusOutput::Saw(const LogEntry& entry) noexcept {
    if (!logging_) return;
    if (!entry.printer) return Failed(kSpoolerSilent);
    try {
        const PrinterFields& printer = *entry.printer;
        const PrinterAlert* says = ExplainingAlert(printer.status, printer.ownReport.alerts);
        const LocalDateTime now = services_.clock.Now();
        const TrayLook look = TrayLookOf(printer.status);
        const bool error = look == TrayLook::PersonNow;
        if (error && !inError_) errorSince_ = now;
        inError_ = error;
        ShowTip(printer, says, now);
        ShowLook(look);
        const auto notice = notices_.Saw(printer.printerName, error, services_.seconds.Seconds(), services_.gate);
        if (notice) Notify(*notice, printer, says, now);
    } catch (...) {
        // The time could not be written, or no memory: the icon shows what it showed, and the next entry tries again.
        shown_.reset();
    }
}

void TrayStatusOutput::Failed(std::string_view description) noexcept {
    if (!logging_) return;
    try {
        shown_.reset();
        inError_ = false;
        ShowLook(TrayLook::PersonNow);
        tray_.SetTrayTip(TrayFailureTipText(description, services_.leadByte));
    } catch (...) {
        // As above.
    }
}

void TrayStatusOutput::ShowTip(const PrinterFields& printer, const PrinterAlert* says, const LocalDateTime& now) {
    const std::string_view saysText = says ? std::string_view(says->text) : std::string_view();
    bool changed = false;
    if (!shown_ || shown_->printer != printer.printerName) {
        shown_ = Shown{printer.printerName, printer.status, EventStatusText(printer.status), {}, now, now};
        changed = true;
    } else if (shown_->status != printer.status) {
        shown_->status = printer.status;
        // Bits without a word beside bits with one change nothing that shows.
        std::string text = EventStatusText(printer.status);
        if (text != shown_->statusText) {
            shown_->statusText = std::move(text);
            shown_->since = now;
            changed = true;
        }
    }
    if (shown_->says != saysText) {
        shown_->says.assign(saysText);
        changed = true;
    }
    // After midnight "since 10:42" would read as today's: the date comes in.
    if (!changed && SameDay(shown_->tipDay, now)) return;
    shown_->tipDay = now;
    tray_.SetTrayTip(TrayTipText(shown_->printer, shown_->statusText, SinceOf(shown_->since, now), says,
                                 services_.leadByte));
}

void TrayStatusOutput::ShowLook(TrayLook look) {
    if (look_ == look) return;
    look_ = look;
    tray_.SetTrayIcon(icons_[static_cast<std::size_t>(look)]);
}

void TrayStatusOutput::Notify(const PrinterNotice& notice, const PrinterFields& printer, const PrinterAlert* says,
                              const LocalDateTime& now) {
    const LeadByteTest lead = services_.leadByte;
    const std::string title = CutText(printer.printerName + ": " + EventStatusText(printer.status), kTitleMost, lead);
    switch (notice.kind) {
    case PrinterNotice::Kind::NeedsPerson: {
        std::string text = "Since " + SinceOf(errorSince_, now) + ".";
        if (says) text += "\r\n" + std::string(kPrinterSaysPrefix) + says->text;
        tray_.ShowNotification(CutText(text, kTextMost, lead), title, NotificationIcon::Error);
        return;
    }
    case PrinterNotice::Kind::ReadyAgain:
        tray_.ShowNotification("Ready again after " + DurationText(notice.lasted) + ".", title,
                               NotificationIcon::Information);
        return;
    case PrinterNotice::Kind::KeepsChanging: {
        const std::string_view ending = " keeps changing";
        tray_.ShowNotification("Its status went in and out of errors " + std::to_string(notice.changes) +
                                   " times within 10 minutes. You will be told again once it has held for 10 minutes.",
                               CutText(printer.printerName, kTitleMost - ending.size(), lead) + std::string(ending),
                               NotificationIcon::Warning);
        return;
    }
    }
}

std::string TrayStatusOutput::SinceOf(const LocalDateTime& since, const LocalDateTime& now) {
    std::string time = services_.sinceText.TimeOfDay(since);
    if (SameDay(since, now)) return time;
    return services_.sinceText.Date(since) + " " + time;
}

} // namespace ambervale
