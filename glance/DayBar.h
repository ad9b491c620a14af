#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "glance/GlanceNames.h"
#include "glance/StatusTable.h"
#include "glance/TimeZoneRules.h"

namespace ambervale {

// A band of a day's bar, in seconds from the day's first instant: one status, or a run of changes too short to draw
// one by one, shown as one band "changing" in the worst status of the run.
struct BarPiece {
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::uint32_t status = 0;
    std::uint64_t changes = 0;  // 0: one status throughout; else the spells of the run
    bool Changing() const { return changes > 0; }
};

// One local day of one printer, in real time: 24 hours, or 23 and 25 on the days the clock is changed.
class DayBar {
public:
    // A band narrower than this, a minute (one unit of the drawn bar), is too short to draw on its own.
    static constexpr std::int64_t kNarrowest = 60;

    DayBar(std::int64_t day, LocalToUtc& clock);

    std::int64_t Day() const { return day_; }
    UtcSeconds Start() const { return start_; }
    std::int64_t Length() const { return length_; }
    // Where the local hours 0, 3, ... 24 fall, in seconds from the start.
    const std::array<std::int64_t, 9>& HourMarks() const { return hourMarks_; }
    // The clock's time of day (seconds from midnight) at a place of the bar.
    std::int64_t ClockAt(std::int64_t at) const { return at < clockChange_ ? at : at + 86400 - length_; }

    // A spell's part within the day; the record's spells come in order.
    void Add(std::uint32_t status, UtcSeconds from, UtcSeconds to, const GlanceNames& names);
    const std::vector<BarPiece>& Recorded() const { return recorded_; }
    const std::vector<BarPiece>& NotRecorded() const { return notRecorded_; }
    // The day's time in each status, "not recorded" included.
    const StatusTable<std::int64_t>& Totals() const { return totals_; }

private:
    std::int64_t day_;
    UtcSeconds start_;
    std::int64_t length_;
    std::array<std::int64_t, 9> hourMarks_{};
    std::int64_t clockChange_;  // where the clock is put forward or back, or the end of the day
    std::vector<BarPiece> recorded_;
    std::vector<BarPiece> notRecorded_;
    StatusTable<std::int64_t> totals_;
};

// The bands again with every run of bands narrower than narrowest, at most bridge apart, made one band: the same
// bar drawn with fewer, coarser bands.
std::vector<BarPiece> CoarserBands(const std::vector<BarPiece>& bands, std::int64_t narrowest, std::int64_t bridge,
                                   const GlanceNames& names);

} // namespace ambervale
