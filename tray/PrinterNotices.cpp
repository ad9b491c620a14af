#include "tray/PrinterNotices.h"

namespace ambervale {

std::optional<PrinterNotice> PrinterNoticeRule::Saw(std::string_view printer, bool error, std::int64_t now,
                                                    NoticeGate& gate) {
    // Another default printer: what the user heard was of the one before.
    if (printer_ != printer) {
        Begin(printer, error, now);
        return std::nullopt;
    }
    if (error != error_) {
        error_ = error;
        spellSince_ = now;
        spellToldOf_ = false;
        switch (flapping_.Changed(now)) {
        case FlappingRule::Change::StartsFlapping:
            return Offer({PrinterNotice::Kind::KeepsChanging, 0, flapping_.Count()}, Told::Changing, now, gate);
        case FlappingRule::Change::WhileFlapping:
            return std::nullopt;
        case FlappingRule::Change::Tell:
            break;
        }
    } else if (flapping_.Flapping() && !flapping_.Settled(spellSince_, now)) {
        return std::nullopt;
    }
    return DueNotice(now, gate);
}

std::optional<PrinterNotice> PrinterNoticeRule::DueNotice(std::int64_t now, NoticeGate& gate) {
    if (error_) {
        // The entry that first showed the error cannot confirm it: that takes a later one, kNoticeHoldSeconds on.
        if (spellToldOf_ || now - spellSince_ < kNoticeHoldSeconds) return std::nullopt;
        spellToldOf_ = true;
        return Offer({PrinterNotice::Kind::NeedsPerson}, Told::Error, spellSince_, gate);
    }
    if (told_ == Told::Nothing) return std::nullopt;
    const std::int64_t lasted = spellSince_ - troubleSince_;
    // Held back or shown, the trouble the user heard of is over.
    told_ = Told::Nothing;
    return Offer({PrinterNotice::Kind::ReadyAgain, lasted}, Told::Nothing, troubleSince_, gate);
}

std::optional<PrinterNotice> PrinterNoticeRule::Offer(PrinterNotice notice, Told told, std::int64_t troubleSince,
                                                      NoticeGate& gate) {
    if (!gate.MayShow()) return std::nullopt;
    told_ = told;
    troubleSince_ = troubleSince;
    return notice;
}

void PrinterNoticeRule::Begin(std::string_view printer, bool error, std::int64_t now) {
    printer_.emplace(printer);
    error_ = error;
    spellSince_ = now;
    spellToldOf_ = false;
    told_ = Told::Nothing;
    flapping_.Reset();
}

void PrinterNoticeRule::Forget() {
    printer_.reset();
    told_ = Told::Nothing;
    flapping_.Reset();
}

} // namespace ambervale
