#include "glance/DayBar.h"

#include <algorithm>

namespace ambervale {
namespace {

// Joins band into last, the run of narrow bands before it: the run counts its spells and shows its worst status.
void Join(BarPiece& last, const BarPiece& band, const GlanceNames& names) {
    last.changes = (last.changes > 0 ? last.changes : 1) + (band.changes > 0 ? band.changes : 1);
    last.to = band.to;
    if (WorseThan(names.KindOf(band.status), names.KindOf(last.status))) last.status = band.status;
}

} // namespace

DayBar::DayBar(std::int64_t day, LocalToUtc& clock) : day_(day), start_(clock.DayStart(day)) {
    const UtcSeconds end = clock.DayStart(day + 1);
    // Rules that make no sense (a day that ends before it starts) leave the day its 24 hours.
    length_ = end > start_ && end - start_ <= 2 * 86400 ? end - start_ : 86400;
    for (std::size_t i = 0; i < hourMarks_.size(); ++i) {
        const std::int64_t mark = clock.Convert(day * 86400 + static_cast<std::int64_t>(i) * 3 * 3600).earlier - start_;
        hourMarks_[i] = i == hourMarks_.size() - 1 ? length_ : std::clamp<std::int64_t>(mark, 0, length_);
    }
    const auto change = clock.ChangeWithin(day * 86400, start_, start_ + length_);
    clockChange_ = change ? *change - start_ : length_;
}

void DayBar::Add(std::uint32_t status, UtcSeconds from, UtcSeconds to, const GlanceNames& names) {
    const BarPiece band{std::max<std::int64_t>(from - start_, 0), std::min<std::int64_t>(to - start_, length_), status, 0};
    if (band.to <= band.from) return;
    totals_[status] += band.to - band.from;
    if (status == kNotRecorded) {
        notRecorded_.push_back(band);
        return;
    }
    if (!recorded_.empty() && recorded_.back().to == band.from) {
        BarPiece& last = recorded_.back();
        if (!last.Changing() && last.status == status) {
            last.to = band.to;
            return;
        }
        const bool narrow = band.to - band.from < kNarrowest;
        if (narrow && (last.Changing() || last.to - last.from < kNarrowest)) {
            Join(last, band, names);
            return;
        }
    }
    recorded_.push_back(band);
}

std::vector<BarPiece> CoarserBands(const std::vector<BarPiece>& bands, std::int64_t narrowest, std::int64_t bridge,
                                   const GlanceNames& names) {
    std::vector<BarPiece> coarser;
    bool lastNarrow = false;
    for (const BarPiece& band : bands) {
        const bool narrow = band.to - band.from < narrowest;
        if (narrow && lastNarrow && band.from - coarser.back().to <= bridge) {
            Join(coarser.back(), band, names);
            continue;
        }
        coarser.push_back(band);
        lastNarrow = narrow;
    }
    return coarser;
}

} // namespace ambervale
