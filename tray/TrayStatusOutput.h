#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "eventlog/EventLogOutput.h"
#include "logging/DateTimeText.h"
#include "logging/LogEntry.h"
#include "tray/PrinterNotices.h"
#include "tray/TrayLook.h"
#include "tray/cSysTray.h"

namespace ambervale {

// The user's own short forms of a moment, for "since 10:42": the time of day without seconds, and the date. Throws
// AppError when they cannot be had.
class SinceText {
public:
    virtual ~SinceText() = default;
    virtual std::string TimeOfDay(const LocalDateTime& when) = 0;
    virtual std::string Date(const LocalDateTime& when) = 0;
};

// The tray icon's picture of each look, in TrayLook's order.
using TrayLookIcons = std::array<std::shared_ptr<const TrayPicture>, 3>;

struct TrayStatusServices {
    Clock& clock;           // the entry's local time, for "since"
    SinceText& sinceText;
    SecondsClock& seconds;  // how long a state holds, whatever the wall clock does
    NoticeGate& gate;
    LeadByteTest leadByte;
};

// The tray icon as an output of the log: while automatic logging is on, its look and tip show the default printer's
// state (the tip's second line with the printer's own words where they explain it), and it notifies by the rule of
// PrinterNoticeRule. An entry that changes nothing that shows costs a few comparisons and reaches no shell. Never
// throws: the tray has no error report.
class TrayStatusOutput final : public LogOutput {
public:
    TrayStatusOutput(cSysTray& tray, TrayLookIcons icons, const TrayStatusServices& services);
    void Write(const LogEntry& entry) override;
    void EntryFailed(const std::string& description) noexcept override;
    void LoggingSwitched(bool on, std::string_view intervalCaption) noexcept override;
    void StatusAtStart(const LogEntry& entry) noexcept override;
    void StatusAtStartFailed(const std::string& description) noexcept override;

private:
    // What the tip shows now.
    struct Shown {
        std::string printer;
        std::uint32_t status = 0;
        std::string statusText;
        std::string says;
        LocalDateTime since;
        LocalDateTime tipDay;  // the day the tip's "since" was written for
    };

    void Saw(const LogEntry& entry) noexcept;
    void Failed(std::string_view description) noexcept;
    void ShowTip(const PrinterFields& printer, const PrinterAlert* says, const LocalDateTime& now);
    void ShowLook(TrayLook look);
    void Notify(const PrinterNotice& notice, const PrinterFields& printer, const PrinterAlert* says,
                const LocalDateTime& now);
    std::string SinceOf(const LocalDateTime& since, const LocalDateTime& now);

    cSysTray& tray_;
    TrayLookIcons icons_;
    TrayStatusServices services_;
    bool logging_ = false;
    std::optional<TrayLook> look_;
    std::optional<Shown> shown_;
    bool inError_ = false;
    LocalDateTime errorSince_;  // when the printer last entered an error state
    PrinterNoticeRule notices_;
};

} // namespace ambervale
