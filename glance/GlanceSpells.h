#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "glance/GlanceLine.h"

namespace ambervale {

// An instant of the record: the local time its line shows, and the time that had passed (UTC).
struct Moment {
    LocalSeconds local = 0;
    UtcSeconds utc = 0;
};

// A stretch of time with one status of one printer: from its first entry to the next entry that differs (or to its
// last entry, before a gap or at the end of the record). Its length is real time.
struct Spell {
    std::uint32_t printer = 0;  // in the record's names
    std::uint32_t status = 0;   // kNotRecorded for a gap in the record
    Moment start;
    Moment end;
    Moment last;                // its last entry; start for a gap
    std::uint64_t entries = 0;  // 0 for a gap
    std::int64_t Seconds() const { return end.utc - start.utc; }
};

// Where the spells go, in the order they end.
class SpellSink {
public:
    virtual ~SpellSink() = default;
    virtual void SpellEnded(const Spell& spell) = 0;
};

// Turns the record's lines, in order, into spells, in real time.
//
// A spacing between entries is a gap in the record (the program was not running, or logging was off) when it is at
// least a minute, more than twice the usual spacing before it (the median of the last few), and unlike the spacings
// that follow it: a new, longer interval repeats, an outage does not. So such a spacing waits for the few entries
// after it before it is judged. The first entries of a record have no spacing before them and are judged by those
// that follow. A gap ends the spell at its last entry and is a spell of its own, "not recorded". A clock set back
// ends the spell too, without a gap; the autumn hour that the clock shows twice is read as its second pass.
class SpellBuilder {
public:
    SpellBuilder(GlanceNames& names, LocalToUtc& clock, SpellSink& sink) : names_(names), clock_(clock), sink_(sink) {}

    // Inline: every line of the record comes here.
    void Add(const HistoryLine& line) {
        const LocalToUtc::Readings readings = clock_.Convert(line.when);
        // The first reading not before the last entry: in the repeated hour the second pass follows the first.
        // Where neither follows, the clock was set back.
        const UtcSeconds utc = !seen_ || readings.earlier >= lastSeen_ ? readings.earlier : readings.later;
        lastSeen_ = utc;
        seen_ = true;
        if (line.reported) {
            lastPrinter_ = line.printer;
            named_ = true;
        }
        // Most entries follow the last within a minute, where no gap can be: taken at once.
        if (const std::int64_t spacing = utc - last_.when.utc;
            line.reported && open_ && waiting_.empty() && spacing >= 0 && spacing < kShortestGap) {
            spacings_.Note(spacing);
            GoOn(line.printer, line.status, line.when, utc);
            return;
        }
        AddAny(line, utc);
    }
    // Ends the last spell, at the last entry.
    void Finish();

    // Spacings of a minute or more may be a gap; shorter ones never are.
    static constexpr std::int64_t kShortestGap = 60;
    // How many spacings after one that looks like a gap say whether it is one.
    static constexpr std::size_t kLookAhead = 3;
    // No interval is longer than 24 hours; an entry may come an hour late. With no spacing around it to judge by,
    // a longer one is a gap.
    static constexpr std::int64_t kLongerThanAnyInterval = 86400 + 3600;

private:
    struct Entry {
        std::uint32_t printer;
        std::uint32_t status;
        Moment when;
    };
    // The last few spacings that were no gap.
    class Spacings {
    public:
        bool Empty() const { return count_ == 0; }
        void Note(std::int64_t spacing) {
            last_[next_] = spacing;
            next_ = next_ + 1 == last_.size() ? 0 : next_ + 1;
            count_ = count_ < last_.size() ? count_ + 1 : count_;
        }
        // A new interval: it is the usual spacing from now on.
        void Restart(std::int64_t spacing);
        std::int64_t Usual() const;

    private:
        std::array<std::int64_t, 5> last_{};
        std::size_t count_ = 0;
        std::size_t next_ = 0;
    };

    void Step(const Entry& entry);
    void Judge();
    void AddAny(const HistoryLine& line, UtcSeconds utc);
    // The entry follows the last without a gap.
    void GoOn(std::uint32_t printer, std::uint32_t status, LocalSeconds local, UtcSeconds utc) {
        if (printer != current_.printer || status != current_.status) {
            Change(printer, status, local, utc);
            return;
        }
        last_.when.local = local;
        last_.when.utc = utc;
        current_.last.local = local;
        current_.last.utc = utc;
        ++current_.entries;
    }
    void Change(std::uint32_t printer, std::uint32_t status, LocalSeconds local, UtcSeconds utc);
    void Open(const Entry& entry);
    void Close(const Moment& end);

    GlanceNames& names_;
    LocalToUtc& clock_;
    SpellSink& sink_;
    bool open_ = false;
    Spell current_;
    Entry last_{};             // the last entry the spells have taken
    UtcSeconds lastSeen_ = 0;  // the last entry added, taken or waiting
    bool seen_ = false;
    std::uint32_t lastPrinter_ = 0;
    bool named_ = false;
    Spacings spacings_;
    std::vector<Entry> waiting_;  // one that may follow a gap, then the entries after it
};

} // namespace ambervale
