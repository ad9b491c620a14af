#include "glance/GlanceSpells.h"

#include <algorithm>

namespace ambervale {

void SpellBuilder::Spacings::Restart(std::int64_t spacing) {
    count_ = 0;
    next_ = 0;
    Note(spacing);
}

std::int64_t SpellBuilder::Spacings::Usual() const {
    // Five at most: sorted by insertion.
    std::array<std::int64_t, 5> sorted{};
    for (std::size_t i = 0; i < count_; ++i) {
        std::size_t at = i;
        for (; at > 0 && sorted[at - 1] > last_[i]; --at) sorted[at] = sorted[at - 1];
        sorted[at] = last_[i];
    }
    return sorted[(count_ - 1) / 2];
}

void SpellBuilder::AddAny(const HistoryLine& line, UtcSeconds utc) {
    if (!line.reported && !named_) {
        lastPrinter_ = names_.Printer("");  // the spooler did not answer before any printer was named
        named_ = true;
    }
    const Entry entry{lastPrinter_, line.reported ? line.status : names_.NoReport(), {line.when, utc}};
    if (!waiting_.empty()) {
        waiting_.push_back(entry);
        if (waiting_.size() > kLookAhead) Judge();
        return;
    }
    Step(entry);
}

void SpellBuilder::Step(const Entry& entry) {
    if (!open_) {
        Open(entry);
        return;
    }
    const std::int64_t spacing = entry.when.utc - last_.when.utc;
    if (spacing < 0) {
        Close(last_.when);
        Open(entry);
        return;
    }
    if (spacing >= kShortestGap && (spacings_.Empty() || spacing > 2 * spacings_.Usual())) {
        waiting_.push_back(entry);
        return;
    }
    spacings_.Note(spacing);
    GoOn(entry.printer, entry.status, entry.when.local, entry.when.utc);
}

void SpellBuilder::Judge() {
    const Entry entry = waiting_.front();
    const std::int64_t spacing = entry.when.utc - last_.when.utc;
    std::vector<std::int64_t> after;
    for (std::size_t i = 1; i < waiting_.size(); ++i) {
        const std::int64_t next = waiting_[i].when.utc - waiting_[i - 1].when.utc;
        if (next >= 0) after.push_back(next);
    }
    bool gap = false;
    if (!after.empty()) {
        // The lower median: a longer interval must repeat in most of what follows.
        std::sort(after.begin(), after.end());
        gap = spacing > 2 * after[(after.size() - 1) / 2];
    } else {
        gap = spacings_.Empty() ? spacing > kLongerThanAnyInterval : true;
    }
    std::vector<Entry> rest(waiting_.begin() + 1, waiting_.end());
    waiting_.clear();
    if (gap) {
        Close(last_.when);
        sink_.SpellEnded({current_.printer, kNotRecorded, last_.when, entry.when, last_.when, 0});
        Open(entry);
    } else {
        spacings_.Restart(spacing);
        GoOn(entry.printer, entry.status, entry.when.local, entry.when.utc);
    }
    for (const Entry& next : rest) {
        if (waiting_.empty()) {
            Step(next);
        } else {
            waiting_.push_back(next);
        }
    }
}

void SpellBuilder::Change(std::uint32_t printer, std::uint32_t status, LocalSeconds local, UtcSeconds utc) {
    Close({local, utc});
    Open({printer, status, {local, utc}});
}

void SpellBuilder::Open(const Entry& entry) {
    current_ = {entry.printer, entry.status, entry.when, entry.when, entry.when, 1};
    open_ = true;
    last_ = entry;
}

void SpellBuilder::Close(const Moment& end) {
    current_.end = end;
    sink_.SpellEnded(current_);
    open_ = false;
}

void SpellBuilder::Finish() {
    while (!waiting_.empty()) Judge();
    if (open_) Close(last_.when);
}

} // namespace ambervale
