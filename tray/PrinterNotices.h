#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "eventlog/FlappingRule.h"

namespace ambervale {

// An error that holds this long (and past the entry after the one that first showed it) is worth a notification:
// one that clears at once is not.
inline constexpr std::int64_t kNoticeHoldSeconds = 10;

// Whether a notification may be shown now: the user (or policy) wants them, and the user is not presenting, busy,
// in quiet time or in a full-screen program. Asked only when a notification is due.
class NoticeGate {
public:
    virtual ~NoticeGate() = default;
    virtual bool MayShow() = 0;
};

// A notification the rule has shown.
struct PrinterNotice {
    enum class Kind {
        NeedsPerson,    // the printer has been in an error state since `since`
        ReadyAgain,     // it no longer is, after `lasted` seconds
        KeepsChanging,  // it went in and out of errors `changes` times within ten minutes
    };
    Kind kind;
    std::int64_t lasted = 0;
    std::size_t changes = 0;
};

// When the user is told of the default printer through the tray icon. A printer that enters an error state (the
// Error level of the Event Log's words) and holds it past the next entry, and kNoticeHoldSeconds at least, gets one
// notification; the same printer ready again (no error word), after one was shown, gets one more. Its comings and
// goings are counted by the Event Log's flapping rule: the seventh within ten minutes gets one "keeps changing"
// notification and then nothing until its state has held ten minutes. A notification the gate holds back is not
// shown later. Fed with every entry's printer, whether it shows an error, and a monotonic time in seconds.
class PrinterNoticeRule {
public:
    std::optional<PrinterNotice> Saw(std::string_view printer, bool error, std::int64_t now, NoticeGate& gate);
    // Logging stopped: the next period starts afresh.
    void Forget();

private:
    enum class Told { Nothing, Error, Changing };

    void Begin(std::string_view printer, bool error, std::int64_t now);
    std::optional<PrinterNotice> Offer(PrinterNotice notice, Told told, std::int64_t troubleSince, NoticeGate& gate);
    std::optional<PrinterNotice> DueNotice(std::int64_t now, NoticeGate& gate);

    std::optional<std::string> printer_;
    bool error_ = false;
    std::int64_t spellSince_ = 0;  // when the printer entered its present state, error or not
    bool spellToldOf_ = false;     // this error's notification was shown or held back
    Told told_ = Told::Nothing;    // what the user last heard of
    std::int64_t troubleSince_ = 0;
    FlappingRule flapping_;
};

} // namespace ambervale
